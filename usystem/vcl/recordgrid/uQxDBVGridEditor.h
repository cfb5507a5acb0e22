// The record grid's cell editor: the grids' shared cell editor (QxGridCellEditor.h: the button
// at its right edge, the row's pick list or, for a lookup field, the lookup list, a Boolean
// field edited as a flat check box, the grid's candidate pad on rows with IMEControl) with the
// record grid's own ways: an ellipsis of three squares; Down and the keypad '+' as the button
// of an ellipsis or pick-list row; Enter taking the pad's marked line; a Boolean cell with no
// button, on which Space flips the value and editing keys do nothing; a pad two hundred pixels
// wide to start with.
#pragma once

#include "usystem/vcl/dbgrid/QxGridCellEditor.h"
#include "usystem/vcl/recordgrid/uQxDBVGrid.h"

class QPainter;

class TDBVGridInplaceEdit : public qx::GridCellEditorOf<TQxCustomDBVGrid>
{
    Q_OBJECT

public:
    explicit TDBVGridInplaceEdit(TQxCustomDBVGrid* grid);
    ~TDBVGridInplaceEdit() override;

    TQxCustomDBVGrid* DBVGrid() const { return OwnerGrid(); }

protected:
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void Click() override;
    bool GridCanEditModify() override;
    // No hints on the indicator row, which has no field.
    void ShowKeyHint(const QString& Hint) override;
    void PreparePad(TQxIMEPad* Pad) override;
    void PaintEllipsis(QPainter& p, const QRect& R) override;

private:
    // Space or a click on a Boolean field that can change: the value is inverted.
    void ToggleBoolean();
};
