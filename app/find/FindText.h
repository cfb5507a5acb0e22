// The pieces of the find dialog's condition text. The text goes back to the browser as text (a
// browser appends it to its statement), so every typed value is written through the SQL
// layer's quoting helpers: quotes doubled, LIKE wildcards escaped with an ESCAPE clause,
// numbers checked as numbers. A quote, a '%' or a '_' in a value is therefore searched for as
// itself and can never end the literal.
#pragma once

#include <QString>
#include <QStringList>

namespace qx::app::find {

// The operators of a text condition, as the operator lists offer them.
inline constexpr char16_t kEquals[] = u"等于";
inline constexpr char16_t kStartsWith[] = u"前字符为";
inline constexpr char16_t kEndsWith[] = u"后字符为";
inline constexpr char16_t kContains[] = u"包含于";

// "包含于": column LIKE '%value%' ESCAPE '\'; "前字符为": value%; "后字符为": %value; "等于", any
// other and no operator: column ='value'.
QString TextCondition(const QString& Column, const QString& Value, const QString& Operator);

// The same comparison on the column and on the input codes PY, WB and WBH, joined by " or "
// in one pair of brackets: (column ='v' or PY='v' or WB='v' or WBH='v').
QString TextCodeCondition(const QString& Column, const QString& Value, const QString& Operator);

// "大于" column > n, "大于等于" >=, "小于" <, "小于等于" <=, "等于" =; any other operator
// column ='n'. The value is checked as a number and written as one (EDatabaseError otherwise).
QString NumberCondition(const QString& Column, const QString& Value, const QString& Operator);

} // namespace qx::app::find
