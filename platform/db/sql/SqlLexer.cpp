#include "platform/db/sql/SqlLexer.h"

#include <cctype>

namespace qx {

bool isSqlNameStart(QChar c)
{
    return c.isLetter() || c == u'_' || (c.unicode() >= 0x80 && !c.isSpace() && !c.isPunct());
}

bool isSqlNamePart(QChar c)
{
    return isSqlNameStart(c) || c.isDigit() || c == u'$';
}

static bool isBlank(QChar c)
{
    return c.isSpace() || c == QChar(0x3000);
}

QList<SqlToken> tokenizeSql(const QString& sql)
{
    QList<SqlToken> tokens;
    const int n = int(sql.size());
    int i = 0;
    while (i < n) {
        const int start = i;
        const QChar c = sql[i];
        SqlToken::Kind kind = SqlToken::Symbol;
        if (isBlank(c)) {
            kind = SqlToken::Space;
            while (i < n && isBlank(sql[i]))
                ++i;
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            kind = SqlToken::Comment;
            while (i < n && sql[i] != u'\n')
                ++i;
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            kind = SqlToken::Comment;
            const int end = int(sql.indexOf(QStringLiteral("*/"), i + 2));
            i = end < 0 ? n : end + 2;
        } else if (c == u'\'' || c == u'"' || c == u'`') {
            // A doubled delimiter inside stands for the delimiter itself.
            kind = c == u'\'' ? SqlToken::String : SqlToken::QuotedName;
            ++i;
            while (i < n) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
        } else if (c == u'[') {
            kind = SqlToken::QuotedName;
            const int end = int(sql.indexOf(u']', i + 1));
            i = end < 0 ? n : end + 1;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql[i + 1].isDigit())) {
            kind = SqlToken::Number;
            if (c == u'0' && i + 1 < n && (sql[i + 1] == u'x' || sql[i + 1] == u'X')) {
                i += 2;
                while (i < n && isxdigit(sql[i].toLatin1()))
                    ++i;
            } else {
                while (i < n && sql[i].isDigit())
                    ++i;
                if (i < n && sql[i] == u'.') {
                    ++i;
                    while (i < n && sql[i].isDigit())
                        ++i;
                }
                if (i < n && (sql[i] == u'e' || sql[i] == u'E')) {
                    int j = i + 1;
                    if (j < n && (sql[j] == u'+' || sql[j] == u'-'))
                        ++j;
                    if (j < n && sql[j].isDigit()) {
                        i = j;
                        while (i < n && sql[i].isDigit())
                            ++i;
                    }
                }
            }
        } else if (isSqlNameStart(c)) {
            kind = SqlToken::Word;
            while (i < n && isSqlNamePart(sql[i]))
                ++i;
        } else {
            ++i;
        }
        tokens.append(SqlToken{kind, start, i - start});
    }
    return tokens;
}

} // namespace qx
