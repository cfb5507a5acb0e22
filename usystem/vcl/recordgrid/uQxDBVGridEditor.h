// The record grid's cell editor: the grid base's in-place edit with a button at its right
// edge: an ellipsis of three squares that calls the grid's button action, or a drop-down
// arrow that opens the row's pick list or, for a lookup field, the lookup list (both lists are
// the ones the data grid's editor uses, QxPopupLists.h). A Boolean field is edited as a flat
// check box; on rows with IMEControl the editor fills and pops up the grid's candidate pad as
// the user types an input code.
#pragma once

#include "usystem/vcl/gridlink/QxPopupLists.h"
#include "usystem/vcl/recordgrid/uQxDBVGrid.h"

#include <QPointer>

class QPainter;

class TDBVGridInplaceEdit : public TQxInplaceEdit
{
    Q_OBJECT

public:
    enum TEditStyle { esSimple, esEllipsis, esPickList, esDataList };

    explicit TDBVGridInplaceEdit(TQxCustomDBVGrid* grid);
    ~TDBVGridInplaceEdit() override;

    TQxCustomDBVGrid* DBVGrid() const;

    // Loads the editor for the grid's current row: style, text, mask, limit.
    void UpdateContents() override;
    void BoundsChanged() override;
    // Opens and closes the list of the current style; closing with Accept writes the value
    // taken from the list into the field.
    void DropDown();
    void CloseUp(bool Accept);

    TEditStyle EditStyle() const { return FEditStyle; }
    void SetEditStyle(TEditStyle Value);
    bool ListVisible() const { return FListVisible; }
    bool Tracking() const { return FTracking; }
    bool Pressed() const { return FPressed; }
    int ButtonWidth() const { return FButtonWidth; }
    // The button's area in the editor (empty without a button or on a Boolean field).
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

private:
    TVColumn* CurrentRow() const;
    TField* CurrentField() const;
    bool BooleanCell() const;
    // Space or a click on a Boolean field that can change: the value is inverted.
    void ToggleBoolean();
    void TrackButton(int X, int Y);
    void StopTracking();
    void ShowImePad();
    void PaintButton(QPainter& p);

    int FButtonWidth = 16;
    QPointer<TPopupDataList> FDataList;
    QPointer<TPopupListbox> FPickList;
    QPointer<TPopupListbox> FActiveList;
    TDataSource* FLookupSource = nullptr;
    TEditStyle FEditStyle = esSimple;
    bool FListVisible = false;
    bool FTracking = false;
    bool FPressed = false;
};
