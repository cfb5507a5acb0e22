#include "control/uQxParser.h"

#include <QByteArray>

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>
#include <system_error>

namespace {

enum class Tok : std::uint8_t {
    Number, Name, Plus, Minus, Star, Slash, Caret, Div, Mod, Open, Close, Comma, End
};

struct Token
{
    Tok kind = Tok::End;
    int position = 0; // from 1
    int length = 0;
    double number = 0;
};

enum class Fn : std::uint8_t {
    Tan, Sin, Cos, Sinh, Cosh, ArcTan, Exp, Ln, Sqrt, Abs, Heav, Sign, Zero, Ph, Rnd, Max, Min
};

struct FunctionName
{
    const char* name;
    Fn function;
    int arguments;
};

constexpr std::array<FunctionName, 17> kFunctions{{
    {"TAN", Fn::Tan, 1},   {"SIN", Fn::Sin, 1},       {"COS", Fn::Cos, 1},
    {"SINH", Fn::Sinh, 1}, {"COSH", Fn::Cosh, 1},     {"ARCTAN", Fn::ArcTan, 1},
    {"EXP", Fn::Exp, 1},   {"LN", Fn::Ln, 1},         {"SQRT", Fn::Sqrt, 1},
    {"ABS", Fn::Abs, 1},   {"HEAV", Fn::Heav, 1},     {"SIGN", Fn::Sign, 1},
    {"ZERO", Fn::Zero, 1}, {"PH", Fn::Ph, 1},         {"RND", Fn::Rnd, 1},
    {"MAX", Fn::Max, 2},   {"MIN", Fn::Min, 2},
}};

const FunctionName* findFunction(const QByteArray& upperName)
{
    for (const FunctionName& f : kFunctions)
        if (upperName == f.name)
            return &f;
    return nullptr;
}

enum Code : std::uint8_t { Push, Negate, Add, Subtract, Multiply, Divide, IntDiv, Modulo, Power, Call };

[[noreturn]] void fail(const QString& text) { throw EParserError(text); }

[[noreturn]] void failAt(const QString& found, int position, const QString& expected = {})
{
    QString text = QStringLiteral("Error parsing expression: found %1 at character %2").arg(found).arg(position);
    if (!expected.isEmpty())
        text += QStringLiteral(", expected ") + expected;
    fail(text);
}

const QString kOperand = QStringLiteral("a number, PI, a function or '('");

// A piece of the formula as a message shows it: quoted, and cut short when it is long (a
// damaged definition may hold a number of a million digits).
QString quoted(const QString& piece)
{
    constexpr int Longest = 24;
    if (piece.size() <= Longest)
        return QLatin1Char('\'') + piece + QLatin1Char('\'');
    return QLatin1Char('\'') + piece.left(Longest) + QStringLiteral("...'");
}

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isAsciiLetter(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// The decimal magnitude of a number text ("0.004E2" gives -1), for telling an underflow from
// an overflow when the text does not fit a double.
long long magnitudeOf(const QByteArray& text)
{
    const int e = int(text.indexOf('E'));
    const QByteArray mantissa = e < 0 ? text : text.left(e);
    long long exponent = 0;
    if (e >= 0) {
        bool negative = false;
        for (int i = e + 1; i < text.size(); ++i) {
            const char c = text.at(i);
            if (c == '-')
                negative = true;
            else if (c >= '0' && c <= '9' && exponent < 1'000'000'000)
                exponent = exponent * 10 + (c - '0');
        }
        if (negative)
            exponent = -exponent;
    }
    const int dot = int(mantissa.indexOf('.'));
    const QByteArray whole = dot < 0 ? mantissa : mantissa.left(dot);
    int lead = 0;
    while (lead < whole.size() && whole.at(lead) == '0')
        ++lead;
    if (lead < whole.size())
        return exponent + (whole.size() - lead - 1);
    const QByteArray fraction = dot < 0 ? QByteArray() : mantissa.mid(dot + 1);
    int zeros = 0;
    while (zeros < fraction.size() && fraction.at(zeros) == '0')
        ++zeros;
    return exponent - zeros - 1;
}

// Splits the text into tokens, refusing deep nesting, too many tokens and unmatched brackets
// as it goes. DIV and MOD stand between operands without blanks, so after an operand a
// letter run starting with them is that operator, and PI may be directly followed by one.
std::vector<Token> tokenize(const QString& text)
{
    for (const QChar c : text)
        if (c.isSpace())
            fail(QStringLiteral("Expression has blanks"));

    std::vector<Token> tokens;
    int depth = 0;
    bool afterOperand = false;
    const int n = int(text.size());
    auto add = [&](Tok kind, int start, int length, double number = 0) {
        if (int(tokens.size()) >= TQxParser::MaxTokens)
            fail(QStringLiteral("Expression is too complex"));
        tokens.push_back(Token{kind, start + 1, length, number});
        afterOperand = kind == Tok::Number || kind == Tok::Close
                       || (kind == Tok::Name && length == 2 && text.mid(start, 2).toUpper() == u"PI");
    };
    auto startsWithOperatorWord = [&](int at) {
        const QString word = text.mid(at, 3).toUpper();
        return word == u"DIV" ? Tok::Div : word == u"MOD" ? Tok::Mod : Tok::End;
    };

    int i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (isAsciiDigit(c)) {
            const int start = i;
            while (i < n && isAsciiDigit(text.at(i)))
                ++i;
            if (i < n && text.at(i) == u'.') {
                ++i;
                if (i >= n || !isAsciiDigit(text.at(i)))
                    failAt(quoted(text.mid(start, i - start)), start + 1, QStringLiteral("digits after '.'"));
                while (i < n && isAsciiDigit(text.at(i)))
                    ++i;
            }
            if (i < n && (text.at(i) == u'E' || text.at(i) == u'e')) {
                int j = i + 1;
                if (j < n && (text.at(j) == u'+' || text.at(j) == u'-'))
                    ++j;
                if (j < n && isAsciiDigit(text.at(j))) {
                    i = j;
                    while (i < n && isAsciiDigit(text.at(i)))
                        ++i;
                }
            }
            const QByteArray literal = text.mid(start, i - start).toLatin1().toUpper();
            double value = 0;
            const auto [end, ec] = std::from_chars(literal.constData(), literal.constData() + literal.size(), value);
            if (ec == std::errc::result_out_of_range && magnitudeOf(literal) < 0)
                value = 0; // below the smallest double: as near to zero as it gets
            else if (ec != std::errc() || end != literal.constData() + literal.size() || !std::isfinite(value))
                failAt(quoted(text.mid(start, i - start)), start + 1,
                       QStringLiteral("a number within the range of numbers"));
            add(Tok::Number, start, i - start, value);
            continue;
        }
        if (isAsciiLetter(c)) {
            if (afterOperand) {
                const Tok word = startsWithOperatorWord(i);
                if (word != Tok::End) {
                    add(word, i, 3);
                    i += 3;
                    continue;
                }
            }
            int end = i;
            while (end < n && isAsciiLetter(text.at(end)))
                ++end;
            const QString run = text.mid(i, end - i).toUpper();
            if (!findFunction(run.toLatin1()) && run != u"PI" && run.startsWith(u"PI")
                && startsWithOperatorWord(i + 2) != Tok::End)
                end = i + 2; // "PIDIV2"
            add(Tok::Name, i, end - i);
            i = end;
            continue;
        }
        Tok kind;
        switch (c.unicode()) {
        case u'+': kind = Tok::Plus; break;
        case u'-': kind = Tok::Minus; break;
        case u'*': kind = Tok::Star; break;
        case u'/': kind = Tok::Slash; break;
        case u'^': kind = Tok::Caret; break;
        case u',': kind = Tok::Comma; break;
        case u'(':
            if (++depth > TQxParser::MaxNesting)
                fail(QStringLiteral("Expression contains too many nestings"));
            kind = Tok::Open;
            break;
        case u')':
            if (depth == 0)
                fail(QStringLiteral("Missing brackets in expression"));
            --depth;
            kind = Tok::Close;
            break;
        default: failAt(quoted(QString(c)), i + 1);
        }
        add(kind, i, 1);
        ++i;
    }
    if (depth != 0)
        fail(QStringLiteral("Missing brackets in expression"));
    tokens.push_back(Token{Tok::End, n + 1, 0, 0});
    return tokens;
}

} // namespace

struct TQxParser::Step
{
    Code code = Push;
    Fn function = Fn::Tan;
    int position = 0;
    double number = 0;
};

// Recursive descent over the tokens. Only a bracket opens a new level of recursion, so the
// depth stays within the nesting limit; chains of minus signs and powers are folded in loops.
class TQxParser::Compiler
{
public:
    Compiler(const QString& text, const std::vector<Token>& tokens)
        : m_text(text), m_tokens(tokens)
    {}

