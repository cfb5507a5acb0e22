// TDataSet: a cursor over rows held in a record store, with the states, navigation, editing,
// bookmarks, searching, filtering, sorting and events every data-aware form relies on.
//
// Every dataset of the system keeps its rows in one qx::RecordStore: the memory table fills
// it itself, the SQL datasets fill it from a result and write changes back through the
// ApplyInsert/ApplyUpdate/ApplyDelete hooks, which run before the store changes so a failed
// write leaves the store as it was.
//
// Rows are shown in a "view": all live rows in their natural order (the order they were
// appended or inserted), or, with a sort or a filter, the rows that pass the filter in sort
// order. Text keys of sorts, indexes and key checks compare without case, as the shop's
// database does.
#pragma once

#include "platform/db/DB.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"
#include "platform/db/RecordStore.h"

#include <QIODevice>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace qx {
class FilterExpression;
}

enum TBlobStreamMode { bmRead, bmWrite, bmReadWrite };

using TDataSetNotifyEvent = std::function<void(TDataSet* DataSet)>;
using TDataSetErrorEvent = std::function<void(TDataSet* DataSet, EDatabaseError& E, TDataAction& Action)>;
using TFilterRecordEvent = std::function<void(TDataSet* DataSet, bool& Accept)>;

class TDataSet : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(bool Filtered READ Filtered WRITE SetFiltered)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)

