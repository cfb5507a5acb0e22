// TFrmUpData ("升级数据"): copies the rows of an older database of this system into the current
// one. The file button chooses the older database, which is opened read-only to make sure it is a
// database (the current database itself is refused); "数据升级" then copies it in one transaction
// and says "升级成功!", or "升级不成功!" with every table as it was.
#pragma once

#include "app/shell/uABase.h"

#include "platform/env/DialogService.h"

#include <QString>

class QProgressBar;
class TQxBitBtn;
class TQxButton;
class TQxEdit;
class TQxLabel;

class TFrmUpData : public TFrmABase
{
    Q_OBJECT

public:
    explicit TFrmUpData(QWidget* parent = nullptr);
    ~TFrmUpData() override;

    TQxLabel* const Label1; // "请输入要升级的原数据库路径:"
    TQxEdit* const EdtPath;
    TQxButton* const BtnFile;
    TQxLabel* const Label2; // the note on which file to choose
    QProgressBar* const Pb1;
    TQxBitBtn* const BtnUpData; // "数据升级"
    TQxBitBtn* const BtnExit;   // "退出"
    qx::FileRequest OpenDialog1;

    // The older database chosen and found to be a database; empty while there is none.
    QString OldDatabase;

    // The form and its panel take their colour.
    void FormShow(QObject* Sender) override;
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;
    void BtnFileClick(QObject* Sender);
    void BtnUpDataClick(QObject* Sender);
    void BtnExitClick(QObject* Sender);
};