    std::vector<Step> run(int& stackSize)
    {
        expression();
        if (current().kind != Tok::End)
            failAt(found(), current().position, QStringLiteral("an operator"));
        stackSize = m_maxDepth;
        return std::move(m_steps);
    }

private:
    const Token& current() const { return m_tokens[m_next]; }
    bool at(Tok kind) const { return current().kind == kind; }

    QString found() const
    {
        const Token& t = current();
        if (t.kind == Tok::End)
            return QStringLiteral("the end");
        return quoted(m_text.mid(t.position - 1, t.length));
    }

    void expect(Tok kind, const QString& what)
    {
        if (!at(kind))
            failAt(found(), current().position, what);
        ++m_next;
    }

    void put(Code code, int position, Fn function = Fn::Tan, double number = 0)
    {
        // Depth of the evaluation stack after the step.
        switch (code) {
        case Push: ++m_depth; break;
        case Negate: break;
        case Call: if (function == Fn::Max || function == Fn::Min) --m_depth; break;
        default: --m_depth; break;
        }
        m_maxDepth = std::max(m_maxDepth, m_depth);
        m_steps.push_back(Step{code, function, position, number});
    }

    void expression()
    {
        term();
        while (at(Tok::Plus) || at(Tok::Minus)) {
            const Token op = current();
            ++m_next;
            term();
            put(op.kind == Tok::Plus ? Add : Subtract, op.position);
        }
    }

