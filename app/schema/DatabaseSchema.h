// The SQL of the shop database, compiled into the program (sql/*.sql).
//
// Column kinds for the dataset layer, read with sqlite3_column_decltype (the first word of the
// declared type, upper-cased, names the kind; a second word only sets SQLite's affinity):
//   "TEXT(n)"   string of n characters (columns are COLLATE NOCASE, compared like Jet)
//   "MEMO TEXT" memo
//   "INTEGER"   integer; it is an AutoNumber when the column is the INTEGER PRIMARY KEY of a
//               table declared with AUTOINCREMENT, which sqlite3_table_column_metadata reports
//               as primary key and autoinc (ID, and IndexID of tDictDlt)
//   "MONEY REAL" currency (REAL rounded to 4 places)
//   "DOUBLE"    float;  "DECIMAL" BCD;  "DATETIME" text 'YYYY-MM-DD[ HH:MM:SS]';
//   "YESNO"     0/1;    "BLOB" bytes
// A result column without a declared type is an expression: integer, real or text by value.
#pragma once

#include <QByteArray>

namespace qx::app {

// The schema version a new database carries in PRAGMA user_version (SchemaUpgrade.h brings an
// older one up to it). 2: Yes/No columns are NOT NULL.
inline constexpr int kSchemaVersion = 2;

// Every table, index and view (Schema.sql).
QByteArray schemaSql();
// The shop settings row and the card types (FirstRows.sql).
QByteArray firstRowsSql();
// The data dictionary (Dictionary.sql); needs the schema in place.
QByteArray dictionarySql();

} // namespace qx::app