public:
    explicit TDataSet(QObject* owner = nullptr);
    ~TDataSet() override;

    // ---- state -------------------------------------------------------------------------
    TDataSetState State() const { return m_state; }
    bool Active() const { return m_state != dsInactive; }
    void SetActive(bool active);
    void Open();
    void Close();

    // ---- navigation --------------------------------------------------------------------
    void First();
    void Last();
    void Next();
    void Prior();
    // Moves by distance records (a pending edit is posted first); returns how far it went.
    int MoveBy(int distance);
    bool Bof() const { return m_bof; }
    bool Eof() const { return m_eof; }
    // 1-based number of the current record in the view; 0 when empty.
    int RecNo() const;
    void SetRecNo(int recNo);
    // Records in the view (rows passing the filter); an unposted new record is not counted.
    int RecordCount() const;
    bool IsEmpty() const { return RecordCount() == 0 && m_state != dsInsert; }
    virtual bool IsSequenced() const { return true; }

    // ---- editing -----------------------------------------------------------------------
    void Append();
    void Insert();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    // Posts a modified record, cancels an unmodified one; nothing in browse state.
    void CheckBrowseMode();
    // Asks the data links to write their pending edits into the fields.
    void UpdateRecord();
    bool Modified() const { return m_modified; }
    virtual bool CanModify() const { return !m_readOnly; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v) { m_readOnly = v; }
    int Tag() const { return m_tag; }
    void SetTag(int v) { m_tag = v; }

    // ---- bookmarks ---------------------------------------------------------------------
    // A bookmark names a row for as long as the row lives, whatever else is deleted, sorted
    // or filtered; bookmarks compare in the order the rows were added.
    TBookmark GetBookmark() const;
    void GotoBookmark(const TBookmark& bookmark); // "Record not found" for a dead bookmark
    bool BookmarkValid(const TBookmark& bookmark) const;
    int CompareBookmarks(const TBookmark& a, const TBookmark& b) const;
    void FreeBookmark(TBookmark& bookmark) { bookmark.clear(); }
    TBookmarkStr Bookmark() const { return GetBookmark(); }
    void SetBookmark(const TBookmarkStr& bookmark) { GotoBookmark(bookmark); }

    // ---- searching ---------------------------------------------------------------------
    // keyFields: names separated by ';'. keyValues: one value, or a QVariantList for several.
    bool Locate(const QString& keyFields, const QVariant& keyValues, TLocateOptions options = {});
    // The result field(s) of the first row matching exactly, without moving; null when none.
    // Several result fields (';') give a QVariantList.
    QVariant Lookup(const QString& keyFields, const QVariant& keyValues, const QString& resultFields);

    // ---- filter and sort -------------------------------------------------------------
    // Filter: conditions like  Name = 'abc*' and (Qty > 3 or Price <> 0)  (see FilterExpression).
    QString Filter() const { return m_filterText; }
    void SetFilter(const QString& text);
    bool Filtered() const { return m_filtered; }
    void SetFiltered(bool on);
    // Sort text: "Name", "Name DESC", "Qty ASC, Name DESC" (also ';' between fields); empty
    // returns to the natural order. The current record stays current.
    QString Sort() const { return m_sortText; }
    void SetSort(const QString& text);
    // Re-applies the filter and the sort (after a filter handler's conditions changed).
    // (A dataset over a database reads its rows again here.)
    virtual void Refresh();

    // ---- controls ----------------------------------------------------------------------
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return m_disableCount > 0; }

    // ---- fields ------------------------------------------------------------------------
    TFields* Fields() { return &m_fields; }
    const TFields* Fields() const { return &m_fields; }
    TFieldDefs* FieldDefs() { return &m_fieldDefs; }
    const TFieldDefs* FieldDefs() const { return &m_fieldDefs; }
    int FieldCount() const { return m_fields.Count(); }
    TField* FieldByName(const QString& name) const { return m_fields.FieldByName(name); }
    TField* FindField(const QString& name) const { return m_fields.FindField(name); }
    // Fields named "A;B" in that order; raises for a missing name.
    std::vector<TField*> GetFieldList(const QString& names) const;
    QStringList FieldNames() const;
    QVariant FieldValues(const QString& names) const;
    void SetFieldValues(const QString& names, const QVariant& values);
    // True when the fields were made from the definitions at open (no persistent fields).
    bool DefaultFields() const { return m_defaultFields; }
    // A stream over a blob or memo field of the current record. A write stream starts with
    // the present bytes (call Truncate() to drop them) and stores what it holds when closed
    // or destroyed.
    std::unique_ptr<QIODevice> CreateBlobStream(TField* field, TBlobStreamMode mode);

    // Visits every record of the view in order, making each the record fields read, without
    // moving the cursor or raising events; visit returns false to stop.
    void ForEachRecord(const std::function<bool()>& visit) const;

    // ---- for data sources and links ---------------------------------------------------
    // Records a data link can see: the view plus an unposted new record.
    int DisplayCount() const;
    // The current record's place among them; -1 when there is none.
    int DisplayIndex() const;
    // Which record field reads refer to: -1 = the current record (no event, no move).
    int ReadRecord() const { return m_readDisplay; }
    void SetReadRecord(int displayIndex);
    void DataEvent(TDataEvent event, TField* field = nullptr, int distance = 0);
    // Called by fields: value reads and writes of the record being read.
    QVariant ReadCell(const TField* field) const;
    void WriteCell(TField* field, const QVariant& cell);
    void FocusControlOf(TField* field);
    void FieldIndexChanged() { DataEvent(deLayoutChange); }

    // ---- events ------------------------------------------------------------------------
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent OnNewRecord, OnCalcFields;
    TDataSetErrorEvent OnPostError, OnEditError, OnDeleteError;
    TFilterRecordEvent OnFilterRecord;

