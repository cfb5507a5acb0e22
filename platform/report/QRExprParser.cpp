#include "platform/report/QRExprTree.h"

namespace qx::report {

QString placed(const QString& message, int pos)
{
    return QStringLiteral("%1 (第%2个字符)").arg(message).arg(pos);
}

namespace {

using Node = TQREvaluator::Node;

// ---- tokens ------------------------------------------------------------------------------

struct Token
{
    enum Kind { End, Number, String, Name, Op, LParen, RParen, Comma, Dot };
    Kind kind = End;
    QString text;
    TQREvResult number;
    int pos = 0;
};

bool isNameStart(QChar c)
{
    return c.isLetter() || c == u'_' || c.unicode() >= 0x80;
}

bool isNamePart(QChar c)
{
    return isNameStart(c) || c.isDigit();
}

bool isBlank(QChar c)
{
    return c.isSpace() || c == QChar(0x3000);
}

std::vector<Token> tokenize(const QString& text)
{
    std::vector<Token> out;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (true) {
        while (i < n && isBlank(text.at(i)))
            ++i;
        Token t;
        t.pos = int(i) + 1;
        if (i >= n) {
            out.push_back(t);
            return out;
        }
        const QChar c = text.at(i);
        if (c == u'\'') {
            QString s;
            qsizetype j = i + 1;
            bool closed = false;
            while (j < n) {
                if (text.at(j) == u'\'') {
                    if (j + 1 < n && text.at(j + 1) == u'\'') {
                        s += u'\'';
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                s += text.at(j++);
            }
            if (!closed)
                throw ParseFailure{QStringLiteral("字符串缺少结束的引号"), t.pos};
            t.kind = Token::String;
            t.text = s;
            i = j;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && text.at(i + 1).isDigit())) {
            qsizetype j = i;
            while (j < n && text.at(j).isDigit())
                ++j;
            bool fraction = false;
            if (j < n && text.at(j) == u'.' && j + 1 < n && text.at(j + 1).isDigit()) {
                fraction = true;
                ++j;
                while (j < n && text.at(j).isDigit())
                    ++j;
            }
            const QString digits = text.mid(i, j - i);
            t.kind = Token::Number;
            bool ok = false;
            if (!fraction) {
                const qint64 v = digits.toLongLong(&ok);
                if (ok)
                    t.number = TQREvResult::Number(v);
            }
            if (!ok)
                t.number = TQREvResult::Double(digits.toDouble());
            i = j;
        } else if (isNameStart(c)) {
            qsizetype j = i;
            while (j < n && isNamePart(text.at(j)))
                ++j;
            t.kind = Token::Name;
            t.text = text.mid(i, j - i);
            i = j;
        } else if (c == u'(') {
            t.kind = Token::LParen;
            ++i;
        } else if (c == u')') {
            t.kind = Token::RParen;
            ++i;
        } else if (c == u',') {
            t.kind = Token::Comma;
            ++i;
        } else if (c == u'.') {
            t.kind = Token::Dot;
            ++i;
        } else if (c == u'<' || c == u'>') {
            t.kind = Token::Op;
            t.text = c;
            ++i;
            if (i < n && (text.at(i) == u'=' || (c == u'<' && text.at(i) == u'>'))) {
                t.text += text.at(i);
                ++i;
            }
        } else if (c == u'+' || c == u'-' || c == u'*' || c == u'/' || c == u'=') {
            t.kind = Token::Op;
            t.text = c;
            ++i;
        } else {
            throw ParseFailure{QStringLiteral("无法识别的字符 '%1'").arg(c), t.pos};
        }
        out.push_back(t);
    }
}

// ---- parser ------------------------------------------------------------------------------

class Parser
{
public:
    explicit Parser(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {}

    std::unique_ptr<Node> parse()
    {
        if (peek().kind == Token::End)
            throw ParseFailure{QStringLiteral("表达式为空"), peek().pos};
        auto root = orExpr();
        if (peek().kind != Token::End)
            throw ParseFailure{QStringLiteral("多余的内容"), peek().pos};
        return root;
    }

private:
    const Token& peek() const { return m_tokens[m_at]; }
    Token take() { return m_tokens[m_at < m_tokens.size() - 1 ? m_at++ : m_at]; }
    bool isKeyword(const char* word) const
    {
        return peek().kind == Token::Name && peek().text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool isOp(const char* op) const { return peek().kind == Token::Op && peek().text == QLatin1String(op); }

    static std::unique_ptr<Node> binary(const QString& op, int pos, std::unique_ptr<Node> l, std::unique_ptr<Node> r)
    {
        auto n = std::make_unique<Node>();
        n->kind = Node::Binary;
        n->op = op;
        n->pos = pos;
        n->kids.push_back(std::move(l));
        n->kids.push_back(std::move(r));
        return n;
    }

    std::unique_ptr<Node> orExpr()
    {
        auto left = andExpr();
        while (isKeyword("OR")) {
            const Token t = take();
            left = binary(QStringLiteral("OR"), t.pos, std::move(left), andExpr());
        }
        return left;
    }

    std::unique_ptr<Node> andExpr()
    {
        auto left = notExpr();
        while (isKeyword("AND")) {
            const Token t = take();
            left = binary(QStringLiteral("AND"), t.pos, std::move(left), notExpr());
        }
        return left;
    }

    std::unique_ptr<Node> notExpr()
    {
        if (isKeyword("NOT")) {
            const Token t = take();
            auto n = std::make_unique<Node>();
            n->kind = Node::Not;
            n->pos = t.pos;
            n->kids.push_back(notExpr());
            return n;
        }
        return comparison();
    }

    std::unique_ptr<Node> comparison()
    {
        auto left = additive();
        if (isOp("=") || isOp("<>") || isOp("<") || isOp(">") || isOp("<=") || isOp(">=")) {
            const Token t = take();
            left = binary(t.text, t.pos, std::move(left), additive());
        }
        return left;
    }

    std::unique_ptr<Node> additive()
    {
        auto left = term();
        while (isOp("+") || isOp("-")) {
            const Token t = take();
            left = binary(t.text, t.pos, std::move(left), term());
        }
        return left;
    }

    std::unique_ptr<Node> term()
    {
        auto left = unary();
        while (isOp("*") || isOp("/")) {
            const Token t = take();
            left = binary(t.text, t.pos, std::move(left), unary());
        }
        return left;
    }

    std::unique_ptr<Node> unary()
    {
        if (isOp("-") || isOp("+")) {
            const Token t = take();
            auto operand = unary();
            if (t.text == QLatin1String("+"))
                return operand;
            auto n = std::make_unique<Node>();
            n->kind = Node::Negate;
            n->pos = t.pos;
            n->kids.push_back(std::move(operand));
            return n;
        }
        return primary();
    }

    std::unique_ptr<Node> primary()
    {
        const Token t = take();
        auto n = std::make_unique<Node>();
        n->pos = t.pos;
        switch (t.kind) {
        case Token::Number:
            n->kind = Node::Literal;
            n->value = t.number;
            return n;
        case Token::String:
            n->kind = Node::Literal;
            n->value = TQREvResult::String(t.text);
            return n;
        case Token::LParen: {
            auto inner = orExpr();
            if (peek().kind != Token::RParen)
                throw ParseFailure{QStringLiteral("缺少右括号"), peek().pos};
            take();
            return inner;
        }
        case Token::Name:
            return name(t, std::move(n));
        case Token::End:
            throw ParseFailure{QStringLiteral("缺少操作数"), t.pos};
        default:
            throw ParseFailure{QStringLiteral("缺少操作数"), t.pos};
        }
    }

    std::unique_ptr<Node> name(const Token& t, std::unique_ptr<Node> n)
    {
        if (peek().kind == Token::Dot) {
            take();
            const Token f = take();
            if (f.kind != Token::Name)
                throw ParseFailure{QStringLiteral("缺少字段名"), f.pos};
            n->kind = Node::Field;
            n->dataSetName = t.text;
            n->name = f.text;
            return n;
        }
        const bool call = peek().kind == Token::LParen;
        std::unique_ptr<TQREvElementFunction> fn = QRFunctionLibrary().Create(t.text);
        if (!fn) {
            if (call)
                throw ParseFailure{QStringLiteral("未知的函数 %1").arg(t.text), t.pos};
            n->kind = Node::Field;
            n->name = t.text;
            return n;
        }
        n->kind = Node::Call;
        n->name = t.text.toUpper();
        n->function = std::move(fn);
        if (call) {
            take();
            if (peek().kind == Token::RParen) {
                take();
                return n;
            }
            while (true) {
                n->kids.push_back(orExpr());
                if (peek().kind == Token::Comma) {
                    take();
                    continue;
                }
                if (peek().kind == Token::RParen) {
                    take();
                    break;
                }
                throw ParseFailure{QStringLiteral("缺少逗号或右括号"), peek().pos};
            }
        }
        return n;
    }

    std::vector<Token> m_tokens;
    std::size_t m_at = 0;
};

} // namespace

std::unique_ptr<TQREvaluator::Node> parseExpression(const QString& text)
{
    return Parser(tokenize(text)).parse();
}

} // namespace qx::report
