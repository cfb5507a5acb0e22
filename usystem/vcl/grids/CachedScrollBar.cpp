#include "usystem/vcl/grids/CachedScrollBar.h"

#include <QPainter>
#include <QStyleOptionSlider>

#include <algorithm>

namespace qx {

CachedScrollBar::CachedScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {}

void CachedScrollBar::paintEvent(QPaintEvent* event)
{
    // Hovered or pressed parts are drawn by the style from state this class cannot see.
    if (underMouse() || isSliderDown() || QWidget::mouseGrabber() == this) {
        ++m_styledPaints;
        QScrollBar::paintEvent(event);
        return;
    }
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    opt.subControls = QStyle::SC_All;
    opt.activeSubControls = QStyle::SC_None;
    Key key;
    key.size = size();
    key.ratio = devicePixelRatioF();
    key.state = int(opt.state);
    key.minimum = opt.minimum;
    key.maximum = opt.maximum;
    key.position = opt.sliderPosition;
    key.value = opt.sliderValue;
    key.pageStep = opt.pageStep;
    key.singleStep = opt.singleStep;
    key.orientation = int(opt.orientation);
    key.upsideDown = opt.upsideDown;
    key.direction = int(opt.direction);
    key.palette = opt.palette.cacheKey();
    key.style = style();
    auto found = std::find_if(m_kept.begin(), m_kept.end(), [&](const Kept& k) { return k.key == key; });
    if (found == m_kept.end()) {
        QImage image(size() * key.ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(key.ratio);
        image.fill(Qt::transparent);
        QPainter p(&image);
        style()->drawComplexControl(QStyle::CC_ScrollBar, &opt, &p, this);
        p.end();
        if (m_kept.size() >= kKept)
            m_kept.pop_back();
        m_kept.insert(m_kept.begin(), Kept{key, std::move(image)});
        ++m_styledPaints;
    } else {
        std::rotate(m_kept.begin(), found, found + 1);
        ++m_keptPaints;
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_kept.front().image);
}

} // namespace qx
