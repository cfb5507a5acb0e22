// A paint device that records what is painted on it instead of drawing it: texts with their
// font and place, lines, rectangles, ellipses, polygons and images, all in report units
// (0.1 mm from the top left corner of the page). Tests compare layouts as this data, and the
// printer object replays stored pages through it to feed export filters.
//
// The device has the report's 96 dots per inch. Rectangles drawn as closed four-sided paths
// (as stored pages hold them) are recorded as rectangles, two-point polylines as lines.
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPaintDevice>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class TQRPrinter;

namespace qx::report {

struct RecordedItem
{
    enum Kind { Text, Line, Rect, Ellipse, Polygon, Path, Image };
    Kind kind = Text;
    // Text: the box of the text (left, top, advance width, line height). Rect, Ellipse,
    // Polygon, Path, Image: the bounding box. Line: from topLeft() to bottomRight() as drawn
    // (the box may have a negative width or height).
    QRectF box;
    QString text;
    QFont font;
    QColor penColor;     // text colour for texts
    double penWidth = 0; // report units; 0 for a cosmetic or missing pen
    bool hasPen = true;
    QColor brushColor;   // invalid when there is no brush
    // One line of text describing the item, rounded to whole tenths of a report unit:
    //   text 150,200 w=120.3 h=37 "合计" 宋体/12 bold
    //   line 100,500 -> 1900,500
    //   rect 100,500 1800x40 brush=#ffffff
    QString describe() const;
};

class RecordingPaintDevice : public QPaintDevice
{
public:
    // A page of the given size in report units (A4 portrait by default).
    explicit RecordingPaintDevice(QSizeF pageUnits = QSizeF(2100, 2970));
    ~RecordingPaintDevice() override;

    QPaintEngine* paintEngine() const override;
    const QList<RecordedItem>& items() const { return m_items; }
    // The items' descriptions, one per line.
    QStringList describe() const;
    // Only the texts, in drawing order.
    QStringList texts() const;
    void clear() { m_items.clear(); }

    // Called for each item as it is recorded.
    std::function<void(const RecordedItem&)> onItem;

    void record(const RecordedItem& item);

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSizeF m_size;
    QList<RecordedItem> m_items;
    std::unique_ptr<QPaintEngine> m_engine;
};

// Each page of a printer object replayed onto a recording device.
QList<QList<RecordedItem>> recordPages(const TQRPrinter& printer);
// The descriptions of every page, each page's lines preceded by "page N".
QStringList describePages(const TQRPrinter& printer);

} // namespace qx::report
