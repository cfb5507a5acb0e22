// Whole-database work on SQLite files, as a program's maintenance needs it: a handle of its own
// on a file (read-only, or holding the file for itself alone), the copy of one database into
// another through SQLite's online backup API, the compacted copy (VACUUM INTO), the integrity
// check, and a backup written under a temporary name beside its final one and renamed into place.
//
// A database that other connections may use is only ever written through SQLite's locking and
// atomic commit: they see the old or the new database, never a half-copied file.
#pragma once

#include <QString>

struct sqlite3;

namespace qx {

class SqliteFile
{
public:
    enum Mode {
        ReadOnly,  // reads only; a file that is no database is refused at once
        ReadWrite, // the file must exist (an empty file is an empty database)
        Exclusive  // ReadWrite, held for this handle alone until it closes (the exclusive lock is
                   // taken at once, so a file in use fails here, after the busy timeout)
    };

    enum Access {
        Paged,     // page by page, as SQLite reads and writes
        Sequential // whole-database copies: reads ahead and gathers writes (SequentialVfs.h)
    };

    // Raises EDatabaseError with SQLite's reason when the file is missing, is no database or,
    // for Exclusive, stays busy longer than busyTimeoutMs.
    SqliteFile(const QString& fileName, Mode mode, int busyTimeoutMs = 5000, Access access = Paged);
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    sqlite3* handle() const { return m_db; }
    // Runs statements without parameters; raises EDatabaseError.
    void exec(const char* sql);
    // Closes now (the destructor does it otherwise).
    void close();

private:
    sqlite3* m_db = nullptr;
};

// Copies every page of from into into, in one read transaction on from and one write transaction
// on into: afterwards into holds exactly from's database, or is unchanged when the copy failed
// (a busy lock, a full disk). Raises EDatabaseError.
void copyDatabase(sqlite3* from, sqlite3* into);

// Writes a compacted copy of db's main database into target (VACUUM INTO); SQLite refuses a
// target that exists and is not empty. Raises EDatabaseError.
void vacuumInto(sqlite3* db, const QString& target);

// True when PRAGMA integrity_check answers "ok"; false for any other answer and for a file that
// cannot be read to the end.
bool databaseIntact(sqlite3* db);

// True when db's main database has a table of that name (letter case aside).
bool hasTable(sqlite3* db, const QString& name);

// Writes a copy of from's database to fileName: into a new temporary file in the same folder,
// flushed to the disk, then renamed over fileName (an existing file is replaced). On failure the
// temporary file is removed, an existing fileName stays as it was, and EDatabaseError or
// EInOutError is raised.
void backupToFile(sqlite3* from, const QString& fileName);

// Flushes a file to the disk; raises EInOutError.
void syncFile(const QString& fileName);

} // namespace qx
