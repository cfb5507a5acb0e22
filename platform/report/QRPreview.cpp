#include "platform/report/QRPreview.h"

#include "platform/report/QRPrinter.h"
#include "platform/ui/Colors.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPicture>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

TQRPreview::TQRPreview(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

TQRPreview::~TQRPreview() = default;

TQRPrinter* TQRPreview::QRPrinter() const
{
    return m_printer;
}

void TQRPreview::SetQRPrinter(TQRPrinter* printer)
{
    disconnect(m_pageConnection);
    disconnect(m_progressConnection);
    m_printer = printer;
    m_page = 0;
    if (printer) {
        m_pageConnection = connect(printer, &TQRPrinter::pageAvailable, this, &TQRPreview::pageArrived);
        m_progressConnection = connect(printer, &TQRPrinter::progressChanged, this, [this](int progress) {
            if (OnProgressUpdate)
                OnProgressUpdate(this, progress);
        });
        if (printer->PageCount() > 0)
            m_page = 1;
    }
    updateScrollBars();
    viewport()->update();
}

void TQRPreview::pageArrived(int page)
{
    if (m_page == 0 && page > 0) {
        m_page = 1;
        emit pageNumberChanged(m_page);
    }
    if (m_printer && m_page > m_printer->PageCount())
        SetPageNumber(m_printer->PageCount());
    updateScrollBars();
    if (page == m_page || page <= 1)
        viewport()->update();
    if (OnPageAvailable)
        OnPageAvailable(this, page);
}

void TQRPreview::SetPageNumber(int page)
{
    const int count = m_printer ? m_printer->PageCount() : 0;
    page = count == 0 ? 0 : std::clamp(page, 1, count);
    if (page == m_page)
        return;
    m_page = page;
    viewport()->update();
    emit pageNumberChanged(page);
}

void TQRPreview::SetZoom(int percent)
{
    percent = std::clamp(percent, 1, 1000);
    if (percent == m_zoom)
        return;
    m_zoom = percent;
    updateScrollBars();
    viewport()->update();
}

void TQRPreview::ZoomToWidth()
{
    if (!m_printer || m_printer->PaperWidthPixels() <= 0)
        return;
    const int room = viewport()->width() - 2 * kMargin;
    SetZoom(int(std::floor(room * 100.0 / m_printer->PaperWidthPixels())));
}

void TQRPreview::ZoomToFit()
{
    if (!m_printer || m_printer->PaperWidthPixels() <= 0 || m_printer->PaperLengthPixels() <= 0)
        return;
    const double byWidth = (viewport()->width() - 2 * kMargin) * 100.0 / m_printer->PaperWidthPixels();
    const double byHeight = (viewport()->height() - 2 * kMargin) * 100.0 / m_printer->PaperLengthPixels();
    SetZoom(int(std::floor(std::min(byWidth, byHeight))));
}

QScrollBar* TQRPreview::HorzScrollBar() const
{
    return horizontalScrollBar();
}

QScrollBar* TQRPreview::VertScrollBar() const
{
    return verticalScrollBar();
}

QSize TQRPreview::zoomedPage() const
{
    if (!m_printer)
        return QSize();
    return QSize(int(std::lround(m_printer->PaperWidthPixels() * m_zoom / 100.0)),
                 int(std::lround(m_printer->PaperLengthPixels() * m_zoom / 100.0)));
}

QRect TQRPreview::PageRect() const
{
    const QSize page = zoomedPage();
    const int room = viewport()->width() - 2 * kMargin;
    // A page narrower than the control stands in its middle.
    const int x = page.width() < room ? kMargin + (room - page.width()) / 2 : kMargin - horizontalScrollBar()->value();
    const int y = kMargin - verticalScrollBar()->value();
    return QRect(QPoint(x, y), page);
}

void TQRPreview::updateScrollBars()
{
    const QSize page = zoomedPage();
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, page.width() + 2 * kMargin - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, page.height() + 2 * kMargin - view.height()));
    verticalScrollBar()->setPageStep(view.height());
    verticalScrollBar()->setSingleStep(20);
}

void TQRPreview::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Home:
        SetPageNumber(1);
        return;
    case Qt::Key_PageUp:
        SetPageNumber(m_page - 1);
        return;
    case Qt::Key_PageDown:
        SetPageNumber(m_page + 1);
        return;
    case Qt::Key_End:
        if (m_printer)
            SetPageNumber(m_printer->PageCount());
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void TQRPreview::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TQRPreview::scrollContentsBy(int, int)
{
    viewport()->update();
}

void TQRPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), toQColor(clGray));
    if (!m_printer || m_page < 1 || m_page > m_printer->PageCount())
        return;
    const QRect page = PageRect();
    painter.fillRect(page, Qt::white);
    painter.setClipRect(page);
    painter.translate(page.topLeft());
    TQRPrinter::PlayPage(painter, m_printer->Page(m_page), m_zoom / 100.0, m_zoom / 100.0);
}
