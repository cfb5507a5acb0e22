#include "platform/report/QREvaluator.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/report/QRFunctions.h"
#include "platform/rtl/Exceptions.h"

#include <cmath>
#include <limits>
#include <vector>

// ---- syntax tree ------------------------------------------------------------------------

struct TQREvaluator::Node
{
    enum Kind { Literal, Field, Call, Negate, Not, Binary };
    Kind kind = Literal;
    int pos = 0; // 1-based character in the text

    TQREvResult value; // Literal

    QString dataSetName; // Field ("" for a bare name)
    QString name;        // Field or function name
    QPointer<TField> field;

    std::unique_ptr<TQREvElementFunction> function; // Call

    QString op; // Binary: + - * / = <> < > <= >= AND OR
    std::vector<std::unique_ptr<Node>> kids;
};

namespace {

using Node = TQREvaluator::Node;

QString placed(const QString& message, int pos)
{
    return QStringLiteral("%1 (第%2个字符)").arg(message).arg(pos);
}

// ---- tokens ------------------------------------------------------------------------------

struct Token
{
    enum Kind { End, Number, String, Name, Op, LParen, RParen, Comma, Dot };
    Kind kind = End;
    QString text;
    TQREvResult number;
    int pos = 0;
};

struct ParseFailure
{
    QString message;
    int pos;
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

// ---- evaluation --------------------------------------------------------------------------

TQREvResult fieldValue(const TField* f)
{
    const bool null = f->IsNull();
    TQREvResult r;
    switch (f->DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        r = TQREvResult::Int(null ? 0 : f->AsInteger());
        break;
    case ftLargeint:
        r = null ? TQREvResult::Int(0) : TQREvResult::Number(f->AsVariant().toLongLong());
        break;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        r = TQREvResult::Double(null ? 0.0 : f->AsFloat());
        break;
    case ftBoolean:
        r = TQREvResult::Bool(null ? false : f->AsBoolean());
        break;
    default:
        r = TQREvResult::String(null ? QString() : f->AsString());
        break;
    }
    r.isNull = null;
    return r;
}

class Evaluation
{
public:
    explicit Evaluation(const QList<QPointer<TDataSet>>& dataSets) : m_dataSets(dataSets) {}

    TQREvResult eval(Node& n)
    {
        switch (n.kind) {
        case Node::Literal:
            return n.value;
        case Node::Field:
            return field(n);
        case Node::Call:
            return call(n);
        case Node::Negate: {
            TQREvResult v = eval(*n.kids[0]);
            if (v.IsError())
                return v;
            if (v.Kind == resInt)
                return TQREvResult::Number(-qint64(v.intResult));
            if (v.Kind == resDouble)
                return TQREvResult::Double(-v.dblResult);
            return mismatch(QStringLiteral("-"), n.pos);
        }
        case Node::Not: {
            TQREvResult v = eval(*n.kids[0]);
            if (v.IsError())
                return v;
            if (v.Kind != resBool)
                return mismatch(QStringLiteral("NOT"), n.pos);
            return TQREvResult::Bool(!v.booResult);
        }
        case Node::Binary:
            return binary(n);
        }
        return TQREvResult();
    }

    void feed(Node& n)
    {
        for (auto& k : n.kids)
            feed(*k);
        if (n.kind == Node::Call && n.function->IsAggreg()) {
            arguments(n);
            n.function->Aggregate();
        }
    }

private:
    static TQREvResult mismatch(const QString& op, int pos)
    {
        return TQREvResult::Error(placed(QStringLiteral("运算符 %1 的操作数类型不正确").arg(op), pos));
    }

    TField* resolve(Node& n)
    {
        if (n.field)
            return n.field;
        for (const QPointer<TDataSet>& ds : m_dataSets) {
            if (!ds)
                continue;
            if (!n.dataSetName.isEmpty() && ds->objectName().compare(n.dataSetName, Qt::CaseInsensitive) != 0)
                continue;
            if (TField* f = ds->FindField(n.name)) {
                n.field = f;
                return f;
            }
            if (!n.dataSetName.isEmpty())
                break;
        }
        return nullptr;
    }

    TQREvResult field(Node& n)
    {
        TField* f = resolve(n);
        if (!f) {
            const QString full = n.dataSetName.isEmpty() ? n.name : n.dataSetName + u'.' + n.name;
            return TQREvResult::Error(placed(QStringLiteral("未知的字段或函数 %1").arg(full), n.pos));
        }
        TDataSet* ds = f->DataSet();
        if (!ds || !ds->Active())
            return TQREvResult::Error(placed(QStringLiteral("字段 %1 的数据集未打开").arg(n.name), n.pos));
        return fieldValue(f);
    }

    void arguments(Node& n)
    {
        std::vector<TQREvResult> args;
        args.reserve(n.kids.size());
        for (auto& k : n.kids)
            args.push_back(eval(*k));
        n.function->SetArguments(std::move(args));
    }

    TQREvResult call(Node& n)
    {
        TQREvElementFunction& fn = *n.function;
        if (!fn.IsAggreg()) {
            arguments(n);
            for (int i = 0; i < fn.ArgCount(); ++i) {
                const TQREvResult& a = fn.Argument(i);
                // An error inside an argument is the call's value, except for IF, whose
                // branch that is not taken may well fail.
                if (a.IsError() && n.name != QLatin1String("IF"))
                    return a;
            }
        }
        TQREvResult r = fn.Calculate();
        if (r.IsError() && r.strResult.isEmpty())
            r.strResult = placed(QStringLiteral("函数 %1 出错").arg(n.name), n.pos);
        if (r.Kind == resString)
            r = TQREvResult::String(r.strResult);
        return r;
    }

