// The data module: the program's one database connection, the shared scratch queries, the
// query over the shop settings row, the run-wide values every form reads (the operator, the
// database path, the stock and backup flags) and the services used everywhere: the rights
// check, the date text of the bills and the side-by-side merge used for printing.
//
// One instance lives for the whole run, reached through the global dmdataUnit. Its component
// name is "dmdataUnit", because stored forms name their connection "dmdataUnit.ADOConnection".
#pragma once

#include "platform/rtl/DateTime.h"

#include <QObject>
#include <QString>

class TADOConnection;
class TADOQuery;
class TDataSet;
class TQxMemTable;

class TdmdataUnit : public QObject
{
    Q_OBJECT

public:
    // What DataModuleCreate came to. Anything but orConnected ends the program: the operator
    // has been told why.
    enum TOpenResult {
        orConnected,
        orNoSettingsFile, // "系统无法找到配置文件！"
        orConnectFailed   // "连接失败,请重新设置数据连接！"
    };

    // Makes the components; the connection stays closed until DataModuleCreate.
    explicit TdmdataUnit(QObject* owner = nullptr);
    ~TdmdataUnit() override;

    // The components, in creation order; the module owns them.
    TADOConnection* const ADOConnection;
    TADOQuery* const QryTemp;  // shared scratch query: the rights check, the login, most forms
    TADOQuery* const QryTemp2; // second scratch query of the bill editors and browsers
    TADOQuery* const QryTitle; // "select * from tReportTitle": its first row is the shop's

    // Reads ConSQL.ini of the program folder into DatabasePath and opens the connection, then
    // brings a database of an earlier build up to this build's schema. A missing settings file,
    // or a database that is missing, cannot be opened, lacks a table the start reads or cannot
    // be upgraded, is told to the operator in a message box; the caller then ends the program.
    // No database is ever made here.
    TOpenResult DataModuleCreate();

    // True when the current operator holds the right Module + "-" + Action (stored rights are
    // trimmed; letter case does not count). A refusal with ShowMessage says
    // "对不起你没有 [" + Action + "] 的权限". Nobody logged in holds no right; the all-rights
    // operator "高级用户" holds every right, also those of reports stored after its rights were
    // written. Reuses QryTemp, which afterwards holds the matching rows. Raises EDatabaseError
    // when the rights cannot be read.
    bool CheckRight(const QString& Module, const QString& Action, bool ShowMessage);

    // Mode 0: "yyyy-mm"; mode 1: the date in the short date format ("yyyy-mm-dd"); any other
    // mode: empty.
    QString DateOrMonthText(int Mode, TDateTime Date) const;

    // Rebuilds Target as the row-by-row side-by-side union of First and Second: First's fields
    // under their own names, Second's under "O_" + name; row n holds row n of each, and the
    // shorter side's fields stay empty on the remaining rows. A closed dataset adds nothing.
    // An error is shown to the operator and false returned: the caller must not print a
    // half-built table. The cursors of First and Second stay where they were.
    bool MergeSideBySide(TDataSet* First, TDataSet* Second, TQxMemTable* Target);

    // Opens QryTitle when closed and copies isStock and isBackup of its first row into
    // StockEnabled and BackupOnExit (both false without a row). The main window calls it when
    // it is created.
    void ReadTitleFlags();
};

// The one instance (null before start-up and after the module went).
extern TdmdataUnit* dmdataUnit;
// UserCode of the logged-in operator; empty while nobody is logged in. Written by the login.
extern QString CurrentUser;
// The database file the connection opened. Every file operation on the database uses it.
extern QString DatabasePath;
// Copy of tReportTitle.isStock: work orders, sales and purchases move stock only when set.
extern bool StockEnabled;
// Copy of tReportTitle.isBackup: offer a backup when the program is closed.
extern bool BackupOnExit;

namespace qx::app {

// The database of the program folder, used unless ConSQL.ini names a shared one.
QString DefaultDatabasePath();
// The database a ConSQL.ini [Server] Path value names: the value itself when it is a network
// path (two backslashes, or an absolute path from '/', a mounted share), otherwise
// DefaultDatabasePath().
QString DatabasePathFromSetting(const QString& pathSetting);
// True when DatabasePath is not the program folder's own database (a shared database, which
// the backup on exit leaves alone).
bool DatabaseIsShared();
// The connection string of a database file, as the program and the report library use it.
QString ConnectionStringFor(const QString& databasePath);
// Tells the operator that the database cannot be used: "连接失败,请重新设置数据连接！". The
// program ends after it.
void ShowConnectionFailed();

} // namespace qx::app
