// The exception family of the run-time library. Every error the system raises carries the
// system's own message text; the exception guard of platform/env shows that text.
#pragma once

#include <QByteArray>
#include <QString>

#include <exception>
#include <utility>

class Exception : public std::exception
{
public:
    explicit Exception(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8())
    {}

    const QString& Message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

#define QX_DECLARE_EXCEPTION(Name, Base)                                                            \
    class Name : public Base                                                                        \
    {                                                                                               \
    public:                                                                                         \
        using Base::Base;                                                                           \
    };

// A text that does not convert to the wanted type; the message names the text.
QX_DECLARE_EXCEPTION(EConvertError, Exception)
// Numeric overflow or a value out of its type's range.
QX_DECLARE_EXCEPTION(ERangeError, Exception)
// Dataset and database errors ("Field 'X' not found", "Key violation", SQLite's own texts).
QX_DECLARE_EXCEPTION(EDatabaseError, Exception)
// Settings-file errors: a read-only file, a missing folder.
QX_DECLARE_EXCEPTION(EIniFileException, Exception)
// File input and output errors.
QX_DECLARE_EXCEPTION(EInOutError, Exception)
// Component stream errors: a damaged or truncated image.
QX_DECLARE_EXCEPTION(EReadError, Exception)
QX_DECLARE_EXCEPTION(EWriteError, Exception)
// A value of the wrong class where a particular one is needed ("Invalid class typecast").
QX_DECLARE_EXCEPTION(EInvalidCast, Exception)
// An index outside a list or collection ("List index out of bounds (5)").
QX_DECLARE_EXCEPTION(EListError, Exception)
// The silent exception: aborts an action without a message.
QX_DECLARE_EXCEPTION(EAbort, Exception)

// Raises the silent exception.
[[noreturn]] inline void Abort() { throw EAbort(QStringLiteral("Operation aborted")); }
