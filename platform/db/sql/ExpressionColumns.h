// The kind of a query's expression columns (columns without a declared type: Nz(Amount, 0),
// Price * 2, count(*), 0 as Disc).
//
// From the expression: the select list is read with the SQL lexer and each item's kind worked
// out from its parts: literals, columns (by their declared types in the tables and views the
// statement names), operators and the functions users write (Jet's and SQLite's). Money stays
// money through arithmetic, Nz, IIf, CASE, sums and rounding; '||' and the text functions give
// text; comparisons give integers; what cannot be told (a parameter, a sub-query, an unknown
// function) is Unknown.
//
// From the values: every value of the column is seen (ExpressionTally). Integers widen to BCD
// when a fraction appears; numbers and text mixed read as text; text fields are as wide as
// their longest value (at least 255 characters), so nothing is cut.
//
// The two together (expressionFieldType): a money expression over numbers stays money, a text
// expression stays text and a real one is BCD even when its values happen to be whole; for
// the rest the values decide, and with no values the expression does. So a structure opened
// for its layout with no rows gets the fields it gets with rows. Dates are text in SQLite and
// their expressions read as text.
#pragma once

#include "platform/db/DB.h"

#include <QHash>
#include <QString>

struct sqlite3;
struct sqlite3_value;

namespace qx {

enum class ExpressionKind { Unknown, Null, Integer, Real, Money, Text, Date, Blob };

// The kinds of the items of the statement's first select list, by result column name (the
// alias, or the item's text where it has none), names without case. Columns the statement
// reads through '*' are not in it.
class SelectListKinds
{
public:
    SelectListKinds(sqlite3* db, const QString& sql);
    ExpressionKind kindOf(const QString& columnName) const;

private:
    QHash<QString, ExpressionKind> m_kinds;
};

// What the values of one expression column were.
struct ExpressionTally
{
    void add(sqlite3_value* v);
    bool sawValues() const { return integers || reals || texts || blobs; }

    int integers = 0;
    bool bigIntegers = false; // beyond 32 bits
    int reals = 0;
    int texts = 0;
    int blobs = 0;
    qsizetype longestText = 0; // characters
};

struct ExpressionFieldType
{
    TFieldType type = ftString;
    int size = 0; // characters of a string field
};

ExpressionFieldType expressionFieldType(ExpressionKind fromExpression, const ExpressionTally& values);

} // namespace qx
