// The run-time library's text, number and date routines with the VCL's names and meanings.
// Nothing here depends on the machine's locale: one process-wide FormatSettings holds the
// fixed values below.
#pragma once

#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"

#include <QString>
#include <QStringList>

struct TFormatSettings
{
    QChar DecimalSeparator = u'.';
    QChar ThousandSeparator = u',';
    QChar DateSeparator = u'-';
    QChar TimeSeparator = u':';
    QString ShortDateFormat = QStringLiteral("yyyy-mm-dd");
    QString LongDateFormat = QStringLiteral("yyyy'年'm'月'd'日'");
    QString ShortTimeFormat = QStringLiteral("hh:nn");
    QString LongTimeFormat = QStringLiteral("hh:nn:ss");
    QString CurrencyString = QStringLiteral("￥");
    QString TimeAMString = QStringLiteral("上午");
    QString TimePMString = QStringLiteral("下午");
    QStringList ShortDayNames;   // index 0 = Sunday: "日" "一" ... as the Chinese calendar shows them
    QStringList LongDayNames;    // "星期日" ...
    QStringList ShortMonthNames; // "一月" ...
    QStringList LongMonthNames;  // "一月" ...
};

// The one process-wide settings object.
TFormatSettings& FormatSettings();
// Restores the fixed values (tests call this between cases).
void ResetFormatSettings();

QString FormatDateTime(const QString& format, TDateTime dt);
QString FormatFloat(const QString& format, double value);
QString FormatCurr(const QString& format, Currency value);
// 15 significant digits, no thousands separators, '.' decimal.
QString FloatToStr(double value);
QString CurrToStr(Currency value);
QString IntToStr(qint64 value);
QString DateToStr(TDateTime dt);
QString TimeToStr(TDateTime dt);
QString DateTimeToStr(TDateTime dt);

// Each raises EConvertError whose message names the text that did not convert, e.g.
// "'abc' is not a valid integer value".
int StrToInt(const QString& text);
qint64 StrToInt64(const QString& text);
int StrToIntDef(const QString& text, int def);
double StrToFloat(const QString& text);
bool TryStrToFloat(const QString& text, double& out);
Currency StrToCurr(const QString& text);
TDateTime StrToDate(const QString& text);
TDateTime StrToTime(const QString& text);
TDateTime StrToDateTime(const QString& text);
bool TryStrToDate(const QString& text, TDateTime& out);

// Halves to even, as the run-time library rounds.
qint64 Round(double value);
// Rounds to 10^digits (digits = -2 gives two decimals), halves to even.
double RoundTo(double value, int digits);

// Trim drops every character at or below ' ' at both ends.
QString Trim(const QString& text);
QString TrimLeft(const QString& text);
QString TrimRight(const QString& text);
