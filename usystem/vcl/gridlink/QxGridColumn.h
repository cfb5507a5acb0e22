// The column model shared by the library's data-aware grids: a column of the data grid and a
// field row of the record grid hold the same values (field, colour, width, font, title,
// input-method settings, pick list, menu, button style, alignment, read-only) and follow the
// same rules: a value the column was not given reads as its default (the field's, the grid's),
// a setter marks its value as assigned, and only assigned values are copied and streamed.
// A column the grid made by itself for a field (a pass-through column) writes its title,
// alignment, read-only flag and width into the field instead, so that it follows the field.
//
// GridColumn and GridColumnTitle carry the values and the rules; each grid derives its own
// classes from them, which publish the values (as Q_PROPERTYs, in the grid's own streaming
// order) and add what only that grid has. The grid itself answers the questions the defaults
// need through GridColumnHost.
#pragma once

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/stream/Persistent.h"
#include "platform/ui/Colors.h"

#include <QFont>
#include <QMenu>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace qx {

class GridColumn;
class GridColumns;

// What the columns of a grid ask their grid.
class GridColumnHost
{
public:
    virtual ~GridColumnHost();

    virtual TDataSet* HostDataSet() const = 0;  // the dataset of the grid's link
    virtual bool HostLinkActive() const = 0;
    virtual bool HostLoading() const = 0;       // a form file is being read into the grid
    virtual QFont HostFont() const = 0;
    virtual TColor HostColor() const = 0;
    virtual TColor HostFixedColor() const = 0;
    virtual QFont HostTitleFont() const = 0;
    virtual int HostImeMode() const = 0;        // a GridColumn::TImeMode
    virtual QString HostImeName() const = 0;
    virtual bool HostReadOnly() const = 0;
    virtual int HostDefaultColWidth() const = 0;
    virtual bool HostShowsTitles() const = 0;
    // Width changes of pass-through columns go into their fields.
    virtual bool HostUpdateFields() const = 0;
    // The grid is taking its layout from the dataset (a field's width changed there).
    virtual bool HostLayoutFromDataset() const = 0;
    virtual void HostSetLayoutFromDataset(bool value) = 0;
    // The grid's layout lock (a column is made inside it).
    virtual void HostBeginLayout() = 0;
    virtual void HostEndLayout() = 0;
    virtual void HostCancelLayout() = 0;
};

class GridColumnTitle : public PersistentObject
{
    Q_OBJECT

public:
    // The alignments as the stream names them (same values as the dataset's TAlignment).
    enum TTitleAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TTitleAlignment)

    explicit GridColumnTitle(GridColumn* column);
    ~GridColumnTitle() override;

    GridColumn* OwningColumn() const { return FColumn; }
    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    QString Caption() const;
    // A pass-through column's caption is its field's label while the grid's link is open.
    virtual void SetCaption(const QString& value);
    TColor Color() const;
    void SetColor(TColor value);
    QFont Font() const;
    void SetFont(const QFont& value);
    // The caption the column would show without an assigned one.
    QString DefaultCaption() const;
    virtual void RestoreDefaults();
    // Copies the assigned values of another title.
    void Assign(const GridColumnTitle* source);

    std::optional<bool> isPropertyStored(const char* name) const override;

protected:
    TTitleAlignment alignmentValue() const { return TTitleAlignment(Alignment()); }
    void setAlignmentValue(TTitleAlignment v) { SetAlignment(TAlignment(v)); }
    // A title font changes the height of title cells: some grids lay all columns out again.
    void SetFontChangesAll(bool value) { FFontChangesAll = value; }

private:
    friend class GridColumn;
    GridColumn* FColumn = nullptr;
    QString FCaption;
    QFont FFont;
    TColor FColor = clBtnFace;
    TAlignment FAlignment = ::taLeftJustify;
    bool FFontChangesAll = false;
};

