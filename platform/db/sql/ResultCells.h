// How the values of a query's result become the cells of its record store, and how a write-back
// checks that a row still holds the values that were read. Both go through the same conversions
// (the SQL functions below call the very routines the loader calls), so a row that nobody
// changed always compares equal to what was read, whatever odd value it holds.
//
// Conversions, by the field that receives the value:
//   text (string, memo)   the text as SQLite gives it (numbers as their text), never cut
//   integers, Booleans    SQLite's own integer and number conversions (a Boolean is "not 0")
//   float                 SQLite's real
//   money, BCD            ten-thousandths: integers exactly, reals rounded half to even, text
//                         as a number written out; anything else (or out of range) is null
//   date-time             the stored text 'YYYY-MM-DD[ HH:MM[:SS]]', other date texts the
//                         run-time library reads, or a day number; a date field keeps the date
//                         part, a time field the time part; anything else is null
//   blob                  the bytes
#pragma once

#include "platform/db/DB.h"
#include "platform/db/RecordStore.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_value;

namespace qx {

enum class CellLoad { Text, Int32, Int64, Money, Double, Date, Time, DateTime, Bool, Blob };

// How the values of field f's column are loaded.
CellLoad cellLoadOf(const TField* f);

// Stores v (a column of a result row or a kept copy of one) as the cell (slot, col); a null
// value leaves the cell null.
void storeResultCell(RecordStore& store, std::uint32_t slot, int col, CellLoad load, sqlite3_value* v);
// The same cell as a variant of the store's kind (for an edit buffer): int, qlonglong, double,
// bool, QString or QByteArray; an invalid variant for null.
QVariant resultCell(CellLoad load, sqlite3_value* v);

// The ten-thousandths of a money value; nothing for null and what is no amount.
std::optional<qint64> moneyOfValue(sqlite3_value* v);
// The TDateTime of a date value (days since 1899-12-30); nothing for null and what is no date.
std::optional<double> daysOfValue(sqlite3_value* v);
std::optional<double> daysOfText(std::string_view text);

// The text a date, time or date-time cell is written as: 'YYYY-MM-DD', 'HH:MM:SS', and
// 'YYYY-MM-DD HH:MM:SS' (the date alone at midnight); and the cell that text reads back as,
// which is what the record holds once it is written (the file keeps whole seconds).
QByteArray writtenDateText(CellLoad load, double days);
QVariant cellOfWrittenDate(CellLoad load, double days);

// ---- the row check of a write-back --------------------------------------------------------

// Registers qx_money(x) and qx_days(x, part), the conversions above as SQL functions, on db.
// Raises EDatabaseError when SQLite refuses them.
void registerResultCellFunctions(sqlite3* db);

// The SQL condition that column quotedName still holds what was read into a cell of this load:
// true also for a null read from a null.
QString unchangedCondition(CellLoad load, const QString& quotedName, int parameter);
// Binds the cell (slot, col) of store as the parameter of unchangedCondition.
void bindReadCell(sqlite3* db, sqlite3_stmt* stmt, int parameter, CellLoad load, const RecordStore& store,
                  std::uint32_t slot, int col);

} // namespace qx
