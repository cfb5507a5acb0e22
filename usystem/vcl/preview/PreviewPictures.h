// The pictures of the preview window and the print dialog, drawn here with QPainter: the
// preview's tool-button pictures, the printer icon of the printer list and the two pictures
// of collated and uncollated copies.
#pragma once

#include "platform/ui/Colors.h"

#include <QImage>

class TImageList;

namespace qx::preview {

// Indexes of the tool-button pictures in the preview's image list.
enum ToolPicture {
    picZoom = 0,
    picZoom100 = 1,
    picWholePage = 2,
    picPageWidth = 3,
    picPrint = 4,
    picFirst = 5,
    picPrior = 6,
    picNext = 7,
    picLast = 8,
    picOpen = 9,
    picExit = 10,
    picSave = 11,
    picStop = 12,
};

// Fills list (16 x 16 pictures) with the tool-button pictures, in the order above.
void addToolPictures(TImageList& list);

// The colour that stands for "no picture" in the printer icon.
inline constexpr TColor kPrinterIconGround = 0x008080;
// 18 x 16: a small printer on the ground colour above.
QImage printerIcon();
// 102 x 53: two sets of three pages (collated) or three pairs of pages (uncollated),
// transparent around the pages.
QImage copiesPicture(bool collated);

} // namespace qx::preview
