#include "app/data/dmData.h"

#include "app/schema/BuildPartFile.h"
#include "app/schema/DatabaseBuilder.h"
#include "app/schema/SchemaUpgrade.h"
#include "app/schema/OperatorRights.h"
#include "platform/db/DataSet.h"
#include "platform/db/QxMemTable.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/ini/IniFile.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "usystem/vcl/foundation/uQxFuncs.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>

TdmdataUnit* dmdataUnit = nullptr;
QString CurrentUser;
QString DatabasePath;
bool StockEnabled = false;
bool BackupOnExit = false;

namespace {

const QString kSettingsFile = QStringLiteral("ConSQL.ini");

// A database the program can work with has the tables its start reads: the operators for
// the login, the shop settings row for the main window and the stored reports for its menu.
// An empty file opens as an empty SQLite database, and another SQLite file opens as well; the
// operator would otherwise meet a "no such table" later, in English, halfway into the start.
void checkShopDatabase(const TADOConnection& connection)
{
    QStringList tables;
    connection.GetTableNames(tables);
    for (const char* needed : {"t_UserDB", "tReportTitle", "tQueryReport"}) {
        if (!tables.contains(QLatin1String(needed), Qt::CaseInsensitive))
            throw EDatabaseError(QStringLiteral("数据库中没有表 %1").arg(QLatin1String(needed)));
    }
}

// Puts a dataset's cursor back where it was when the scope ends, on every path.
class CursorKeeper
{
public:
    explicit CursorKeeper(TDataSet* dataSet)
        : m_dataSet(dataSet && dataSet->Active() ? dataSet : nullptr)
    {
        if (m_dataSet)
            m_bookmark = m_dataSet->GetBookmark();
    }
    ~CursorKeeper()
    {
        if (!m_dataSet || m_bookmark.isEmpty())
            return;
        try {
            if (m_dataSet->Active() && m_dataSet->BookmarkValid(m_bookmark))
                m_dataSet->GotoBookmark(m_bookmark);
        } catch (...) {
            // Only the position is lost; the merge has said what went wrong, if anything.
        }
    }
    CursorKeeper(const CursorKeeper&) = delete;
    CursorKeeper& operator=(const CursorKeeper&) = delete;

private:
    TDataSet* m_dataSet;
    TBookmark m_bookmark;
};

// The merged table is a print copy: its columns take values as they come, so none is required
// (the rows past the shorter side leave that side empty) and no number is invented for a
// counter column.
void addMergedDef(TQxMemTable* target, const QString& name, const TField* field)
{
    const TFieldType type = field->DataType() == ftAutoInc ? ftInteger : field->DataType();
    target->FieldDefs()->Add(name, type, IsStringFieldType(type) ? field->Size() : 0, false);
}

QString applicationTitle()
{
    return QGuiApplication::applicationDisplayName();
}

} // namespace

TdmdataUnit::TdmdataUnit(QObject* owner)
    : QObject(owner),
      ADOConnection(new TADOConnection(this)),
      QryTemp(new TADOQuery(this)),
      QryTemp2(new TADOQuery(this)),
      QryTitle(new TADOQuery(this))
{
    setObjectName(QStringLiteral("dmdataUnit"));
    dmdataUnit = this;

    ADOConnection->setObjectName(QStringLiteral("ADOConnection"));
    ADOConnection->setLoginPrompt(false);
    ADOConnection->setMode(TADOConnection::cmShareDenyNone);

    QryTemp->setObjectName(QStringLiteral("QryTemp"));
    QryTemp->SetConnection(ADOConnection);
    QryTemp2->setObjectName(QStringLiteral("QryTemp2"));
    QryTemp2->SetConnection(ADOConnection);
    QryTitle->setObjectName(QStringLiteral("QryTitle"));
    QryTitle->SetConnection(ADOConnection);
    QryTitle->SQL().SetText(QStringLiteral("select * from tReportTitle"));
}