    void term()
    {
        unary();
        while (at(Tok::Star) || at(Tok::Slash) || at(Tok::Div) || at(Tok::Mod)) {
            const Token op = current();
            ++m_next;
            unary();
            put(op.kind == Tok::Star ? Multiply : op.kind == Tok::Slash ? Divide
                 : op.kind == Tok::Div ? IntDiv : Modulo, op.position);
        }
    }

    // Leading minus signs, then a power chain; the signs bind looser than '^'.
    void unary()
    {
        const int position = current().position;
        const int signs = minusSigns();
        powerChain();
        if (signs % 2)
            put(Negate, position);
    }

    int minusSigns()
    {
        int signs = 0;
        while (at(Tok::Minus)) {
            ++signs;
            ++m_next;
        }
        return signs;
    }

    // a ^ -b ^ c is a ^ (-(b ^ c)): the operands are pushed left to right and the powers
    // applied from the right.
    void powerChain()
    {
        primary();
        struct Pending
        {
            int position;
            int signs;
        };
        std::vector<Pending> pending;
        while (at(Tok::Caret)) {
            const int position = current().position;
            ++m_next;
            const int signs = minusSigns();
            primary();
            pending.push_back({position, signs});
        }
        for (auto it = pending.rbegin(); it != pending.rend(); ++it) {
            if (it->signs % 2)
                put(Negate, it->position);
            put(Power, it->position);
        }
    }

