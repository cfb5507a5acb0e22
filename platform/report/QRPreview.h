// TQRPreview: the control that shows one page of a printer object.
//
// The page is drawn at Zoom percent of its size at 100 % (pixels of the 96-dpi report
// screen), on a grey ground with a margin around it, with scroll bars when it is larger than
// the control. PageNumber runs from 1 to the printer's page count (0 while there is no page).
// While a report runs, OnPageAvailable(Sender, PageNum) tells of each new page (the control
// shows page 1 as soon as it exists) and OnProgressUpdate(Sender, Progress) of the progress.
#pragma once

#include <QAbstractScrollArea>
#include <QPointer>

#include <functional>

class QScrollBar;
class TQRPrinter;

class TQRPreview : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit TQRPreview(QWidget* parent = nullptr);
    ~TQRPreview() override;

    TQRPrinter* QRPrinter() const;
    void SetQRPrinter(TQRPrinter* printer);

    int PageNumber() const { return m_page; }
    // Clamped to 1..PageCount.
    void SetPageNumber(int page);
    int Zoom() const { return m_zoom; }
    // Clamped to 1..1000.
    void SetZoom(int percent);
    // The zoom at which the page's width, or the whole page, fits the control.
    void ZoomToWidth();
    void ZoomToFit();

    QScrollBar* HorzScrollBar() const;
    QScrollBar* VertScrollBar() const;
    // The page's rectangle in the control's viewport at the current zoom and scroll position.
    QRect PageRect() const;

    std::function<void(QObject* Sender, int PageNum)> OnPageAvailable;
    std::function<void(QObject* Sender, int Progress)> OnProgressUpdate;

    // Space around the page, in pixels.
    static constexpr int kMargin = 10;

signals:
    void pageNumberChanged(int page);

protected:
    // Home, Page Up, Page Down and End move between pages; the arrows scroll.
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QSize zoomedPage() const;
    void updateScrollBars();
    void pageArrived(int page);

    QPointer<TQRPrinter> m_printer;
    QMetaObject::Connection m_pageConnection;
    QMetaObject::Connection m_progressConnection;
    int m_page = 0;
    int m_zoom = 100;
};
