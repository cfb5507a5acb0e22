// The functions of Jet's SQL that the shop's users write in report-centre queries, document
// structures and find conditions, as SQLite user functions with Jet's meanings. They are
// registered on every connection the system opens.
//
// Dates are the system's stored text ('YYYY-MM-DD' or 'YYYY-MM-DD HH:MM:SS'); a date function
// also takes 'M/D/YYYY' text and day numbers (days since 1899-12-30). Functions that make a date
// give text of the stored shape, the time part only when there is one. A null argument gives
// null where Jet gives null (Nz and IIf exist to turn nulls into values).
//
//   CVDate(x)            the date of x                 Format(x, fmt)   date or number as text
//   DateDiff(i, a, b)    intervals yyyy q m y d w ww h n s             DateAdd(i, n, d)
//   Year Month Day(d)    parts of a date               Now() Date()     from the system clock
//   Val(s)               the number at the start of s (blanks ignored): Val('12abc') = 12
//   Nz(x[, y])           y (or '') when x is null      IIf(c, a, b)
//   Left Right(s, n)     jet_left / jet_right after the rewriter: LEFT and RIGHT are SQLite
//                        key words, so JetSqlRewriter renames the calls
//   Mid(s, p[, n]) Len(s) InStr([p,] s, t) UCase LCase Trim  text, InStr without case as Jet's
//                        text comparison
//   Int(x)               the largest whole number not above x
//   CStr CInt CDbl       conversions; CInt rounds halves to even and stops at 16 bits
//
// Format(x, 2 arguments) replaces SQLite's printf-style format() of two arguments on these
// connections; the system's own SQL uses printf() for that.
#pragma once

struct sqlite3;

namespace qx {

// Registers the functions on db, and the operator functions of JetOperators.h with them.
// Raises EDatabaseError when SQLite refuses one.
void registerJetFunctions(sqlite3* db);

} // namespace qx
