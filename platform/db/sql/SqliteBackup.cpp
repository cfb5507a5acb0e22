#include "platform/db/sql/SqliteBackup.h"

#include "platform/db/sql/SequentialVfs.h"
#include "platform/db/sql/SqliteError.h"
#include "platform/db/sql/SqliteStatement.h"
#include "platform/rtl/Exceptions.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace qx {

namespace {

QString osReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Flushes what was written to a file or a folder to the disk.
void syncPath(const QString& path, int flags)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), flags | O_CLOEXEC);
    if (fd < 0)
        throw EInOutError(QStringLiteral("Cannot open \"%1\". %2").arg(path, osReason()));
    const bool synced = ::fsync(fd) == 0;
    const QString reason = synced ? QString() : osReason();
    ::close(fd);
    if (!synced)
        throw EInOutError(QStringLiteral("Cannot write \"%1\" to the disk. %2").arg(path, reason));
}

} // namespace

SqliteFile::SqliteFile(const QString& fileName, Mode mode, int busyTimeoutMs, Access access)
{
    // An absolute path: SQLite takes a name beginning with "file:" as a URI.
    const QString path = QFileInfo(fileName).absoluteFilePath();
    if (!QFileInfo(path).isFile())
        throw EDatabaseError(QStringLiteral("Could not find file '%1'.").arg(path));
    const int flags = mode == ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags,
                             access == Sequential ? sequentialVfsName() : nullptr);
    try {
        if (rc != SQLITE_OK)
            raiseSqliteError(m_db, rc);
        sqlite3_extended_result_codes(m_db, 1);
        rc = sqlite3_busy_timeout(m_db, busyTimeoutMs);
        if (rc != SQLITE_OK)
            raiseSqliteError(m_db, rc);
        if (mode == Exclusive) {
            // The lock first, then the settings: a file in use fails before anything is read,
            // and the lock stays until the handle closes.
            exec("PRAGMA locking_mode=EXCLUSIVE; PRAGMA synchronous=FULL; BEGIN EXCLUSIVE; COMMIT;"
                 "PRAGMA journal_mode=DELETE");
        }
        // Reading the schema turns a file that is no database into an error now.
        exec("SELECT count(*) FROM sqlite_master");
    } catch (...) {
        close();
        throw;
    }
}

SqliteFile::~SqliteFile()
{
    close();
}

void SqliteFile::exec(const char* sql)
{
    char* error = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &error);
    sqlite3_free(error);
    if (rc != SQLITE_OK)
        raiseSqliteError(m_db, rc);
}

void SqliteFile::close()
{
    if (!m_db)
        return;
    // A transaction left open by a failed step is rolled back by the close.
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void copyDatabase(sqlite3* from, sqlite3* into)
{
    sqlite3_backup* backup = sqlite3_backup_init(into, "main", from, "main");
    if (!backup)
        raiseSqliteError(into, sqlite3_errcode(into));
    // All pages in one step: one read transaction on the source, so the copy is one consistent
    // state of it even while other connections write, and one write transaction on the target,
    // which SQLite's journal commits whole or not at all.
    const int rc = sqlite3_backup_step(backup, -1);
    // finish releases the locks and leaves the step's error on the target's handle.
    const int finished = sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        raiseSqliteError(into, rc);
    if (finished != SQLITE_OK)
        raiseSqliteError(into, finished);
}

void vacuumInto(sqlite3* db, const QString& target)
{
    SqliteStatement stmt(db, "VACUUM INTO ?1");
    bindVariant(db, stmt.get(), 1, QFileInfo(target).absoluteFilePath());
    while (stepStatement(db, stmt.get())) {
    }
}

bool databaseIntact(sqlite3* db)
{
    try {
        SqliteStatement stmt(db, "PRAGMA integrity_check");
        QStringList answers;
        while (stepStatement(db, stmt.get()))
            answers << columnVariant(stmt.get(), 0).toString();
        return answers == QStringList{QStringLiteral("ok")};
    } catch (const EDatabaseError&) {
        return false;
    }
}

bool hasTable(sqlite3* db, const QString& name)
{
    SqliteStatement stmt(db, "SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE");
    bindVariant(db, stmt.get(), 1, name);
    return stepStatement(db, stmt.get());
}

void backupToFile(sqlite3* from, const QString& fileName)
{
    const QFileInfo target(fileName);
    const QString shown = target.absoluteFilePath();
    QTemporaryFile temporary(target.absolutePath() + u'/' + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(shown, temporary.errorString()));
    // SQLite takes the file over; a second descriptor of ours closed later would drop its locks.
    temporary.close();
    const QString temporaryName = temporary.fileName();
    {
        SqliteFile copy(temporaryName, SqliteFile::ReadWrite, 5000, SqliteFile::Sequential);
        // A new file that nobody else sees yet: no journal, and one flush at the commit, which
        // also reports a gathered write that failed.
        copy.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=NORMAL");
        copyDatabase(from, copy.handle());
        copy.close();
    }
    syncFile(temporaryName);
    if (std::rename(QFile::encodeName(temporaryName).constData(), QFile::encodeName(shown).constData()) != 0)
        throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(shown, osReason()));
    temporary.setAutoRemove(false);
    // The new name itself reaches the disk with its folder.
    syncPath(target.absolutePath(), O_RDONLY | O_DIRECTORY);
}

void syncFile(const QString& fileName)
{
    syncPath(fileName, O_RDONLY);
}

} // namespace qx
