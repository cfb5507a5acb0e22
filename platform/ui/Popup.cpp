#include "platform/ui/Popup.h"

#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QWidget>

namespace qx {

namespace {

QRect screenAreaOf(const QWidget* anchor)
{
    QScreen* screen = anchor ? anchor->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1 << 15, 1 << 15);
}

QRect globalRect(const QWidget* w)
{
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

} // namespace

QPoint popupPosition(const QSize& size, const QRect& anchor, const QRect& screen)
{
    int x = anchor.left();
    int y = anchor.bottom() + 1;
    // No room below: open above the anchor, unless there is even less room there.
    if (y + size.height() > screen.bottom() + 1) {
        const int above = anchor.top() - size.height();
        if (above >= screen.top() || anchor.top() - screen.top() > screen.bottom() + 1 - y)
            y = qMax(screen.top(), above);
    }
    if (x + size.width() > screen.right() + 1)
        x = screen.right() + 1 - size.width();
    if (x < screen.left())
        x = screen.left();
    return QPoint(x, y);
}

void makeNonActivatingPopup(QWidget* popup)
{
    if (!popup)
        return;
    popup->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                          | Qt::WindowDoesNotAcceptFocus);
    popup->setAttribute(Qt::WA_ShowWithoutActivating);
    popup->setFocusPolicy(Qt::NoFocus);
}

void showPopupAt(QWidget* popup, QWidget* anchor)
{
    if (!popup || !anchor)
        return;
    popup->adjustSize();
    popup->move(popupPosition(popup->size(), globalRect(anchor), screenAreaOf(anchor)));
    popup->show();
    popup->raise();
}

void popupMenuBelow(QMenu* menu, QWidget* anchor)
{
    if (!menu || !anchor)
        return;
    const QSize size = menu->sizeHint();
    menu->popup(popupPosition(size, globalRect(anchor), screenAreaOf(anchor)));
}

} // namespace qx
