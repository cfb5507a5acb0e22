#include "platform/db/sql/SqlParamParser.h"

#include "platform/db/sql/SqlLexer.h"

namespace qx {

ParsedSql parseSqlParameters(const QString& sql)
{
    ParsedSql out;
    out.sql.reserve(sql.size());
    const QList<SqlToken> tokens = tokenizeSql(sql);
    for (int i = 0; i < tokens.size(); ++i) {
        const SqlToken& t = tokens[i];
        const bool colon = t.kind == SqlToken::Symbol && sql[t.pos] == u':';
        if (!colon) {
            out.sql += t.text(sql);
            continue;
        }
        const bool nextColon = i + 1 < tokens.size() && tokens[i + 1].kind == SqlToken::Symbol
                               && sql[tokens[i + 1].pos] == u':';
        if (nextColon) {
            out.sql += u':';
            ++i;
            continue;
        }
        const bool nextName = i + 1 < tokens.size() && tokens[i + 1].kind == SqlToken::Word;
        if (!nextName) {
            out.sql += u':';
            continue;
        }
        const QString name = tokens[i + 1].text(sql).toString();
        int index = -1;
        for (int k = 0; k < out.names.size(); ++k) {
            if (out.names[k].compare(name, Qt::CaseInsensitive) == 0) {
                index = k;
                break;
            }
        }
        if (index < 0) {
            out.names.append(name);
            index = int(out.names.size()) - 1;
        }
        out.sql += u'?';
        out.sql += QString::number(index + 1);
        ++i;
    }
    return out;
}

} // namespace qx
