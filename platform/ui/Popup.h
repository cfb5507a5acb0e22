// Pop-ups that drop under a control: the pads, the candidate lists and the buttons' menus.
// They open under their anchor, left edges aligned, or above it when the screen has no room
// below; they are kept inside the screen sideways. A pad pop-up does not take the activation
// from its form, so the form's focus and the edit's caret stay where they are.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QMenu;
class QWidget;

namespace qx {

// Where a pop-up of size opens for an anchor rectangle (global coordinates) on a screen area.
QPoint popupPosition(const QSize& size, const QRect& anchor, const QRect& screen);

// Makes popup a non-activating pop-up window (frameless tool window that takes no focus).
void makeNonActivatingPopup(QWidget* popup);
// Moves popup under (or above) anchor and shows it without activating it.
void showPopupAt(QWidget* popup, QWidget* anchor);
// Opens a menu under the anchor's bottom-left corner (or above it at the screen's edge).
// Returns at once; the menu closes itself.
void popupMenuBelow(QMenu* menu, QWidget* anchor);

} // namespace qx
