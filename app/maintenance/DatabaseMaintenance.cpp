#include "app/maintenance/DatabaseMaintenance.h"

#include "app/schema/SchemaUpgrade.h"
#include "platform/db/sql/SqliteBackup.h"
#include "platform/rtl/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kScratchFile = QStringLiteral("DBtmp.mdb");

// The table a shop database cannot be without: the operators and their rights.
const QString kOperatorsTable = QStringLiteral("t_UserDB");

QString canonicalPath(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + u'/' + info.fileName();
}

} // namespace

bool CompactDatabaseFile(const QString& Source, const QString& Target)
{
    try {
        // A read of one consistent state is all VACUUM INTO needs.
        qx::SqliteFile source(Source, qx::SqliteFile::ReadOnly);
        return qx::app::compactInto(source, Target);
    } catch (const Exception&) {
        return false;
    }
}

namespace qx::app {

QString scratchDatabasePath(const QString& databasePath)
{
    return QFileInfo(databasePath).absoluteDir().filePath(kScratchFile);
}

bool sameFile(const QString& first, const QString& second)
{
    return canonicalPath(first) == canonicalPath(second);
}

bool compactInto(qx::SqliteFile& source, const QString& target)
{
    // A file left by an earlier failure is refused by VACUUM INTO and kept; an empty file or one
    // this call began holds nothing of value and does not stay behind half written.
    const QFileInfo before(target);
    const bool keepOnFailure = before.exists() && before.size() > 0;
    try {
        qx::vacuumInto(source.handle(), target);
        qx::syncFile(target);
        return true;
    } catch (const Exception&) {
        if (!keepOnFailure)
            QFile::remove(target);
        return false;
    }
}

bool compactDatabase(const QString& databasePath)
{
    const QString scratch = scratchDatabasePath(databasePath);
    try {
        qx::SqliteFile live(databasePath, qx::SqliteFile::Exclusive);
        if (!compactInto(live, scratch))
            return false;
        {
            qx::SqliteFile copy(scratch, qx::SqliteFile::ReadOnly);
            if (!qx::databaseIntact(copy.handle())) {
                copy.close();
                QFile::remove(scratch);
                return false;
            }
            // From here a failure keeps DBtmp.mdb: the live file is whole (the write is one
            // transaction), and the copy shows what the compaction made.
            qx::copyDatabase(copy.handle(), live.handle());
        }
        live.close();
    } catch (const Exception&) {
        return false;
    }
    // The database is compacted; a scratch file that cannot go only blocks the next run.
    removeScratchDatabase(databasePath);
    return true;
}

bool backupDatabase(const QString& databasePath, const QString& backupFile)
{
    // Renaming a copy over the live file would cut every other connection off from it.
    if (sameFile(databasePath, backupFile))
        return false;
    try {
        // Read ahead in large blocks: the copy takes every page in order.
        qx::SqliteFile live(databasePath, qx::SqliteFile::ReadOnly, 5000, qx::SqliteFile::Sequential);
        qx::backupToFile(live.handle(), backupFile);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool restoreDatabase(const QString& databasePath, const QString& backupFile)
{
    if (sameFile(databasePath, backupFile))
        return false;
    try {
        qx::SqliteFile backup(backupFile, qx::SqliteFile::ReadOnly);
        if (!qx::databaseIntact(backup.handle()) || !qx::hasTable(backup.handle(), kOperatorsTable))
            return false;
        qx::SqliteFile live(databasePath, qx::SqliteFile::Exclusive);
        const QString scratch = scratchDatabasePath(databasePath);
        if (!compactInto(live, scratch))
            return false;
        qx::copyDatabase(backup.handle(), live.handle());
        try {
            // A backup of an earlier build takes this build's schema before anyone reads it.
            upgradeDatabase(live.handle());
        } catch (const Exception&) {
            // The data as they were go back from the safety copy, which then is not needed.
            qx::SqliteFile before(scratch, qx::SqliteFile::ReadOnly);
            qx::copyDatabase(before.handle(), live.handle());
            before.close();
            live.close();
            QFile::remove(scratch);
            return false;
        }
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool removeScratchDatabase(const QString& databasePath)
{
    const QString scratch = scratchDatabasePath(databasePath);
    return !QFileInfo::exists(scratch) || QFile::remove(scratch);
}

} // namespace qx::app
