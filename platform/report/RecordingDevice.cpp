#include "platform/report/RecordingDevice.h"

#include "platform/report/QRPrinter.h"
#include "platform/report/Units.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPicture>
#include <QTextItem>

#include <cmath>

namespace qx::report {
namespace {

double tenth(double v)
{
    const double r = std::round(v * 10.0) / 10.0;
    return r == 0 ? 0.0 : r; // no "-0"
}

QString num(double v)
{
    QString s = QString::number(tenth(v), 'f', 1);
    if (s.endsWith(QLatin1String(".0")))
        s.chop(2);
    return s;
}

QRectF toUnits(const QRectF& px)
{
    return QRectF(pixelsToUnits(px.x()), pixelsToUnits(px.y()), pixelsToUnits(px.width()),
                  pixelsToUnits(px.height()));
}

class RecordingEngine : public QPaintEngine
{
public:
    explicit RecordingEngine(RecordingPaintDevice* device) : QPaintEngine(AllFeatures), m_device(device) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& state) override
    {
        const QPaintEngine::DirtyFlags flags = state.state();
        if (flags & DirtyPen)
            m_pen = state.pen();
        if (flags & DirtyBrush)
            m_brush = state.brush();
        if (flags & DirtyTransform)
            m_transform = state.transform();
    }

    void drawTextItem(const QPointF& p, const QTextItem& ti) override
    {
        RecordedItem item;
        item.kind = RecordedItem::Text;
        const QPointF topLeft = m_transform.map(QPointF(p.x(), p.y() - ti.ascent()));
        const QPointF bottomRight = m_transform.map(QPointF(p.x() + ti.width(), p.y() + ti.descent()));
        item.box = toUnits(QRectF(topLeft, bottomRight));
        item.text = ti.text();
        item.font = ti.font();
        item.penColor = m_pen.color();
        m_device->record(item);
    }

    void drawLines(const QLineF* lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            line(lines[i].p1(), lines[i].p2());
    }

    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            shape(RecordedItem::Rect, m_transform.mapRect(rects[i]));
    }

    void drawEllipse(const QRectF& r) override { shape(RecordedItem::Ellipse, m_transform.mapRect(r)); }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        if (mode == PolylineMode) {
            for (int i = 0; i + 1 < count; ++i)
                line(points[i], points[i + 1]);
            return;
        }
        QPolygonF polygon;
        for (int i = 0; i < count; ++i)
            polygon << points[i];
        shape(RecordedItem::Polygon, m_transform.map(polygon).boundingRect());
    }

    void drawPath(const QPainterPath& path) override
    {
        QRectF rect;
        if (isRectangle(path, rect))
            shape(RecordedItem::Rect, m_transform.mapRect(rect));
        else
            shape(RecordedItem::Path, m_transform.map(path).boundingRect());
    }

    void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override { image(r); }
    void drawImage(const QRectF& r, const QImage&, const QRectF&, Qt::ImageConversionFlags) override { image(r); }
    void drawTiledPixmap(const QRectF& r, const QPixmap&, const QPointF&) override { image(r); }

private:
    static bool isRectangle(const QPainterPath& path, QRectF& out)
    {
        const int n = path.elementCount();
        if (n != 4 && n != 5)
            return false;
        for (int i = 0; i < n; ++i) {
            if (path.elementAt(i).type != (i == 0 ? QPainterPath::MoveToElement : QPainterPath::LineToElement))
                return false;
        }
        const QPointF a = path.elementAt(0);
        const QPointF b = path.elementAt(1);
        const QPointF c = path.elementAt(2);
        const QPointF d = path.elementAt(3);
        if (n == 5 && QPointF(path.elementAt(4)) != a)
            return false;
        const bool horizontalFirst = a.y() == b.y() && b.x() == c.x() && c.y() == d.y() && d.x() == a.x();
        const bool verticalFirst = a.x() == b.x() && b.y() == c.y() && c.x() == d.x() && d.y() == a.y();
        if (!horizontalFirst && !verticalFirst)
            return false;
        out = QRectF(a, c).normalized();
        return true;
    }

    void fillPen(RecordedItem& item) const
    {
        item.hasPen = m_pen.style() != Qt::NoPen;
        item.penColor = m_pen.color();
        item.penWidth = m_pen.isCosmetic() ? 0.0 : pixelsToUnits(m_pen.widthF());
    }

    void line(const QPointF& a, const QPointF& b)
    {
        RecordedItem item;
        item.kind = RecordedItem::Line;
        item.box = toUnits(QRectF(m_transform.map(a), m_transform.map(b)));
        fillPen(item);
        m_device->record(item);
    }

    void shape(RecordedItem::Kind kind, const QRectF& px)
    {
        RecordedItem item;
        item.kind = kind;
        item.box = toUnits(px);
        fillPen(item);
        if (m_brush.style() != Qt::NoBrush)
            item.brushColor = m_brush.color();
        m_device->record(item);
    }

    void image(const QRectF& r)
    {
        RecordedItem item;
        item.kind = RecordedItem::Image;
        item.box = toUnits(m_transform.mapRect(r));
        item.hasPen = false;
        m_device->record(item);
    }

    RecordingPaintDevice* m_device;
    QPen m_pen;
    QBrush m_brush;
    QTransform m_transform;
};

} // namespace

