// Writes the rows of a bill held in memory into its database table by the copy rule every
// bill editor shares: each column of the table but ID takes the value of the memory field of
// the same name (compared without case) when that field holds something; a column whose field
// is empty or missing is left out of the INSERT, so the database's default applies. For a
// head, a column the database requires and has no default for is written as one blank " ".
// The bill's number is written into BillNo whatever the memory row carries ("新单" on new
// lines). Every value is bound; the statements are kept by the connection for reuse.
#pragma once

#include "platform/rtl/Exceptions.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

class TADOConnection;
class TDataSet;
class TField;

namespace qx::documents {

// An INSERT refused by a unique index (a bill number another save has taken, for example).
class EDuplicateKey : public EDatabaseError
{
public:
    using EDatabaseError::EDatabaseError;
};

class BillRowWriter
{
public:
    enum class Blanks { Unset, RequiredAsBlank };

    // Reads the columns of table. The table name comes from the program, never from a user.
    BillRowWriter(TADOConnection& connection, const QString& table, Blanks blanks = Blanks::Unset);

    // Inserts the current record of source, with BillNo := billNo.
    void insertCurrent(const TDataSet& source, const QString& billNo);
    // Inserts every record of source, in order, with BillNo := billNo. The source's cursor
    // stays where it is.
    void insertAll(const TDataSet& source, const QString& billNo);
    // Deletes the table's rows of billNo; returns how many went.
    int deleteBill(const QString& billNo);

    const QString& table() const { return m_table; }

private:
    struct Column
    {
        QString name;
        bool requiredBlank = false; // NOT NULL without a default, on a head
        bool billNo = false;
        QString quoted;
    };

    // The fields of source for each column (null where source has none).
    std::vector<TField*> matchFields(const TDataSet& source) const;
    void insertRecord(const std::vector<TField*>& fields, const QString& billNo);

    TADOConnection& m_connection;
    QString m_table;
    std::vector<Column> m_columns;
    // The INSERT of each set of written columns ('1' per written column).
    QHash<QByteArray, QString> m_statements;
};

// True when the field holds something to write: not null, and not an empty text.
bool fieldHasText(const TField& field);

} // namespace qx::documents
