// GBK (code page 936) at the edges of the system: settings files, the input-code dictionary,
// export files. In memory every text is a QString.
#pragma once

#include <QByteArray>
#include <QString>

namespace qx {

// QString to GBK bytes. A character GBK cannot hold becomes '?'.
QByteArray toGbk(const QString& text);
// GBK bytes to QString. A byte sequence that is not GBK becomes U+FFFD, never a crash.
QString fromGbk(const QByteArray& bytes);

// True for a byte that starts a two-byte GBK character (0x81..0xFE).
constexpr bool isGbkLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// The length of text in GBK bytes (a Chinese character counts two, a character GBK lacks one).
int gbkLength(const QString& text);

// The first n bytes of GBK bytes, shortened by one when byte n would split a character.
QByteArray gbkLeftBytes(const QByteArray& bytes, int n);
// The longest head of text whose GBK form is at most n bytes, never splitting a character.
QString gbkLeft(const QString& text, int n);

} // namespace qx
