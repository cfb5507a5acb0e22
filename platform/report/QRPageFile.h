// The page file of the report engine (extension QRP).
//
// Layout, all numbers little-endian:
//   0    8   signature "QXQRP\x1A" + format 1 (16 bits)
//   8    4   page count (32 bits)
//   12   4   paper width in micrometres
//   16   4   paper length in micrometres
//   20   4   pixel size of the report's font
//   24   4   flags of the report's font (1 bold, 2 italic)
//   28   64  face of the report's font, UTF-16, zero-padded (32 characters at most)
//   92   36  zero
//   128      the pages, each: the CRC-32C of the page picture (32 bits), then the picture as
//            QDataStream writes one (its length, 32 bits big-endian, and its bytes, see
//            PictureCheck.h), so that it is read in one piece without another copy
//
// A file is untrusted input: reading checks every length against the bytes there, every CRC
// and every picture, and ends in a clear error for a short, damaged or foreign file; it never
// allocates more than the file's own size.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QFont>
#include <QPicture>
#include <QString>

#include <vector>

namespace qx::report {

inline constexpr int kPageFileHeaderSize = 128;
inline constexpr int kPageCountOffset = 8;

struct PageFileContent
{
    std::vector<QPicture> pages;
    // The CRC-32C of each page, when known (the printer object keeps them as pages are made);
    // empty: computed while saving.
    std::vector<quint32> crcs;
    double paperWidth = 0;  // report units (0.1 mm)
    double paperLength = 0; // report units
    QFont font;
};

// The whole file as bytes.
QByteArray encodePageFile(const PageFileContent& content);
// Reads a file's bytes; raises EReadError with a message naming fileName when they are
// short, damaged or not a page file.
PageFileContent decodePageFile(const QByteArray& bytes, const QString& fileName);
// The same from an open device holding size bytes from its current position (read page by
// page, so no buffer is larger than one page).
PageFileContent readPageFile(QIODevice& device, qint64 size, const QString& fileName);

// Writes the file atomically (a temporary file beside it, then renamed); raises EInOutError.
void savePageFile(const QString& fileName, const PageFileContent& content);
// Raises EInOutError when the file cannot be read, EReadError when it is not whole.
PageFileContent loadPageFile(const QString& fileName);

} // namespace qx::report
