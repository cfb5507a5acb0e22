#include "app/schema/ShippedTemplates.h"

#include "platform/rtl/Exceptions.h"

#include <QFile>
#include <QStringList>

#include <sqlite3.h>

namespace qx::app {

namespace {

const QString kTemplateFolder = QStringLiteral(":/templates/");
const QString kStandardType = QStringLiteral("标准式");

[[noreturn]] void templateFail(const QString& reason)
{
    throw EDatabaseError(QStringLiteral("打印模板：%1").arg(reason));
}

QByteArray templateResource(const QString& name)
{
    QFile file(kTemplateFolder + name);
    if (!file.open(QIODevice::ReadOnly))
        templateFail(QStringLiteral("没有文件 %1").arg(name));
    return file.readAll();
}

class TemplateStatement
{
public:
    TemplateStatement(sqlite3* db, const char* sql) : m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            templateFail(QString::fromUtf8(sqlite3_errmsg(db)));
    }
    ~TemplateStatement() { sqlite3_finalize(m_stmt); }
    TemplateStatement(const TemplateStatement&) = delete;
    TemplateStatement& operator=(const TemplateStatement&) = delete;

    void bindText(int index, const QString& value)
    {
        const QByteArray utf8 = value.toUtf8();
        check(sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
    }
    void bindBlob(int index, const QByteArray& value)
    {
        check(sqlite3_bind_blob(m_stmt, index, value.constData(), int(value.size()), SQLITE_TRANSIENT));
    }
    void bindInt(int index, int value) { check(sqlite3_bind_int(m_stmt, index, value)); }
    // Runs the statement; true with a row to read.
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            templateFail(QString::fromUtf8(sqlite3_errmsg(m_db)));
        return rc == SQLITE_ROW;
    }
    int columnInt(int column) const { return sqlite3_column_int(m_stmt, column); }
    void reset()
    {
        sqlite3_reset(m_stmt);
        check(sqlite3_clear_bindings(m_stmt));
    }

private:
    void check(int rc) const
    {
        if (rc != SQLITE_OK)
            templateFail(QString::fromUtf8(sqlite3_errmsg(m_db)));
    }

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace

QList<ShippedTemplate> shippedTemplates()
{
    QList<ShippedTemplate> out;
    const QStringList lines = QString::fromUtf8(templateResource(QStringLiteral("index.txt"))).split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList parts = line.split(u'|');
        if (parts.size() != 3 || parts.at(0).trimmed().isEmpty() || parts.at(2).trimmed().isEmpty())
            templateFail(QStringLiteral("index.txt 第%1行不是“类别|名称|文件”").arg(i + 1));
        ShippedTemplate t{parts.at(0).trimmed(), parts.at(1).trimmed(), parts.at(2).trimmed(), {}};
        t.data = templateResource(t.fileName);
        out << t;
    }
    return out;
}

void insertShippedTemplates(sqlite3* db)
{
    TemplateStatement last(db, "SELECT ifnull(max(OrderID), 0) FROM tRctReport WHERE ReportClass = ?");
    TemplateStatement insert(db, "INSERT INTO tRctReport (ReportClass, OrderID, ReportName, ReportType, ReportData)"
                                 " VALUES (?, ?, ?, ?, ?)");
    for (const ShippedTemplate& t : shippedTemplates()) {
        last.bindText(1, t.reportClass);
        const int orderId = last.step() ? last.columnInt(0) + 1 : 1;
        last.reset();
        insert.bindText(1, t.reportClass);
        insert.bindInt(2, orderId);
        insert.bindText(3, t.reportName);
        insert.bindText(4, kStandardType);
        insert.bindBlob(5, t.data);
        insert.step();
        insert.reset();
    }
}

} // namespace qx::app
