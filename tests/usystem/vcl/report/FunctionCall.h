// Calling one report function directly with chosen arguments, and comparing results.
#pragma once

#include "platform/report/QREvResult.h"

#include <gtest/gtest.h>

#include <QString>

#include <ostream>
#include <vector>

namespace qxtest {

inline TQREvResult S(const char* text)
{
    return TQREvResult::String(QString::fromUtf8(text));
}
inline TQREvResult I(qint32 v)
{
    return TQREvResult::Int(v);
}
inline TQREvResult F(double v)
{
    return TQREvResult::Double(v);
}
inline TQREvResult B(bool v)
{
    return TQREvResult::Bool(v);
}
inline TQREvResult Err()
{
    return TQREvResult();
}

template <typename Function>
TQREvResult callFunction(std::vector<TQREvResult> args)
{
    Function f;
    f.SetArguments(std::move(args));
    return f.Calculate();
}

// One row of a function's table: the arguments and the expected result (an error result
// matches any error, whatever its message).
struct FunctionCase
{
    const char* what;
    std::vector<TQREvResult> args;
    TQREvResult expected;
};

inline std::string describe(const TQREvResult& r)
{
    static const char* kinds[] = {"int", "double", "string", "bool", "error"};
    return std::string(kinds[r.Kind]) + " '" + r.AsText().toStdString() + "'";
}

inline ::testing::AssertionResult sameResult(const TQREvResult& actual, const TQREvResult& expected)
{
    bool same = actual.Kind == expected.Kind;
    if (same) {
        switch (expected.Kind) {
        case resInt: same = actual.intResult == expected.intResult; break;
        case resDouble: same = actual.dblResult == expected.dblResult; break;
        case resString: same = actual.strResult == expected.strResult; break;
        case resBool: same = actual.booResult == expected.booResult; break;
        case resError: break;
        }
    }
    if (same)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << describe(actual) << ", expected " << describe(expected);
}

template <typename Function>
void checkTable(const std::vector<FunctionCase>& table)
{
    for (const FunctionCase& c : table)
        EXPECT_TRUE(sameResult(callFunction<Function>(c.args), c.expected)) << c.what;
}

} // namespace qxtest
