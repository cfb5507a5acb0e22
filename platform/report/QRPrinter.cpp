#include "platform/report/QRPrinter.h"

#include "platform/report/Checksum.h"
#include "platform/report/QRExport.h"
#include "platform/report/QRPageFile.h"
#include "platform/report/QuickRep.h"
#include "platform/report/RecordingDevice.h"
#include "platform/report/ReportFonts.h"
#include "platform/report/Units.h"
#include "platform/rtl/Exceptions.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPrinter>

using namespace qx::report;

TQRPrinter::TQRPrinter(QObject* parent) : QObject(parent), m_font(defaultReportFont()) {}

TQRPrinter::~TQRPrinter()
{
    if (m_painter.isActive())
        m_painter.end();
}

QPicture TQRPrinter::Page(int pageNumber) const
{
    if (pageNumber < 1 || pageNumber > PageCount())
        return QPicture();
    return m_pages[std::size_t(pageNumber - 1)];
}

int TQRPrinter::PaperWidthPixels() const
{
    return unitsToWholePixels(m_paperWidth);
}

int TQRPrinter::PaperLengthPixels() const
{
    return unitsToWholePixels(m_paperLength);
}

void TQRPrinter::SetProgress(int value)
{
    value = qBound(0, value, 100);
    if (value == m_progress)
        return;
    m_progress = value;
    emit progressChanged(value);
}

void TQRPrinter::Cancel()
{
    if (m_status == mpBusy)
        m_cancelled = true;
}

TQuickRep* TQRPrinter::ParentReport() const
{
    return m_report.data();
}

void TQRPrinter::SetParentReport(TQuickRep* report)
{
    m_report = report;
}

void TQRPrinter::setStatus(TQRPrinterStatus status)
{
    if (status == m_status)
        return;
    m_status = status;
    emit statusChanged(int(status));
}

void TQRPrinter::BeginDoc(double paperWidth, double paperLength, const QFont& font)
{
    if (m_painter.isActive())
        m_painter.end();
    m_open.reset();
    m_pages.clear();
    m_crcs.clear();
    m_paperWidth = paperWidth;
    m_paperLength = paperLength;
    m_font = reportFont(font);
    m_pageNumber = 0;
    m_cancelled = false;
    m_progress = 0;
    setStatus(mpBusy);
    emit progressChanged(0);
}

void TQRPrinter::NewPage()
{
    if (m_painter.isActive())
        EndPage();
    m_open = std::make_unique<QPicture>();
    m_open->setBoundingRect(QRect(0, 0, PaperWidthPixels(), PaperLengthPixels()));
    m_painter.begin(m_open.get());
    ++m_pageNumber;
}

void TQRPrinter::EndPage()
{
    if (!m_painter.isActive())
        return;
    m_painter.end();
    m_open->setBoundingRect(QRect(0, 0, PaperWidthPixels(), PaperLengthPixels()));
    keepPage(*m_open);
    m_open.reset();
    emit pageAvailable(PageCount());
    QCoreApplication::processEvents();
}

void TQRPrinter::keepPage(const QPicture& page)
{
    m_pages.push_back(page);
    m_crcs.push_back(qx::report::crc32c(page.data(), qsizetype(page.size())));
}

void TQRPrinter::EndDoc(bool aborted)
{
    if (aborted) {
        if (m_painter.isActive()) {
            m_painter.end();
            keepPage(*m_open);
            m_open.reset();
        }
        m_pageNumber = PageCount();
        m_status = mpFinished;
        return;
    }
    if (m_painter.isActive())
        EndPage();
    m_pageNumber = PageCount();
    setStatus(mpFinished);
    if (!m_cancelled)
        SetProgress(100);
    // The last page is announced again, now that production is over.
    emit pageAvailable(PageCount());
}

QPainter* TQRPrinter::Canvas()
{
    return m_painter.isActive() ? &m_painter : nullptr;
}

void TQRPrinter::PlayPage(QPainter& painter, const QPicture& page, double scaleX, double scaleY)
{
    const QPaintDevice* device = painter.device();
    const double fx = device && device->logicalDpiX() > 0 ? double(page.logicalDpiX()) / device->logicalDpiX() : 1.0;
    const double fy = device && device->logicalDpiY() > 0 ? double(page.logicalDpiY()) / device->logicalDpiY() : 1.0;
    painter.save();
    painter.scale(scaleX * fx, scaleY * fy);
    painter.drawPicture(0, 0, page);
    painter.restore();
}

