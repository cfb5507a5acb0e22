// Turns the Jet SQL that the shop's users write (report-centre queries, document structures,
// find conditions) into SQLite SQL, token by token, never touching string literals, quoted or
// [bracketed] names and comments:
//   SELECT TOP n ...           -> SELECT ... LIMIT n (at the end of that SELECT, after its
//                                 ORDER BY; a TOP before UNION limits the first part only)
//   #2006-03-05#, #3/5/2006#   -> '2006-03-05' (with ' HH:MM:SS' when the literal has a time)
//   a & b, a / b, a \ b, a Mod b -> Jet's text joining and arithmetic (JetOperators.h)
//   Left( Right(               -> jet_left( jet_right( (LEFT and RIGHT are SQLite key words)
//   the full-width blank U+3000 (typed by Chinese input methods) -> a blank
// Our own SQL is written for SQLite and does not pass through here.
#pragma once

#include <QString>

namespace qx {

// Raises EDatabaseError for Jet syntax that has no SQLite form here (TOP n PERCENT).
QString rewriteJetSql(const QString& sql);

} // namespace qx
