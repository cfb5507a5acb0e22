#include "platform/template/DesignerPage.h"

#include "platform/report/Units.h"
#include "platform/template/DesignerFieldList.h"
#include "platform/template/DesignerTexts.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace qx::tpl {

DesignerPage::DesignerPage(DesignerModel& model, QWidget* parent) : QWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("DesignerPage"));
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    setPalette(p);
}

void DesignerPage::setZoom(int percent)
{
    m_zoom = std::clamp(percent, 25, 400);
    updateGeometry();
    update();
}

void DesignerPage::setCurrentBand(int band)
{
    m_currentBand = band;
    update();
}

double DesignerPage::scale() const
{
    return qx::report::unitsToPixels(1.0) * m_zoom / 100.0;
}

int DesignerPage::bandTop(int band) const
{
    const TemplateDocument& doc = m_model.document();
    double y = kOrigin + doc.page.topMargin * scale();
    for (int i = 0; i < band && i < doc.bands.size(); ++i)
        y += kCaptionHeight + doc.bands.at(i).height * scale();
    return int(std::lround(y)) + kCaptionHeight;
}

QRect DesignerPage::bandRect(int band) const
{
    const TemplatePage& page = m_model.document().page;
    const int left = kOrigin + int(std::lround(page.leftMargin * scale()));
    const int width = int(std::lround((page.width - page.leftMargin - page.rightMargin) * scale()));
    const int height = int(std::lround(m_model.document().bands.at(band).height * scale()));
    return QRect(left, bandTop(band), width, std::max(1, height));
}

QRect DesignerPage::objectRect(ObjectRef ref) const
{
    const TemplateObject* o = m_model.object(ref);
    if (!o)
        return QRect();
    const QRect b = bandRect(ref.band);
    const double s = scale();
    return QRect(b.left() + int(std::lround(o->left * s)), b.top() + int(std::lround(o->top * s)),
                 std::max(3, int(std::lround(o->width * s))), std::max(3, int(std::lround(o->height * s))));
}

int DesignerPage::bandAt(QPoint pixel, QPoint* units) const
{
    for (int i = 0; i < m_model.document().bands.size(); ++i) {
        const QRect r = bandRect(i);
        // The caption strip above a band belongs to it too.
        if (pixel.y() >= r.top() - kCaptionHeight && pixel.y() <= r.bottom() && pixel.x() >= kOrigin) {
            if (units) {
                *units = QPoint(int(std::lround((pixel.x() - r.left()) / scale())),
                                int(std::lround(std::max(0, pixel.y() - r.top()) / scale())));
            }
            return i;
        }
    }
    return -1;
}

ObjectRef DesignerPage::objectAt(QPoint pixel) const
{
    const TemplateDocument& doc = m_model.document();
    // The object drawn last (on top) wins.
    for (int b = int(doc.bands.size()) - 1; b >= 0; --b) {
        for (int k = int(doc.bands.at(b).objects.size()) - 1; k >= 0; --k) {
            if (objectRect({b, k}).adjusted(-2, -2, 2, 2).contains(pixel))
                return {b, k};
        }
    }
    return ObjectRef();
}

QSize DesignerPage::sizeHint() const
{
    const TemplateDocument& doc = m_model.document();
    int height = int(std::lround(doc.page.length * scale()));
    if (!doc.bands.isEmpty()) {
        const QRect last = bandRect(int(doc.bands.size()) - 1);
        height = std::max(height, last.bottom() - kOrigin + int(std::lround(doc.page.bottomMargin * scale())));
    }
    return QSize(int(std::lround(doc.page.width * scale())) + 2 * kOrigin, height + 2 * kOrigin);
}