TdmdataUnit::~TdmdataUnit()
{
    if (dmdataUnit == this)
        dmdataUnit = nullptr;
}

TdmdataUnit::TOpenResult TdmdataUnit::DataModuleCreate()
{
    const QString settings = ExeFolderPath(kSettingsFile);
    QString pathSetting;
    bool settingsRead = QFileInfo(settings).isFile();
    if (settingsRead) {
        try {
            // Taken as written: a path may hold '#' or '*', so no comment is cut off.
            pathSetting = TIniFile(settings).ReadString(QStringLiteral("Server"), QStringLiteral("Path"),
                                                        QString());
        } catch (const Exception&) {
            settingsRead = false; // a file we cannot read is as good as none
        }
    }
    if (!settingsRead) {
        qx::messageBox(nullptr, QStringLiteral("系统无法找到配置文件！"), applicationTitle(),
                       qx::MessageIcon::Information, {qx::mrOk}, qx::mrOk);
        return orNoSettingsFile;
    }

    DatabasePath = qx::app::DatabasePathFromSetting(pathSetting);
    if (ADOConnection->Connected())
        ADOConnection->Close();
    try {
        // Opening never makes a database: a missing file, in the program folder or on a
        // share, is a connection failure, so that a moved or renamed database never looks like
        // lost data. The first database is made by scripts/run (makedb). What a killed build
        // left beside it is removed first.
        qx::app::removeStaleBuildFiles(DatabasePath);
        ADOConnection->setConnectionString(qx::app::ConnectionStringFor(DatabasePath));
        ADOConnection->Open();
        checkShopDatabase(*ADOConnection);
        // A database of an earlier build takes this build's schema now, whole or not at all.
        qx::app::upgradeDatabase(ADOConnection->handle());
    } catch (const std::exception&) {
        if (ADOConnection->Connected())
            ADOConnection->Close();
    }
    if (!ADOConnection->Connected()) {
        qx::app::ShowConnectionFailed();
        return orConnectFailed;
    }
    return orConnected;
}

bool TdmdataUnit::CheckRight(const QString& Module, const QString& Action, bool ShowMessage)
{
    // The values are bound, never pasted: report names and operator codes are typed by users.
    // Stored rights may carry the rights editor's indent, so they are trimmed; the collation
    // makes the comparison ignore letter case, as every text comparison of the shop database
    // does (trim() drops the column's own collation, hence the explicit one).
    QryTemp->Close();
    QryTemp->SQL().SetText(QStringLiteral(
        "Select * from t_UserDB where UserCode = :UserCode and trim(\"Right\") = :RightName COLLATE NOCASE"));
    QryTemp->ParamByName(QStringLiteral("UserCode"))->setValue(CurrentUser);
    QryTemp->ParamByName(QStringLiteral("RightName"))->setValue(Module + u'-' + Action);
    QryTemp->Open();

    // The all-rights operator cannot be granted rights in the rights editor, so the rights of
    // reports stored later would stay out of its reach: it passes every check.
    const bool administrator =
        CurrentUser.compare(qx::app::administratorCode(), Qt::CaseInsensitive) == 0;
    const bool granted = !CurrentUser.isEmpty() && (QryTemp->RecordCount() > 0 || administrator);
    if (!granted && ShowMessage)
        qx::showMessage(QStringLiteral("对不起你没有 [") + Action + QStringLiteral("] 的权限"));
    return granted;
}

QString TdmdataUnit::DateOrMonthText(int Mode, TDateTime Date) const
{
    int year = 0;
    int month = 0;
    int day = 0;
    DecodeDate(Date, year, month, day);
    switch (Mode) {
    case 0:
        return QString::number(year) + (month < 10 ? QStringLiteral("-0") : QStringLiteral("-"))
               + QString::number(month);
    case 1:
        return DateToStr(EncodeDate(year, month, day));
    default:
        return QString();
    }
}

