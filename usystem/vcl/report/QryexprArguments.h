// Argument checks shared by the library's report functions.
#pragma once

#include "platform/report/QRFunctions.h"
#include "platform/rtl/Exceptions.h"

#include <initializer_list>

namespace qx::qryexpr {

// What an argument must be.
enum class Wants {
    Numeric,         // an integer or a float
    Integer,         // an integer
    Float,           // a float (an integer is refused)
    String,          // a string
    StringOrInteger, // a string or an integer
    Any              // any value
};

inline bool accepts(Wants wants, const TQREvResult& value)
{
    switch (wants) {
    case Wants::Numeric: return value.Kind == resInt || value.Kind == resDouble;
    case Wants::Integer: return value.Kind == resInt;
    case Wants::Float: return value.Kind == resDouble;
    case Wants::String: return value.Kind == resString;
    case Wants::StringOrInteger: return value.Kind == resString || value.Kind == resInt;
    case Wants::Any: return true;
    }
    return false;
}

// True when the call has exactly these arguments, each of its kind.
inline bool argumentsAre(const TQREvElementFunction& call, std::initializer_list<Wants> kinds)
{
    if (call.ArgCount() != int(kinds.size()))
        return false;
    int i = 0;
    for (Wants w : kinds) {
        if (!accepts(w, call.Argument(i++)))
            return false;
    }
    return true;
}

// The plain error result: the evaluator names the function that failed.
inline TQREvResult failed()
{
    return TQREvResult();
}

// Runs a computation that may meet a text that does not convert; such a failure leaves the
// plain error result.
template <typename Compute>
TQREvResult guarded(Compute&& compute)
{
    try {
        return compute();
    } catch (const Exception&) {
        return failed();
    }
}

} // namespace qx::qryexpr
