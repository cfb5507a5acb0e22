#include "app/shell/ColorPanel.h"

#include "platform/ui/AlignLayout.h"
#include "platform/ui/Fonts.h"

#include <QPainter>

namespace qx::app {

ColorPanel::ColorPanel(QWidget* parent) : QWidget(parent)
{
    setFont(qx::libraryFont(9));
    new qx::AlignLayout(this);
    resize(185, 41);
}

ColorPanel::~ColorPanel() = default;

void ColorPanel::SetColor(TColor value)
{
    m_color = value;
    update();
}

void ColorPanel::SetCaption(const QString& value)
{
    m_caption = value;
    update();
}

void ColorPanel::SetFontColor(TColor value)
{
    m_fontColor = value;
    update();
}

void ColorPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), toQColor(m_color));
    if (!m_caption.isEmpty()) {
        p.setPen(toQColor(m_fontColor));
        p.drawText(rect(), Qt::AlignCenter, m_caption);
    }
}

} // namespace qx::app
