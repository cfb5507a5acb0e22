// TQREvResult: the value an expression or a report function gives.
//
// A result has a kind and one value: a 32-bit integer, a double, a string of at most 255 GBK
// bytes (longer texts are cut on a character boundary), a Boolean, or an error whose message
// is in strResult. isNull marks a value read from a Null field (the value itself is then 0,
// empty or false).
#pragma once

#include <QString>
#include <QtGlobal>

enum TQREvResultType { resInt, resDouble, resString, resBool, resError };

struct TQREvResult
{
    TQREvResultType Kind = resError;
    qint32 intResult = 0;
    double dblResult = 0;
    QString strResult;
    bool booResult = false;
    bool isNull = false;

    static TQREvResult Int(qint32 value);
    static TQREvResult Double(double value);
    // A whole number as an integer when it fits 32 bits, else as a double (never cut).
    static TQREvResult Number(qint64 value);
    // The text, cut at 255 GBK bytes without splitting a character.
    static TQREvResult String(const QString& value);
    static TQREvResult Bool(bool value);
    static TQREvResult Error(const QString& message);

    bool IsError() const { return Kind == resError; }
    bool IsNumeric() const { return Kind == resInt || Kind == resDouble; }
    // The numeric value (0 for other kinds).
    double AsDouble() const;
    // The value as text: integers in decimal, doubles in the general format of the run-time
    // library, Booleans "True"/"False", the string itself, an error's message.
    QString AsText() const;
    // Same kind and value (an integer and a double of the same value are equal).
    bool SameValue(const TQREvResult& other) const;
};

namespace qx::report {
// Longest strings a result keeps, in GBK bytes.
inline constexpr int kMaxResultBytes = 255;
// The head of text that fits maxBytes GBK bytes, never splitting a character.
QString cutToGbkBytes(const QString& text, int maxBytes);
} // namespace qx::report