protected:
    // ---- the seams subclasses fill ---------------------------------------------------
    // Called by Open before fields are bound: fill FieldDefs and the record store's rows
    // (a query runs its statement here). The store's columns are made by the dataset from
    // the fields after this returns, so a subclass that adds rows here must first call
    // BuildColumns(). The default does nothing.
    virtual void InternalOpen() {}
    virtual void InternalClose() {}
    // The after-open step: raises AfterOpen. A subclass that must act after the form's own
    // handler (and see whether it closed the dataset) overrides this and calls it first.
    virtual void DoAfterOpen() { doEvent(AfterOpen); }
    // The after-insert and after-delete steps: raise their events. A subclass that fills a new
    // row or tidies up after a delete around the form's handler overrides these.
    virtual void DoAfterInsert() { doEvent(AfterInsert); }
    virtual void DoAfterDelete() { doEvent(AfterDelete); }
    // Write-back of a posted or deleted row, before the record store changes. Raise to refuse
    // (the record stays in its edit state, the store untouched). Buffer*() give the values;
    // BufferCellChanged tells which ones the user assigned. Before ApplyInsert an empty
    // auto-increment cell holds the table's next number (not marked as assigned): a database
    // that numbers its own keys puts its number in with SetBufferCell.
    virtual void ApplyInsert() {}
    virtual void ApplyUpdate() {}
    virtual void ApplyDelete(std::uint32_t /*slot*/) {}
    // After the store changed: lets subclasses keep their own structures (indexes) current.
    virtual void RowStored(std::uint32_t /*slot*/, bool /*inserted*/) {}
    // Just before a row leaves the store (its values still readable).
    virtual void RowRemoving(std::uint32_t /*slot*/) {}
    virtual void RowsCleared() {}

    // The edit buffer of the record being posted, by store column.
    int PendingSlot() const { return m_state == dsEdit ? int(currentSlot()) : -1; }
    const QVariant& BufferCell(int column) const { return bufferCell(std::size_t(column)); }
    bool BufferCellChanged(int column) const { return m_changed[std::size_t(column)]; }
    void SetBufferCell(int column, const QVariant& cell);

    qx::RecordStore& Store() { return m_store; }
    const qx::RecordStore& Store() const { return m_store; }
    // Creates default fields from FieldDefs (when no persistent fields exist) and the store
    // columns for the data fields; Open calls it after InternalOpen unless already done.
    void BuildColumns();
    bool ColumnsBuilt() const { return m_columnsBuilt; }
    // The view after rows were added to or removed from the store directly (bulk loads).
    void ResyncView();
    // Drops every row (an edit in progress is dropped too) and tells the links.
    void ClearRows();
    // Rows appended straight into the store join the end of the natural order.
    void AddStoredRows(const std::vector<std::uint32_t>& rows);
    // Sort keys in force (used by indexes of subclasses).
    struct SortKey
    {
        int column;
        bool descending;
    };
    void SetSortKeys(std::vector<SortKey> keys, const QString& text);
    const std::vector<SortKey>& SortKeys() const { return m_sortKeys; }
    int CompareSlots(std::uint32_t a, std::uint32_t b, const std::vector<SortKey>& keys) const;
    // Compares the edit buffer (as a row) with a stored row on the given columns.
    int CompareBufferToSlot(std::uint32_t slot, const std::vector<SortKey>& keys) const;
    void CheckActive() const;
    void CheckInactive() const;
    void SetState(TDataSetState state);

