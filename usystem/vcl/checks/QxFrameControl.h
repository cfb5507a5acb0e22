// The platform's DrawFrameControl for buttons (DFC_BUTTON) on a QPainter: the classic check
// box and radio button marks that the check list box and the check tree draw for their items.
// Colours come from the fixed system colour table, so the marks look the same everywhere.
#pragma once

#include <QRect>

class QPainter;

// Kinds and states of a button mark, with the platform's values.
constexpr unsigned DFCS_BUTTONCHECK = 0x0000;
constexpr unsigned DFCS_BUTTONRADIOIMAGE = 0x0001;
constexpr unsigned DFCS_BUTTONRADIOMASK = 0x0002;
constexpr unsigned DFCS_BUTTONRADIO = 0x0004;
constexpr unsigned DFCS_BUTTON3STATE = 0x0008;
constexpr unsigned DFCS_INACTIVE = 0x0100;
constexpr unsigned DFCS_PUSHED = 0x0200;
constexpr unsigned DFCS_CHECKED = 0x0400;
constexpr unsigned DFCS_FLAT = 0x4000;

namespace qx {

// Draws the mark that fills rect: a square check box (3-D sunken border, or a one-pixel
// frame with DFCS_FLAT), or a round radio button. DFCS_BUTTON3STATE with DFCS_CHECKED draws
// the grey "mixed" tick on a button-face square. DFCS_BUTTONRADIOMASK fills the radio's
// shape in black (its mask); nothing is drawn outside the shape of a radio.
void drawFrameControlButton(QPainter& painter, const QRect& rect, unsigned state);

} // namespace qx
