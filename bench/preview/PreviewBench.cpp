// Report files of the preview window against copying their bytes.
//
// extract: 400 pages of 60 text lines and rules each, pages 1 to 400 in two uncollated
// copies taken out of a report file into a new one (every page read, checked and written
// twice); the peer reads the file and writes its bytes twice into a new file.
// merge: five such files of 80 pages joined into one; the peer reads the five files and
// writes their bytes one after the other into a new file.
// Both sides write through a temporary file renamed into place.
#include "bench/support/BenchReport.h"
#include "platform/report/QRPrinter.h"
#include "usystem/vcl/preview/uQxRptPrev.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QSaveFile>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

void writeFile(const QString& fileName, int pages)
{
    TQRPrinter printer;
    printer.BeginDoc(2100, 2970, QFont());
    for (int p = 1; p <= pages; ++p) {
        printer.NewPage();
        QPainter* g = printer.Canvas();
        for (int line = 0; line < 60; ++line) {
            const int y = 60 + line * 17;
            g->drawText(QPointF(40, y), QStringLiteral("第%1页 第%2行 维修项目 更换屏幕 %3.00").arg(p).arg(line).arg(line * 7));
            g->drawLine(QPointF(30, y + 3), QPointF(760, y + 3));
        }
        printer.EndPage();
    }
    printer.EndDoc();
    printer.Save(fileName);
}

QByteArray readAll(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        std::abort();
    return f.readAll();
}

void writeAll(const QString& fileName, const QList<QByteArray>& parts)
{
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly))
        std::abort();
    for (const QByteArray& part : parts)
        if (f.write(part) != part.size())
            std::abort();
    if (!f.commit())
        std::abort();
}

} // namespace

int main(int argc, char** argv)
{
    qxbench::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("big.QRP"));
    writeFile(big, 400);
    QStringList parts;
    for (int i = 0; i < 5; ++i) {
        parts << dir.filePath(QStringLiteral("part%1.QRP").arg(i));
        writeFile(parts.last(), 80);
    }
    const QString out = dir.filePath(QStringLiteral("out.QRP"));

    double ours = 1e9;
    double peer = 1e9;
    for (int round = 0; round < 5; ++round) {
        ours = std::min(ours, qxbench::timeBest([&] { ExtractReportPages(big, out, 1, 400, 2, false); }, 1));
        peer = std::min(peer, qxbench::timeBest(
                                  [&] {
                                      const QByteArray bytes = readAll(big);
                                      writeAll(out, {bytes, bytes});
                                  },
                                  1));
    }
    qxbench::report(QStringLiteral("preview.extract_400_pages_2_copies_s"), ours, peer, 8.0);

    ours = peer = 1e9;
    for (int round = 0; round < 5; ++round) {
        ours = std::min(ours, qxbench::timeBest([&] { MergeReportFiles(out, &parts); }, 1));
        peer = std::min(peer, qxbench::timeBest(
                                  [&] {
                                      QList<QByteArray> all;
                                      for (const QString& part : parts)
                                          all << readAll(part);
                                      writeAll(out, all);
                                  },
                                  1));
    }
    qxbench::report(QStringLiteral("preview.merge_5_files_of_80_pages_s"), ours, peer, 8.0);
    return 0;
}
