#include "platform/db/sql/ExpressionColumns.h"

#include "platform/db/sql/DeclaredTypes.h"
#include "platform/db/sql/SqlLexer.h"
#include "platform/db/sql/SqliteStatement.h"

#include <QList>
#include <QSet>
#include <QStringList>

#include <sqlite3.h>

namespace qx {

namespace {

using Kind = ExpressionKind;

// The tokens of an expression without blanks and comments.
struct Tokens
{
    const QString& sql;
    QList<SqlToken> list;

    QString word(int i) const
    {
        return i >= 0 && i < list.size() && list[i].kind == SqlToken::Word ? list[i].text(sql).toString().toUpper()
                                                                            : QString();
    }
    bool sym(int i, QChar c) const
    {
        return i >= 0 && i < list.size() && list[i].kind == SqlToken::Symbol && sql[list[i].pos] == c;
    }
    QString name(int i) const
    {
        const QStringView t = list[i].text(sql);
        if (list[i].kind == SqlToken::QuotedName)
            return t.mid(1, t.size() - 2).toString();
        return t.toString();
    }
    bool isName(int i) const
    {
        return i >= 0 && i < list.size() && (list[i].kind == SqlToken::Word || list[i].kind == SqlToken::QuotedName);
    }
};

Kind kindOfFieldType(TFieldType t)
{
    switch (t) {
    case ftString:
    case ftMemo:
    case ftFmtMemo:
    case ftFixedChar:
    case ftWideString: return Kind::Text;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftLargeint:
    case ftAutoInc:
    case ftBoolean: return Kind::Integer;
    case ftFloat:
    case ftBCD: return Kind::Real;
    case ftCurrency: return Kind::Money;
    case ftDate:
    case ftTime:
    case ftDateTime: return Kind::Date;
    case ftBlob:
    case ftGraphic:
    case ftBytes:
    case ftVarBytes:
    case ftTypedBinary: return Kind::Blob;
    default: return Kind::Unknown;
    }
}

// The branches of Nz, IIf, CASE, coalesce: null branches and ones that cannot be told do not
// decide; money over numbers is money; text over anything is text.
Kind combineBranches(const QList<Kind>& kinds)
{
    bool unknown = false, integer = false, real = false, money = false, text = false, date = false, blob = false;
    for (Kind k : kinds) {
        switch (k) {
        case Kind::Unknown: unknown = true; break;
        case Kind::Null: break;
        case Kind::Integer: integer = true; break;
        case Kind::Real: real = true; break;
        case Kind::Money: money = true; break;
        case Kind::Text: text = true; break;
        case Kind::Date: date = true; break;
        case Kind::Blob: blob = true; break;
        }
    }
    if (text)
        return Kind::Text;
    if (blob)
        return integer || real || money || date ? Kind::Unknown : Kind::Blob;
    if (date)
        return integer || real || money ? Kind::Unknown : Kind::Date;
    if (money)
        return Kind::Money;
    if (real)
        return Kind::Real;
    if (integer)
        return Kind::Integer;
    return unknown ? Kind::Unknown : Kind::Null;
}

// Arithmetic: money stays money, a real or a division makes a real, whole numbers stay whole.
Kind combineArithmetic(const QList<Kind>& kinds, bool division, bool wholeOnly)
{
    bool unknown = false, integer = false, real = false, money = false;
    for (Kind k : kinds) {
        switch (k) {
        case Kind::Null: break;
        case Kind::Integer: integer = true; break;
        case Kind::Real: real = true; break;
        case Kind::Money: money = true; break;
        default: unknown = true; break;
        }
    }
    if (wholeOnly)
        return Kind::Integer;
    if (money)
        return Kind::Money;
    if (unknown)
        return Kind::Unknown;
    if (real || division)
        return Kind::Real;
    return integer ? Kind::Integer : Kind::Null;
}

class ExpressionReader
{
public:
    ExpressionReader(const Tokens& t, const QHash<QString, Kind>& columns) : t(t), m_columns(columns) {}

    Kind expression(int b, int e) const
    {
        // Users' text may nest without end; SQLite refuses such depths anyway.
        if (b >= e || m_depth >= kMaxDepth)
            return Kind::Unknown;
        ++m_depth;
        const Kind kind = expressionAtDepth(b, e);
        --m_depth;
        return kind;
    }

private:
    static constexpr int kMaxDepth = 100;

