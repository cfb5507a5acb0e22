// The data grid's cell editor: the grids' shared cell editor (QxGridCellEditor.h: the button at
// the cell's edge, the column's pick list and the lookup list of lookup fields dropping under
// the cell, check-box editing of Boolean fields, the candidate pad for columns that take input
// codes, key hints) with the data grid's own ways: an ellipsis button shows the column's
// picture, the keypad '+' is the button or flips a Boolean cell, Enter is Tab, Left in an empty
// cell moves to the cell before, the column's input-method setting, and the pad's clicks taken
// by the editor.
#pragma once

#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/dbgrid/QxGridCellEditor.h"

#include <QPointer>

class QPainter;

class TQxDBGridInplaceEdit : public qx::GridCellEditorOf<TQxCustomDBGrid>
{
    Q_OBJECT

public:
    explicit TQxDBGridInplaceEdit(TQxCustomDBGrid* grid);
    ~TQxDBGridInplaceEdit() override;

    TQxCustomDBGrid* DBGrid() const { return OwnerGrid(); }

    // Loads the editor for the grid's current cell: style, text, mask, limit, font, and
    // whether the column takes the input method.
    void UpdateContents() override;

protected:
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void Click() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool GridCanEditModify() override;
    void PaintEllipsis(QPainter& p, const QRect& R) override;

private:
    void ToggleBoolean();
    void ImePadClicked();

    QPointer<QObject> FPadWatched;
};

namespace qx {
// The flat 13 x 13 check box of the grid's Boolean cells, centred in r.
void drawGridCheckBox(QPainter& p, const QRect& r, bool checked);
} // namespace qx
