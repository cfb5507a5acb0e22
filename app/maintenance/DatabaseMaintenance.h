// The maintenance of the shop database file, without dialogs: compaction, backup and restore.
// Each works on the file it is given, which the commands take from DatabasePath (the file the
// data module opened), with the scratch file DBtmp.mdb beside it.
//
// Nothing ever copies over the live file: the compacted copy or the backup is written into it
// through SQLite's online backup API, under an exclusive lock that keeps every other workstation
// out from the compacted or safety copy to the end of the write, so they see the database as it was
// or as it is afterwards, and no write of theirs is lost in between.
#pragma once

#include <QString>

namespace qx {
class SqliteFile;
}

// Writes a compacted copy of the database Source into the new file Target (VACUUM INTO). True
// on success; false when Source cannot be read or Target exists and is not empty. Nothing is
// shown; a file Target that this call began is removed again when it fails.
bool CompactDatabaseFile(const QString& Source, const QString& Target);

namespace qx::app {

// "DBtmp.mdb" in the folder of the database.
QString scratchDatabasePath(const QString& databasePath);

// True when the two names reach the same file, through links and another spelling of the path
// too (a name that does not exist yet is compared through its folder).
bool sameFile(const QString& first, const QString& second);

// CompactDatabaseFile on a database already open.
bool compactInto(qx::SqliteFile& source, const QString& target);

// Compacts the database in place: held exclusively, compacted into DBtmp.mdb, the copy checked,
// then written back. True on success, with DBtmp.mdb gone. False otherwise: the database is as
// it was; DBtmp.mdb stays only when it was there before or when the write-back failed.
bool compactDatabase(const QString& databasePath);

// Writes a backup of the database to backupFile, replacing a file of that name. False, with an
// earlier file of that name unchanged, when the copy fails or backupFile is the database itself.
bool backupDatabase(const QString& databasePath, const QString& backupFile);

// Puts the backup in the database's place. The backup is opened read-only and refused unless it
// is a whole SQLite database (PRAGMA integrity_check) holding t_UserDB. Then, with the database
// held exclusively, it is compacted into DBtmp.mdb as the safety copy and the backup is written
// into it in one transaction, then brought up to this build's schema (a schema that cannot be
// brought up puts the safety copy back). True on success; DBtmp.mdb then stays until the caller has
// reopened the restored database and calls removeScratchDatabase. False otherwise, with the
// database unchanged.
bool restoreDatabase(const QString& databasePath, const QString& backupFile);

// Removes DBtmp.mdb beside the database; false when it is there and cannot be removed.
bool removeScratchDatabase(const QString& databasePath);

} // namespace qx::app