    TQREvResult binary(Node& n)
    {
        TQREvResult l = eval(*n.kids[0]);
        if (l.IsError())
            return l;
        if (n.op == QLatin1String("AND") || n.op == QLatin1String("OR")) {
            TQREvResult r = eval(*n.kids[1]);
            if (r.IsError())
                return r;
            if (l.Kind != resBool || r.Kind != resBool)
                return mismatch(n.op, n.pos);
            return TQREvResult::Bool(n.op == QLatin1String("AND") ? l.booResult && r.booResult
                                                                  : l.booResult || r.booResult);
        }
        TQREvResult r = eval(*n.kids[1]);
        if (r.IsError())
            return r;
        const QString& op = n.op;
        if (op == QLatin1String("+")) {
            if (l.Kind == resString || r.Kind == resString)
                return TQREvResult::String(l.AsText() + r.AsText());
            if (!l.IsNumeric() || !r.IsNumeric())
                return mismatch(op, n.pos);
            if (l.Kind == resInt && r.Kind == resInt)
                return TQREvResult::Number(qint64(l.intResult) + r.intResult);
            return TQREvResult::Double(l.AsDouble() + r.AsDouble());
        }
        if (op == QLatin1String("-") || op == QLatin1String("*") || op == QLatin1String("/")) {
            if (!l.IsNumeric() || !r.IsNumeric())
                return mismatch(op, n.pos);
            if (op == QLatin1String("/")) {
                if (r.AsDouble() == 0)
                    return TQREvResult::Error(placed(QStringLiteral("除数为零"), n.pos));
                return TQREvResult::Double(l.AsDouble() / r.AsDouble());
            }
            if (l.Kind == resInt && r.Kind == resInt) {
                const qint64 a = l.intResult;
                const qint64 b = r.intResult;
                return TQREvResult::Number(op == QLatin1String("-") ? a - b : a * b);
            }
            return TQREvResult::Double(op == QLatin1String("-") ? l.AsDouble() - r.AsDouble()
                                                                : l.AsDouble() * r.AsDouble());
        }
        // comparisons
        int cmp = 0;
        if (l.IsNumeric() && r.IsNumeric()) {
            const double a = l.AsDouble();
            const double b = r.AsDouble();
            cmp = a < b ? -1 : (a > b ? 1 : 0);
        } else if (l.Kind == resString && r.Kind == resString) {
            cmp = l.strResult.compare(r.strResult);
        } else if (l.Kind == resBool && r.Kind == resBool) {
            cmp = int(l.booResult) - int(r.booResult);
        } else {
            return mismatch(op, n.pos);
        }
        if (op == QLatin1String("="))
            return TQREvResult::Bool(cmp == 0);
        if (op == QLatin1String("<>"))
            return TQREvResult::Bool(cmp != 0);
        if (op == QLatin1String("<"))
            return TQREvResult::Bool(cmp < 0);
        if (op == QLatin1String(">"))
            return TQREvResult::Bool(cmp > 0);
        if (op == QLatin1String("<="))
            return TQREvResult::Bool(cmp <= 0);
        return TQREvResult::Bool(cmp >= 0);
    }

    const QList<QPointer<TDataSet>>& m_dataSets;
};

bool hasAggregate(const Node& n)
{
    if (n.kind == Node::Call && n.function->IsAggreg())
        return true;
    for (const auto& k : n.kids) {
        if (hasAggregate(*k))
            return true;
    }
    return false;
}

void resetAggregates(Node& n)
{
    for (auto& k : n.kids)
        resetAggregates(*k);
    if (n.kind == Node::Call && n.function->IsAggreg())
        n.function->Reset();
}

} // namespace

// ---- TQREvaluator ------------------------------------------------------------------------

TQREvaluator::TQREvaluator() = default;
TQREvaluator::~TQREvaluator() = default;

void TQREvaluator::Prepare(const QString& expression)
{
    Unprepare();
    m_expression = expression;
    m_prepared = true;
    try {
        m_root = Parser(tokenize(expression)).parse();
    } catch (const ParseFailure& failure) {
        m_root.reset();
        m_errorPosition = failure.pos;
        m_parseError = QStringLiteral("表达式错误: %1").arg(placed(failure.message, failure.pos));
        return;
    }
    std::vector<Node*> stack{m_root.get()};
    while (!stack.empty()) {
        Node* n = stack.back();
        stack.pop_back();
        if (n->kind == Node::Call)
            n->function->m_evaluator = this;
        for (auto& k : n->kids)
            stack.push_back(k.get());
    }
    resetAggregates(*m_root);
}

void TQREvaluator::Unprepare()
{
    m_root.reset();
    m_prepared = false;
    m_parseError.clear();
    m_errorPosition = 0;
    m_expression.clear();
}

TQREvResult TQREvaluator::Value()
{
    if (!m_prepared)
        return TQREvResult::Error(QStringLiteral("表达式未准备"));
    if (!m_root)
        return TQREvResult::Error(m_parseError);
    try {
        return Evaluation(m_dataSets).eval(*m_root);
    } catch (const Exception& e) {
        return TQREvResult::Error(e.Message());
    }
}

TQREvResult TQREvaluator::Calculate(const QString& expression)
{
    Prepare(expression);
    TQREvResult r = Value();
    Unprepare();
    return r;
}

bool TQREvaluator::IsAggreg() const
{
    return m_root && hasAggregate(*m_root);
}

void TQREvaluator::UpdateAggregates()
{
    if (!m_root)
        return;
    try {
        Evaluation(m_dataSets).feed(*m_root);
    } catch (const Exception&) {
        // A record whose fields cannot be read adds nothing; the printed value shows the rest.
    }
}

void TQREvaluator::Reset()
{
    if (m_root)
        resetAggregates(*m_root);
}
