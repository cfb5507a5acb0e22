// The stored form of a document template: versioned JSON text (FORMAT.md describes it).
//
// Stored templates are untrusted: reading checks the type and range of every value it takes
// and the header of every picture, and ends any damaged or foreign input in ETemplateError
// with a message that says what is wrong. Nothing read is allocated beyond what the input
// holds; pictures are kept as their PNG bytes and only decoded when a report is drawn.
// Writing is deterministic: what was read from bytes this build wrote writes back the same
// bytes.
#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/template/Template.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// A template that cannot be read or rendered; the message says why and names the place.
QX_DECLARE_EXCEPTION(ETemplateError, Exception)

namespace qx::tpl {

// The largest stored template read (pictures included).
inline constexpr qsizetype kMaxTemplateBytes = 32 * 1024 * 1024;
// The largest picture decoded, in pixels a side and in all.
inline constexpr int kMaxPictureSide = 8192;
inline constexpr qint64 kMaxPicturePixels = 16 * 1024 * 1024;

QByteArray writeTemplate(const TemplateDocument& doc);
// Empty bytes read as an empty template (one page, no bands). Raises ETemplateError.
TemplateDocument readTemplate(const QByteArray& bytes);

// The file's bytes, checked: raises EInOutError when it cannot be read, ETemplateError when
// it is larger than kMaxTemplateBytes.
QByteArray readTemplateFile(const QString& fileName);
// Writes the template atomically (a temporary file beside it, renamed when whole); raises
// EInOutError and leaves an old file whole on failure.
void writeTemplateFile(const QString& fileName, const TemplateDocument& doc);

// True when png holds a PNG picture within the size limits (its header is checked, not
// its pixels); otherwise false with the reason.
bool checkPng(const QByteArray& png, QString* why = nullptr);
// The picture of png, or a null image when it is not a sound PNG within the limits.
QImage decodePng(const QByteArray& png);

} // namespace qx::tpl
