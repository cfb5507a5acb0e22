// The two drop-down lists of the grids' cell editors, shared by the data grid and the record
// grid: the pick list of a column's fixed values, which selects, as the user types, the first
// line beginning with the letters typed within two seconds of each other; and the lookup list
// of a lookup field, whose lines are the result values of the lookup dataset, each carrying
// the key it stands for.
//
// Both are pop-up windows that never take the focus: the editor keeps it and hands them the
// keys while one is dropped. Each reports its own mouse release to the editor through the
// close-up handler it was made with.
#pragma once

#include <QListWidget>
#include <QPointer>
#include <QVariant>

#include <functional>

class TDataSet;
class TDataSource;
class TField;

class TPopupListbox : public QListWidget
{
    Q_OBJECT

public:
    // CloseUp(Accept) is called when the user releases the mouse over the list (accepting)
    // or outside it (not accepting).
    using TCloseUpHandler = std::function<void(bool Accept)>;

    TPopupListbox(QWidget* editor, TCloseUpHandler CloseUp);
    ~TPopupListbox() override;

    QWidget* Editor() const { return FEditor; }
    // The height of one line.
    int ItemHeight() const;

    // Fills the list with Items, selects the line equal to Field's text (none for a null
    // field or a text that is no line), makes it at least as wide as the editor and as its
    // widest line, and drops it under the editor showing at most Rows lines.
    void DropDownPickList(QWidget* editor, const QColor& Base, const QStringList& Items,
                          const TField* Field, int Rows, int ScrollBarWidth);
    // The value the list stands on: the selected line's text (invalid when none).
    virtual QVariant ChosenValue() const;

    QString SearchText;
    qint64 SearchTickCount = 0;
    // The millisecond clock the typed search measures its pauses with.
    std::function<qint64()> TickCount;

    // Milliseconds after which typing starts a new search, and the characters kept of one.
    static constexpr int SearchPause = 2000;
    static constexpr int SearchLimit = 32;

protected:
    // Takes the editor's font and the colour Base, and forgets the typed search.
    void TakeLook(QWidget* editor, const QColor& Base);
    // Sizes the list for Rows lines and Width pixels and shows it under the editor, or above
    // it where the screen ends, without activating it.
    void PlaceUnder(QWidget* editor, int Width, int Rows);
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointer<QWidget> FEditor;
    TCloseUpHandler FCloseUp;
};

class TPopupDataList : public TPopupListbox
{
    Q_OBJECT

public:
    TPopupDataList(QWidget* editor, TCloseUpHandler CloseUp);
    ~TPopupDataList() override;

    // Fills the list from the records of DataSet (its cursor is put back afterwards).
    void Fill(TDataSet* DataSet, const QString& KeyField, const QString& ListField);
    // The key of the selected line (invalid when none), and selecting the line of a key.
    QVariant KeyValue() const;
    void SetKeyValue(const QVariant& Value);
    QString KeyField() const { return FKeyField; }
    QString ListField() const { return FListField; }
    QVariant ChosenValue() const override { return KeyValue(); }

    // Fills the list from the lookup dataset of the lookup field Field (LookupSource takes
    // that dataset), selects the line of the key Field's key fields hold in DataSet, and drops
    // it under the editor showing at most Rows lines.
    void DropDownLookup(QWidget* editor, const QColor& Base, TField* Field, TDataSet* DataSet,
                        TDataSource* LookupSource, int Rows);
    // Writes a chosen key into the key fields of the lookup field Field in DataSet; nothing
    // when a key field cannot be modified or StartEdit does not put the dataset into edit.
    static void WriteKey(TField* Field, TDataSet* DataSet, const QVariant& Key,
                         const std::function<bool()>& StartEdit);

private:
    QString FKeyField;
    QString FListField;
};
