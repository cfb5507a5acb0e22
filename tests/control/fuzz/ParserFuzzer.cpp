// libFuzzer target of the formula parser. Every input, read as a formula, must end in a finite
// value or in an EParserError with one of the parser's texts; any other exception, a crash, a
// hang or an allocation beyond the fuzzer's limit is a finding. The first eight bytes, read
// as a double, must also go through FormatFormulaNumber and back to the same value within
// one unit of the fifteenth digit.
#include "control/uQxParser.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

bool knownMessage(const QString& message)
{
    return message == QLatin1String("Expression has blanks")
           || message == QLatin1String("Missing brackets in expression")
           || message == QLatin1String("Expression contains too many nestings")
           || message == QLatin1String("Expression is too complex")
           || message.startsWith(QLatin1String("Error parsing expression: found "));
}

void evaluateOnce(const QString& formula)
{
    TQxParser parser;
    parser.SeedRandom(1);
    try {
        parser.SetExpression(formula);
        if (!std::isfinite(parser.Value()))
            std::abort();
    } catch (const EParserError& e) {
        if (!knownMessage(e.Message()) || e.Message().size() > 200)
            std::abort();
    } catch (...) {
        std::abort();
    }
}

void formatOnce(double value)
{
    const QString text = FormatFormulaNumber(value);
    if (!std::isfinite(value)) {
        if (!text.isEmpty())
            std::abort();
        return;
    }
    if (text.contains(u'e') || text.contains(u'E') || text == QLatin1String("-0"))
        std::abort();
    TQxParser parser;
    try {
        parser.SetExpression(value < 0 ? QLatin1Char('(') + text + QLatin1Char(')') : text);
        if (std::fabs(parser.Value() - value) > 1e-14 * std::fabs(value))
            std::abort();
    } catch (...) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    evaluateOnce(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (size >= sizeof(double)) {
        double value;
        std::memcpy(&value, data, sizeof value);
        formatOnce(value);
    }
    return 0;
}