class GridColumn : public CollectionItem
{
    Q_OBJECT

public:
    enum TColumnAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TColumnAlignment)
    enum TQxColumnButtonStyle { cbsAuto, cbsEllipsis, cbsNone };
    Q_ENUM(TQxColumnButtonStyle)
    enum TImeMode { imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata,
                    imKata, imChinese, imSHanguel, imHanguel };
    Q_ENUM(TImeMode)
    // Which values were assigned (bit order as stored).
    enum TColumnValue {
        cvColor = 0x001,
        cvWidth = 0x002,
        cvFont = 0x004,
        cvAlignment = 0x008,
        cvReadOnly = 0x010,
        cvTitleColor = 0x020,
        cvTitleCaption = 0x040,
        cvTitleAlignment = 0x080,
        cvTitleFont = 0x100,
        cvImeMode = 0x200,
        cvImeName = 0x400,
    };
    Q_DECLARE_FLAGS(TColumnValues, TColumnValue)

    explicit GridColumn(Collection* collection);
    ~GridColumn() override;

    // The collection the column belongs to, and the grid behind it (none without a grid).
    GridColumns* OwningColumns() const;
    GridColumnHost* Host() const;
    // A column the grid made by itself for a field: changes go into the field.
    virtual bool IsPassthrough() const = 0;

    // The bound field: looked up by FieldName in the grid's dataset on first read.
    TField* Field() const;
    TField* GetField() const { return Field(); }
    virtual void SetField(TField* value);
    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& value);

    TAlignment Alignment() const;
    virtual void SetAlignment(TAlignment value);
    TQxColumnButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TQxColumnButtonStyle value);
    TColor Color() const;
    void SetColor(TColor value);
    int DropDownRows() const { return int(FDropDownRows); }
    void SetDropDownRows(int value) { FDropDownRows = unsigned(qMax(0, value)); }
    QFont Font() const;
    void SetFont(const QFont& value);
    TImeMode ImeMode() const;
    virtual void SetImeMode(TImeMode value);
    QString ImeName() const;
    virtual void SetImeName(const QString& value);
    QStringList PickList() const { return FPickList ? *FPickList : QStringList(); }
    void SetPickList(const QStringList& value);
    bool HasPickList() const { return FPickList && !FPickList->isEmpty(); }
    // The pick list itself, made on first use, for callers that fill it in place.
    QStringList* GetPickList();
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* value);
    bool ReadOnly() const;
    virtual void SetReadOnly(bool value);
    GridColumnTitle* ColumnTitle() const { return FTitle; }
    int Width() const;
    virtual void SetWidth(int value);
    bool IMEControl() const { return FIMEControl; }
    void SetIMEControl(bool value) { FIMEControl = value; }
    TColumnValues AssignedValues() const { return FAssignedValues; }

    // The width without an assigned one: the field's display width in the column's font,
    // and at least the title's caption with titles shown.
    int DefaultWidth() const;
    // Every assigned value cleared, the font back to its default, no pick list, button auto.
    virtual void RestoreDefaults();

    std::optional<bool> isPropertyStored(const char* name) const override;

protected:
    // The title, made by the derived class's constructor.
    void InitTitle(GridColumnTitle* title) { FTitle = title; }
    // Copies another column inside one collection update: its field name, its assigned values
    // only, its title's assigned values, rows, button, pick list, menu and candidate pad flag;
    // AssignMore copies what the derived class adds.
    void AssignColumn(const GridColumn* source);
    virtual void AssignMore(const GridColumn* source) { (void)source; }
    // The button style changed (the data grid gives an ellipsis its picture).
    virtual void ButtonStyleChanged() {}
    // Tells the collection (null: every column changed).
    void Changed(bool allItems = false);
    void ClearField() { FField = nullptr; }

    QFont DefaultFont() const;
    TAlignment DefaultAlignment() const;
    TColor DefaultColor() const;
    bool DefaultReadOnly() const;
    TImeMode DefaultImeMode() const;
    QString DefaultImeName() const;

    TColumnAlignment alignmentValue() const { return TColumnAlignment(Alignment()); }
    void setAlignmentValue(TColumnAlignment v) { SetAlignment(TAlignment(v)); }

    mutable QPointer<TField> FField;
    QString FFieldName;
    TColor FColor = clWindow;
    int FWidth = 0;
    GridColumnTitle* FTitle = nullptr;
    QFont FFont;
    TImeMode FImeMode = imDontCare;
    QString FImeName;
    std::unique_ptr<QStringList> FPickList;
    QPointer<QMenu> FPopupMenu;
    unsigned FDropDownRows = 7;
    TQxColumnButtonStyle FButtonStyle = cbsAuto;
    TAlignment FAlignment = ::taLeftJustify;
    bool FReadOnly = false;
    TColumnValues FAssignedValues;
    bool FIMEControl = false;

private:
    friend class GridColumnTitle;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(GridColumn::TColumnValues)

// The columns (or field rows) of a grid. Changes of its columns reach the grid through
// update(), once per batch while an update is under way.
class GridColumns : public Collection
{
    Q_OBJECT

public:
    // Make makes one column; it runs inside the grid's layout lock, so that a half-made
    // column is never laid out.
    GridColumns(std::function<GridColumn*(Collection*)> Make, GridColumnHost* Host,
                QObject* parent);
    ~GridColumns() override;

    GridColumnHost* Host() const { return FHost; }
    int Count() const { return count(); }
    GridColumn* Column(int index) const { return static_cast<GridColumn*>(item(index)); }
    // A new column the grid makes by itself (a pass-through column) at the end.
    GridColumn* AddDefault();
    bool MakingDefaultColumn() const { return FMakingDefault; }
    // Every column back to its defaults.
    void RestoreDefaults();
    // Batched changes: the grid hears once, at the end.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    // A column changed (null: the whole collection).
    void Notify(GridColumn* item);

protected:
    // The grid is going: nothing reaches it any more.
    void DetachHost() { FHost = nullptr; }

private:
    GridColumnHost* FHost = nullptr;
    int FUpdateCount = 0;
    bool FMakingDefault = false;
};

} // namespace qx