    void primary()
    {
        const Token t = current();
        switch (t.kind) {
        case Tok::Number:
            ++m_next;
            put(Push, t.position, Fn::Tan, t.number);
            return;
        case Tok::Open:
            ++m_next;
            expression();
            expect(Tok::Close, QStringLiteral("an operator or ')'"));
            return;
        case Tok::Name: {
            const QString name = m_text.mid(t.position - 1, t.length).toUpper();
            if (name == u"PI") {
                ++m_next;
                put(Push, t.position, Fn::Tan, std::numbers::pi);
                return;
            }
            const FunctionName* f = findFunction(name.toLatin1());
            if (!f)
                failAt(found(), t.position, kOperand);
            ++m_next;
            expect(Tok::Open, QStringLiteral("'(' after ") + name);
            expression();
            if (f->arguments == 2) {
                expect(Tok::Comma, QStringLiteral("an operator or ','"));
                expression();
            }
            expect(Tok::Close, QStringLiteral("an operator or ')'"));
            put(Call, t.position, f->function);
            return;
        }
        default: failAt(found(), t.position, kOperand);
        }
    }

    const QString& m_text;
    const std::vector<Token>& m_tokens;
    std::size_t m_next = 0;
    std::vector<Step> m_steps;
    int m_depth = 0;
    int m_maxDepth = 0;
};

TQxParser::TQxParser(QObject* Owner)
    : QObject(Owner)
    , FRandom(std::random_device{}())
{
    Compile(QString()); // an empty formula has no value until one is assigned
}

TQxParser::~TQxParser() = default;

bool TQxParser::Compile(const QString& Text)
{
    FExpression = Text;
    FProgram.clear();
    FStackSize = 0;
    try {
        const std::vector<Token> tokens = tokenize(Text);
        FProgram = Compiler(Text, tokens).run(FStackSize);
        FCompiled = true;
        FError.clear();
    } catch (const EParserError& e) {
        FCompiled = false;
        FError = e.Message();
    }
    return FCompiled;
}

void TQxParser::SetExpression(const QString& Text)
{
    if (Text != FExpression && Compile(Text))
        return;
    if (!FCompiled)
        fail(FError);
}

namespace {

const char* functionName(Fn f)
{
    for (const FunctionName& entry : kFunctions)
        if (entry.function == f)
            return entry.name;
    return "";
}

[[noreturn]] void noValue(const QString& of, int position)
{
    failAt(QStringLiteral("no finite value of ") + of, position);
}

const QString kOperatorText[] = {
    QString(), QStringLiteral("'-'"), QStringLiteral("'+'"), QStringLiteral("'-'"),
    QStringLiteral("'*'"), QStringLiteral("'/'"), QStringLiteral("DIV"), QStringLiteral("MOD"),
    QStringLiteral("'^'"), QString(),
};

// An operand of DIV or MOD truncated toward zero; it must fit a 64-bit integer.
std::int64_t wholePart(double v, int position)
{
    const double t = std::trunc(v);
    if (!(t >= -9223372036854775808.0 && t < 9223372036854775808.0))
        failAt(QStringLiteral("an operand beyond the 64-bit integers"), position);
    return std::int64_t(t);
}

} // namespace

double TQxParser::Value() const
{
    if (!FCompiled)
        fail(FError);
    std::vector<double> stack;
    stack.reserve(std::size_t(FStackSize));
    for (const Step& step : FProgram) {
        if (step.code == Push) {
            stack.push_back(step.number);
            continue;
        }
        double& top = stack.back();
        if (step.code == Negate) {
            top = -top;
            continue;
        }
        double r = 0;
        if (step.code == Call) {
            const double x = top;
            switch (step.function) {
            case Fn::Tan: r = std::tan(x); break;
            case Fn::Sin: r = std::sin(x); break;
            case Fn::Cos: r = std::cos(x); break;
            case Fn::Sinh: r = std::sinh(x); break;
            case Fn::Cosh: r = std::cosh(x); break;
            case Fn::ArcTan: r = std::atan(x); break;
            case Fn::Exp: r = std::exp(x); break;
            case Fn::Ln: r = x > 0 ? std::log(x) : std::numeric_limits<double>::quiet_NaN(); break;
            case Fn::Sqrt: r = x >= 0 ? std::sqrt(x) : std::numeric_limits<double>::quiet_NaN(); break;
            case Fn::Abs: r = std::fabs(x); break;
            case Fn::Heav: r = x >= 0 ? 1 : 0; break;
            case Fn::Sign: r = x > 0 ? 1 : x < 0 ? -1 : 0; break;
            case Fn::Zero: r = x == 0 ? 1 : 0; break;
            case Fn::Ph: {
                // Whole turns off, into (-pi, pi].
                r = std::remainder(x, 2 * std::numbers::pi);
                if (r <= -std::numbers::pi)
                    r += 2 * std::numbers::pi;
                break;
            }
            case Fn::Rnd: {
                if (x <= 0) {
                    r = 0;
                    break;
                }
                const double unit = double(FRandom() >> 11) * 0x1.0p-53; // [0, 1)
                r = unit * x;
                if (r >= x)
                    r = std::nextafter(x, 0.0);
                break;
            }
            case Fn::Max:
            case Fn::Min: {
                const double b = x;
                stack.pop_back();
                const double a = stack.back();
                r = step.function == Fn::Max ? std::max(a, b) : std::min(a, b);
                break;
            }
            }
            if (!std::isfinite(r))
                noValue(QString::fromLatin1(functionName(step.function)), step.position);
            stack.back() = r;
            continue;
        }
        const double b = top;
        stack.pop_back();
        const double a = stack.back();
        switch (step.code) {
        case Add: r = a + b; break;
        case Subtract: r = a - b; break;
        case Multiply: r = a * b; break;
        case Divide:
            if (b == 0)
                failAt(QStringLiteral("a division by zero"), step.position);
            r = a / b;
            break;
        case IntDiv:
        case Modulo: {
            const std::int64_t x = wholePart(a, step.position);
            const std::int64_t y = wholePart(b, step.position);
            if (y == 0)
                failAt(QStringLiteral("a division by zero"), step.position);
            if (y == -1) // the one quotient that leaves the 64-bit range
                r = step.code == IntDiv ? -double(x) : 0.0;
            else
                r = double(step.code == IntDiv ? x / y : x % y);
            break;
        }
        case Power: r = std::pow(a, b); break;
        default: break;
        }
        if (!std::isfinite(r))
            noValue(kOperatorText[step.code], step.position);
        stack.back() = r;
    }
    return stack.back();
}

QString FormatFormulaNumber(double Value)
{
    if (!std::isfinite(Value))
        return QString();
    if (Value == 0)
        return QStringLiteral("0");
    // 15 significant digits, rounded once, then laid out without an exponent. Next to the
    // largest double the rounding would go past it and the text would not read back, so
    // there the digits are cut instead.
    const bool cut = std::fabs(Value) > 1.79769313486231e308;
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, Value,
                                         std::chars_format::scientific, cut ? 15 : 14);
    if (ec != std::errc())
        return QString();
    const QByteArray text(buffer, int(end - buffer)); // "-1.23450000000000e+02"
    const int e = int(text.indexOf('e'));
    const bool negative = text.startsWith('-');
    QByteArray digits = text.mid(negative ? 1 : 0, e - (negative ? 1 : 0));
    digits.remove(1, 1); // the '.'
    digits.truncate(15);
    while (digits.size() > 1 && digits.endsWith('0'))
        digits.chop(1);
    const int exponent = text.mid(e + 1).toInt();

    QByteArray out;
    if (negative)
        out += '-';
    if (exponent < 0) {
        out += "0.";
        out += QByteArray(-exponent - 1, '0');
        out += digits;
    } else if (digits.size() <= exponent + 1) {
        out += digits;
        out += QByteArray(exponent + 1 - int(digits.size()), '0');
    } else {
        out += digits.left(exponent + 1);
        out += '.';
        out += digits.mid(exponent + 1);
    }
    return QString::fromLatin1(out);
}