    Kind expressionAtDepth(int b, int e) const
    {
        // Logical and comparison operators at the top give 0 or 1.
        static const QSet<QString> logical = {QStringLiteral("AND"), QStringLiteral("OR"), QStringLiteral("NOT"),
                                              QStringLiteral("IS"), QStringLiteral("IN"), QStringLiteral("LIKE"),
                                              QStringLiteral("GLOB"), QStringLiteral("BETWEEN"),
                                              QStringLiteral("REGEXP"), QStringLiteral("MATCH"),
                                              QStringLiteral("EXISTS"), QStringLiteral("ISNULL"),
                                              QStringLiteral("NOTNULL")};
        bool concat = false;
        QList<int> arithmetic; // operator positions
        for (int i = b; i < e; i = skip(i, e)) {
            if (logical.contains(t.word(i)) || t.sym(i, u'=') || t.sym(i, u'<') || t.sym(i, u'>')
                || (t.sym(i, u'!') && t.sym(i + 1, u'=')))
                return Kind::Integer;
            if (t.sym(i, u'|') && t.sym(i + 1, u'|'))
                concat = true;
            if (t.sym(i, u'+') || t.sym(i, u'-') || t.sym(i, u'*') || t.sym(i, u'/') || t.sym(i, u'%')
                || t.sym(i, u'\\') || t.word(i) == u"MOD")
                arithmetic.append(i);
        }
        if (concat)
            return Kind::Text;
        if (!arithmetic.isEmpty()) {
            QList<Kind> operands;
            bool division = false;
            bool wholeOnly = false;
            int from = b;
            for (int op : arithmetic) {
                if (op > from)
                    operands.append(expression(from, op)); // a leading sign has no operand before it
                if (t.sym(op, u'/'))
                    division = true;
                if (t.sym(op, u'%') || t.sym(op, u'\\') || t.word(op) == u"MOD")
                    wholeOnly = true;
                from = op + 1;
            }
            operands.append(expression(from, e));
            if (operands.size() == 1) // only a sign: -Price
                return operands.first();
            return combineArithmetic(operands, division, wholeOnly);
        }
        return primary(b, e);
    }

    // The token after the one at i, passing over a parenthesised group or a CASE ... END whole.
    int skip(int i, int e) const
    {
        if (t.sym(i, u'(')) {
            int depth = 0;
            for (int k = i; k < e; ++k) {
                if (t.sym(k, u'('))
                    ++depth;
                else if (t.sym(k, u')') && --depth == 0)
                    return k + 1;
            }
            return e;
        }
        if (t.word(i) == u"CASE") {
            int depth = 0;
            for (int k = i; k < e; k = k == i ? k + 1 : skipInner(k, e)) {
                if (t.word(k) == u"CASE")
                    ++depth;
                else if (t.word(k) == u"END" && --depth == 0)
                    return k + 1;
            }
            return e;
        }
        return i + 1;
    }
    int skipInner(int k, int e) const { return t.sym(k, u'(') ? skip(k, e) : k + 1; }

    // Splits [b, e) at commas of its own level.
    QList<std::pair<int, int>> arguments(int b, int e) const
    {
        QList<std::pair<int, int>> args;
        int from = b;
        for (int i = b; i < e; i = skip(i, e)) {
            if (t.sym(i, u',')) {
                args.append({from, i});
                from = i + 1;
            }
        }
        if (e > b)
            args.append({from, e});
        return args;
    }

    Kind column(const QString& name) const { return m_columns.value(name.toLower(), Kind::Unknown); }

