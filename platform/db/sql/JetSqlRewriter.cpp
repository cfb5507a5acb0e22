#include "platform/db/sql/JetSqlRewriter.h"

#include "platform/db/sql/JetOperators.h"
#include "platform/db/sql/SqlLexer.h"
#include "platform/rtl/Exceptions.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

#include <vector>

namespace qx {

namespace {

// The text of a Jet date literal's inside as the stored date text, or an empty string.
QString jetDateText(const QString& inside)
{
    static const QRegularExpression ymd(QStringLiteral(
        R"(^\s*(\d{4})[-/](\d{1,2})[-/](\d{1,2})(?:\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*$)"));
    static const QRegularExpression mdy(QStringLiteral(
        R"(^\s*(\d{1,2})[-/](\d{1,2})[-/](\d{4})(?:\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*$)"));
    int y = 0, m = 0, d = 0;
    QRegularExpressionMatch match = ymd.match(inside);
    if (match.hasMatch()) {
        y = match.captured(1).toInt();
        m = match.captured(2).toInt();
        d = match.captured(3).toInt();
    } else if ((match = mdy.match(inside)).hasMatch()) {
        m = match.captured(1).toInt();
        d = match.captured(2).toInt();
        y = match.captured(3).toInt();
    } else {
        return QString();
    }
    const QDate date(y, m, d);
    if (!date.isValid())
        return QString();
    QString text = date.toString(QStringLiteral("yyyy-MM-dd"));
    if (!match.captured(4).isEmpty()) {
        const QTime time(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt());
        if (!time.isValid())
            return QString();
        if (time != QTime(0, 0))
            text += u' ' + time.toString(QStringLiteral("HH:mm:ss"));
    }
    return text;
}

bool isWord(const QString& sql, const SqlToken& t, const char* word)
{
    return t.kind == SqlToken::Word && t.text(sql).compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isSymbol(const QString& sql, const SqlToken& t, QChar c)
{
    return t.kind == SqlToken::Symbol && sql[t.pos] == c;
}

struct Level
{
    QString limit;          // the pending LIMIT of the SELECT at this depth
    qsizetype selectAt = -1; // where in the output that SELECT begins
    qsizetype lastEnd = 0;   // output length after the last token that is not blank or comment
};

} // namespace

QString rewriteJetSql(const QString& sql)
{
    const QList<SqlToken> tokens = tokenizeSql(sql);
    QString out;
    out.reserve(sql.size() + 16);
    std::vector<Level> levels(1);

    auto significant = [&](int from, int step) {
        for (int k = from; k >= 0 && k < tokens.size(); k += step)
            if (tokens[k].kind != SqlToken::Space && tokens[k].kind != SqlToken::Comment)
                return k;
        return -1;
    };
    auto flushLimit = [&](Level& level) {
        if (level.limit.isEmpty())
            return;
        out.insert(level.lastEnd, QStringLiteral(" LIMIT ") + level.limit);
        level.limit.clear();
        level.selectAt = -1;
    };
    qsizetype lastSelectAt = -1;

    for (int i = 0; i < tokens.size(); ++i) {
        const SqlToken& t = tokens[i];
        Level& level = levels.back();
        switch (t.kind) {
        case SqlToken::Space: {
            QString blank = t.text(sql).toString();
            blank.replace(QChar(0x3000), u' ');
            out += blank;
            continue;
        }
        case SqlToken::Comment:
            out += t.text(sql);
            continue;
        case SqlToken::Word: {
            if (isWord(sql, t, "SELECT"))
                lastSelectAt = out.size();
            if (isWord(sql, t, "UNION") || isWord(sql, t, "EXCEPT") || isWord(sql, t, "INTERSECT")) {
                // SQLite takes no LIMIT inside a compound: the limited first part becomes a
                // sub-query of its own.
                if (!level.limit.isEmpty() && level.selectAt >= 0) {
                    const QString limit = level.limit;
                    level.limit.clear();
                    out.insert(level.lastEnd, QStringLiteral(" LIMIT ") + limit + u')');
                    out.insert(level.selectAt, QStringLiteral("SELECT * FROM ("));
                    level.selectAt = -1;
                }
            }
            if (isWord(sql, t, "TOP")) {
                const int prev = significant(i - 1, -1);
                const bool afterSelect =
                    prev >= 0
                    && (isWord(sql, tokens[prev], "SELECT") || isWord(sql, tokens[prev], "DISTINCT")
                        || isWord(sql, tokens[prev], "ALL") || isWord(sql, tokens[prev], "DISTINCTROW"));
                const int next = significant(i + 1, 1);
                if (afterSelect && next >= 0 && tokens[next].kind == SqlToken::Number) {
                    const int after = significant(next + 1, 1);
                    if (after >= 0 && isWord(sql, tokens[after], "PERCENT"))
                        throw EDatabaseError(QStringLiteral("TOP n PERCENT is not supported: %1").arg(sql));
                    level.limit = tokens[next].text(sql).toString();
                    level.selectAt = lastSelectAt;
                    // Drop "TOP n" and the blanks after it.
                    i = next;
                    while (i + 1 < tokens.size() && tokens[i + 1].kind == SqlToken::Space)
                        ++i;
                    continue;
                }
            }
            if (isWord(sql, t, "LEFT") || isWord(sql, t, "RIGHT")) {
                const int next = significant(i + 1, 1);
                if (next >= 0 && isSymbol(sql, tokens[next], u'(')) {
                    out += isWord(sql, t, "LEFT") ? QStringLiteral("jet_left") : QStringLiteral("jet_right");
                    level.lastEnd = out.size();
                    continue;
                }
            }
            out += t.text(sql);
            level.lastEnd = out.size();
            continue;
        }
        case SqlToken::Symbol: {
            const QChar c = sql[t.pos];
            if (c == u'#') {
                const int close = int(sql.indexOf(u'#', t.pos + 1));
                if (close > 0 && close - t.pos <= 32) {
                    const QString date = jetDateText(sql.mid(t.pos + 1, close - t.pos - 1));
                    if (!date.isEmpty()) {
                        out += u'\'' + date + u'\'';
                        level.lastEnd = out.size();
                        while (i + 1 < tokens.size() && tokens[i + 1].pos <= close)
                            ++i;
                        continue;
                    }
                }
            } else if (c == u'(') {
                out += c;
                levels.back().lastEnd = out.size();
                levels.emplace_back();
                levels.back().lastEnd = out.size();
                continue;
            } else if (c == u')') {
                if (levels.size() > 1) {
                    flushLimit(levels.back());
                    levels.pop_back();
                }
                out += c;
                levels.back().lastEnd = out.size();
                continue;
            } else if (c == u';') {
                flushLimit(level);
                out += c;
                continue;
            }
            out += c;
            level.lastEnd = out.size();
            continue;
        }
        default:
            out += t.text(sql);
            level.lastEnd = out.size();
            continue;
        }
    }
    while (levels.size() > 1) {
        flushLimit(levels.back());
        levels.pop_back();
    }
    flushLimit(levels.back());
    return rewriteJetOperators(out);
}

} // namespace qx
