// The boxed text export of a ruled table: pages of framed cells placed, turned into box-drawing
// lines and written, against the peer of writing the same rows with each frame character
// swapped one for one (no junctions) through the same safe save.
#include "usystem/vcl/report/uQxAsciiExport.h"

#include "bench/support/BenchReport.h"

#include "platform/report/ReportFonts.h"
#include "platform/rtl/Gbk.h"
#include "platform/rtl/SafeSave.h"

#include <QGuiApplication>
#include <QTemporaryDir>

namespace {

constexpr int kPages = 50;
constexpr int kRows = 40;
constexpr int kColumns = 6;
constexpr double kCell = 254.0; // 72-point font: one character per 254 units

QString cellPiece(int row, int column)
{
    QString text = QStringLiteral("%1-%2 维修").arg(row).arg(column);
    text = text.leftJustified(10, u' ');
    return QStringLiteral("------------\r\n|") + text + u'|';
}

QFont benchFont()
{
    QFont f = qx::report::defaultReportFont();
    f.setPixelSize(96);
    return f;
}

void exportTable(const QString& path)
{
    TsQRAsciiExportFilter filter(path);
    filter.Start(2100, 2970 * 4, benchFont());
    for (int p = 0; p < kPages; ++p) {
        filter.NewPage();
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < kColumns; ++c)
                filter.TextOut((1 + 11 * c) * kCell / 1.7, r * kCell, benchFont(), clWhite, taLeftJustify,
                               cellPiece(r, c));
        }
        filter.TextOut(kCell / 1.7, kRows * kCell, benchFont(), clWhite, taLeftJustify, QString(67, u'-'));
        filter.EndPage();
    }
    filter.Finish();
}

void writePlain(const QString& path)
{
    qx::SafeSave out(path);
    for (int p = 0; p < kPages; ++p) {
        for (int r = 0; r < kRows; ++r) {
            QString rule;
            QString text;
            for (int c = 0; c < kColumns; ++c) {
                const QStringList lines = cellPiece(r, c).split(QStringLiteral("\r\n"));
                rule += lines.at(0).left(11);
                text += lines.at(1).left(11);
            }
            rule.replace(u'-', u'─');
            text.replace(u'|', u'│');
            out.write(qx::toGbk(rule) + "\r\n");
            out.write(qx::toGbk(text) + "\r\n");
        }
        out.write(" \r\n \r\n");
    }
    out.commit();
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString ours = dir.filePath(QStringLiteral("ours.txt"));
    const QString peer = dir.filePath(QStringLiteral("peer.txt"));
    const double oursSeconds = qxbench::timeBest([&] { exportTable(ours); }, 5);
    const double peerSeconds = qxbench::timeBest([&] { writePlain(peer); }, 5);
    qxbench::report(QStringLiteral("vclreport.ascii_export_50_pages_ms"), oursSeconds * 1000, peerSeconds * 1000, 10);
    return 0;
}
