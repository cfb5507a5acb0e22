#include "platform/report/QRPageFile.h"

#include "platform/report/PictureCheck.h"
#include "platform/report/ReportFonts.h"
#include "platform/report/Units.h"
#include "platform/rtl/Exceptions.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <zlib.h>

#include <cmath>
#include <cstring>

namespace qx::report {
namespace {

constexpr char kSignature[8] = {'Q', 'X', 'Q', 'R', 'P', '\x1A', 1, 0};
constexpr int kFaceOffset = 28;
constexpr int kFaceChars = 32;

quint32 crcOf(const char* data, qsizetype size)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    while (size > 0) {
        const uInt chunk = uInt(std::min<qsizetype>(size, 1 << 30));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data), chunk);
        data += chunk;
        size -= chunk;
    }
    return quint32(crc);
}

void putLe32(char* at, quint32 value)
{
    qToLittleEndian(value, at);
}

quint32 getLe32(const char* at)
{
    return qFromLittleEndian<quint32>(at);
}

quint32 micrometres(double units)
{
    const double um = std::round(units * 100.0);
    return um <= 0 ? 0u : (um >= 4294967295.0 ? 0xFFFFFFFFu : quint32(um));
}

[[noreturn]] void damaged(const QString& fileName)
{
    throw EReadError(QStringLiteral("报表文件已损坏：%1").arg(fileName));
}

} // namespace

namespace {

QByteArray header(const PageFileContent& content)
{
    QByteArray out(kPageFileHeaderSize, '\0');
    char* p = out.data();
    std::memcpy(p, kSignature, sizeof kSignature);
    putLe32(p + kPageCountOffset, quint32(content.pages.size()));
    putLe32(p + 12, micrometres(content.paperWidth));
    putLe32(p + 16, micrometres(content.paperLength));
    const QFont font = reportFont(content.font);
    putLe32(p + 20, quint32(std::max(0, font.pixelSize())));
    putLe32(p + 24, (font.bold() ? 1u : 0u) | (font.italic() ? 2u : 0u));
    const QString face = font.family().left(kFaceChars);
    for (qsizetype i = 0; i < face.size(); ++i)
        qToLittleEndian(quint16(face.at(i).unicode()), p + kFaceOffset + 2 * i);
    return out;
}

void pagePrefix(const QPicture& page, char* prefix)
{
    putLe32(prefix, quint32(page.size()));
    putLe32(prefix + 4, crcOf(page.data(), qsizetype(page.size())));
}

} // namespace

QByteArray encodePageFile(const PageFileContent& content)
{
    QByteArray out = header(content);
    for (const QPicture& page : content.pages) {
        char prefix[8];
        pagePrefix(page, prefix);
        out.append(prefix, 8);
        out.append(page.data(), qsizetype(page.size()));
    }
    return out;
}

PageFileContent decodePageFile(const QByteArray& bytes, const QString& fileName)
{
    const qsizetype size = bytes.size();
    const char* p = bytes.constData();
    if (size < kPageFileHeaderSize) {
        if (size >= qsizetype(sizeof kSignature) && std::memcmp(p, kSignature, sizeof kSignature) == 0)
            throw EReadError(QStringLiteral("报表文件不完整：%1").arg(fileName));
        throw EReadError(QStringLiteral("不是报表文件：%1").arg(fileName));
    }
    if (std::memcmp(p, kSignature, sizeof kSignature) != 0)
        throw EReadError(QStringLiteral("不是报表文件：%1").arg(fileName));

    PageFileContent content;
    const quint32 count = getLe32(p + kPageCountOffset);
    content.paperWidth = getLe32(p + 12) / 100.0;
    content.paperLength = getLe32(p + 16) / 100.0;
    QString face;
    for (int i = 0; i < kFaceChars; ++i) {
        const quint16 c = qFromLittleEndian<quint16>(p + kFaceOffset + 2 * i);
        if (c == 0)
            break;
        face += QChar(c);
    }
    QFont font = face.isEmpty() ? defaultReportFont() : QFont(face);
    const quint32 pixels = getLe32(p + 20);
    font.setPixelSize(pixels >= 1 && pixels <= 2000 ? int(pixels) : defaultReportFont().pixelSize());
    const quint32 flags = getLe32(p + 24);
    font.setBold(flags & 1u);
    font.setItalic(flags & 2u);
    content.font = font;

    // Each page takes at least its 8-byte prefix, so the count cannot exceed what is there.
    if (count > quint64(size - kPageFileHeaderSize) / 8)
        throw EReadError(QStringLiteral("报表文件不完整：%1").arg(fileName));
    content.pages.reserve(count);
    qsizetype at = kPageFileHeaderSize;
    for (quint32 i = 0; i < count; ++i) {
        if (size - at < 8)
            throw EReadError(QStringLiteral("报表文件不完整：%1").arg(fileName));
        const quint32 length = getLe32(p + at);
        const quint32 crc = getLe32(p + at + 4);
        at += 8;
        if (quint64(length) > quint64(size - at))
            throw EReadError(QStringLiteral("报表文件不完整：%1").arg(fileName));
        if (crcOf(p + at, qsizetype(length)) != crc || !checkPictureData(p + at, qsizetype(length)))
            damaged(fileName);
        QPicture page;
        page.setData(p + at, uint(length));
        content.pages.push_back(page);
        at += qsizetype(length);
    }
    if (at != size)
        damaged(fileName);
    return content;
}

void savePageFile(const QString& fileName, const PageFileContent& content)
{
    QSaveFile file(fileName);
    bool ok = file.open(QIODevice::WriteOnly);
    const QByteArray head = header(content);
    ok = ok && file.write(head) == head.size();
    for (const QPicture& page : content.pages) {
        if (!ok)
            break;
        char prefix[8];
        pagePrefix(page, prefix);
        const qint64 size = qint64(page.size());
        ok = file.write(prefix, 8) == 8 && file.write(page.data(), size) == size;
    }
    if (!ok || !file.commit()) {
        file.cancelWriting();
        throw EInOutError(QStringLiteral("无法保存报表文件：%1").arg(fileName));
    }
}

PageFileContent loadPageFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("无法打开报表文件：%1").arg(fileName));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EInOutError(QStringLiteral("无法读取报表文件：%1").arg(fileName));
    return decodePageFile(bytes, fileName);
}

} // namespace qx::report
