#include "platform/db/sql/JetOperators.h"

#include "platform/db/sql/JetValues.h"
#include "platform/db/sql/SqlLexer.h"
#include "platform/db/sql/SqliteError.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

#include <QSet>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include <sqlite3.h>

namespace qx {

namespace {

// ---- the rewrite -------------------------------------------------------------------------

// Brackets, CASE and signs nested deeper than this are no statement anybody wrote by hand.
constexpr int kMaxDepth = 200;

struct Operator
{
    int level = 0;                 // binds tighter with a higher level
    const char* function = nullptr; // the function it becomes, or none: kept as written
    int end = 0;                   // the token after the operator
};

bool isKeyword(QStringView word)
{
    // Words that never begin a value: an expression ends before them.
    static const QSet<QString> keywords = [] {
        QSet<QString> set;
        for (const char* w :
             {"SELECT", "DISTINCT", "DISTINCTROW", "ALL", "TOP", "PERCENT", "FROM", "WHERE", "GROUP",
              "BY", "HAVING", "ORDER", "ASC", "DESC", "AND", "OR", "NOT", "XOR", "EQV", "IMP", "AS",
              "ON", "JOIN", "INNER", "OUTER", "LEFT", "RIGHT", "FULL", "CROSS", "NATURAL", "USING",
              "UNION", "EXCEPT", "INTERSECT", "IN", "IS", "LIKE", "GLOB", "REGEXP", "MATCH",
              "BETWEEN", "ESCAPE", "COLLATE", "WHEN", "THEN", "ELSE", "END", "INTO", "VALUES", "SET",
              "UPDATE", "DELETE", "INSERT", "LIMIT", "OFFSET", "EXISTS", "WITH", "TRANSFORM",
              "PIVOT", "MOD"})
            set.insert(QString::fromLatin1(w));
        return set;
    }();
    return keywords.contains(word.toString().toUpper());
}

class OperatorRewriter
{
public:
    explicit OperatorRewriter(const QString& sql) : m_sql(sql), m_tokens(tokenizeSql(sql)) {}

    QString run() { return range(0, int(m_tokens.size())); }

private:
    struct Piece
    {
        QString text;
        int first = 0; // token indices, both inside the piece
        int last = 0;
    };

    // Counts one level of nesting while it lives.
    class Depth
    {
    public:
        explicit Depth(int& depth) : m_depth(depth)
        {
            if (++m_depth > kMaxDepth) {
                --m_depth;
                throw EDatabaseError(QStringLiteral("Expression too complex in query expression"));
            }
        }
        ~Depth() { --m_depth; }
        Depth(const Depth&) = delete;
        Depth& operator=(const Depth&) = delete;

    private:
        int& m_depth;
    };