bool TdmdataUnit::MergeSideBySide(TDataSet* First, TDataSet* Second, TQxMemTable* Target)
{
    const bool firstOpen = First && First->Active();
    const bool secondOpen = Second && Second->Active();
    qx::ControlsGuard firstControls(firstOpen ? First : nullptr);
    qx::ControlsGuard secondControls(secondOpen ? Second : nullptr);
    qx::ControlsGuard targetControls(Target);
    CursorKeeper firstCursor(First);
    CursorKeeper secondCursor(Second);
    try {
        if (!Target)
            throw EDatabaseError(QStringLiteral("No table to merge into"));
        Target->Close();
        Target->FieldDefs()->Clear();
        if (firstOpen) {
            for (TField* f : *First->Fields()) {
                if (f->FieldKind() == fkData)
                    addMergedDef(Target, f->FieldName(), f);
            }
        }
        if (secondOpen) {
            for (TField* f : *Second->Fields()) {
                if (f->FieldKind() == fkData)
                    addMergedDef(Target, QStringLiteral("O_") + f->FieldName(), f);
            }
        }
        Target->CreateTable();
        Target->Open();

        if (firstOpen) {
            for (First->First(); !First->Eof(); First->Next()) {
                Target->Append();
                for (TField* f : *First->Fields()) {
                    if (TField* t = Target->FindField(f->FieldName()))
                        t->SetValue(f->Value());
                }
                Target->Post();
            }
        }
        if (secondOpen) {
            Target->First();
            for (Second->First(); !Second->Eof(); Second->Next()) {
                if (Target->Eof())
                    Target->Append();
                else
                    Target->Edit();
                for (TField* f : *Second->Fields()) {
                    if (TField* t = Target->FindField(QStringLiteral("O_") + f->FieldName()))
                        t->SetValue(f->Value());
                }
                Target->Post();
                Target->Next();
            }
        }
        Target->First();
        return true;
    } catch (...) {
        try {
            if (qx::isEditing(Target))
                Target->Cancel();
        } catch (...) {
        }
        qx::showCurrentException(nullptr);
        return false;
    }
}

void TdmdataUnit::ReadTitleFlags()
{
    if (!QryTitle->Active())
        QryTitle->Open();
    QryTitle->First();
    if (QryTitle->IsEmpty()) {
        StockEnabled = false;
        BackupOnExit = false;
        return;
    }
    StockEnabled = QryTitle->FieldByName(QStringLiteral("isStock"))->AsBoolean();
    BackupOnExit = QryTitle->FieldByName(QStringLiteral("isBackup"))->AsBoolean();
}

namespace qx::app {

QString DefaultDatabasePath()
{
    return ExeFolderPath(QString::fromUtf16(kDatabaseFileName));
}

QString DatabasePathFromSetting(const QString& pathSetting)
{
    // Only a database on a share is named in the settings: a UNC path, or on this system a
    // share mounted at an absolute path. A drive letter or a relative path is never used.
    if (pathSetting.startsWith(QStringLiteral("\\\\")) || pathSetting.startsWith(u'/'))
        return pathSetting;
    return DefaultDatabasePath();
}

bool DatabaseIsShared()
{
    return !DatabasePath.isEmpty() && DatabasePath != DefaultDatabasePath();
}

void ShowConnectionFailed()
{
    qx::messageBox(nullptr, QStringLiteral("连接失败,请重新设置数据连接！"), applicationTitle(),
                   qx::MessageIcon::Error, {qx::mrOk}, qx::mrOk);
}

QString ConnectionStringFor(const QString& databasePath)
{
    // A path with ';', a quote or outer blanks would break the item list: quote it then.
    QString source = databasePath;
    if (source.contains(u';') || source.contains(u'"') || source.contains(u'\'')
        || source != source.trimmed()) {
        source.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        source = u'"' + source + u'"';
    }
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + source
           + QStringLiteral(";Jet OLEDB:Database Password=\"mevo3052\"");
}

} // namespace qx::app