double TQRPrinter::XPos(double units)
{
    return unitsToPixels(units);
}

double TQRPrinter::YPos(double units)
{
    return unitsToPixels(units);
}

void TQRPrinter::SetCanvasFont(const QFont& font)
{
    if (m_painter.isActive() && !(m_painter.font() == font))
        m_painter.setFont(font);
}

void TQRPrinter::SetCanvasPen(const QPen& pen)
{
    if (m_painter.isActive() && m_painter.pen() != pen)
        m_painter.setPen(pen);
}

void TQRPrinter::SetCanvasTextColor(const QColor& color)
{
    if (!m_painter.isActive())
        return;
    const QPen& current = m_painter.pen();
    if (current.style() != Qt::NoPen && current.brush().style() == Qt::SolidPattern
        && current.brush().transform().isIdentity() && current.color() == color)
        return;
    m_painter.setPen(QPen(color));
}

void TQRPrinter::SetCanvasBrush(const QBrush& brush)
{
    if (m_painter.isActive() && m_painter.brush() != brush)
        m_painter.setBrush(brush);
}

void TQRPrinter::Save(const QString& fileName) const
{
    PageFileContent content;
    content.pages = m_pages;
    content.crcs = m_crcs;
    content.paperWidth = m_paperWidth;
    content.paperLength = m_paperLength;
    content.font = m_font;
    savePageFile(fileName, content);
}

void TQRPrinter::Load(const QString& fileName)
{
    PageFileContent content = loadPageFile(fileName);
    if (m_painter.isActive())
        m_painter.end();
    m_open.reset();
    m_pages = std::move(content.pages);
    m_crcs = std::move(content.crcs);
    m_paperWidth = content.paperWidth;
    m_paperLength = content.paperLength;
    m_font = content.font;
    m_report.clear();
    m_pageNumber = PageCount();
    m_cancelled = false;
    setStatus(mpFinished);
    m_progress = 100;
    emit progressChanged(100);
    emit pageAvailable(PageCount());
}

void TQRPrinter::Print(QPrinter& target, int fromPage, int toPage, int copies) const
{
    if (toPage <= 0 || toPage > PageCount())
        toPage = PageCount();
    fromPage = std::max(1, fromPage);
    copies = std::max(1, copies);
    if (fromPage > toPage)
        return;

    const bool landscape = m_paperWidth > m_paperLength;
    const QSizeF portraitMm(unitsToMm(landscape ? m_paperLength : m_paperWidth),
                            unitsToMm(landscape ? m_paperWidth : m_paperLength));
    target.setFullPage(true);
    target.setPageLayout(QPageLayout(QPageSize(portraitMm, QPageSize::Millimeter),
                                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
    target.setDocName(m_title);
    int rounds = copies;
    target.setCopyCount(copies);
    if (copies > 1 && target.supportsMultipleCopies() && target.copyCount() == copies)
        rounds = 1;
    else
        target.setCopyCount(1);

    QPainter painter;
    if (!painter.begin(&target))
        throw Exception(QStringLiteral("打印机无法开始打印"));
    const double scaleX = target.logicalDpiX() / kPixelsPerInch;
    const double scaleY = target.logicalDpiY() / kPixelsPerInch;
    bool first = true;
    for (int round = 0; round < rounds; ++round) {
        for (int page = fromPage; page <= toPage; ++page) {
            if (!first && !target.newPage()) {
                painter.end();
                throw Exception(QStringLiteral("打印机无法开始新的一页"));
            }
            first = false;
            PlayPage(painter, m_pages[std::size_t(page - 1)], scaleX, scaleY);
        }
    }
    if (!painter.end())
        throw Exception(QStringLiteral("打印未能完成"));
}

void TQRPrinter::ExportToFilter(TQRExportFilter& filter) const
{
    filter.Start(m_paperWidth, m_paperLength, m_font);
    for (const QPicture& page : m_pages) {
        filter.NewPage();
        RecordingPaintDevice device(QSizeF(m_paperWidth, m_paperLength));
        device.onItem = [&filter](const RecordedItem& item) {
            if (item.kind == RecordedItem::Text)
                filter.TextOut(item.box.left(), item.box.top(), item.font, clWhite, taLeftJustify, item.text);
        };
        QPainter painter(&device);
        PlayPage(painter, page);
        painter.end();
        filter.EndPage();
    }
    filter.Finish();
}

void TQRPrinter::ClosePreview(QWidget*)
{
    emit previewClosed();
}
