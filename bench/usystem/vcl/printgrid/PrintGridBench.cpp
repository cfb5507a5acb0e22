// The grid printer against drawing by hand.
//
// prepare: the preview pages of a data grid over 20,000 rows of 12 columns, printed through
// TQxPrintGrid (flowing layout, two span parts): the report is built, its pages made, and the
// report thrown away again, as a preview does. The peer draws the same cell texts, titles and
// rules straight into QPictures with QPainter, part after part, with as many rows per page as
// our pages hold.
#include "bench/support/BenchReport.h"
#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/QuickRep.h"
#include "platform/report/ReportFonts.h"
#include "platform/report/Units.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/printgrid/uQxPrintGrid.h"
#include "usystem/vcl/printgrid/uQxPrintGridFunctions.h"
#include "usystem/vcl/printgrid/uQxPrintGridState.h"

#include <QApplication>
#include <QPainter>
#include <QPicture>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace qx::report;

namespace {

constexpr int kRecords = 20000;
constexpr int kColumns = 12;
constexpr int kColumnWidth = 100; // six columns fit the A4 portrait page: two span parts

struct BenchGrid
{
    QWidget window;
    TQxMemTable* table = nullptr;
    TQxDBGrid* grid = nullptr;
};

void fillGrid(BenchGrid& g)
{
    g.table = new TQxMemTable(&g.window);
    g.table->setObjectName(QStringLiteral("Data"));
    for (int c = 0; c < kColumns; ++c) {
        if (c % 2 == 0)
            g.table->FieldDefs()->Add(QStringLiteral("F%1").arg(c), ftString, 20);
        else
            g.table->FieldDefs()->Add(QStringLiteral("F%1").arg(c), ftInteger);
    }
    g.table->Open();
    for (int r = 0; r < kRecords; ++r) {
        g.table->Append();
        for (int c = 0; c < kColumns; ++c) {
            TField* field = g.table->Fields()->Fields(c);
            if (c % 2 == 0)
                field->SetAsString(QStringLiteral("项目%1-%2").arg(r).arg(c));
            else
                field->SetAsInteger(r * 10 + c);
        }
        g.table->Post();
    }
    g.table->First();
    auto* source = new TDataSource(&g.window);
    source->SetDataSet(g.table);
    g.grid = new TQxDBGrid(&g.window);
    g.grid->SetDataSource(source);
    for (int c = 0; c < kColumns; ++c) {
        TQxColumn* column = g.grid->Columns()->Add();
        column->SetFieldName(QStringLiteral("F%1").arg(c));
        column->Title()->SetCaption(QStringLiteral("列%1").arg(c));
        column->SetWidth(kColumnWidth);
    }
}

// The same table by hand: page title, column titles and framed cells, part after part.
std::vector<QPicture> drawByHand(TDataSet& data, int rowsPerPage)
{
    const QFont font = defaultReportFont();
    const QFont titleFont = reportFont(QFont(font.family(), 12));
    const double left = unitsToPixels(150);
    const double top = unitsToPixels(200);
    const double pageWidth = unitsToPixels(2100) - 2 * unitsToPixels(150);
    const QRect bounds(0, 0, unitsToWholePixels(2100), unitsToWholePixels(2970));
    const double lineHeight = textHeightPixels(font);
    const double rowHeight = std::round(1.5 * lineHeight);
    const int flags = Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine;
    const QPen rule(QBrush(Qt::black), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    const int perPart = int(pageWidth) / kColumnWidth;
    const double cellWidth = std::floor(kColumnWidth * (pageWidth / (perPart * kColumnWidth)));

    std::vector<QPicture> pages;
    QPicture picture;
    QPainter painter;
    int pageNumber = 0;
    double y = 0;
    auto cell = [&](double x, double w, const QString& text) {
        const QRectF r(x, y, w, rowHeight);
        painter.setPen(rule);
        painter.drawRect(r);
        painter.drawText(r.adjusted(2, 0, -2, 0), flags, text);
    };
    for (int first = 0; first < kColumns; first += perPart) {
        const int last = std::min(kColumns, first + perPart);
        auto startPage = [&] {
            picture = QPicture();
            painter.begin(&picture);
            ++pageNumber;
            painter.setFont(titleFont);
            painter.drawText(QRectF(left, top, pageWidth, 24), Qt::AlignHCenter | Qt::TextSingleLine,
                             QStringLiteral("配件清单"));
            y = top + 30;
            painter.setFont(font);
            for (int c = first; c < last; ++c)
                cell(left + (c - first) * cellWidth, cellWidth, QStringLiteral("列%1").arg(c));
            y += rowHeight;
        };
        auto endPage = [&] {
            painter.drawText(QRectF(left, y + 4, 200, lineHeight), flags, QStringLiteral("第 %1 页").arg(pageNumber));
            painter.end();
            picture.setBoundingRect(bounds);
            pages.push_back(picture);
        };
        startPage();
        int onPage = 0;
        data.First();
        while (!data.Eof()) {
            if (onPage == rowsPerPage) {
                endPage();
                startPage();
                onPage = 0;
            }
            for (int c = first; c < last; ++c)
                cell(left + (c - first) * cellWidth, cellWidth, data.Fields()->Fields(c)->DisplayText());
            y += rowHeight;
            ++onPage;
            data.Next();
        }
        endPage();
    }
    return pages;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerLibraryReportFunctions();
    BenchGrid g;
    fillGrid(g);

    TQxPrintGrid printer;
    printer.SetDBGrid(g.grid);
    printer.SetPageTitle1(QStringLiteral("配件清单"));
    printer.SetAutoPageVertToHorz(false);

    int ourPages = 0;
    int spanParts = 0;
    qint64 ourBytes = 0;
    std::vector<QPicture> peerPages;
    double ours = 1e9;
    double peer = 1e9;
    for (int round = 0; round < 3; ++round) {
        ours = std::min(ours, qxbench::timeBest(
                                  [&] {
                                      printer.SetReportPrepared(true);
                                      printer.Report()->Prepare();
                                      ourPages = printer.Report()->QRPrinter()->PageCount();
                                      spanParts = gridPrintState().SpanCount + 1;
                                      ourBytes = 0;
                                      for (const QPicture& page : printer.Report()->QRPrinter()->Pages())
                                          ourBytes += page.size();
                                      printer.SetReportPrepared(false);
                                      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                                  },
                                  1));
        const int pagesPerPart = std::max(1, ourPages / std::max(1, spanParts));
        const int rowsPerPage = (kRecords + pagesPerPart - 1) / pagesPerPart;
        peer = std::min(peer, qxbench::timeBest([&] { peerPages = drawByHand(*g.table, rowsPerPage); }, 1));
    }
    qint64 peerBytes = 0;
    for (const QPicture& page : peerPages)
        peerBytes += page.size();
    std::printf("span parts %d; pages: ours %d, by hand %d; picture bytes: ours %lld, by hand %lld\n", spanParts,
                ourPages, int(peerPages.size()), static_cast<long long>(ourBytes), static_cast<long long>(peerBytes));
    if (spanParts != 2 || ourPages == 0)
        return 1;
    qxbench::report(QStringLiteral("printgrid.prepare_20000x12"), ours, peer, 2.5);
    return 0;
}
