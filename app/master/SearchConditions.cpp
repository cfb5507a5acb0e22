#include "app/master/SearchConditions.h"

namespace qx::app {

namespace {

// The LIKE pattern that matches text as written: the escape character itself, '%' and '_'
// are escaped.
QString literalPattern(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    for (QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            out += u'\\';
        out += c;
    }
    return out;
}

} // namespace

QString SearchConditions::bind(const QVariant& value)
{
    const QString name = QStringLiteral("p%1").arg(m_params.size() + 1);
    m_params.insert(name, value);
    return u':' + name;
}

QString SearchConditions::like(const QString& column, const QString& text, Match match)
{
    QString pattern = literalPattern(text) + u'%';
    if (match == Match::Contains)
        pattern.prepend(u'%');
    return column + QStringLiteral(" like ") + bind(pattern) + QStringLiteral(" escape '\\'");
}

QString SearchConditions::equals(const QString& column, const QVariant& value)
{
    return column + QStringLiteral(" = ") + bind(value);
}

void SearchConditions::add(const QString& condition)
{
    if (!m_conditions.isEmpty())
        m_conditions += QStringLiteral(" and ");
    m_conditions += condition;
}

QString SearchConditions::where() const
{
    return m_conditions.isEmpty() ? QString() : QStringLiteral(" Where ") + m_conditions;
}

} // namespace qx::app
