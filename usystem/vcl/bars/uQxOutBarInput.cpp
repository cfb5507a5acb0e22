// The bar's mouse: hot tabs and buttons under the mouse, presses on tabs, buttons and the
// arrows, the held arrow's repeat, and the clicks on release.
#include "usystem/vcl/bars/uQxOutBar.h"

#include "platform/env/ExceptionGuard.h"
#include "platform/ui/Keys.h"

#include <QContextMenuEvent>
#include <QMouseEvent>

namespace {

TMouseButton mouseButton(Qt::MouseButton b)
{
    return b == Qt::RightButton ? mbRight : b == Qt::MiddleButton ? mbMiddle : mbLeft;
}

} // namespace

int TQxOutBar::TabAt(const QPoint& Pos) const
{
    const int n = laidOutCount();
    for (int i = 0; i < n; ++i)
        if (FPanels->Items(i)->FTabRect.contains(Pos))
            return i;
    return -1;
}

int TQxOutBar::buttonAt(const QPoint& Pos, bool imageOnly) const
{
    TKyOutPanel* panel = OpenPanel();
    if (!panel)
        return -1;
    for (int i = FTopButton; i <= FLastButton; ++i) {
        const TKyOutButton* button = panel->Buttons()->Items(i);
        if (button && (imageOnly ? button->FImageRect : button->FButtonRect).contains(Pos))
            return i;
    }
    return -1;
}

// ---- press -----------------------------------------------------------------------------------

void TQxOutBar::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        FClicked = true;
        FPressedTab = -1;
        FPressedButton = -1;
        int hit = -1;
        if (FUpArrowShown && FUpArrowRect.contains(pos)) {
            FUpArrowPressed = true;
            drawArrow(true);
        } else if (FDownArrowShown && FDownArrowRect.contains(pos)) {
            FDownArrowPressed = true;
            drawArrow(false);
        } else if ((hit = TabAt(pos)) >= 0) {
            FPressedTab = hit;
            FHotButton = -1;
            DrawTab(hit, tsPressed);
        } else if ((hit = buttonAt(pos, true)) >= 0) {
            FPressedButton = hit;
            DrawButton(hit, bsPressed);
        }
        if (FUpArrowPressed || FDownArrowPressed) {
            FScrollTimer = std::make_unique<QTimer>();
            FScrollTimer->setInterval(ScrollInterval);
            connect(FScrollTimer.get(), &QTimer::timeout, this,
                    [this] { qx::guard(this, [this] { scrollTimerTick(); }); });
            FScrollTimer->start();
        }
    }
    if (OnMouseDown)
        qx::guard(this, [&] {
            OnMouseDown(this, mouseButton(event->button()),
                        qx::shiftState(event->modifiers(), event->buttons() | event->button()),
                        pos.x(), pos.y());
        });
}

// ---- scrolling -------------------------------------------------------------------------------

void TQxOutBar::scrollStep(bool up)
{
    FTopButton += up ? -1 : 1;
    LayoutButtons(false);
}

void TQxOutBar::scrollTimerTick()
{
    if (FUpArrowPressed && FUpArrowShown)
        scrollStep(true);
    else if (FDownArrowPressed && FDownArrowShown)
        scrollStep(false);
    // The held arrow has gone (the list reached its end): no more steps.
    const bool going = (FUpArrowPressed && FUpArrowShown) || (FDownArrowPressed && FDownArrowShown);
    if (!going && FScrollTimer)
        FScrollTimer->stop();
}

// ---- move ------------------------------------------------------------------------------------

void TQxOutBar::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int tab = TabAt(pos);
    if (tab >= 0)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    if (!(event->buttons() & Qt::LeftButton)) {
        // An index left beyond the panels (the open one was removed) falls back to the last
        // panel, which opens: a click on its tab could not open it otherwise.
        if (FPanelIndex >= FPanels->Count()) {
            FPanelIndex = FPanels->Count() - 1;
            Layout(true);
        }
        if (tab != FHotTab) {
            const int n = laidOutCount();
            for (int i = 0; i < n; ++i)
                DrawTab(i, i == tab ? tsHot : tsNormal);
            FHotTab = tab;
        }
        TKyOutPanel* open = OpenPanel();
        if (open && open->Buttons()->Count() > 0) {
            const int button = buttonAt(pos, false);
            if (button != FHotButton) {
                for (int i = FTopButton; i <= FLastButton; ++i)
                    DrawButton(i, i == button ? bsHot : bsFlat);
                FHotButton = button;
            }
        }
    }
    if (OnMouseMove)
        qx::guard(this, [&] {
            OnMouseMove(this, qx::shiftState(event->modifiers(), event->buttons()), pos.x(), pos.y());
        });
}

// ---- release ---------------------------------------------------------------------------------

void TQxOutBar::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    QPointer<TQxOutBar> self(this);
    if (event->button() == Qt::LeftButton) {
        // The platform clicks first (the press is still known), then handles the release.
        if (FClicked) {
            FClicked = false;
            if (rect().contains(pos))
                Click();
            if (!self)
                return;
        }
        if (FUpArrowPressed || FDownArrowPressed) {
            FScrollTimer.reset();
            const bool up = FUpArrowPressed;
            FUpArrowPressed = false;
            FDownArrowPressed = false;
            if (up ? FUpArrowShown : FDownArrowShown)
                scrollStep(up);
        } else if (FPressedTab >= 0) {
            // The panel opens wherever the mouse is let go.
            const int tab = FPressedTab;
            FPressedTab = -1;
            DrawTab(tab, tsNormal);
            SetPanelIndex(tab);
            if (TKyOutPanel* panel = FPanels->Items(tab)) {
                const TNotifyEvent handler = panel->onClick;
                if (handler)
                    qx::guard(this, [&] { handler(panel); });
            }
        } else if (FPressedButton >= 0) {
            const int index = FPressedButton;
            FPressedButton = -1;
            DrawButton(index, bsFlat);
            TKyOutPanel* open = OpenPanel();
            if (TKyOutButton* button = open ? open->Buttons()->Items(index) : nullptr) {
                const TNotifyEvent handler = button->onClick;
                if (handler)
                    qx::guard(this, [&] { handler(button); });
            }
        }
        if (!self)
            return;
    }
    if (OnMouseUp)
        qx::guard(this, [&] {
            OnMouseUp(this, mouseButton(event->button()),
                      qx::shiftState(event->modifiers(), event->buttons()), pos.x(), pos.y());
        });
}

void TQxOutBar::Click()
{
    if (OnClick)
        qx::guard(this, [&] { OnClick(this); });
}

void TQxOutBar::contextMenuEvent(QContextMenuEvent* event)
{
    bool handled = false;
    QPointer<TQxOutBar> self(this);
    if (OnContextPopup)
        qx::guard(this, [&] { OnContextPopup(this, event->pos(), handled); });
    if (!self)
        return;
    if (!handled && FPopupMenu) {
        FPopupMenu->popup(event->globalPos());
        handled = true;
    }
    event->setAccepted(handled);
}
