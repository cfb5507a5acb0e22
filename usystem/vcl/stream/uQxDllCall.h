// Run-time binding of the report library. The program never links libControl.so; it loads it
// from the program folder the first time a report is run and binds its exports by name
// (control/ControlExports.h). A loaded library is never unloaded.
#pragma once

#include <QLibrary>
#include <QString>
#include <QStringList>

// The report library's file in the program folder.
inline constexpr char ControlLibraryName[] = "libControl.so";

// The address of the export ProcName of the library FileName (a bare name is looked for in
// the program folder), loading the library unless it is loaded already. When the library
// cannot be loaded or lacks the export, says so in a message box and returns null.
QFunctionPointer GetDllProc(const QString& FileName, const QString& ProcName);

// Runs the stored report ReportName of the report centre with Values as its condition
// values, through the export "ExectueQueryWithCondition" of the report library. A failed
// binding has already been reported by GetDllProc; a failed run shows "调用查询出错!". The
// caller goes on either way; the result is the export's, which no caller needs.
bool QueryWithCondition(const QString& RulesConnStr, const QString& DataConnStr,
                        const QString& UserName, const QString& FormName,
                        const QString& ReportName, const QStringList& Values);

namespace qx {

// The same with the program folder given (tests bind a library of a temporary folder).
QFunctionPointer getDllProc(const QString& programFolder, const QString& fileName,
                            const QString& procName);
bool queryWithCondition(const QString& programFolder, const QString& rulesConnStr,
                        const QString& dataConnStr, const QString& userName,
                        const QString& formName, const QString& reportName,
                        const QStringList& values);

// How many times a library was actually loaded in this process (a second binding of the same
// library reuses the first load).
int dllLoadCount();

} // namespace qx
