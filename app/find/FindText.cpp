#include "app/find/FindText.h"

#include "platform/db/sql/SqlQuote.h"

namespace qx::app::find {

namespace {

// The comparison of one column: a LIKE of the operator's kind, or equality.
QString compare(const QString& column, const QString& equalsJoin, const QString& value,
                const QString& op)
{
    if (op == QStringView(kContains))
        return likeCondition(column, value, LikeMatch::Contains);
    if (op == QStringView(kStartsWith))
        return likeCondition(column, value, LikeMatch::StartsWith);
    if (op == QStringView(kEndsWith))
        return likeCondition(column, value, LikeMatch::EndsWith);
    return column + equalsJoin + quoteSqlString(value);
}

} // namespace

QString TextCondition(const QString& Column, const QString& Value, const QString& Operator)
{
    return compare(Column, QStringLiteral(" ="), Value, Operator);
}

QString TextCodeCondition(const QString& Column, const QString& Value, const QString& Operator)
{
    QString text = u'(' + compare(Column, QStringLiteral(" ="), Value, Operator);
    for (const char* code : {"PY", "WB", "WBH"})
        text += QStringLiteral(" or ") + compare(QLatin1String(code), QStringLiteral("="), Value, Operator);
    return text + u')';
}

QString NumberCondition(const QString& Column, const QString& Value, const QString& Operator)
{
    static const struct
    {
        const char16_t* word;
        const char* sign;
    } kComparisons[] = {{u"大于", " > "}, {u"大于等于", " >= "}, {u"小于", " < "},
                        {u"小于等于", " <= "}, {kEquals, " = "}};
    const QString number = sqlNumber(Value);
    for (const auto& c : kComparisons)
        if (Operator == QStringView(c.word))
            return Column + QLatin1String(c.sign) + number;
    return Column + QStringLiteral(" =") + quoteSqlString(number);
}

} // namespace qx::app::find
