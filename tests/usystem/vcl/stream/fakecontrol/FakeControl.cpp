// A stand-in for the report library in the binder's tests: it exports the library's names,
// appends every call with the arguments it received to "calls.txt" in the AppDir it is given
// (or in the folder named by QX_FAKE_CONTROL_LOG for the exports without one), and fails a run
// whose report name is "throw" the way the real library does: the error is caught inside and
// only the status crosses.
#include "control/ControlExports.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace {

int g_calls = 0; // survives between calls while the library stays loaded

QString text(const char16_t* s) { return s ? QString::fromUtf16(s) : QString(); }

void record(const QString& folder, const QString& exportName, const QStringList& args)
{
    QFile file(folder + QStringLiteral("calls.txt"));
    if (!file.open(QIODevice::Append | QIODevice::Text))
        return;
    QString out = QStringLiteral("#%1 %2\n").arg(++g_calls).arg(exportName);
    for (const QString& a : args)
        out += a + u'\n';
    out += QStringLiteral("end\n");
    file.write(out.toUtf8());
}

QString logFolder() { return qEnvironmentVariable("QX_FAKE_CONTROL_LOG"); }

} // namespace

extern "C" {

int ShowReportData(const char16_t* UserName, QxQueryControlRef*)
{
    record(logFolder(), QStringLiteral("ShowReportData"), {text(UserName)});
    return QX_CONTROL_TRUE;
}

int GridPrint(void*, const char16_t* Title1, const char16_t* Title2, const char16_t* FootText,
              int Preview)
{
    record(logFolder(), QStringLiteral("GridPrint"),
           {text(Title1), text(Title2), text(FootText), QString::number(Preview)});
    return QX_CONTROL_TRUE;
}

int ShowQueryResult(const char16_t* UserName, QxQueryControlRef*)
{
    record(logFolder(), QStringLiteral("ShowQueryResult"), {text(UserName)});
    return QX_CONTROL_TRUE;
}

int ReportData(const char16_t* ConnectionString, const char16_t* FormName,
               const char16_t* ReportName, QxDataSetRef*)
{
    record(logFolder(), QStringLiteral("ReportData"),
           {text(ConnectionString), text(FormName), text(ReportName)});
    return QX_CONTROL_TRUE;
}

int SetQueryControl(QxQueryControlRef*)
{
    record(logFolder(), QStringLiteral("SetQueryControl"), {});
    return QX_CONTROL_TRUE;
}

int ExectueQuery(const char16_t* RulesConnection, const char16_t* DataConnection,
                 const char16_t* UserName, const char16_t* FormName, const char16_t* ReportName)
{
    record(logFolder(), QStringLiteral("ExectueQuery"),
           {text(RulesConnection), text(DataConnection), text(UserName), text(FormName),
            text(ReportName)});
    return QX_CONTROL_FALSE;
}

int ShowGroupdlg(const char16_t* RulesConnection, const char16_t* DataConnection,
                 const char16_t* UserName, const char16_t* GroupCode)
{
    record(logFolder(), QStringLiteral("ShowGroupdlg"),
           {text(RulesConnection), text(DataConnection), text(UserName), text(GroupCode)});
    return QX_CONTROL_FALSE;
}

int ExectueQueryWithCondition(const char16_t* RulesConnectionString,
                              const char16_t* DataConnectionString, const char16_t* UserName,
                              const char16_t* FormName, const char16_t* ReportName,
                              const char16_t* AppDir, int ValueCount,
                              const char16_t* const* Values)
{
    try {
        QStringList args{text(RulesConnectionString), text(DataConnectionString), text(UserName),
                         text(FormName), text(ReportName), text(AppDir),
                         QString::number(ValueCount)};
        for (int i = 0; i < ValueCount; ++i)
            args.append(text(Values[i]));
        record(text(AppDir), QStringLiteral("ExectueQueryWithCondition"), args);
        if (text(ReportName) == QLatin1String("throw"))
            throw std::runtime_error("the report failed");
        return QX_CONTROL_TRUE;
    } catch (...) {
        return QX_CONTROL_ERROR;
    }
}

int ExectueFind(const char16_t* RulesConnection, const char16_t* DataConnection,
                const char16_t* UserName, const char16_t* FormName)
{
    record(logFolder(), QStringLiteral("ExectueFind"),
           {text(RulesConnection), text(DataConnection), text(UserName), text(FormName)});
    return QX_CONTROL_FALSE;
}

int ExectueFindString(const char16_t* RulesConnectionString, const char16_t* DataConnectionString,
                      const char16_t* UserName, const char16_t* FormName, const char16_t* AppDir)
{
    record(text(AppDir), QStringLiteral("ExectueFindString"),
           {text(RulesConnectionString), text(DataConnectionString), text(UserName),
            text(FormName), text(AppDir)});
    return QX_CONTROL_TRUE;
}

int ExectueQueryString(const char16_t* RulesConnectionString,
                       const char16_t* DataConnectionString, const char16_t* UserName,
                       const char16_t* FormName, const char16_t* ReportName,
                       const char16_t* AppDir)
{
    record(text(AppDir), QStringLiteral("ExectueQueryString"),
           {text(RulesConnectionString), text(DataConnectionString), text(UserName),
            text(FormName), text(ReportName), text(AppDir)});
    return QX_CONTROL_TRUE;
}

} // extern "C"