private:
    friend class TField;
    friend class TDataSource;
    friend class qx::FilterExpression;
    friend class TBlobStream;

    enum class Target { Cursor, Slot, Buffer, None };
    struct ReadTarget
    {
        Target kind = Target::None;
        std::uint32_t slot = 0;
    };

    const std::vector<std::uint32_t>& view() const { return m_derivedView ? m_derived : m_order; }
    std::vector<std::uint32_t>& view() { return m_derivedView ? m_derived : m_order; }
    std::uint32_t currentSlot() const { return view()[std::size_t(m_pos)]; }
    ReadTarget targetOfDisplay(int displayIndex) const;
    ReadTarget readTarget() const;
    QVariant cellOf(const TField* field, const ReadTarget& t) const;
    void computeCalcFields(const ReadTarget& t) const;
    void invalidateCalc() { ++m_version; }

    void addDataSource(TDataSource* source);
    void removeDataSource(TDataSource* source);

    void doEvent(const TDataSetNotifyEvent& ev) { if (ev) ev(this); }
    void checkOperation(const std::function<void()>& op, const TDataSetErrorEvent& onError);
    void beginInsertAppend(bool append);
    void internalPost();
    void checkRequiredFields();
    void clearBuffer();
    void loadBuffer(std::uint32_t slot);
    void moveTo(int pos, bool scrollEvent); // sets m_pos, fires the scroll event to links
    bool passesFilter(std::uint32_t slot) const;
    bool hasFilter() const;
    void rebuildView(bool keepCurrent);
    void placeInDerived(std::uint32_t slot, bool removeFirst);
    int positionInView(std::uint32_t slot) const;
    std::vector<SortKey> sortKeysOf(const QString& text) const;
    std::vector<int> parseLocateKeys(const QString& keyFields, std::vector<TField*>& fields) const;
    int findRow(const std::vector<TField*>& fields, const QVariantList& values, TLocateOptions options,
                bool fromView) const;
    void freeDefaultFields();
    void assignAutoInc();
    void removeFromOrder(std::uint32_t slot);
    void materializeOrder();

    // structure
    TFields m_fields;
    TFieldDefs m_fieldDefs;
    std::vector<QPointer<TField>> m_ownFields; // default fields made at open
    bool m_defaultFields = true;
    bool m_columnsBuilt = false;
    int m_calcCount = 0;

    // rows
    qx::RecordStore m_store;
    std::vector<std::uint32_t> m_order;   // every live row in natural order
    std::vector<std::uint32_t> m_derived; // filtered and/or sorted rows when in use
    bool m_derivedView = false;
    bool m_orderIsSlotOrder = true; // no row was inserted in the middle
    bool m_orderImplicit = false;   // m_order left empty: it is the live slots in order
    std::vector<qint64> m_autoIncNext; // by column; 0 = not yet known
    int m_pos = -1;       // current record in view(); -1 when the view is empty
    int m_insertPos = -1; // where an unposted new record sits in the view
    bool m_bof = true;
    bool m_eof = true;

    // edit buffer, by store column. Edit does not copy the row: a cell is read from the
    // edited row the first time something asks for it (most edits touch one or two cells of a
    // wide row, and copying every cell into variants and back out cost more than the change).
    // Outside edit state every cell counts as loaded and holds the buffer's own value.
    mutable std::vector<QVariant> m_buffer;
    mutable std::vector<char> m_loaded;
    std::uint32_t m_editSlot = 0;
    std::vector<bool> m_changed;
    const QVariant& bufferCell(std::size_t column) const
    {
        if (!m_loaded[column]) {
            m_buffer[column] = m_store.value(m_editSlot, int(column));
            m_loaded[column] = 1;
        }
        return m_buffer[column];
    }
    bool m_modified = false;

    // calculated values, by calc index, for the record they were computed for
    mutable std::vector<QVariant> m_calcValues;
    mutable ReadTarget m_calcFor;
    mutable quint64 m_calcVersion = ~quint64(0);
    quint64 m_version = 0;
    mutable bool m_inCalc = false;
    mutable ReadTarget m_calcTarget;

    // reading another record of a link's window, or a candidate row of a filter
    int m_readDisplay = -1;
    ReadTarget m_readOverride;

    TDataSetState m_state = dsInactive;
    bool m_readOnly = false;
    int m_tag = 0;

    QString m_filterText;
    bool m_filtered = false;
    std::unique_ptr<qx::FilterExpression> m_filterExpr;
    QString m_sortText;
    std::vector<SortKey> m_sortKeys;

    int m_disableCount = 0;
    TDataSetState m_disableState = dsInactive;
    TDataEvent m_enableEvent = deDataSetChange;
    std::vector<QPointer<TDataSource>> m_sources;
};

namespace qx {

// Disables a dataset's controls for the lifetime of the guard, also when an error leaves
// the scope early.
class ControlsGuard
{
public:
    explicit ControlsGuard(TDataSet* dataSet) : m_dataSet(dataSet)
    {
        if (m_dataSet)
            m_dataSet->DisableControls();
    }
    ~ControlsGuard()
    {
        if (m_dataSet)
            m_dataSet->EnableControls();
    }
    ControlsGuard(const ControlsGuard&) = delete;
    ControlsGuard& operator=(const ControlsGuard&) = delete;

private:
    QPointer<TDataSet> m_dataSet;
};

// True while the data set holds an edited or inserted record that is not posted yet.
inline bool isEditing(const TDataSet* ds)
{
    return ds && (ds->State() == dsEdit || ds->State() == dsInsert);
}

} // namespace qx
