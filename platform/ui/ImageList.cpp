#include "platform/ui/ImageList.h"

#include <QPainter>
#include <QStyle>
#include <QApplication>
#include <QStyleOption>

namespace qx {

QImage maskedImage(const QImage& image, TColor maskColor)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    if (maskColor == clNone || out.isNull())
        return out;
    const QRgb key = maskColor == clDefault ? (out.pixel(0, out.height() - 1) | 0xFF000000u)
                                            : toQColor(maskColor).rgb();
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] | 0xFF000000u) == key)
                line[x] = 0;
    }
    return out;
}

} // namespace qx

TImageList::TImageList(QObject* owner) : QObject(owner) {}

void TImageList::SetWidth(int width)
{
    if (width == m_width || width <= 0)
        return;
    m_width = width;
    Clear();
}

void TImageList::SetHeight(int height)
{
    if (height == m_height || height <= 0)
        return;
    m_height = height;
    Clear();
}

int TImageList::Add(const QPixmap& image)
{
    QPixmap p = image;
    if (!p.isNull() && p.size() != QSize(m_width, m_height))
        p = p.scaled(m_width, m_height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    m_images.append(p);
    return Count() - 1;
}

int TImageList::AddMasked(const QImage& image, TColor maskColor)
{
    return Add(QPixmap::fromImage(qx::maskedImage(image, maskColor)));
}

int TImageList::AddStrip(const QImage& strip, TColor maskColor)
{
    int first = -1;
    const QImage masked = qx::maskedImage(strip, maskColor);
    for (int x = 0; x + m_width <= masked.width(); x += m_width) {
        const int i = Add(QPixmap::fromImage(masked.copy(x, 0, m_width, m_height)));
        if (first < 0)
            first = i;
    }
    return first;
}

void TImageList::Delete(int index)
{
    if (index >= 0 && index < Count())
        m_images.removeAt(index);
}

void TImageList::Clear()
{
    m_images.clear();
}

QPixmap TImageList::GetBitmap(int index) const
{
    return index >= 0 && index < Count() ? m_images.at(index) : QPixmap();
}

void TImageList::Draw(QPainter& painter, int x, int y, int index, bool enabled) const
{
    if (index < 0 || index >= Count())
        return;
    QPixmap p = m_images.at(index);
    if (!enabled) {
        QStyleOption opt;
        opt.palette = QApplication::palette();
        p = QApplication::style()->generatedIconPixmap(QIcon::Disabled, p, &opt);
    }
    painter.drawPixmap(x, y, p);
}
