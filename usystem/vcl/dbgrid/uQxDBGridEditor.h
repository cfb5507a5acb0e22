// The data grid's cell editor: the grid base's in-place edit with a button at the cell's right
// edge (an ellipsis button with the column's picture, or a drop-down arrow), the column's pick
// list and the lookup list of lookup fields dropping under the cell, check-box editing of
// Boolean fields, the keypad '+' as the button, Enter as Tab, key hints, and the candidate pad
// for columns that take input codes.
//
// The lists (shared with the record grid's editor, QxPopupLists.h) are pop-up windows that
// never take the focus: the editor keeps it and hands them the keys while one is dropped.
#pragma once

#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/gridlink/QxPopupLists.h"

#include <QPointer>
#include <QVariant>

class QPainter;

class TQxDBGridInplaceEdit : public TQxInplaceEdit
{
    Q_OBJECT

public:
    enum TEditStyle { esSimple, esEllipsis, esPickList, esDataList };

    explicit TQxDBGridInplaceEdit(TQxCustomDBGrid* grid);
    ~TQxDBGridInplaceEdit() override;

    TQxCustomDBGrid* DBGrid() const;

    // Loads the editor for the grid's current cell: style, text, mask, limit, font.
    void UpdateContents() override;
    void BoundsChanged() override;
    // Opens and closes the list of the current style; closing with Accept writes the value
    // taken from the list into the field.
    void DropDown();
    void CloseUp(bool Accept);

    TEditStyle EditStyle() const { return FEditStyle; }
    bool ListVisible() const { return FListVisible; }
    bool Tracking() const { return FTracking; }
    bool Pressed() const { return FPressed; }
    int ButtonWidth() const { return FButtonWidth; }
    // The button's area in the editor (empty without a button).
    QRect ButtonRect() const;
    TPopupListbox* PickList() const { return FPickList; }
    TPopupDataList* DataList() const { return FDataList; }
    TPopupListbox* ActiveList() const { return FActiveList; }
    TDataSource* LookupSource() const { return FLookupSource; }

protected:
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void KeyUp(int& Key, TShiftState Shift) override;
    void Click() override;

    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TQxColumn* CurrentColumn() const;
    TField* CurrentField() const;
    bool BooleanCell() const;
    void SetEditStyle(TEditStyle Value);
    void ToggleBoolean();
    void StopTracking();
    void ShowImePad();
    void ImePadClicked();
    void paintButton(QPainter& p);

    int FButtonWidth = 16;
    QPointer<TPopupDataList> FDataList;
    QPointer<TPopupListbox> FPickList;
    QPointer<TPopupListbox> FActiveList;
    TDataSource* FLookupSource = nullptr;
    TEditStyle FEditStyle = esSimple;
    bool FListVisible = false;
    bool FTracking = false;
    bool FPressed = false;
    QPointer<QObject> FPadWatched;
};

namespace qx {
// The flat 13 x 13 check box of the grid's Boolean cells, centred in r.
void drawGridCheckBox(QPainter& p, const QRect& r, bool checked);
} // namespace qx
