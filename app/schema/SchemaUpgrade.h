// Brings a shop database made by an earlier build up to the schema of this one, when the
// program opens it. The database's PRAGMA user_version says which schema it has.
//
// Version 1 to 2: a Yes/No column can no longer be Null. Every YESNO column that allows Null is
// declared NOT NULL with its default (0 where it had none); a Null becomes that default, and any
// other true value becomes 1, so that a filter such as IsSettle <> true finds every bill that
// is not settled. The data dictionary's rows of those columns say so too (CanNull 0).
//
// An upgrade runs in one transaction: it is done whole or not at all.
#pragma once

struct sqlite3;

namespace qx::app {

// The schema version db carries.
int schemaVersion(sqlite3* db);

// Upgrades db to kSchemaVersion when it is older; a database at the current version (or a
// newer one) is left as it is. Raises EDatabaseError when a step fails, the database then
// unchanged. db must have no transaction open.
void upgradeDatabase(sqlite3* db);

} // namespace qx::app
