// The data grid's cell editor: the grid base's in-place edit with a button at the cell's right
// edge (an ellipsis button with the column's picture, or a drop-down arrow), the column's pick
// list and the lookup list of lookup fields dropping under the cell, check-box editing of
// Boolean fields, the keypad '+' as the button, Enter as Tab, key hints, and the candidate pad
// for columns that take input codes.
//
// The lists are pop-up windows that never take the focus: the editor keeps it and hands them
// the keys while one is dropped.
#pragma once

#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include <QListWidget>
#include <QPointer>
#include <QVariant>

#include <functional>

class QPainter;
class TQxDBGridInplaceEdit;

// The pick list: a bordered pop-up list that selects, as the user types, the first line
// beginning with the letters typed within two seconds of each other.
class TPopupListbox : public QListWidget
{
    Q_OBJECT

public:
    explicit TPopupListbox(TQxDBGridInplaceEdit* editor);
    ~TPopupListbox() override;

    TQxDBGridInplaceEdit* Editor() const { return FEditor; }
    // The height of one line.
    int ItemHeight() const;

    QString SearchText;
    qint64 SearchTickCount = 0;
    // The millisecond clock the typed search measures its pauses with.
    std::function<qint64()> TickCount;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointer<TQxDBGridInplaceEdit> FEditor;
};

// The lookup list: the result values of a lookup field's dataset, each line carrying the
// values of the lookup key fields it stands for.
class TPopupDataList : public TPopupListbox
{
    Q_OBJECT

public:
    explicit TPopupDataList(TQxDBGridInplaceEdit* editor);
    ~TPopupDataList() override;

    // Fills the list from the records of DataSet (its cursor is put back afterwards).
    void Fill(TDataSet* DataSet, const QString& KeyField, const QString& ListField);
    // The key of the selected line (invalid when none), and selecting the line of a key.
    QVariant KeyValue() const;
    void SetKeyValue(const QVariant& Value);
    QString KeyField() const { return FKeyField; }
    QString ListField() const { return FListField; }

private:
    QString FKeyField;
    QString FListField;
};

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
    friend class TPopupListbox;

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
