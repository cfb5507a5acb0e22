#include "usystem/vcl/gif/uQxGifButton.h"

#include "platform/env/ExceptionGuard.h"
#include "platform/stream/ClassRegistry.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/gif/uQxGifUtils.h"
#include "usystem/vcl/gif/uQxGifffBmp.h"

#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <climits>

namespace {

// Form files name the button by its class: the unit registers it as it is linked in.
const bool gGifButtonRegistered = [] {
    qx::registerClass<tQxGifButton>();
    return true;
}();

TMouseButton mouseButton(Qt::MouseButton b)
{
    return b == Qt::RightButton ? mbRight : b == Qt::MiddleButton ? mbMiddle : mbLeft;
}

// A scratch bitmap of size holding picture from its top-left corner: a larger picture is cut,
// a smaller one leaves the rest white.
QImage scratch(const QImage& picture, const QSize& size)
{
    if (picture.size() == size)
        return picture.convertToFormat(QImage::Format_RGB32);
    QImage out(size, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, picture);
    return out;
}

} // namespace

tQxGifButton::tQxGifButton(QWidget* parent)
    : TEffectGControl(parent), FFadeTimer(new QTimer(this))
{
    Q_UNUSED(gGifButtonRegistered);
    SetColor(clWindow);
    resize(100, 100);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    FFadeTimer->setInterval(100);
    connect(FFadeTimer, &QTimer::timeout, this, [this] { FadeTick(); });
}

tQxGifButton::~tQxGifButton() = default;

void tQxGifButton::SetUpGlyph(const QImage& value)
{
    FUpGlyph = value.copy();
    RepaintNoErase();
}

void tQxGifButton::SetDownGlyph(const QImage& value)
{
    FDownGlyph = value.copy();
    RepaintNoErase();
}

void tQxGifButton::SetActiveGlyph(const QImage& value)
{
    FActiveGlyph = value.copy();
    RepaintNoErase();
}

void tQxGifButton::SetParentFont(bool value)
{
    FParentFont = value;
    // An empty font resolves every attribute from the parent again.
    setFont(value ? QFont() : font());
}

void tQxGifButton::SetGlyphsTransparent(bool value)
{
    FGlyphsTransparent = value;
    RepaintNoErase();
}

uint tQxGifButton::Interval() const { return uint(FFadeTimer->interval()); }

void tQxGifButton::SetInterval(uint value)
{
    FFadeTimer->setInterval(int(qMin<uint>(value, uint(INT_MAX))));
}

// ---- painting ---------------------------------------------------------------------------------

void tQxGifButton::PaintEffect()
{
    if (FUpGlyph.isNull() || FActiveGlyph.isNull())
        return;
    QPainter& canvas = *BufferCanvas();
    if (FMouseInside && FMouseDown && !FDownGlyph.isNull()) {
        if (FGlyphsTransparent)
            DrawTransparent(canvas, 0, 0, CornerColor(FDownGlyph), FDownGlyph);
        else
            canvas.drawImage(0, 0, FDownGlyph);
        return;
    }
    const QSize size = FUpGlyph.size();
    TEffectBmp up(scratch(FUpGlyph, size));
    const TEffectBmp active(scratch(FActiveGlyph, size));
    up.Blend(active, FadeLevel());
    if (FGlyphsTransparent) {
        const QImage blended = up.ToImage();
        DrawTransparent(canvas, 0, 0, CornerColor(blended), blended);
    } else {
        up.Draw(canvas, 0, 0);
    }
}

// ---- fading -----------------------------------------------------------------------------------

void tQxGifButton::StartFade(bool fadeIn)
{
    FFadingIn = fadeIn;
    FFadeTimer->start();
}

void tQxGifButton::FadeTick()
{
    if (FFadingIn)
        FadeInTimer();
    else
        FadeOutTimer();
}

