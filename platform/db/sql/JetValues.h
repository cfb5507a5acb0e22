// Reading the arguments and setting the results of the Jet functions and operators that the
// SQLite connections carry (JetFunctions.h, JetOperators.h).
#pragma once

#include <QString>

#include <optional>

struct sqlite3_context;
struct sqlite3_value;

namespace qx::jet {

bool isNull(sqlite3_value* v);
// The value as text (numbers as SQLite writes them); empty for Null.
QString textOf(sqlite3_value* v);
void resultText(sqlite3_context* ctx, const QString& s);
// Fails the statement with the message.
void resultError(sqlite3_context* ctx, const QString& s);
// A number from an integer, a real or a numeric text (blanks around it allowed).
std::optional<double> numberOf(sqlite3_value* v);

} // namespace qx::jet
