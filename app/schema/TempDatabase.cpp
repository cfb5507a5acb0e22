#include "app/schema/TempDatabase.h"

#include "app/schema/DatabaseBuilder.h"
#include "platform/rtl/Exceptions.h"

#include <QFile>

#include <memory>
#include <mutex>

namespace qx::app {

namespace {

// The database every fixture copies, built on first use and removed at the end of the process.
const QString& templateDatabase()
{
    static std::once_flag once;
    static std::unique_ptr<QTemporaryDir> folder;
    static QString path;
    std::call_once(once, [] {
        auto dir = std::make_unique<QTemporaryDir>();
        if (!dir->isValid())
            throw EInOutError(QStringLiteral("不能建立临时文件夹：%1").arg(dir->errorString()));
        const QString file = dir->filePath(QString::fromUtf16(kDatabaseFileName));
        buildDatabase(file);
        folder = std::move(dir);
        path = file;
    });
    return path;
}

} // namespace

TempDatabase::TempDatabase()
{
    if (!m_folder.isValid())
        throw EInOutError(QStringLiteral("不能建立临时文件夹：%1").arg(m_folder.errorString()));
    if (!QFile::copy(templateDatabase(), databasePath()))
        throw EInOutError(QStringLiteral("不能复制数据库到 %1").arg(databasePath()));
    // A copy keeps the template's permissions; the fixture's own file must be writable.
    QFile::setPermissions(databasePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    QFile ini(filePath(QStringLiteral("ConSQL.ini")));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::NewOnly)
        || ini.write("[Server]\r\nPath=\r\n") < 0 || !ini.flush()) {
        throw EInOutError(QStringLiteral("不能写入 %1").arg(ini.fileName()));
    }
}

TempDatabase::~TempDatabase() = default;

QString TempDatabase::programFolder() const
{
    return m_folder.path();
}

QString TempDatabase::filePath(const QString& fileName) const
{
    return m_folder.filePath(fileName);
}

QString TempDatabase::databasePath() const
{
    return filePath(QString::fromUtf16(kDatabaseFileName));
}

} // namespace qx::app