void tQxGifButton::FadeInTimer()
{
    if (FFadeStep >= kFadeSteps) {
        FFadeTimer->stop();
        FFadeStep = kFadeSteps;
        return;
    }
    ShowLevel(FFadeStep + 1);
}

void tQxGifButton::FadeOutTimer()
{
    if (FFadeStep > 0) {
        ShowLevel(FFadeStep - 1);
        return;
    }
    FFadeTimer->stop();
    FFadeStep = 0;
}

void tQxGifButton::ShowLevel(int step)
{
    FFadeStep = qBound(0, step, kFadeSteps);
    RepaintNoErase();
}

// ---- mouse ------------------------------------------------------------------------------------

void tQxGifButton::MouseEnter()
{
    if (FMouseInside || !isEnabled())
        return;
    FMouseInside = true;
    if (!FMouseDown || FDownGlyph.isNull())
        StartFade(true);
    else
        ShowLevel(kFadeSteps); // back over the button while pressed: the down image at once
    if (FActiveSound)
        FActiveSound->Play();
}

void tQxGifButton::MouseLeave()
{
    if (!FMouseInside)
        return;
    FMouseInside = false;
    if (FMouseDown && !FDownGlyph.isNull())
        ShowLevel(kFadeSteps);
    StartFade(false);
}

void tQxGifButton::FollowMouse(const QPoint& pos)
{
    if (rect().contains(pos))
        MouseEnter();
    else
        MouseLeave();
}

void tQxGifButton::enterEvent(QEnterEvent* event)
{
    TEffectGControl::enterEvent(event);
    qx::guard(this, [&] { MouseEnter(); });
}

void tQxGifButton::leaveEvent(QEvent* event)
{
    TEffectGControl::leaveEvent(event);
    qx::guard(this, [&] { MouseLeave(); });
}

void tQxGifButton::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && !FMouseDown) {
        FMouseDown = true;
        // A press always finds the mouse over the button, also when no enter came first.
        FMouseInside = true;
        if (!FDownGlyph.isNull()) {
            FFadeTimer->stop();
            RepaintNoErase();
        }
    }
    if (OnMouseDown)
        qx::guard(this, [&] {
            OnMouseDown(this, mouseButton(event->button()),
                        qx::shiftState(event->modifiers(), event->buttons() | event->button()),
                        pos.x(), pos.y());
        });
}

void tQxGifButton::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (FMouseDown)
        qx::guard(this, [&] { FollowMouse(pos); });
    if (OnMouseMove)
        qx::guard(this, [&] {
            OnMouseMove(this, qx::shiftState(event->modifiers(), event->buttons()), pos.x(), pos.y());
        });
}

void tQxGifButton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && FMouseDown) {
        qx::guard(this, [&] {
            // Where the release happens counts, also without a move before it.
            FollowMouse(pos);
            FMouseDown = false;
            if (!FDownGlyph.isNull() && !FFadeTimer->isActive())
                ShowLevel(FMouseInside ? kFadeSteps : 0);
            if (FMouseInside) {
                if (FClickSound)
                    FClickSound->Play();
                if (OnClick)
                    OnClick(this);
            }
        });
    }
    if (OnMouseUp)
        qx::guard(this, [&] {
            OnMouseUp(this, mouseButton(event->button()),
                      qx::shiftState(event->modifiers(), event->buttons()), pos.x(), pos.y());
        });
}

void tQxGifButton::contextMenuEvent(QContextMenuEvent* event)
{
    if (FPopupMenu && isEnabled()) {
        FPopupMenu->popup(event->globalPos());
        event->accept();
        return;
    }
    TEffectGControl::contextMenuEvent(event);
}

void tQxGifButton::changeEvent(QEvent* event)
{
    TEffectGControl::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        // A disabled button neither stays pressed nor keeps its hover.
        FMouseDown = false;
        MouseLeave();
    } else if (event->type() == QEvent::FontChange && FParentFont && testAttribute(Qt::WA_SetFont)) {
        FParentFont = false;
    }
}
