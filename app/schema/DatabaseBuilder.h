// Makes a new shop database: the schema, the first rows, the all-rights operator "高级用户"
// with every right and an empty password, and the data dictionary, written in one transaction.
//
// The file is built under a temporary name in the target's folder and renamed into place only
// when it is complete, without ever replacing a file: the target path either stays absent or
// holds a whole database. What a killed build left there is removed by the next build or
// start-up (see BuildPartFile.h). Used by makedb (scripts/run) and by tests; the program never
// makes one.
#pragma once

#include <QString>

#include <functional>

struct sqlite3;

namespace qx::app {

// The name of the database file in the program folder.
inline constexpr char16_t kDatabaseFileName[] = u"Account.mdb";

// Creates a new database at path. Raises EDatabaseError with the reason when the file already
// exists, the folder is missing or not writable, or any statement fails; nothing is left
// behind then.
void buildDatabase(const QString& path);

namespace detail {
// buildDatabase with a step run on the open connection just before the commit; tests use it to
// break the build on purpose. An exception from the step aborts the build like any failure.
void buildDatabase(const QString& path, const std::function<void(sqlite3*)>& beforeCommit);
} // namespace detail

} // namespace qx::app
