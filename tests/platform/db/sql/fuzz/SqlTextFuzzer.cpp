// libFuzzer target of the SQL text that users write (report-centre queries, document structures,
// find conditions): the Jet rewriter, the parameter parser, and a query opened over the
// rewritten text, whose expression columns are typed from their text and values. Every input
// must end in a result or in one of the system's own exceptions, never in a crash or undefined
// behaviour. The statements may only read: the database stays the same from run to run.
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/db/sql/ExpressionColumns.h"
#include "platform/db/sql/JetSqlRewriter.h"
#include "platform/db/sql/SqlParamParser.h"

#include <cstdint>
#include <cstdlib>

#include <sqlite3.h>

namespace {

int onlyReading(void*, int action, const char*, const char* value, const char*, const char*)
{
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE: return SQLITE_OK;
    case SQLITE_PRAGMA: return value ? SQLITE_DENY : SQLITE_OK; // pragma_table_info(...) reads
    default: return SQLITE_DENY;
    }
}

// A statement that runs long (a recursive view of itself) is stopped.
int stopLongRuns(void* steps)
{
    return ++*static_cast<int*>(steps) > 200;
}

int g_steps = 0;

TADOConnection& connection()
{
    static TADOConnection* conn = [] {
        auto* c = new TADOConnection;
        c->setConnectionString(QStringLiteral("Data Source=:memory:"));
        c->Open();
        c->Execute(QStringLiteral(
            "CREATE TABLE tStock (ID INTEGER PRIMARY KEY AUTOINCREMENT, Code TEXT(10), Name TEXT(20), Qty INTEGER,"
            " Price MONEY, Weight DOUBLE, InDate DATETIME, Paid YESNO, Note MEMO, Photo BLOB);"
            "CREATE TABLE tLog (Msg TEXT(30), Day DATETIME);"
            "CREATE VIEW vStock AS SELECT Code, Price * 2 AS P2 FROM tStock;"
            "INSERT INTO tStock (Code, Name, Qty, Price, Weight, InDate, Paid, Note) VALUES"
            " ('A1', '屏幕', 3, 12.5, 0.25, '2006-03-05', 1, 'n'), ('B2', '电池', 0, 0, NULL, '2006-3-6 10:20', 0, NULL),"
            " ('C3', NULL, 2147483648, 1e300, -1e-300, 'not a date', -1, '长');"
            "INSERT INTO tLog VALUES ('x', '2006-03-05 10:20:30'), (NULL, 45000)"));
        sqlite3* db = c->handle();
        sqlite3_set_authorizer(db, onlyReading, nullptr);
        sqlite3_progress_handler(db, 1000, stopLongRuns, &g_steps);
        sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
        sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 1 << 20);
        return c;
    }();
    return *conn;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    TADOConnection& conn = connection();
    try {
        (void)qx::parseSqlParameters(text);
        const qx::SelectListKinds kinds(conn.handle(), text);
        (void)kinds.kindOf(QStringLiteral("V"));
        const QString sql = qx::rewriteJetSql(text);
        g_steps = 0;
        TADOQuery q;
        q.SetConnection(&conn);
        q.SQL().SetText(sql);
        q.Open();
        for (int row = 0; !q.Eof() && row < 50; ++row, q.Next())
            for (int i = 0; i < q.FieldCount(); ++i)
                (void)q.Fields()->Fields(i)->DisplayText();
    } catch (const Exception&) {
        // The system's own errors: a message for the user.
    } catch (...) {
        std::abort();
    }
    return 0;
}
