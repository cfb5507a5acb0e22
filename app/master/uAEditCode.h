// TFrmAEditCode: asks for the new code when a browser renames a master record. The caller sets
// the caption and the label, shows it modally and, when the result is OK, reads NewCode: the
// edit's text without leading and trailing blanks.
#pragma once

#include "app/shell/uABase.h"

#include <QString>

class TQxBitBtn;
class TQxEdit;
class TQxLabel;

class TFrmAEditCode : public TFrmABase
{
    Q_OBJECT

public:
    explicit TFrmAEditCode(QWidget* parent = nullptr);
    ~TFrmAEditCode() override;

    TQxLabel* const LbCap;
    TQxEdit* const EdtCode;
    TQxBitBtn* const BtOk;     // "确定": ends the dialog with the OK result
    TQxBitBtn* const BtCancel; // "取消": ends it with the cancel result

    // The trimmed text of EdtCode, taken when the edit loses the focus, on Enter in it and
    // when "确定" is pressed.
    QString NewCode;

    void EdtCodeExit(QObject* Sender);
    // Enter in EdtCode takes the code (the edit then hands the focus on, as edits do).
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    void BtOkClick(QObject* Sender);

private:
    void TakeCode();
};