    Kind primary(int b, int e) const
    {
        if (e - b == 1) {
            const SqlToken& tok = t.list[b];
            switch (tok.kind) {
            case SqlToken::Number: {
                const QString n = tok.text(t.sql).toString();
                if (n.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive))
                    return Kind::Integer;
                return n.contains(u'.') || n.contains(u'e', Qt::CaseInsensitive) ? Kind::Real : Kind::Integer;
            }
            case SqlToken::String: return Kind::Text;
            case SqlToken::QuotedName: return column(t.name(b));
            case SqlToken::Word: {
                const QString w = t.word(b);
                if (w == u"NULL")
                    return Kind::Null;
                if (w == u"TRUE" || w == u"FALSE")
                    return Kind::Integer;
                if (w == u"CURRENT_DATE" || w == u"CURRENT_TIMESTAMP")
                    return Kind::Date;
                if (w == u"CURRENT_TIME")
                    return Kind::Text;
                return column(t.name(b));
            }
            default: return Kind::Unknown;
            }
        }
        // table.column (or schema.table.column)
        if (t.isName(e - 1) && t.sym(e - 2, u'.')) {
            bool dotted = true;
            for (int i = b; i < e; ++i)
                dotted = dotted && ((i - b) % 2 == 0 ? t.isName(i) : t.sym(i, u'.'));
            if (dotted && (e - b) % 2 == 1)
                return column(t.name(e - 1));
        }
        // ( expression )
        if (t.sym(b, u'(') && skip(b, e) == e) {
            if (t.word(b + 1) == u"SELECT" || t.word(b + 1) == u"WITH" || t.word(b + 1) == u"VALUES")
                return Kind::Unknown;
            return expression(b + 1, e - 1);
        }
        // CASE ... END: the kinds of its results
        if (t.word(b) == u"CASE" && skip(b, e) == e)
            return caseKind(b, e);
        // CAST(x AS type)
        if (t.word(b) == u"CAST" && t.sym(b + 1, u'(') && skip(b + 1, e) == e) {
            for (int i = b + 2; i < e - 1; i = skip(i, e - 1)) {
                if (t.word(i) == u"AS") {
                    const int from = t.list[i + 1 < e ? i + 1 : i].pos;
                    const int to = t.list[e - 1].pos;
                    int size = 0;
                    return kindOfFieldType(fieldTypeOfDeclared(t.sql.mid(from, to - from), size));
                }
            }
            return Kind::Unknown;
        }
        // function ( arguments )
        if (t.isName(b) && t.sym(b + 1, u'(') && skip(b + 1, e) == e)
            return function(t.name(b).toLower(), b + 2, e - 1);
        return Kind::Unknown;
    }

    Kind caseKind(int b, int e) const
    {
        QList<Kind> results;
        int from = -1;
        for (int i = b + 1; i < e; i = skip(i, e)) {
            const QString w = t.word(i);
            if (w != u"THEN" && w != u"ELSE" && w != u"WHEN" && w != u"END")
                continue;
            if (from >= 0)
                results.append(expression(from, i)); // the result before this word
            from = w == u"THEN" || w == u"ELSE" ? i + 1 : -1;
        }
        return combineBranches(results);
    }

    Kind function(const QString& name, int b, int e) const
    {
        const QList<std::pair<int, int>> args = arguments(b, e);
        auto arg = [&](int i) {
            return i < args.size() ? expression(args[i].first, args[i].second) : Kind::Unknown;
        };
        auto all = [&](int first) {
            QList<Kind> kinds;
            for (int i = first; i < args.size(); ++i)
                kinds.append(arg(i));
            return combineBranches(kinds);
        };
        static const QSet<QString> sameAsArgs = {QStringLiteral("nz"), QStringLiteral("ifnull"),
                                                 QStringLiteral("coalesce"), QStringLiteral("max"),
                                                 QStringLiteral("min"), QStringLiteral("sum")};
        static const QSet<QString> integers = {
            QStringLiteral("count"), QStringLiteral("cint"), QStringLiteral("clng"), QStringLiteral("len"),
            QStringLiteral("length"), QStringLiteral("instr"), QStringLiteral("year"), QStringLiteral("month"),
            QStringLiteral("day"), QStringLiteral("datediff"), QStringLiteral("unicode"), QStringLiteral("random"),
            QStringLiteral("sign"), QStringLiteral("hour"), QStringLiteral("minute"), QStringLiteral("second"),
            QStringLiteral("weekday"), QStringLiteral("datepart"), QStringLiteral("changes"),
            QStringLiteral("total_changes"), QStringLiteral("row_number"), QStringLiteral("rank")};
        static const QSet<QString> reals = {QStringLiteral("cdbl"), QStringLiteral("csng"), QStringLiteral("val"),
                                            QStringLiteral("julianday")};
        static const QSet<QString> texts = {
            QStringLiteral("format"), QStringLiteral("cstr"), QStringLiteral("str"), QStringLiteral("jet_left"),
            QStringLiteral("jet_right"), QStringLiteral("left"), QStringLiteral("right"), QStringLiteral("mid"),
            QStringLiteral("substr"), QStringLiteral("substring"), QStringLiteral("ucase"), QStringLiteral("lcase"),
            QStringLiteral("upper"), QStringLiteral("lower"), QStringLiteral("trim"), QStringLiteral("ltrim"),
            QStringLiteral("rtrim"), QStringLiteral("replace"), QStringLiteral("printf"), QStringLiteral("group_concat"),
            QStringLiteral("char"), QStringLiteral("hex"), QStringLiteral("quote"), QStringLiteral("typeof"),
            QStringLiteral("strftime"), QStringLiteral("time"), QStringLiteral("space"), QStringLiteral("string"),
            QStringLiteral("chr"), QStringLiteral("soundex")};
        static const QSet<QString> dates = {QStringLiteral("cvdate"), QStringLiteral("dateadd"), QStringLiteral("now"),
                                            QStringLiteral("date"), QStringLiteral("datetime"),
                                            QStringLiteral("dateserial"), QStringLiteral("datevalue")};
        if (sameAsArgs.contains(name))
            return all(0);
        if (name == u"iif")
            return all(1);
        if (name == u"nullif")
            return arg(0);
        if (name == u"avg" || name == u"total" || name == u"round")
            return arg(0) == Kind::Money ? Kind::Money : Kind::Real;
        if (name == u"abs")
            return combineArithmetic({arg(0)}, false, false);
        if (name == u"int" || name == u"fix")
            return arg(0) == Kind::Money ? Kind::Money : Kind::Integer;
        if (name == u"ccur")
            return Kind::Money;
        if (integers.contains(name))
            return Kind::Integer;
        if (reals.contains(name))
            return Kind::Real;
        if (texts.contains(name))
            return Kind::Text;
        if (dates.contains(name))
            return Kind::Date;
        return Kind::Unknown;
    }

