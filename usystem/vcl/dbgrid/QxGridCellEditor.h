// The cell editor both data-aware grids build theirs on: the grid base's in-place edit with a
// button at the cell's edge (an ellipsis, or a drop-down arrow for the column's pick list or a
// lookup field's lookup list), the lists themselves (QxPopupLists.h: pop-ups that never take
// the focus, the editor hands them the keys while one is dropped), dragging from the button
// into a list, check-box editing of Boolean fields, the candidate pad of columns that take
// input codes, and the key hints of a cell.
//
// The data grid edits a column of the current record, the record grid a field row of it: both
// are a qx::GridColumn, which holds the pick list, the drop-down rows, the button style and the
// read-only flag. What each grid does its own way (its keys, the ellipsis picture, how a Boolean
// cell takes a click) stays in the grid's editor class.
#pragma once

#include "usystem/vcl/gridlink/QxGridColumn.h"
#include "usystem/vcl/gridlink/QxPopupLists.h"
#include "usystem/vcl/grids/uQxGrids.h"

#include <QPointer>

#include <functional>
#include <type_traits>
#include <utility>

class QPainter;
class TDataLink;
class TDataSource;
class TQxIMEPad;

namespace qx {

class GridCellEditor : public TQxInplaceEdit
{
    Q_OBJECT

public:
    enum TEditStyle { esSimple, esEllipsis, esPickList, esDataList };

    // How the grids' editors differ where the difference is no more than a value.
    struct Traits
    {
        // A right-to-left layout puts the button at the left edge.
        bool MirrorButton = true;
        // A Boolean cell keeps the button's area (a press there is the button's).
        bool ButtonOnBoolean = true;
    };

    ~GridCellEditor() override;

    // Loads the editor for the grid's current cell: style, text, mask, limit, font.
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
    // The button's area in the editor (empty without a button).
    QRect ButtonRect() const;
    TPopupListbox* PickList() const { return FPickList; }
    TPopupDataList* DataList() const { return FDataList; }
    TPopupListbox* ActiveList() const { return FActiveList; }
    TDataSource* LookupSource() const { return FLookupSource; }

protected:
    GridCellEditor(TQxCustomGrid* grid, Traits traits);

    // What the editor asks its grid.
    virtual GridColumn* EditColumn() const = 0;   // the column or field row of the cell
    virtual TDataLink* GridLink() const = 0;      // null without a grid
    virtual bool GridReadOnly() const = 0;
    virtual TQxIMEPad* GridImePad() const = 0;
    // Whether the cell may change now (puts the dataset into edit).
    virtual bool GridCanEditModify() = 0;
    // The grid's cell button action.
    virtual void GridButtonClick() = 0;
    // Lets the application fill the pad with the candidates of the typed text.
    virtual void AskPadLines(TQxIMEPad*& Pad) = 0;
    // Hands the hint of the cell's keys to the application.
    virtual void ShowKeyHint(const QString& Hint) = 0;
    // Called before the pad learns whether it has lines to show.
    virtual void PreparePad(TQxIMEPad* Pad) { (void)Pad; }
    // The ellipsis button's face inside its frame (R is the button, pressed or not).
    virtual void PaintEllipsis(QPainter& p, const QRect& R) = 0;

    TField* CurrentField() const;
    bool BooleanCell() const;
    // A Boolean field that can change now is inverted (a null one becomes true); false when
    // nothing changed.
    bool FlipBoolean();
    void StopTracking();
    // Fills the grid's candidate pad for the editor's text and pops it up under the editor
    // (hidden when it has no lines).
    void ShowImePad();

    void KeyUp(int& Key, TShiftState Shift) override;
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
    void PaintButton(QPainter& p);

    Traits FTraits;
    int FButtonWidth = 16;
    TEditStyle FEditStyle = esSimple;
    bool FPressed = false;
    QPointer<TPopupDataList> FDataList;
    QPointer<TPopupListbox> FPickList;
    QPointer<TPopupListbox> FActiveList;
    TDataSource* FLookupSource = nullptr;
    bool FListVisible = false;
    bool FTracking = false;
};

// The shared editor over a grid class G, answering what it asks the grid from G's public
// members: its data link, read-only flag, candidate pad, columns and selected index, its cell
// button, and its OnCellTextChange and OnHotKeyHint events. Whether a cell may change is G's
// own virtual question, which only the grid's editor class may ask (GridCanEditModify).
template <class G>
class GridCellEditorOf : public GridCellEditor
{
public:
    G* OwnerGrid() const { return static_cast<G*>(Grid()); }

protected:
    // G's column class (the data grid's column, the record grid's field row).
    using Column = std::remove_pointer_t<decltype(std::declval<const G&>().Columns()->Items(0))>;

    GridCellEditorOf(G* grid, Traits traits)
        : GridCellEditor(grid, traits)
    {}

    // The column of the current cell; null without one or while the grid is going (it has
    // let its columns go already).
    Column* CurrentColumn() const
    {
        G* grid = OwnerGrid();
        if (!grid || !grid->Columns())
            return nullptr;
        const int index = grid->SelectedIndex();
        if (index < 0 || index >= grid->Columns()->Count())
            return nullptr;
        return grid->Columns()->Items(index);
    }

    GridColumn* EditColumn() const override { return CurrentColumn(); }
    TDataLink* GridLink() const override
    {
        G* grid = OwnerGrid();
        return grid ? grid->DataLink() : nullptr;
    }
    bool GridReadOnly() const override
    {
        G* grid = OwnerGrid();
        return grid && grid->ReadOnly();
    }
    TQxIMEPad* GridImePad() const override
    {
        G* grid = OwnerGrid();
        return grid ? grid->ImePad() : nullptr;
    }
    void GridButtonClick() override
    {
        if (G* grid = OwnerGrid())
            grid->EditButtonClick();
    }
    void AskPadLines(TQxIMEPad*& Pad) override
    {
        G* grid = OwnerGrid();
        if (grid && grid->OnCellTextChange)
            grid->OnCellTextChange(grid, Text(), Pad);
    }
    void ShowKeyHint(const QString& Hint) override
    {
        G* grid = OwnerGrid();
        if (grid && grid->OnHotKeyHint)
            grid->OnHotKeyHint(grid, Hint);
    }
};

// A click on a grid's candidate pad: the pad goes; for a column that takes input codes, the
// code CodeOf gives for the marked line is written into the column's field (when CanModify
// allows) and into the pad's edit control; a click beside the lines, or a line without a code,
// changes nothing. The edit control takes the code through its own mask and case rule. The pad
// is then emptied and the edit control takes the focus back.
void takeImePadChoice(TQxIMEPad* Pad, GridColumn* Column,
                      const std::function<void(int Line, QString& Code)>& CodeOf,
                      const std::function<bool()>& CanModify);

// The cell button's own action where the application gives none: a date or date-time field
// is picked on the month calendar; a time, having no calendar, and any other field go to the
// field picker (a missing one is reported). Nothing without a field.
void pickCellValue(TField* Field, QWidget* Grid);

} // namespace qx