void DesignerPage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const TemplateDocument& doc = m_model.document();
    const QSize size = sizeHint();
    const QRect page(kOrigin, kOrigin, size.width() - 2 * kOrigin, size.height() - 2 * kOrigin);
    p.fillRect(page, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(page.adjusted(0, 0, -1, -1));

    const double s = scale();
    paintRulers(p, page);
    for (int i = 0; i < doc.bands.size(); ++i) {
        const TemplateBand& band = doc.bands.at(i);
        const QRect r = bandRect(i);
        const QRect caption(r.left(), r.top() - kCaptionHeight, r.width(), kCaptionHeight);
        p.fillRect(caption, i == m_currentBand ? QColor(0xc8, 0xdc, 0xf0) : QColor(0xe8, 0xe8, 0xe8));
        p.setPen(Qt::darkGray);
        QString title = designer_text::bandKind(band.kind);
        if (!band.dataSet.isEmpty())
            title += QStringLiteral("：") + band.dataSet;
        p.drawText(caption.adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, title);
        // The grid, one dot per grid step.
        p.setPen(QColor(0xc0, 0xc0, 0xc0));
        const double step = DesignerModel::kGrid * s;
        if (step >= 4) {
            for (double y = r.top(); y <= r.bottom(); y += step) {
                for (double x = r.left(); x <= r.right(); x += step)
                    p.drawPoint(QPointF(x, y));
            }
        }
        p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
        p.drawLine(r.bottomLeft(), r.bottomRight());

        for (int k = 0; k < band.objects.size(); ++k) {
            const TemplateObject& o = band.objects.at(k);
            QRect orect = objectRect({i, k});
            if (m_dragging && m_model.selection().contains(ObjectRef{i, k}))
                orect.translate(m_dragNow - m_dragStart);
            p.setPen(Qt::black);
            switch (o.kind) {
            case ObjectKind::Line:
                if (o.width >= o.height)
                    p.drawLine(orect.left(), orect.center().y(), orect.right(), orect.center().y());
                else
                    p.drawLine(orect.center().x(), orect.top(), orect.center().x(), orect.bottom());
                break;
            case ObjectKind::Rectangle:
                if (o.fill != kNoFill)
                    p.fillRect(orect, QColor(o.fill & 0xff, (o.fill >> 8) & 0xff, (o.fill >> 16) & 0xff));
                p.drawRect(orect);
                break;
            default:
                if (o.fill != kNoFill)
                    p.fillRect(orect, QColor(o.fill & 0xff, (o.fill >> 8) & 0xff, (o.fill >> 16) & 0xff));
                p.setPen(Qt::lightGray);
                p.drawRect(orect);
                p.setPen(Qt::black);
                const QString shown = o.kind == ObjectKind::Field     ? QStringLiteral("[%1.%2]").arg(o.dataSet, o.field)
                                      : o.kind == ObjectKind::Picture ? designer_text::objectKind(o.kind)
                                                                      : o.text;
                p.drawText(orect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, shown);
                break;
            }
            if (m_model.selection().contains(ObjectRef{i, k})) {
                p.setPen(QPen(Qt::blue, 1, Qt::DotLine));
                p.drawRect(orect.adjusted(-1, -1, 1, 1));
            }
        }
    }
}

void DesignerPage::paintRulers(QPainter& p, const QRect& page)
{
    // Millimetre rulers along the top and the left edge of the page: a short tick every
    // millimetre (when they are far enough apart), a longer one every 5 and a number every 10.
    const double perMm = scale() * 10;
    QFont small = font();
    small.setPixelSize(8);
    p.setFont(small);
    p.fillRect(QRect(page.left(), 0, page.width(), kOrigin - 1), QColor(0xf4, 0xf4, 0xf4));
    p.fillRect(QRect(0, page.top(), kOrigin - 1, page.height()), QColor(0xf4, 0xf4, 0xf4));
    p.setPen(Qt::black);
    const int widthMm = int(page.width() / perMm);
    const int lengthMm = int(page.height() / perMm);
    for (int mm = 0; mm <= std::max(widthMm, lengthMm); ++mm) {
        const int tick = mm % 10 == 0 ? 10 : mm % 5 == 0 ? 6 : 3;
        if (tick == 3 && perMm < 3)
            continue;
        const double at = mm * perMm;
        if (mm <= widthMm) {
            const int x = page.left() + int(std::lround(at));
            p.drawLine(x, kOrigin - 1 - tick, x, kOrigin - 1);
            if (mm % 10 == 0 && mm > 0)
                p.drawText(x + 2, 8, QString::number(mm));
        }
        if (mm <= lengthMm) {
            const int y = page.top() + int(std::lround(at));
            p.drawLine(kOrigin - 1 - tick, y, kOrigin - 1, y);
            if (mm % 10 == 0 && mm > 0)
                p.drawText(1, y + 9, QString::number(mm));
        }
    }
    p.setFont(font());
}

