// The library's report expression functions (vendor "RevAzo"): money in capitals and currency
// format, dates and times read from text, text padding and measuring in GBK bytes, rounding.
//
// Each function is an element-function class of the report engine that only computes its value.
// The common rules, unless a class says otherwise:
//   - the result is an error unless the call has the right number of arguments, each of the
//     right kind ("numeric" is an integer or a float);
//   - a text that does not convert (no date, no number) leaves the error result; the functions
//     never raise;
//   - dates and times travel as text in the short date format "yyyy-mm-dd" and the long time
//     format "hh:nn:ss"; lengths count GBK bytes (a Chinese character is two);
//   - a string result keeps at most 255 GBK bytes, cut on a character boundary.
//
// Choices where the rules leave room:
//   - DAYSTRING numbers the days 1 (Sunday) to 7 (Saturday), as the table of day names does;
//     any other number is an error. MONTHSTRING takes 1 to 12; any other number is an error.
//   - INSERTSTR replaces every "%s" of the source by the inserted text.
//   - STRETCHSTR puts its spaces after each character, so a Chinese character stays whole.
//   - CALCDATE computes on real calendar dates (a day beyond the month's length still runs on
//     into the next month); a date or result outside 1900-01-01 .. 9999-12-31 is an error.
//
// registerLibraryExpressionFunctions() lists these functions with the engine's function library
// in their fixed order (a name already listed is skipped). The grid printer registers its four
// page functions first and then calls it.
#pragma once

#include "platform/report/QRFunctions.h"

#include <QString>

// Registers FunctionClass's factory under Name with the four strings in this order, unless the
// function library lists Name already; true when it was registered.
bool RegisterReportFunction(TQREvFunctionFactory Factory, const QString& Name, const QString& Description,
                            const QString& Vendor, const QString& Arguments);

template <typename FunctionClass>
bool RegisterReportFunction(const QString& Name, const QString& Description, const QString& Vendor,
                            const QString& Arguments)
{
    return RegisterReportFunction([] { return std::make_unique<FunctionClass>(); }, Name, Description, Vendor,
                                  Arguments);
}

// Registers the 27 functions below, RMBDX first and ROUND last, with the vendor "RevAzo".
void registerLibraryExpressionFunctions();

namespace qx::report {
// The vendor name of the library's functions.
inline const QString kLibraryFunctionVendor = QStringLiteral("RevAzo");
} // namespace qx::report

#define QX_REPORT_FUNCTION(Name)                                                                    \
    class Name : public TQREvElementFunction                                                        \
    {                                                                                               \
    public:                                                                                         \
        TQREvResult Calculate() override;                                                           \
    };

// ---- money ------------------------------------------------------------------------------------
QX_REPORT_FUNCTION(TQREvRmbDxFunction)       // RMBDX(F): FormatRmbCapitals of F
QX_REPORT_FUNCTION(TQREvYuanFunction)        // RMB(F): "￥#,##0.00;￥-#,##0.00"
QX_REPORT_FUNCTION(TQREvCurrencyFunction)    // CURRENCY: the currency symbol, arguments unchecked
// ---- dates and times --------------------------------------------------------------------------
QX_REPORT_FUNCTION(TQREvLongDateFunction)    // LongDate(F): 2005年03月07日; no date: "    年  月  日"
QX_REPORT_FUNCTION(TQREvLongDate1Function)   // LongDate1(F): 2005-03-07; no date: ten spaces
QX_REPORT_FUNCTION(TQREvDateDiffFunction)    // DATEDIFF(D1, D2): D2 - D1 in days, a float
QX_REPORT_FUNCTION(TQREvFormatDateTimeFunction) // FORMATDATETIME(D, F)
QX_REPORT_FUNCTION(TQREvCalcDateFunction)    // CALCDATE(DT, D, M, Y)
QX_REPORT_FUNCTION(TQREvExtractDayFunction)  // EXTRACTDAY(DATE)
QX_REPORT_FUNCTION(TQREvExtractMonthFunction) // EXTRACTMONTH(DATE)
QX_REPORT_FUNCTION(TQREvExtractYearFunction) // EXTRACTYEAR(DATE)
QX_REPORT_FUNCTION(TQREvDayOfWeekFunction)   // DAYOFWEEK(DATE): 1 Sunday .. 7 Saturday
QX_REPORT_FUNCTION(TQREvDayStringFunction)   // DAYSTRING(D): D from 1 (Sunday) to 7
QX_REPORT_FUNCTION(TQREvMonthStringFunction) // MONTHSTRING(M): M from 1 to 12
QX_REPORT_FUNCTION(TQREvCalcTimeFunction)    // CALCTIME(T, H, M, S): wraps round midnight
// ---- text -------------------------------------------------------------------------------------
QX_REPORT_FUNCTION(TQREvStrToIntFunction)    // STRTOINT(X)
QX_REPORT_FUNCTION(TQREvStrToNumFunction)    // STRTONUM(X): 0 for an empty text
QX_REPORT_FUNCTION(TQREvTrimFunction)        // TRIM(S): spaces only, tabs stay
QX_REPORT_FUNCTION(TQREvStrLenFunction)      // STRLEN(S): GBK bytes
QX_REPORT_FUNCTION(TQREvStretchStrFunction)  // STRETCHSTR(S, L)
QX_REPORT_FUNCTION(TQREvChrFunction)         // CHR(I): the character of I's low byte
QX_REPORT_FUNCTION(TQREvPadLeftFunction)     // PADLEFT(S, Len)
QX_REPORT_FUNCTION(TQREvPadRightFunction)    // PADRIGHT(S, Len)
QX_REPORT_FUNCTION(TQREvPadLeftZeroFunction) // PADLEFTZERO(S, Len)
QX_REPORT_FUNCTION(TQREvInsertStrFunction)   // INSERTSTR(Source, Insert)
// ---- numbers ----------------------------------------------------------------------------------
QX_REPORT_FUNCTION(TQREvAbsFunction)         // ABS(I): keeps the kind
QX_REPORT_FUNCTION(TQREvRoundFunction)       // ROUND(X, N): halves to even

#undef QX_REPORT_FUNCTION
