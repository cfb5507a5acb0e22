// Appending one character as UTF-8 to a byte buffer, for the writers that escape their text
// character by character and so cannot hand whole strings to QString::toUtf8.
#pragma once

namespace qx::office {

// Appends code point c (at most U+10FFFF, no surrogate half) to out, a QByteArray or
// std::string.
template <typename Bytes>
void appendUtf8(Bytes& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace qx::office