void DesignerPage::changed()
{
    updateGeometry();
    update();
    if (onChanged)
        onChanged();
}

void DesignerPage::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    QPoint units;
    const int band = bandAt(at, &units);
    if (band >= 0)
        m_currentBand = band;
    if (m_tool && band >= 0) {
        TemplateObject o = DesignerModel::newObject(*m_tool);
        m_tool.reset();
        if (onPlacing && !onPlacing(o))
            return;
        m_model.addObject(band, std::move(o), units);
        changed();
        return;
    }
    const ObjectRef hit = objectAt(at);
    if (hit.band < 0) {
        m_model.clearSelection();
        changed();
        return;
    }
    const bool add = event->modifiers() & Qt::ControlModifier;
    if (!m_model.selection().contains(hit) || add)
        m_model.select(hit, add);
    m_dragging = true;
    m_dragStart = m_dragNow = at;
    changed();
}

bool DesignerPage::acceptsDrop(QDropEvent* event) const
{
    DraggedField field;
    return DesignerFieldList::fieldFromMime(event->mimeData(), field) && bandAt(event->position().toPoint()) >= 0;
}

void DesignerPage::dragEnterEvent(QDragEnterEvent* event)
{
    // Entering anywhere on the page is fine; the move decides band by band.
    DraggedField field;
    if (DesignerFieldList::fieldFromMime(event->mimeData(), field))
        event->acceptProposedAction();
    else
        event->ignore();
}

void DesignerPage::dragMoveEvent(QDragMoveEvent* event)
{
    if (acceptsDrop(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void DesignerPage::dropEvent(QDropEvent* event)
{
    DraggedField field;
    QPoint units;
    const int band = bandAt(event->position().toPoint(), &units);
    if (band < 0 || !DesignerFieldList::fieldFromMime(event->mimeData(), field)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    m_currentBand = band;
    m_model.addObject(band, ObjectKind::Field, units, field.dataSet, field.field);
    changed();
}

void DesignerPage::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return;
    m_dragNow = event->position().toPoint();
    update();
}

void DesignerPage::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    const QPoint delta = event->position().toPoint() - m_dragStart;
    const int dx = int(std::lround(delta.x() / scale()));
    const int dy = int(std::lround(delta.y() / scale()));
    m_model.moveSelection(dx, dy);
    changed();
}

void DesignerPage::keyPressEvent(QKeyEvent* event)
{
    const int step = DesignerModel::kGrid;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    int dx = 0, dy = 0;
    switch (event->key()) {
    case Qt::Key_Left: dx = -step; break;
    case Qt::Key_Right: dx = step; break;
    case Qt::Key_Up: dy = -step; break;
    case Qt::Key_Down: dy = step; break;
    case Qt::Key_Delete:
        m_model.deleteSelection();
        changed();
        return;
    default:
        if (ctrl && event->key() == Qt::Key_C) {
            m_model.copySelection();
        } else if (ctrl && event->key() == Qt::Key_V) {
            m_model.paste(m_currentBand);
        } else if (ctrl && event->key() == Qt::Key_Z) {
            m_model.undo();
        } else if (ctrl && event->key() == Qt::Key_Y) {
            m_model.redo();
        } else {
            QWidget::keyPressEvent(event);
            return;
        }
        changed();
        return;
    }
    if (shift)
        m_model.resizeSelection(dx, dy);
    else
        m_model.moveSelection(dx, dy);
    changed();
}

} // namespace qx::tpl
