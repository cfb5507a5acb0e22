#include "platform/rtl/Gbk.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>

namespace qx {

namespace {

// iconv descriptors are not thread-safe; conversions are short, so one lock per direction.
class Converter
{
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts input; on a sequence the target cannot hold, appends `bad` and skips `skip`
    // input bytes, so the result is always complete.
    QByteArray run(const QByteArray& input, const QByteArray& bad, size_t skip)
    {
        std::lock_guard lock(m_mutex);
        QByteArray out;
        if (m_cd == reinterpret_cast<iconv_t>(-1) || input.isEmpty())
            return out;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(input.constData());
        size_t inLeft = size_t(input.size());
        char buffer[4096];
        while (inLeft > 0) {
            char* o = buffer;
            size_t oLeft = sizeof buffer;
            const size_t rc = iconv(m_cd, &in, &inLeft, &o, &oLeft);
            out.append(buffer, qsizetype(sizeof buffer - oLeft));
            if (rc == size_t(-1)) {
                if (errno == E2BIG)
                    continue;
                // EILSEQ or EINVAL (truncated input): replace and go on.
                out.append(bad);
                const size_t n = std::min(skip, inLeft);
                in += n;
                inLeft -= n;
                iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t m_cd;
    std::mutex m_mutex;
};

Converter& toGbkConverter()
{
    static Converter c("GBK", "UTF-16LE");
    return c;
}

Converter& fromGbkConverter()
{
    static Converter c("UTF-16LE", "GBK");
    return c;
}

} // namespace

QByteArray toGbk(const QString& text)
{
    const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    // A UTF-16 unit the target lacks is skipped as two bytes (a surrogate pair yields two '?').
    return toGbkConverter().run(utf16, QByteArrayLiteral("?"), 2);
}

QString fromGbk(const QByteArray& bytes)
{
    static const QByteArray replacement("\xFD\xFF", 2); // U+FFFD in UTF-16LE
    const QByteArray utf16 = fromGbkConverter().run(bytes, replacement, 1);
    return QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
}

int gbkLength(const QString& text)
{
    for (QChar c : text) {
        // Outside ASCII the written form decides: a character GBK lacks is written as one '?'.
        if (c.unicode() >= 0x80)
            return int(toGbk(text).size());
    }
    return int(text.size());
}

QByteArray gbkLeftBytes(const QByteArray& bytes, int n)
{
    if (n <= 0)
        return QByteArray();
    if (n >= bytes.size())
        return bytes;
    int i = 0;
    while (i < n) {
        const int step = isGbkLeadByte(uchar(bytes[i])) ? 2 : 1;
        if (i + step > n)
            break;
        i += step;
    }
    return bytes.left(i);
}

QString gbkLeft(const QString& text, int n)
{
    return fromGbk(gbkLeftBytes(toGbk(text), n));
}

} // namespace qx
