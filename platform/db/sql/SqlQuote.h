// For the few places that must hand condition text back instead of binding a value (a stored
// find condition, a structure's saved condition): every value typed by a user goes through one
// of these, never straight into SQL.
#pragma once

#include <QString>

namespace qx {

// 'text' with every quote doubled: O'Brien -> 'O''Brien'.
QString quoteSqlString(const QString& text);

// A LIKE condition on column that matches text literally at the place given by the wildcards
// around it: column LIKE '%50\%%' ESCAPE '\'. '%', '_' and the escape character in text are
// escaped, quotes doubled. column is a name the caller wrote, not user text.
enum class LikeMatch { Contains, StartsWith, EndsWith, Exact };
QString likeCondition(const QString& column, const QString& text, LikeMatch match = LikeMatch::Contains);

// The text of a number for SQL, checked as a number first ("12", "-3.5", " 7 "): raises
// EDatabaseError "'<text>' is not a valid number" for anything else, so a typed value can
// never end a condition and start another.
QString sqlNumber(const QString& text);

// A quoted name: "name" with '"' doubled, for table and column names chosen from lists.
QString quoteSqlName(const QString& name);

} // namespace qx
