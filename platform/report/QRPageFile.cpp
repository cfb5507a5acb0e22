#include "platform/report/QRPageFile.h"

#include "platform/report/Checksum.h"
#include "platform/report/PictureCheck.h"
#include "platform/report/ReportFonts.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SafeSave.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace qx::report {
namespace {

constexpr char kSignature[8] = {'Q', 'X', 'Q', 'R', 'P', '\x1A', 1, 0};
constexpr int kFaceOffset = 28;
constexpr int kFaceChars = 32;

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

// The CRC and the big-endian length before a page's bytes.
void pagePrefix(const PageFileContent& content, std::size_t index, char* prefix)
{
    const QPicture& page = content.pages[index];
    const quint32 crc = content.crcs.size() == content.pages.size() ? content.crcs[index]
                                                                    : crc32c(page.data(), qsizetype(page.size()));
    putLe32(prefix, crc);
    qToBigEndian(quint32(page.size()), prefix + 4);
}

[[noreturn]] void incomplete(const QString& fileName)
{
    throw EReadError(QStringLiteral("报表文件不完整：%1").arg(fileName));
}

[[noreturn]] void damaged(const QString& fileName)
{
    throw EReadError(QStringLiteral("报表文件已损坏：%1").arg(fileName));
}

[[noreturn]] void foreign(const QString& fileName)
{
    throw EReadError(QStringLiteral("不是报表文件：%1").arg(fileName));
}

void readHeader(const char* p, PageFileContent& content)
{
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
}

} // namespace

QByteArray encodePageFile(const PageFileContent& content)
{
    QByteArray out = header(content);
    for (std::size_t i = 0; i < content.pages.size(); ++i) {
        char prefix[8];
        pagePrefix(content, i, prefix);
        out.append(prefix, 8);
        out.append(content.pages[i].data(), qsizetype(content.pages[i].size()));
    }
    return out;
}

PageFileContent readPageFile(QIODevice& device, qint64 size, const QString& fileName)
{
    char head[kPageFileHeaderSize];
    if (size < kPageFileHeaderSize) {
        const qint64 got = device.read(head, std::min<qint64>(size, qint64(sizeof kSignature)));
        if (got == qint64(sizeof kSignature) && std::memcmp(head, kSignature, sizeof kSignature) == 0)
            incomplete(fileName);
        foreign(fileName);
    }
    if (device.read(head, kPageFileHeaderSize) != kPageFileHeaderSize)
        incomplete(fileName);
    if (std::memcmp(head, kSignature, sizeof kSignature) != 0)
        foreign(fileName);

    PageFileContent content;
    readHeader(head, content);
    const quint32 count = getLe32(head + kPageCountOffset);
    qint64 left = size - kPageFileHeaderSize;
    // Each page takes at least its 8-byte prefix, so the count cannot exceed what is there.
    if (count > quint64(left) / 8)
        incomplete(fileName);
    content.pages.reserve(count);
    content.crcs.reserve(count);
    QDataStream in(&device);
    for (quint32 i = 0; i < count; ++i) {
        char crcBytes[4];
        if (left < 8 || device.read(crcBytes, 4) != 4)
            incomplete(fileName);
        const QByteArray lengthBytes = device.peek(4);
        if (lengthBytes.size() != 4)
            incomplete(fileName);
        left -= 8;
        const quint32 length = qFromBigEndian<quint32>(lengthBytes.constData());
        if (qint64(length) > left)
            incomplete(fileName);
        // The length was checked against what the file holds before the picture is read.
        QPicture page;
        in >> page;
        if (in.status() != QDataStream::Ok || page.size() != length)
            incomplete(fileName);
        left -= qint64(length);
        const quint32 crc = getLe32(crcBytes);
        if (crc32c(page.data(), qsizetype(length)) != crc || !checkPictureData(page.data(), qsizetype(length)))
            damaged(fileName);
        content.pages.push_back(page);
        content.crcs.push_back(crc);
    }
    if (left != 0)
        damaged(fileName);
    return content;
}

PageFileContent decodePageFile(const QByteArray& bytes, const QString& fileName)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readPageFile(buffer, bytes.size(), fileName);
}

void savePageFile(const QString& fileName, const PageFileContent& content)
{
    // The shared safe save: on a full disk or a folder that takes no file the old report file
    // stays whole and nothing is left beside it; the reason goes on the message's second line.
    try {
        qx::saveFile(fileName, [&](QIODevice& file) {
            file.write(header(content));
            for (std::size_t i = 0; i < content.pages.size(); ++i) {
                char prefix[8];
                pagePrefix(content, i, prefix);
                file.write(prefix, 8);
                file.write(content.pages[i].data(), qint64(content.pages[i].size()));
            }
        });
    } catch (const ESaveError& e) {
        throw EInOutError(QStringLiteral("无法保存报表文件：%1\n%2").arg(fileName, e.Reason()));
    }
}

PageFileContent loadPageFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("无法打开报表文件：%1").arg(fileName));
    return readPageFile(file, file.size(), fileName);
}

} // namespace qx::report
