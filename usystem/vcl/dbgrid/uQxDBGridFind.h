// The data grid's find box: a small edit laid over the title of the current column. As the
// user types, the grid's dataset moves to the first record whose value in that column begins
// with the text; Enter keeps the record found, Esc goes back to where the search began.
#pragma once

#include "platform/ui/MaskEdit.h"

#include <QPointer>

class TQxCustomDBGrid;

class TFindEdit : public TCustomMaskEdit
{
    Q_OBJECT

public:
    enum TExitMode { emNone = 0, emAccepted = 1, emCancelled = 2 };

    TFindEdit(TQxCustomDBGrid* grid, QWidget* parent);
    ~TFindEdit() override;

    TQxCustomDBGrid* Grid() const { return FGrid; }
    int ExitMode() const { return FExitMode; }
    // Whether the last search found a record.
    bool LastFound() const { return FLastFound; }

protected:
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void Change() override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    friend class TQxCustomDBGrid;
    void Leave(TExitMode Mode);

    QPointer<TQxCustomDBGrid> FGrid;
    int FExitMode = emNone;
    bool FLastFound = true;
};