    const Tokens& t;
    const QHash<QString, Kind>& m_columns;
    mutable int m_depth = 0;
};

// The declared kinds of the columns of the tables and views the statement names: a column
// name the statement uses is looked up in them, the first table named first.
QHash<QString, Kind> columnKinds(sqlite3* db, const Tokens& t)
{
    QHash<QString, Kind> kinds;
    QSet<QString> seen;
    SqliteStatement objects(db, "SELECT name FROM sqlite_master WHERE type IN ('table', 'view')");
    QSet<QString> known;
    while (stepStatement(db, objects.get()))
        known.insert(columnVariant(objects.get(), 0).toString().toLower());
    for (int i = 0; i < t.list.size(); ++i) {
        if (!t.isName(i))
            continue;
        const QString name = t.name(i);
        if (!known.contains(name.toLower()) || seen.contains(name.toLower()))
            continue;
        seen.insert(name.toLower());
        SqliteStatement info(db, "SELECT name, type FROM pragma_table_info(?1)");
        bindVariant(db, info.get(), 1, name);
        while (stepStatement(db, info.get())) {
            const QString column = columnVariant(info.get(), 0).toString().toLower();
            if (kinds.contains(column))
                continue;
            int size = 0;
            kinds.insert(column, kindOfFieldType(fieldTypeOfDeclared(columnVariant(info.get(), 1).toString(), size)));
        }
    }
    return kinds;
}

} // namespace

