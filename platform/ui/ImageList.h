// TImageList: a row of same-sized pictures that menus, trees and buttons draw by index.
// Pictures added with a mask colour have that colour made transparent.
#pragma once

#include "platform/ui/Colors.h"

#include <QList>
#include <QObject>
#include <QPixmap>

class QPainter;

class TImageList : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)

public:
    explicit TImageList(QObject* owner = nullptr);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Changing the size clears the list, as the platform's does.
    void SetWidth(int width);
    void SetHeight(int height);
    int Count() const { return int(m_images.size()); }

    // Adds a picture (scaled to the list's size when it differs); returns its index.
    int Add(const QPixmap& image);
    // Adds a picture whose pixels of maskColor become transparent; clDefault takes the colour
    // of the bottom-left pixel.
    int AddMasked(const QImage& image, TColor maskColor);
    // A picture with several images side by side is cut into them.
    int AddStrip(const QImage& strip, TColor maskColor = clNone);
    void Delete(int index);
    void Clear();

    QPixmap GetBitmap(int index) const;
    // Draws the picture; a disabled one is drawn grey. Out-of-range indexes draw nothing.
    void Draw(QPainter& painter, int x, int y, int index, bool enabled = true) const;

private:
    int m_width = 16;
    int m_height = 16;
    QList<QPixmap> m_images;
};

namespace qx {
// The picture with the pixels of one colour made transparent.
QImage maskedImage(const QImage& image, TColor maskColor);
} // namespace qx
