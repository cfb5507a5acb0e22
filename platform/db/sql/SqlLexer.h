// A small lexer for SQL text, shared by the parameter parser, the Jet rewriter and the error
// texts. It only needs to know where literals, quoted names and comments begin and end, so
// that nothing inside them is ever taken for syntax.
#pragma once

#include <QList>
#include <QString>

namespace qx {

struct SqlToken
{
    enum Kind {
        Space,      // blanks, tabs, line ends (and U+3000, the full-width blank)
        Comment,    // -- to the end of the line, or /* ... */
        String,     // '...' with '' inside
        QuotedName, // "...", [...] or `...`
        Word,       // a name or key word: letters (any script), digits, '_' and '$'
        Number,     // 12, 1.5, .5, 1e3, 0x1F
        Symbol,     // any other single character
    };
    Kind kind = Symbol;
    int pos = 0;
    int len = 0;

    QStringView text(const QString& sql) const { return QStringView(sql).mid(pos, len); }
};

// The tokens of sql in order; together they cover the whole text. An unterminated literal,
// quoted name or comment runs to the end of the text.
QList<SqlToken> tokenizeSql(const QString& sql);

// True for a character that may start a name: a letter of any script or '_'.
bool isSqlNameStart(QChar c);
// True for a character that may continue a name.
bool isSqlNamePart(QChar c);

} // namespace qx
