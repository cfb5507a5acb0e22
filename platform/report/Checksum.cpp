#include "platform/report/Checksum.h"

#include <array>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <nmmintrin.h>
#define QX_CRC32C_HARDWARE 1
#endif

namespace qx::report {
namespace {

constexpr quint32 kPolynomial = 0x82F63B78u; // CRC-32C, reflected

constexpr std::array<quint32, 256> makeTable()
{
    std::array<quint32, 256> table{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1u) ? (c >> 1) ^ kPolynomial : c >> 1;
        table[i] = c;
    }
    return table;
}

constexpr std::array<quint32, 256> kTable = makeTable();

quint32 software(quint32 crc, const unsigned char* p, qsizetype n)
{
    while (n-- > 0)
        crc = kTable[(crc ^ *p++) & 0xFFu] ^ (crc >> 8);
    return crc;
}

#ifdef QX_CRC32C_HARDWARE
__attribute__((target("sse4.2"))) quint32 hardware(quint32 crc, const unsigned char* p, qsizetype n)
{
    quint64 c = crc;
    while (n >= 8) {
        quint64 word;
        std::memcpy(&word, p, 8);
        c = _mm_crc32_u64(c, word);
        p += 8;
        n -= 8;
    }
    quint32 c32 = quint32(c);
    while (n-- > 0)
        c32 = _mm_crc32_u8(c32, *p++);
    return c32;
}

bool hasHardware()
{
    static const bool has = __builtin_cpu_supports("sse4.2");
    return has;
}
#endif

} // namespace

quint32 crc32c(const char* data, qsizetype size)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    quint32 crc = 0xFFFFFFFFu;
#ifdef QX_CRC32C_HARDWARE
    if (hasHardware())
        return ~hardware(crc, p, size);
#endif
    return ~software(crc, p, size);
}

} // namespace qx::report
