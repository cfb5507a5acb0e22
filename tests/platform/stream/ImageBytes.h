// Bytes of hand-made component images: short strings, little-endian integers and a whole image
// of the test component around given property bytes.
#pragma once

#include <QByteArray>

namespace qx::test {

inline QByteArray pstr(const QByteArray& s) { return char(s.size()) + s; }

inline QByteArray le32(quint32 v)
{
    QByteArray b;
    for (int i = 0; i < 4; ++i)
        b += char((v >> (8 * i)) & 0xFF);
    return b;
}

// "TPF0", class, name, the given property bytes, end of properties, end of children.
inline QByteArray image(const QByteArray& props, const QByteArray& name = "Comp1",
                        const QByteArray& children = {})
{
    return "TPF0" + pstr("TTestComponent") + pstr(name) + props + '\0' + children + '\0';
}

} // namespace qx::test
