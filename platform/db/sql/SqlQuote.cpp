#include "platform/db/sql/SqlQuote.h"

#include "platform/rtl/Exceptions.h"

#include <QRegularExpression>

namespace qx {

QString quoteSqlString(const QString& text)
{
    QString out = text;
    out.replace(u'\'', QStringLiteral("''"));
    return u'\'' + out + u'\'';
}

QString likeCondition(const QString& column, const QString& text, LikeMatch match)
{
    QString escaped;
    escaped.reserve(text.size() + 4);
    for (QChar c : text) {
        if (c == u'%' || c == u'_' || c == u'\\')
            escaped += u'\\';
        escaped += c;
    }
    switch (match) {
    case LikeMatch::Contains: escaped = u'%' + escaped + u'%'; break;
    case LikeMatch::StartsWith: escaped += u'%'; break;
    case LikeMatch::EndsWith: escaped = u'%' + escaped; break;
    case LikeMatch::Exact: break;
    }
    return column + QStringLiteral(" LIKE ") + quoteSqlString(escaped) + QStringLiteral(" ESCAPE '\\'");
}

QString sqlNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$)"));
    const QString trimmed = text.trimmed();
    if (!number.match(trimmed).hasMatch())
        throw EDatabaseError(QStringLiteral("'%1' is not a valid number").arg(text));
    return trimmed;
}

QString quoteSqlName(const QString& name)
{
    // SQLite's [name] form cannot hold ']'; the standard "name" form doubles its quote.
    QString out = name;
    out.replace(u'"', QStringLiteral("\"\""));
    return u'"' + out + u'"';
}

} // namespace qx
