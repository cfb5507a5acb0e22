#include "usystem/vcl/gif/uQxGifVclBase.h"

#include "usystem/vcl/gif/uQxGifUtils.h"

#include <QMoveEvent>
#include <QPaintEvent>
#include <QPainter>

TEffectGControl::TEffectGControl(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, true);
}

TEffectGControl::~TEffectGControl() = default;

void TEffectGControl::SetTransparent(bool value)
{
    FTransparent = value;
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    repaint();
}

void TEffectGControl::SetColor(TColor value)
{
    if (FColor == value)
        return;
    FColor = value;
    update();
}

void TEffectGControl::RepaintNoErase()
{
    if (testAttribute(Qt::WA_OpaquePaintEvent)) {
        repaint();
        return;
    }
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    repaint();
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TEffectGControl::Paint(QPainter& painter)
{
    QImage buffer(width() + 1, height() + 1, QImage::Format_RGB32);
    if (FTransparent) {
        const QWidget* parent = parentWidget();
        buffer.fill(parent ? parent->palette().color(parent->backgroundRole())
                           : toQColor(FColor));
    } else {
        buffer.fill(toQColor(FColor));
    }
    {
        QPainter canvas(&buffer);
        canvas.setFont(font());
        if (FTransparent)
            PaintUnder(this, canvas);
        FBuffer = &buffer;
        FBufferCanvas = &canvas;
        // The members must not outlive the bitmap, also when the hook raises.
        struct Reset
        {
            TEffectGControl* self;
            ~Reset()
            {
                self->FBuffer = nullptr;
                self->FBufferCanvas = nullptr;
            }
        } reset{this};
        PaintEffect();
    }
    painter.drawImage(0, 0, buffer);
}

void TEffectGControl::PaintEffect() {}

void TEffectGControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter);
}

void TEffectGControl::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (FTransparent)
        update();
}
