// The memory table: a dataset whose rows live only in memory. Editors build their bill lines
// in it, result windows show query results through it, and the report library's query
// definition is one (it derives from TQxCustomMemTable).
//
// Structure comes from FieldDefs (or from persistent fields); CreateTable and changes of the
// definitions are refused while the table is open. Indexes order the rows and, when unique,
// refuse a second row with the same key ("Key violation"). Rows can be copied from any
// dataset, saved to and loaded from comma text (see MemTableText.h for the form) and a binary
// stream (see MemTableBinary.h).
#pragma once

#include "platform/db/DataSet.h"

#include <QFlags>
#include <QIODevice>
#include <QString>

#include <vector>

enum TIndexOption { ixPrimary = 1, ixUnique = 2, ixDescending = 4, ixCaseInsensitive = 8 };
Q_DECLARE_FLAGS(TIndexOptions, TIndexOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TIndexOptions)

// What a comma-text save writes: the rows, the structure, or both.
enum TMemTableSaveFlag { mtfSaveData = 1, mtfSaveDef = 2 };
Q_DECLARE_FLAGS(TMemTableSaveFlags, TMemTableSaveFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMemTableSaveFlags)

// What LoadFromDataSet copies besides the rows.
enum TMemTableCopyOption { mtcpoStructure = 1 };
Q_DECLARE_FLAGS(TMemTableCopyOptions, TMemTableCopyOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMemTableCopyOptions)

enum class TCsvEncoding { Utf8, Gbk };

namespace qx {
class MemTableText;
class MemTableBinary;
}

class TQxCustomMemTable : public TDataSet
{
    Q_OBJECT
    Q_PROPERTY(QString IndexFieldNames READ IndexFieldNames WRITE SetIndexFieldNames)
    Q_PROPERTY(QString IndexName READ IndexName WRITE SetIndexName)

public:
    explicit TQxCustomMemTable(QObject* owner = nullptr);
    ~TQxCustomMemTable() override;

    // ---- structure ---------------------------------------------------------------------
    // Checks the definitions; the table is made from them when it opens. Refused while open.
    void CreateTable();
    // Takes the structure of any dataset's fields (open or with definitions). Refused while open.
    void CopyStructure(TDataSet* source);
    // Drops every row; the structure stays.
    void EmptyTable();

    // Copies the rows of source (by field name) into this table, at most limit rows when
    // limit >= 0, without this table's events; with mtcpoStructure the structure is taken from
    // source first (the table is closed and reopened). The source's current record is kept.
    void LoadFromDataSet(TDataSet* source, TMemTableCopyOptions options = {}, int limit = -1);

    // ---- indexes -----------------------------------------------------------------------
    // fields: names separated by ';'. A unique index refuses duplicate keys ("Key violation").
    void AddIndex(const QString& name, const QString& fields, TIndexOptions options = {});
    void DeleteIndex(const QString& name);
    QStringList IndexNames() const;
    // The index that orders the rows (empty: the order rows were added in).
    QString IndexName() const { return m_indexName; }
    void SetIndexName(const QString& name);
    // An ad-hoc order by fields ("A;B"); setting it clears IndexName and the other way round.
    QString IndexFieldNames() const { return m_indexFieldNames; }
    void SetIndexFieldNames(const QString& names);

    // ---- comma text --------------------------------------------------------------------
    QChar CsvSeparator() const { return m_csvSeparator; }
    void SetCsvSeparator(QChar c) { m_csvSeparator = c; }
    TCsvEncoding CsvEncoding() const { return m_csvEncoding; }
    void SetCsvEncoding(TCsvEncoding e) { m_csvEncoding = e; }
    // The file saves are safe saves (platform/rtl/SafeSave.h): a failure raises EInOutError with
    // the system's reason and leaves the file as it was.
    void SaveToFile(const QString& fileName, TMemTableSaveFlags flags = mtfSaveData | mtfSaveDef) const;
    void SaveToStream(QIODevice& stream, TMemTableSaveFlags flags = mtfSaveData | mtfSaveDef) const;
    // Appends the rows of the file; a closed table takes the structure the file carries.
    // A damaged file raises EDatabaseError naming the line and leaves the table unchanged.
    void LoadFromFile(const QString& fileName);
    void LoadFromStream(QIODevice& stream);

    // ---- binary ------------------------------------------------------------------------
    void SaveToBinaryStream(QIODevice& stream) const;
    void SaveToBinaryFile(const QString& fileName) const;
    // Appends the rows of the stream (a closed table takes its structure). A damaged stream
    // raises EReadError and leaves the table unchanged.
    void LoadFromBinaryStream(QIODevice& stream);
    void LoadFromBinaryFile(const QString& fileName);

protected:
    void InternalOpen() override;
    void ApplyInsert() override;
    void ApplyUpdate() override;
    void RowStored(std::uint32_t slot, bool inserted) override;
    void RowRemoving(std::uint32_t slot) override;
    void RowsCleared() override;

    // Bulk loading for the readers: rows appended straight into the store, then either kept
    // (indexes checked, view rebuilt) or thrown away.
    std::uint32_t BulkAppend();
    void BulkSet(std::uint32_t slot, const TField* field, const QVariant& cell);
    void BulkCommit(const std::vector<std::uint32_t>& added);
    void BulkRollback(const std::vector<std::uint32_t>& added);

private:
    friend class qx::MemTableText;
    friend class qx::MemTableBinary;

    struct Index
    {
        QString name;
        QString fields;
        TIndexOptions options;
        std::vector<SortKey> keys;
        std::vector<std::uint32_t> sorted; // unique indexes: every live row in key order
    };
    // Readies the table for the rows of a file: a closed table takes the file's structure
    // (when it has one) and opens. Returns the fields of the file's columns, in file order.
    std::vector<TField*> prepareLoad(const TFieldDefs* fileDefs, bool& openedHere);
    // Undoes prepareLoad after a failed load.
    void undoLoad(bool openedHere, const TFieldDefs& oldDefs);
    Index* findIndex(const QString& name);
    std::vector<SortKey> resolveKeys(const QString& fields, bool descending) const;
    bool buildUniqueIndex(Index& index); // false on a duplicate key
    void checkUnique(int ownSlot) const;
    void applyOrder();

    std::vector<Index> m_indexes;
    QString m_indexName;
    QString m_indexFieldNames;
    QChar m_csvSeparator = u',';
    TCsvEncoding m_csvEncoding = TCsvEncoding::Utf8;
};

class TQxMemTable : public TQxCustomMemTable
{
    Q_OBJECT
public:
    explicit TQxMemTable(QObject* owner = nullptr) : TQxCustomMemTable(owner) {}
};