SelectListKinds::SelectListKinds(sqlite3* db, const QString& sql)
{
    Tokens t{sql, {}};
    for (const SqlToken& tok : tokenizeSql(sql))
        if (tok.kind != SqlToken::Space && tok.kind != SqlToken::Comment)
            t.list.append(tok);
    int start = -1;
    for (int i = 0; i < t.list.size(); ++i) {
        if (t.word(i) == u"SELECT") {
            start = i + 1;
            break;
        }
    }
    if (start < 0)
        return;
    if (t.word(start) == u"ALL" || t.word(start) == u"DISTINCT")
        ++start;
    // The list ends at its FROM (or where the statement goes on without one).
    static const QSet<QString> ends = {QStringLiteral("FROM"), QStringLiteral("UNION"), QStringLiteral("EXCEPT"),
                                       QStringLiteral("INTERSECT"), QStringLiteral("ORDER"), QStringLiteral("LIMIT"),
                                       QStringLiteral("WHERE"), QStringLiteral("GROUP"), QStringLiteral("WINDOW")};
    int end = start;
    int depth = 0;
    int caseDepth = 0;
    QList<std::pair<int, int>> items;
    int from = start;
    for (; end < t.list.size(); ++end) {
        if (t.sym(end, u'('))
            ++depth;
        else if (t.sym(end, u')'))
            --depth;
        else if (depth == 0 && t.word(end) == u"CASE")
            ++caseDepth;
        else if (depth == 0 && t.word(end) == u"END" && caseDepth > 0)
            --caseDepth;
        if (depth != 0 || caseDepth != 0)
            continue;
        if (ends.contains(t.word(end)) || t.sym(end, u';'))
            break;
        if (t.sym(end, u',')) {
            items.append({from, end});
            from = end + 1;
        }
    }
    if (end > from)
        items.append({from, end});

    const QHash<QString, Kind> columns = columnKinds(db, t);
    const ExpressionReader reader(t, columns);
    static const QSet<QString> notAliases = {QStringLiteral("END"), QStringLiteral("NULL"), QStringLiteral("TRUE"),
                                             QStringLiteral("FALSE"), QStringLiteral("CURRENT_DATE"),
                                             QStringLiteral("CURRENT_TIME"), QStringLiteral("CURRENT_TIMESTAMP")};
    for (const auto& [b, e] : items) {
        if (e <= b)
            continue;
        int exprEnd = e;
        QString alias;
        if (e - b >= 3 && t.word(e - 2) == u"AS" && (t.isName(e - 1) || t.list[e - 1].kind == SqlToken::String)) {
            exprEnd = e - 2;
            alias = t.list[e - 1].kind == SqlToken::String ? t.list[e - 1].text(sql).mid(1).chopped(1).toString()
                                                            : t.name(e - 1);
        } else if (e - b >= 2 && t.isName(e - 1) && !notAliases.contains(t.word(e - 1))
                   && (t.sym(e - 2, u')') || t.isName(e - 2) || t.list[e - 2].kind == SqlToken::Number
                       || t.list[e - 2].kind == SqlToken::String)
                   && !(t.list[e - 2].kind == SqlToken::Word
                        && QSet<QString>{QStringLiteral("AND"), QStringLiteral("OR"), QStringLiteral("NOT"),
                                         QStringLiteral("IS"), QStringLiteral("ELSE"), QStringLiteral("THEN"),
                                         QStringLiteral("MOD")}
                               .contains(t.word(e - 2)))) {
            exprEnd = e - 1;
            alias = t.name(e - 1);
        }
        if (exprEnd <= b)
            continue;
        const QString text = sql.mid(t.list[b].pos, t.list[exprEnd - 1].pos + t.list[exprEnd - 1].len - t.list[b].pos);
        const Kind kind = reader.expression(b, exprEnd);
        m_kinds.insert((alias.isEmpty() ? text : alias).toLower(), kind);
    }
}

ExpressionKind SelectListKinds::kindOf(const QString& columnName) const
{
    return m_kinds.value(columnName.toLower(), ExpressionKind::Unknown);
}

void ExpressionTally::add(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: {
        ++integers;
        const sqlite3_int64 n = sqlite3_value_int64(v);
        if (n < INT32_MIN || n > INT32_MAX)
            bigIntegers = true;
        break;
    }
    case SQLITE_FLOAT: ++reals; break;
    case SQLITE_TEXT: {
        ++texts;
        // Characters as a QString counts them; the UTF-8 bytes bound them from above.
        const int bytes = sqlite3_value_bytes(v);
        if (bytes > longestText) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
            longestText = std::max(longestText, QString::fromUtf8(text, bytes).size());
        }
        break;
    }
    case SQLITE_BLOB: ++blobs; break;
    default: break;
    }
}

ExpressionFieldType expressionFieldType(ExpressionKind kind, const ExpressionTally& values)
{
    constexpr int kTextSize = 255;
    ExpressionFieldType out;
    const bool numbersOnly = (values.integers || values.reals) && !values.texts && !values.blobs;
    if (kind == Kind::Text || kind == Kind::Date || (values.sawValues() && !numbersOnly && !(values.blobs && !values.texts && !values.integers && !values.reals))) {
        out.type = ftString;
        out.size = int(std::max<qsizetype>(kTextSize, values.longestText));
        return out;
    }
    if (!values.sawValues()) {
        switch (kind) {
        case Kind::Integer: out.type = ftInteger; break;
        case Kind::Real: out.type = ftBCD; break;
        case Kind::Money: out.type = ftCurrency; break;
        case Kind::Blob: out.type = ftBlob; break;
        default:
            out.type = ftString;
            out.size = kTextSize;
            break;
        }
        return out;
    }
    if (!numbersOnly) { // blobs alone
        out.type = ftBlob;
        return out;
    }
    if (kind == Kind::Money)
        out.type = ftCurrency;
    else if (values.reals || kind == Kind::Real)
        out.type = ftBCD;
    else
        out.type = values.bigIntegers ? ftLargeint : ftInteger;
    return out;
}

} // namespace qx
