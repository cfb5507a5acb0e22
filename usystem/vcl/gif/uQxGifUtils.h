// Drawing routines of the image button: what lies under a windowless control, a bitmap drawn
// with one colour left transparent, and the bottom-left pixel that names that colour.
#pragma once

#include "platform/ui/Colors.h"

#include <QImage>
#include <QRect>

class QPainter;
class QWidget;

// The colour of the bottom-left pixel; clNone for an empty picture.
TColor CornerColor(const QImage& Bitmap);

// Paints onto Canvas (sized as Control) what shows through Control: its parent's own
// painting, then the parent's other children that lie below Control and meet its bounds.
// Nothing without a parent.
void PaintUnder(QWidget* Control, QPainter& Canvas);

// Draws Bitmap at (X, Y) unscaled, TransColor left transparent.
void DrawTransparent(QPainter& Canvas, int X, int Y, TColor TransColor, const QImage& Bitmap);

// Draws SourceRect of Bitmap (the whole bitmap when SourceRect lacks a width or a height) at
// (X, Y), stretched to DestWidth x DestHeight when both are given. TransColor clNone draws
// every pixel, clDefault leaves out the colour of the part's bottom-left pixel, any other
// colour leaves out that colour. Bitmap is not changed.
void DrawBitmapEx(QPainter& Canvas, int X, int Y, TColor TransColor, const QImage& Bitmap,
                  const QRect& SourceRect, int DestHeight, int DestWidth);