QString RecordedItem::describe() const
{
    const QString at = QStringLiteral("%1,%2").arg(num(box.left()), num(box.top()));
    QString s;
    switch (kind) {
    case Text: {
        QString style;
        if (font.bold())
            style += QStringLiteral(" bold");
        if (font.italic())
            style += QStringLiteral(" italic");
        s = QStringLiteral("text %1 w=%2 h=%3 \"%4\" %5/%6%7")
                .arg(at, num(box.width()), num(box.height()), text, font.family())
                .arg(font.pixelSize())
                .arg(style);
        break;
    }
    case Line:
        s = QStringLiteral("line %1 -> %2,%3").arg(at, num(box.right()), num(box.bottom()));
        break;
    case Rect:
    case Ellipse:
    case Polygon:
    case Path:
    case Image: {
        static const char* names[] = {"text", "line", "rect", "ellipse", "polygon", "path", "image"};
        s = QStringLiteral("%1 %2 %3x%4").arg(QLatin1String(names[kind]), at, num(box.width()), num(box.height()));
        if (brushColor.isValid())
            s += QStringLiteral(" brush=%1").arg(brushColor.name());
        if (kind != Image && !hasPen)
            s += QStringLiteral(" nopen");
        break;
    }
    }
    return s;
}

RecordingPaintDevice::RecordingPaintDevice(QSizeF pageUnits)
    : m_size(pageUnits), m_engine(std::make_unique<RecordingEngine>(this))
{}

RecordingPaintDevice::~RecordingPaintDevice() = default;

QPaintEngine* RecordingPaintDevice::paintEngine() const
{
    return m_engine.get();
}

void RecordingPaintDevice::record(const RecordedItem& item)
{
    m_items.append(item);
    if (onItem)
        onItem(item);
}

QStringList RecordingPaintDevice::describe() const
{
    QStringList out;
    for (const RecordedItem& item : m_items)
        out << item.describe();
    return out;
}

QStringList RecordingPaintDevice::texts() const
{
    QStringList out;
    for (const RecordedItem& item : m_items) {
        if (item.kind == RecordedItem::Text)
            out << item.text;
    }
    return out;
}

int RecordingPaintDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return int(std::ceil(unitsToPixels(m_size.width())));
    case PdmHeight:
        return int(std::ceil(unitsToPixels(m_size.height())));
    case PdmWidthMM:
        return int(std::ceil(unitsToMm(m_size.width())));
    case PdmHeightMM:
        return int(std::ceil(unitsToMm(m_size.height())));
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return int(kPixelsPerInch);
    case PdmNumColors:
        return 0x7FFFFFFF;
    case PdmDepth:
        return 32;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    }
    return 0;
}

QList<QList<RecordedItem>> recordPages(const TQRPrinter& printer)
{
    QList<QList<RecordedItem>> out;
    for (int i = 1; i <= printer.PageCount(); ++i) {
        RecordingPaintDevice device(QSizeF(printer.PaperWidth(), printer.PaperLength()));
        QPainter painter(&device);
        TQRPrinter::PlayPage(painter, printer.Page(i));
        painter.end();
        out.append(device.items());
    }
    return out;
}

QStringList describePages(const TQRPrinter& printer)
{
    QStringList out;
    const QList<QList<RecordedItem>> pages = recordPages(printer);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        out << QStringLiteral("page %1").arg(i + 1);
        for (const RecordedItem& item : pages[i])
            out << item.describe();
    }
    return out;
}

} // namespace qx::report
