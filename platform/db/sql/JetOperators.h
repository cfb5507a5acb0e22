// Jet's arithmetic and text operators that SQLite spells differently or lacks, as a rewrite of
// the expressions of a statement and the SQLite functions the rewrite calls.
//
//   a & b      jet_concat(a, b)   text joining; a Null side counts as empty text, and only
//                                 two Nulls give Null (SQLite's || gives Null for one)
//   a / b      jet_div(a, b)      division as floating point: 7 / 2 is 3.5 (SQLite divides
//                                 two integers as integers)
//   a \ b      jet_intdiv(a, b)   integer division: both sides rounded to whole numbers
//                                 (halves to even), the quotient cut toward zero: -7 \ 2 = -3
//   a Mod b    jet_mod(a, b)      the remainder of that division, with the dividend's sign:
//                                 -7 Mod 2 = -1, 7 Mod -2 = 1
//
// The operands are found with Jet's precedence, from the tightest: unary minus and plus;
// * and /; \; Mod; + and -; &. So 1 + 2 & 'x' joins "3" and "x", and a + b Mod c takes the
// remainder of b first. SQLite's own || and % keep their SQLite meaning. A Null operand of
// /, \ or Mod gives Null; a zero divisor fails with "Division by zero"; text that is no number
// fails with Jet's "Data type mismatch in criteria expression".
//
// The rewrite works on the tokens of the statement: literals, quoted names and comments are
// never touched, and nothing but these four operators changes.
#pragma once

#include <QString>

struct sqlite3;

namespace qx {

// The statement with the four operators turned into the function calls above. Raises
// EDatabaseError when the brackets nest too deep to follow.
QString rewriteJetOperators(const QString& sql);

// Registers jet_concat, jet_div, jet_intdiv and jet_mod on db. Raises EDatabaseError when
// SQLite refuses one.
void registerJetOperators(sqlite3* db);

} // namespace qx
