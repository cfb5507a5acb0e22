#include "app/maintenance/DataClearing.h"

#include "platform/db/sql/ADOCommand.h"
#include "platform/db/sql/SqlQuote.h"

namespace qx::app {

namespace {

const char16_t* const kKeptTables[] = {u"t_Setting", u"t_SNo",     u"t_Userdb", u"tQueryReport",
                                       u"tRctReport", u"tAccount", u"tDictmst", u"tDictdlt"};

const char16_t* const kBusinessTables[] = {
    u"t_CheckDlt",  u"t_CheckMst",     u"t_CheckVehicle",  u"t_DayAccount",    u"t_indlt",
    u"t_Inmst",     u"t_InDlt1",       u"t_OutMst",        u"t_Outdlt",        u"t_Outdlt1",
    u"t_OutStkDlt", u"t_OutStkMst",    u"t_paydlt",        u"t_PayMst",        u"t_Receptiondlt",
    u"t_Receptiondlt2", u"t_ReceptionDlt3", u"t_Receptionmst"};

// A table of the date clearing, with the head whose dates decide for its rows (none: the table
// has its own dates), in the order they are cleared: lines and receipts before their heads.
struct RangeStep
{
    const char16_t* table;
    const char16_t* head;
};

const RangeStep kRangeSteps[] = {
    {u"t_CheckDlt", u"t_CheckMst"},          {u"t_CheckMst", nullptr},
    {u"t_CheckVehicle", nullptr},            {u"t_DayAccount", nullptr},
    {u"t_indlt", u"t_Inmst"},                {u"t_InDlt1", u"t_Inmst"},
    {u"t_Inmst", nullptr},                   {u"t_Outdlt", u"t_OutMst"},
    {u"t_Outdlt1", u"t_OutMst"},             {u"t_OutMst", nullptr},
    {u"t_OutStkDlt", u"t_OutStkMst"},        {u"t_OutStkMst", nullptr},
    {u"t_paydlt", u"t_PayMst"},              {u"t_PayMst", nullptr},
    {u"t_Receptiondlt", u"t_Receptionmst"},  {u"t_Receptiondlt2", u"t_Receptionmst"},
    {u"t_ReceptionDlt3", u"t_Receptionmst"}, {u"t_Receptionmst", nullptr},
};

QString text(const char16_t* s)
{
    return QString::fromUtf16(s);
}

void run(TADOCommand& command, const QString& sql)
{
    command.setCommandText(sql);
    command.Execute();
}

} // namespace

void ProposedClearRange(const QDate& today, QDate& from, QDate& to)
{
    to = today.addDays(-today.day());
    from = to.addDays(-30);
}

bool KeptByFullClearing(const QString& table)
{
    if (table.startsWith(QStringLiteral("V_"), Qt::CaseInsensitive))
        return true;
    for (const char16_t* kept : kKeptTables) {
        if (table.compare(text(kept), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QStringList BusinessTables()
{
    QStringList tables;
    for (const char16_t* table : kBusinessTables)
        tables << text(table);
    return tables;
}

void ClearAllData(TADOCommand& command)
{
    // The tables the database itself lists, SQLite's own left out; saved queries are views and
    // are not among them.
    QStringList tables;
    command.Connection()->GetTableNames(tables);
    for (const QString& table : std::as_const(tables)) {
        if (!KeptByFullClearing(table))
            run(command, QStringLiteral("delete from ") + qx::quoteSqlName(table));
    }
}

void ClearBusinessData(TADOCommand& command)
{
    for (const char16_t* table : kBusinessTables)
        run(command, QStringLiteral("Delete from ") + text(table));
}

void ClearDateRange(TADOCommand& command, const QDate& from, const QDate& to)
{
    const QString range = QStringLiteral("BillDate >= :BeginDate and BillDate <= :EndDate");
    for (const RangeStep& step : kRangeSteps) {
        if (step.head) {
            command.setCommandText(QStringLiteral("Delete from ") + text(step.table)
                                   + QStringLiteral(" where BillNo in (select BillNo from ") + text(step.head)
                                   + QStringLiteral(" where ") + range + u')');
        } else {
            command.setCommandText(QStringLiteral("Delete from ") + text(step.table) + QStringLiteral(" where ")
                                   + range);
        }
        command.Parameters().ParamByName(QStringLiteral("BeginDate")).setValue(from);
        command.Parameters().ParamByName(QStringLiteral("EndDate")).setValue(to);
        command.Execute();
    }
}

} // namespace qx::app
