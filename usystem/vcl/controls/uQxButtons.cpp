#include "usystem/vcl/controls/uQxButtons.h"

#include "platform/env/ExceptionGuard.h"
#include "platform/ui/DrawText.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/Popup.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

namespace {

// One-pixel frame: upper colour on top and left, lower colour on bottom and right (taking
// the two far corners).
void frame(QPainter& p, const QRect& r, TColor upper, TColor lower)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), toQColor(upper));
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), toQColor(upper));
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), toQColor(lower));
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), toQColor(lower));
}

void raised(QPainter& p, const QRect& r) { frame(p, r, clBtnHighlight, clBtnShadow); }
void sunken(QPainter& p, const QRect& r) { frame(p, r, clBtnShadow, clBtnHighlight); }

TMouseButton mouseButton(Qt::MouseButton b)
{
    return b == Qt::RightButton ? mbRight : b == Qt::MiddleButton ? mbMiddle : mbLeft;
}

} // namespace

TQxCustomButton::TQxCustomButton(QWidget* parent) : QWidget(parent)
{
    setFont(qx::libraryFont(9));
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    resize(32, 22);
}

void TQxCustomButton::SetCaption(const QString& value)
{
    if (FCaption != value) {
        FCaption = value;
        update();
    }
}

void TQxCustomButton::SetColor(TColor value)
{
    if (FColor != value) {
        FColor = value;
        update();
    }
}

void TQxCustomButton::SetFontColor(TColor value)
{
    if (FFontColor != value) {
        FFontColor = value;
        update();
    }
}

void TQxCustomButton::SetGlyph(const QImage& value)
{
    FGlyph = value;
    update();
}

void TQxCustomButton::SetButtonStyle(TQxButtonStyle value)
{
    FButtonStyle = value;
    FArrowWidth = value == sbsNormal ? 0 : 9;
    update();
}

void TQxCustomButton::SetLayout(TKyLayOut value)
{
    if (FLayout != value) {
        FLayout = value;
        update();
    }
}

void TQxCustomButton::SetDesigning(bool value)
{
    FDesigning = value;
    update();
}

// ---- mouse -----------------------------------------------------------------------------------

void TQxCustomButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (isEnabled()) {
        FHot = true;
        update();
    }
}

void TQxCustomButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    FHot = false;
    update();
}

void TQxCustomButton::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && isEnabled()) {
        FPressed = true;
        FPressedInCaption = FButtonStyle != sbsButtonMenu && pos.x() < width() - FArrowWidth;
        // A press always finds the mouse over the button, also when no enter came first.
        FHot = true;
        update();
    }
    if (OnMouseDown)
        qx::guard(this, [&] {
            OnMouseDown(this, mouseButton(event->button()),
                        qx::shiftState(event->modifiers(), event->buttons() | event->button()),
                        pos.x(), pos.y());
        });
}

void TQxCustomButton::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    // While the button is held the mouse is captured: hot follows whether it is inside.
    if (FPressed) {
        const bool inside = rect().contains(pos);
        if (inside != FHot) {
            FHot = inside;
            update();
        }
    }
    if (OnMouseMove)
        qx::guard(this, [&] {
            OnMouseMove(this, qx::shiftState(event->modifiers(), event->buttons()), pos.x(), pos.y());
        });
}

void TQxCustomButton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && FPressed) {
        // The platform clicks first (the press is still known), then handles the release.
        if (rect().contains(pos))
            Click();
        if (isEnabled()) {
            FPressed = false;
            if (FHot && !FPressedInCaption)
                DropMenu();
            update();
        }
    }
    if (OnMouseUp)
        qx::guard(this, [&] {
            OnMouseUp(this, mouseButton(event->button()),
                      qx::shiftState(event->modifiers(), event->buttons()), pos.x(), pos.y());
        });
}

void TQxCustomButton::DropMenu()
{
    if (!FPopupMenu)
        return;
    QPointer<TQxCustomButton> self(this);
    QMetaObject::Connection* once = new QMetaObject::Connection;
    *once = connect(FPopupMenu, &QMenu::aboutToHide, this, [self, once] {
        QObject::disconnect(*once);
        delete once;
        if (!self)
            return;
        // Edges count as inside.
        const QPoint local = self->mapFromGlobal(QCursor::pos());
        if (!QRect(0, 0, self->width() + 1, self->height() + 1).contains(local))
            self->FHot = false;
        self->update();
    });
    qx::popupMenuBelow(FPopupMenu, this);
}

void TQxCustomButton::Click()
{
    if (!isVisible() || !FPressedInCaption || !isEnabled())
        return;
    if (OnClick)
        qx::guard(this, [&] { OnClick(this); });
    update();
}

void TQxCustomButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            FHot = false;
            FPressed = false;
        }
        update();
    } else if (event->type() == QEvent::FontChange) {
        update();
    }
    QWidget::changeEvent(event);
}

// ---- painting --------------------------------------------------------------------------------

QImage TQxCustomButton::DisabledGlyph(const QImage& glyph)
{
    if (glyph.isNull())
        return glyph;
    const QImage src = glyph.convertToFormat(QImage::Format_ARGB32);
    const QRgb corner = src.pixel(0, 0) | 0xFF000000u;
    const QRgb white = qRgb(255, 255, 255);
    const QRgb silver = qRgb(0xC0, 0xC0, 0xC0);
    auto isBackground = [&](int x, int y) {
        const QRgb c = src.pixel(x, y);
        return qAlpha(c) == 0 || (c | 0xFF000000u) == corner || (c | 0xFF000000u) == white
               || (c | 0xFF000000u) == silver;
    };
    QImage out(src.size(), QImage::Format_ARGB32);
    out.fill(toQColor(clBtnFace));
    const QRgb hi = toQColor(clBtnHighlight).rgb();
    const QRgb sh = toQColor(clBtnShadow).rgb();
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            if (!isBackground(x, y) && x + 1 < out.width() && y + 1 < out.height())
                out.setPixel(x + 1, y + 1, hi);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            if (!isBackground(x, y))
                out.setPixel(x, y, sh);
    return out;
}

void TQxCustomButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    // Not opaque: the background is erased in Color before each paint.
    p.fillRect(rect(), toQColor(FColor));
    if (!isEnabled()) {
        PaintState(p, 1);
        return;
    }
    if (FDesigning || (FHot && !FPressed))
        PaintState(p, 0);
    if (FHot && FPressed)
        PaintState(p, FPressedInCaption ? 2 : 3);
    if (FPressed && !FHot)
        PaintState(p, 0);
    if (!FHot)
        PaintState(p, 1);
}

void TQxCustomButton::PaintState(QPainter& p, int state)
{
    p.setFont(font());
    const int w = width(), h = height();
    QRect R(0, 0, w - FArrowWidth, h);
    const QRect A(w - FArrowWidth, 0, FArrowWidth, h);
    const bool enabled = isEnabled();
    const int gw = FGlyph.width(), gh = FGlyph.height();
    // The pressed part shows its content one pixel right and down.
    const int captionShift = state == 2 ? 1 : 0;
    const int arrowShift = state == 3 ? 1 : 0;
    const int GX = (R.left() + R.width()) / 2 - gw / 2 + captionShift;
    const int GY = (R.top() + R.height()) / 2 - gh / 2 + captionShift;

    // The drop-down arrow (outside the client area for sbsNormal).
    if (FArrowWidth > 0) {
        const int L = A.left() + arrowShift;
        const int M = A.top() + (A.top() + A.height()) / 2 + arrowShift;
        auto triangle = [&](int dy, const QColor& line, const QColor& centre) {
            p.fillRect(QRect(L + 2, M - 1 + dy, 5, 1), line);
            p.fillRect(QRect(L + 3, M + dy, 1, 1), line);
            p.fillRect(QRect(L + 5, M + dy, 1, 1), line);
            p.fillRect(QRect(L + 4, M + 1 + dy, 1, 1), line);
            p.fillRect(QRect(L + 4, M + dy, 1, 1), centre);
        };
        if (enabled) {
            triangle(0, toQColor(FFontColor), QColor(Qt::black));
        } else {
            triangle(1, toQColor(clBtnHighlight), toQColor(clBtnHighlight));
            triangle(0, toQColor(clBtnShadow), toQColor(clBtnShadow));
        }
    }

    const QImage glyph = enabled ? FGlyph : DisabledGlyph(FGlyph);
    const bool hasGlyph = !FGlyph.isNull();
    const bool hasCaption = !FCaption.isEmpty();
    const QColor textColor = toQColor(FFontColor);
    R.translate(captionShift, captionShift);
    if (hasGlyph && !hasCaption) {
        p.drawImage(GX, GY, glyph);
    } else if (!hasGlyph) {
        const unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (enabled) {
            p.setPen(textColor);
            QRect tr = R;
            qx::drawText(p, tr, FCaption, flags);
        } else {
            p.setPen(toQColor(clBtnHighlight));
            QRect tr = R;
            qx::drawText(p, tr, FCaption, flags);
            p.setPen(toQColor(clBtnShadow));
            tr = R.translated(-2, -2);
            qx::drawText(p, tr, FCaption, flags);
        }
    } else {
        QRect tr = R;
        unsigned flags = DT_SINGLELINE;
        QPoint glyphAt;
        const int captionWidth = QFontMetrics(font()).horizontalAdvance(
            qx::displayedText(FCaption, DT_SINGLELINE).remove(u'&'));
        switch (FLayout) {
        case GlyphTop:
            tr.setBottom(tr.bottom() - 2);
            flags |= DT_CENTER | DT_BOTTOM;
            glyphAt = QPoint(GX, R.top() + 4);
            break;
        case GlyphBottom:
            tr.setTop(tr.top() + 2);
            flags |= DT_CENTER | DT_TOP;
            glyphAt = QPoint(GX, R.top() + R.height() - gh - 4);
            break;
        case GlyphLeft:
            tr.setLeft(tr.left() + gw + 10);
            flags |= DT_LEFT | DT_VCENTER;
            glyphAt = QPoint(R.left() + 5, GY);
            break;
        case GlyphRight:
            tr.setLeft(tr.left() + 5);
            flags |= DT_LEFT | DT_VCENTER;
            glyphAt = QPoint(R.left() + 10 + captionWidth, GY);
            break;
        }
        if (enabled) {
            p.setPen(textColor);
            QRect t = tr;
            qx::drawText(p, t, FCaption, flags);
        } else {
            p.setPen(toQColor(clBtnHighlight));
            QRect t = tr;
            qx::drawText(p, t, FCaption, flags);
            t = tr;
            t.setLeft(t.left() - 1);
            if (FLayout == GlyphTop)
                t.setBottom(t.bottom() - 1);
            else
                t.setTop(t.top() - 1);
            p.setPen(toQColor(clBtnShadow));
            qx::drawText(p, t, FCaption, flags);
        }
        p.drawImage(glyphAt, glyph);
    }

    const QRect frameR(0, 0, w - FArrowWidth, h);
    switch (state) {
    case 0:
        raised(p, frameR);
        raised(p, A);
        break;
    case 2:
        sunken(p, frameR);
        raised(p, A);
        break;
    case 3:
        raised(p, frameR);
        sunken(p, A);
        break;
    default:
        break;
    }
}