    QStringView text(int i) const { return m_tokens[i].text(m_sql); }
    bool isSymbol(int i, QChar c) const
    {
        return m_tokens[i].kind == SqlToken::Symbol && m_sql[m_tokens[i].pos] == c;
    }
    bool isWord(int i, const char* word) const
    {
        return m_tokens[i].kind == SqlToken::Word
               && text(i).compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    // True when token i + 1 follows token i without anything between them.
    bool joined(int i, int to) const
    {
        return i + 1 < to && m_tokens[i + 1].pos == m_tokens[i].pos + m_tokens[i].len;
    }
    // The first token from i on that is not a blank or a comment; to when there is none.
    int next(int i, int to) const
    {
        while (i < to && (m_tokens[i].kind == SqlToken::Space || m_tokens[i].kind == SqlToken::Comment))
            ++i;
        return i;
    }
    // The statement's text from the end of token a to the start of token b.
    QStringView between(int a, int b) const
    {
        const int from = m_tokens[a].pos + m_tokens[a].len;
        return QStringView(m_sql).mid(from, m_tokens[b].pos - from);
    }

    bool startsOperand(int i, int to) const
    {
        if (i >= to)
            return false;
        switch (m_tokens[i].kind) {
        case SqlToken::Number:
        case SqlToken::String:
        case SqlToken::QuotedName:
            return true;
        case SqlToken::Word:
            return !isKeyword(text(i)) || isWord(i, "CASE");
        case SqlToken::Symbol: {
            const QChar c = m_sql[m_tokens[i].pos];
            if (c == u'(' || c == u'-' || c == u'+' || c == u'?')
                return true;
            // Parameters: :name, @name, $name.
            return (c == u':' || c == u'@' || c == u'$') && joined(i, to)
                   && m_tokens[i + 1].kind == SqlToken::Word;
        }
        default:
            return false;
        }
    }

    // The binary operator at token i, if there is one.
    std::optional<Operator> binaryOperator(int i, int to) const
    {
        if (i >= to)
            return std::nullopt;
        if (isWord(i, "MOD"))
            return Operator{3, "jet_mod", i + 1};
        if (m_tokens[i].kind != SqlToken::Symbol)
            return std::nullopt;
        switch (m_sql[m_tokens[i].pos].unicode()) {
        case u'&':
            return Operator{1, "jet_concat", i + 1};
        case u'+':
        case u'-':
            return Operator{2, nullptr, i + 1};
        case u'\\':
            return Operator{4, "jet_intdiv", i + 1};
        case u'*':
        case u'%':
            return Operator{5, nullptr, i + 1};
        case u'/':
            return Operator{5, "jet_div", i + 1};
        case u'|':
            // SQLite's own text joining binds tighter than any arithmetic.
            if (joined(i, to) && isSymbol(i + 1, u'|'))
                return Operator{6, nullptr, i + 2};
            return std::nullopt;
        default:
            return std::nullopt;
        }
    }

    // The token that closes the bracket at open, or to when it is never closed.
    int closingBracket(int open, int to) const
    {
        int depth = 0;
        for (int i = open; i < to; ++i) {
            if (isSymbol(i, u'('))
                ++depth;
            else if (isSymbol(i, u')') && --depth == 0)
                return i;
        }
        return to;
    }

    // The END of the CASE at start, or to when it has none.
    int caseEnd(int start, int to) const
    {
        int depth = 0;
        for (int i = start; i < to; ++i) {
            if (isWord(i, "CASE"))
                ++depth;
            else if (isWord(i, "END") && --depth == 0)
                return i;
        }
        return to;
    }

    // Copies the tokens from..to, rewriting every expression that starts among them.
    QString range(int from, int to)
    {
        QString out;
        int i = from;
        while (i < to) {
            const SqlToken& t = m_tokens[i];
            if (t.kind != SqlToken::Space && t.kind != SqlToken::Comment && startsOperand(i, to)) {
                out += expression(i, to, 0).text;
                continue;
            }
            out += t.text(m_sql);
            ++i;
        }
        return out;
    }

    // An expression from token i (an operand's start) whose operators bind at least at
    // minLevel; i ends on the token after it.
    Piece expression(int& i, int to, int minLevel)
    {
        Piece left = operand(i, to);
        for (;;) {
            const int at = next(i, to);
            const std::optional<Operator> op = binaryOperator(at, to);
            if (!op || op->level < minLevel)
                break;
            const int rightStart = next(op->end, to);
            // An operator with nothing after it is left as written, for SQLite to judge.
            if (!startsOperand(rightStart, to))
                break;
            i = rightStart;
            Piece right = expression(i, to, op->level + 1);
            if (op->function) {
                left.text = QLatin1String(op->function) + u'(' + left.text + QStringLiteral(", ")
                            + right.text + u')';
            } else {
                left.text += between(left.last, right.first).toString() + right.text;
            }
            left.last = right.last;
        }
        return left;
    }

    // One operand at token i: a value, a name, a call, a bracket, a CASE or a signed operand.
    Piece operand(int& i, int to)
    {
        const Depth depth(m_depth);
        const int first = i;
        const SqlToken& t = m_tokens[first];
        if (isSymbol(first, u'-') || isSymbol(first, u'+')) {
            i = next(first + 1, to);
            if (!startsOperand(i, to)) {
                i = first + 1;
                return {t.text(m_sql).toString(), first, first};
            }
            Piece inner = operand(i, to);
            return {t.text(m_sql).toString() + between(first, inner.first).toString() + inner.text, first,
                    inner.last};
        }
        if (isSymbol(first, u'('))
            return bracket(i, first, to, QString());
        if (isWord(first, "CASE")) {
            const int end = caseEnd(first, to);
            QString out = t.text(m_sql).toString() + range(first + 1, end);
            if (end < to)
                out += text(end);
            i = end < to ? end + 1 : to;
            return {out, first, std::min(end, to - 1)};
        }
        if (t.kind == SqlToken::Word) {
            const int open = next(first + 1, to);
            if (open < to && isSymbol(open, u'('))
                return bracket(i, open, to, t.text(m_sql).toString() + between(first, open).toString());
        }
        i = first + 1;
        // A parameter is its sign and its name; ?N its number.
        if (t.kind == SqlToken::Symbol && i < to && joined(first, to)
            && (m_tokens[i].kind == SqlToken::Word || m_tokens[i].kind == SqlToken::Number))
            ++i;
        // Qualified names: t.a, [t].[a], t.*.
        while (i + 1 < to && isSymbol(i, u'.') && joined(i - 1, to) && joined(i, to)
               && (m_tokens[i + 1].kind == SqlToken::Word || m_tokens[i + 1].kind == SqlToken::QuotedName
                   || isSymbol(i + 1, u'*')))
            i += 2;
        QString out;
        for (int k = first; k < i; ++k)
            out += text(k);
        return {out, first, i - 1};
    }

    // A bracket at open with what comes before it (a function's name); i ends after it.
    Piece bracket(int& i, int open, int to, const QString& head)
    {
        const int close = closingBracket(open, to);
        QString out = head + u'(' + range(open + 1, close);
        if (close < to)
            out += u')';
        const int first = i;
        i = close < to ? close + 1 : to;
        return {out, first, i - 1};
    }

    const QString& m_sql;
    const QList<SqlToken> m_tokens;
    int m_depth = 0;
};

// ---- the functions -------------------------------------------------------------------------

using namespace qx::jet;

void typeMismatch(sqlite3_context* ctx)
{
    resultError(ctx, QStringLiteral("Data type mismatch in criteria expression"));
}

void divisionByZero(sqlite3_context* ctx)
{
    resultError(ctx, QStringLiteral("Division by zero"));
}

void overflow(sqlite3_context* ctx)
{
    resultError(ctx, QStringLiteral("Overflow"));
}

// The text a value joins with: numbers as the system writes them ("3", "3.5").
QString joinText(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        return QString();
    case SQLITE_INTEGER:
        return QString::number(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return FloatToStr(sqlite3_value_double(v));
    default:
        return textOf(v);
    }
}

enum class WholeResult { Ok, Mismatch, Overflow };

// The whole number an operand of \ and Mod stands for: integers as they are, other numbers
// rounded with halves to even.
WholeResult wholeOf(sqlite3_value* v, std::int64_t& out)
{
    if (sqlite3_value_type(v) == SQLITE_INTEGER) {
        out = sqlite3_value_int64(v);
        return WholeResult::Ok;
    }
    const std::optional<double> d = numberOf(v);
    if (!d)
        return WholeResult::Mismatch;
    const double r = std::nearbyint(*d);
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0))
        return WholeResult::Overflow;
    out = std::int64_t(r);
    return WholeResult::Ok;
}

void fnConcat(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL && sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QByteArray bytes = (joinText(argv[0]) + joinText(argv[1])).toUtf8();
    sqlite3_result_text(ctx, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
}

void fnDiv(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::optional<double> a = numberOf(argv[0]);
    const std::optional<double> b = numberOf(argv[1]);
    if (!a || !b) {
        typeMismatch(ctx);
        return;
    }
    if (*b == 0) {
        divisionByZero(ctx);
        return;
    }
    const double q = *a / *b;
    if (!std::isfinite(q)) {
        overflow(ctx);
        return;
    }
    sqlite3_result_double(ctx, q);
}

// \ and Mod: the whole operands, or the error already set.
bool wholeOperands(sqlite3_context* ctx, sqlite3_value** argv, std::int64_t& a, std::int64_t& b)
{
    const WholeResult ra = wholeOf(argv[0], a);
    const WholeResult rb = wholeOf(argv[1], b);
    if (ra == WholeResult::Mismatch || rb == WholeResult::Mismatch) {
        typeMismatch(ctx);
        return false;
    }
    if (ra == WholeResult::Overflow || rb == WholeResult::Overflow) {
        overflow(ctx);
        return false;
    }
    if (b == 0) {
        divisionByZero(ctx);
        return false;
    }
    return true;
}

void fnIntDiv(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    std::int64_t a = 0, b = 0;
    if (!wholeOperands(ctx, argv, a, b))
        return;
    if (a == std::numeric_limits<std::int64_t>::min() && b == -1) {
        overflow(ctx);
        return;
    }
    sqlite3_result_int64(ctx, a / b);
}

void fnMod(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    std::int64_t a = 0, b = 0;
    if (!wholeOperands(ctx, argv, a, b))
        return;
    // Any whole number divides by -1 without a remainder (and the smallest one would overflow).
    sqlite3_result_int64(ctx, b == -1 ? 0 : a % b);
}

} // namespace

QString rewriteJetOperators(const QString& sql)
{
    return OperatorRewriter(sql).run();
}

void registerJetOperators(sqlite3* db)
{
    const struct
    {
        const char* name;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
    } functions[] = {
        {"jet_concat", fnConcat},
        {"jet_div", fnDiv},
        {"jet_intdiv", fnIntDiv},
        {"jet_mod", fnMod},
    };
    for (const auto& f : functions) {
        const int rc = sqlite3_create_function_v2(db, f.name, 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                                  nullptr, f.fn, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            raiseSqliteError(db, rc);
    }
}

} // namespace qx
