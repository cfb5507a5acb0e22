#include "platform/db/FilterExpression.h"

#include "platform/db/DataSet.h"

#include <vector>

namespace qx {

struct FilterExpression::Node
{
    enum Kind { And, Or, Not, Compare, IsNull, IsNotNull } kind = Compare;
    std::unique_ptr<Node> left, right;
    QString field;
    QString op;
    QVariant literal;
    bool prefix = false; // text literal ending in '*'
};

namespace {

struct Token
{
    enum Type { Ident, Text, Number, Op, LParen, RParen, End } type = End;
    QString text;
    int pos = 0;
};

std::vector<Token> tokenize(const QString& s)
{
    std::vector<Token> out;
    int i = 0;
    const int n = int(s.size());
    auto fail = [&](const QString& what, int at) {
        DatabaseError(QStringLiteral("Filter expression incorrectly terminated: %1 at position %2").arg(what).arg(at + 1));
    };
    while (i < n) {
        const QChar c = s.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Token t;
        t.pos = i;
        if (c == u'\'' || c == u'"') {
            const QChar q = c;
            QString v;
            ++i;
            bool closed = false;
            while (i < n) {
                if (s.at(i) == q) {
                    if (i + 1 < n && s.at(i + 1) == q) {
                        v += q;
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                v += s.at(i++);
            }
            if (!closed)
                fail(QStringLiteral("unterminated text"), t.pos);
            t.type = Token::Text;
            t.text = v;
        } else if (c == u'[') {
            const int end = int(s.indexOf(u']', i + 1));
            if (end < 0)
                fail(QStringLiteral("missing ']'"), i);
            t.type = Token::Ident;
            t.text = s.mid(i + 1, end - i - 1);
            i = end + 1;
        } else if (c.isDigit() || ((c == u'-' || c == u'.') && i + 1 < n && s.at(i + 1).isDigit())) {
            int j = i + 1;
            while (j < n && (s.at(j).isDigit() || s.at(j) == u'.'))
                ++j;
            t.type = Token::Number;
            t.text = s.mid(i, j - i);
            i = j;
        } else if (c.isLetter() || c == u'_') {
            int j = i + 1;
            while (j < n && (s.at(j).isLetterOrNumber() || s.at(j) == u'_'))
                ++j;
            t.type = Token::Ident;
            t.text = s.mid(i, j - i);
            i = j;
        } else if (c == u'(') {
            t.type = Token::LParen;
            ++i;
        } else if (c == u')') {
            t.type = Token::RParen;
            ++i;
        } else if (c == u'<' || c == u'>' || c == u'=') {
            int j = i + 1;
            if (j < n && (s.at(j) == u'=' || (c == u'<' && s.at(j) == u'>')))
                ++j;
            t.type = Token::Op;
            t.text = s.mid(i, j - i);
            i = j;
        } else {
            fail(QStringLiteral("unexpected '%1'").arg(c), i);
        }
        out.push_back(t);
    }
    Token end;
    end.pos = n;
    out.push_back(end);
    return out;
}

class Parser
{
public:
    explicit Parser(std::vector<Token> tokens) : m_t(std::move(tokens)) {}

    std::unique_ptr<FilterExpression::Node> parseAll()
    {
        auto n = parseOr();
        if (peek().type != Token::End)
            error(QStringLiteral("unexpected text"));
        return n;
    }

private:
    using NodeP = std::unique_ptr<FilterExpression::Node>;

    const Token& peek() const { return m_t[m_i]; }
    Token take() { return m_t[m_i++]; }
    bool isWord(const char* w) const
    {
        return peek().type == Token::Ident && peek().text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    [[noreturn]] void error(const QString& what) const
    {
        DatabaseError(QStringLiteral("Filter expression incorrectly terminated: %1 at position %2")
                          .arg(what)
                          .arg(peek().pos + 1));
    }

    NodeP parseOr()
    {
        NodeP left = parseAnd();
        while (isWord("or")) {
            take();
            auto n = std::make_unique<FilterExpression::Node>();
            n->kind = FilterExpression::Node::Or;
            n->left = std::move(left);
            n->right = parseAnd();
            left = std::move(n);
        }
        return left;
    }
    NodeP parseAnd()
    {
        NodeP left = parseNot();
        while (isWord("and")) {
            take();
            auto n = std::make_unique<FilterExpression::Node>();
            n->kind = FilterExpression::Node::And;
            n->left = std::move(left);
            n->right = parseNot();
            left = std::move(n);
        }
        return left;
    }
    NodeP parseNot()
    {
        if (isWord("not")) {
            take();
            auto n = std::make_unique<FilterExpression::Node>();
            n->kind = FilterExpression::Node::Not;
            n->left = parseNot();
            return n;
        }
        return parsePrimary();
    }
    NodeP parsePrimary()
    {
        if (peek().type == Token::LParen) {
            take();
            NodeP n = parseOr();
            if (peek().type != Token::RParen)
                error(QStringLiteral("missing ')'"));
            take();
            return n;
        }
        if (peek().type != Token::Ident)
            error(QStringLiteral("field name expected"));
        auto n = std::make_unique<FilterExpression::Node>();
        n->field = take().text;
        if (isWord("is")) {
            take();
            n->kind = FilterExpression::Node::IsNull;
            if (isWord("not")) {
                take();
                n->kind = FilterExpression::Node::IsNotNull;
            }
            if (!isWord("null"))
                error(QStringLiteral("'null' expected"));
            take();
            return n;
        }
        if (peek().type != Token::Op)
            error(QStringLiteral("comparison expected"));
        n->op = take().text;
        const Token lit = take();
        if (lit.type == Token::Text) {
            QString v = lit.text;
            if ((n->op == QLatin1String("=") || n->op == QLatin1String("<>")) && v.endsWith(u'*')) {
                v.chop(1);
                n->prefix = true;
            }
            n->literal = v;
        } else if (lit.type == Token::Number) {
            bool ok = false;
            const double d = lit.text.toDouble(&ok);
            if (!ok)
                error(QStringLiteral("number expected"));
            n->literal = d;
        } else if (lit.type == Token::Ident && lit.text.compare(QLatin1String("null"), Qt::CaseInsensitive) == 0) {
            n->literal = QVariant();
        } else {
            --m_i;
            error(QStringLiteral("value expected"));
        }
        return n;
    }

    std::vector<Token> m_t;
    std::size_t m_i = 0;
};

bool evalCompare(const FilterExpression::Node& n, const TDataSet& ds)
{
    TField* f = ds.FieldByName(n.field);
    const bool fieldNull = f->IsNull();
    if (!n.literal.isValid())
        return n.op == QLatin1String("=") ? fieldNull : (n.op == QLatin1String("<>") ? !fieldNull : false);
    if (fieldNull)
        return n.op == QLatin1String("<>");
    int cmp = 0;
    if (n.literal.typeId() == QMetaType::Double) {
        const double a = f->AsFloat();
        const double b = n.literal.toDouble();
        cmp = a < b ? -1 : (a > b ? 1 : 0);
    } else {
        const QString a = f->AsString();
        const QString b = n.literal.toString();
        if (n.prefix) {
            const bool starts = a.startsWith(b, Qt::CaseInsensitive);
            return n.op == QLatin1String("=") ? starts : !starts;
        }
        if (f->StorageKind() == RecordStore::Kind::Text || f->StorageKind() == RecordStore::Kind::Blob) {
            cmp = a.compare(b, Qt::CaseInsensitive);
        } else {
            // Dates, Booleans and money compare as values: the literal is read by the field.
            const QVariant lit = f->ToCell(b);
            const QVariant own = f->ToCell(f->AsVariant());
            cmp = QVariant::compare(own, lit) == QPartialOrdering::Less
                      ? -1
                      : (QVariant::compare(own, lit) == QPartialOrdering::Greater ? 1 : 0);
        }
    }
    if (n.op == QLatin1String("="))
        return cmp == 0;
    if (n.op == QLatin1String("<>"))
        return cmp != 0;
    if (n.op == QLatin1String("<"))
        return cmp < 0;
    if (n.op == QLatin1String(">"))
        return cmp > 0;
    if (n.op == QLatin1String("<="))
        return cmp <= 0;
    return cmp >= 0;
}

bool eval(const FilterExpression::Node& n, const TDataSet& ds)
{
    switch (n.kind) {
    case FilterExpression::Node::And: return eval(*n.left, ds) && eval(*n.right, ds);
    case FilterExpression::Node::Or: return eval(*n.left, ds) || eval(*n.right, ds);
    case FilterExpression::Node::Not: return !eval(*n.left, ds);
    case FilterExpression::Node::IsNull: return ds.FieldByName(n.field)->IsNull();
    case FilterExpression::Node::IsNotNull: return !ds.FieldByName(n.field)->IsNull();
    case FilterExpression::Node::Compare: return evalCompare(n, ds);
    }
    return false;
}

} // namespace

FilterExpression::~FilterExpression() = default;

std::unique_ptr<FilterExpression> FilterExpression::parse(const QString& text)
{
    std::unique_ptr<FilterExpression> e(new FilterExpression);
    Parser p(tokenize(text));
    e->m_root = p.parseAll();
    return e;
}

bool FilterExpression::matches(const TDataSet& dataSet) const
{
    return m_root ? eval(*m_root, dataSet) : true;
}

} // namespace qx
