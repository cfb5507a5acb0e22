#include "usystem/vcl/gif/uQxGifffBmp.h"

#include "platform/rtl/Exceptions.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

TEffectBmp::TEffectBmp(const QImage& Bitmap)
    : FPixelWidth(Bitmap.isNull() ? 0 : Bitmap.width()),
      FPixelHeight(Bitmap.isNull() ? 0 : Bitmap.height()),
      FImageSize(FPixelHeight * RowStrideOf(FPixelWidth)),
      FPixelBits(new unsigned char[std::max(FImageSize, 1)]())
{
    if (FImageSize == 0)
        return;
    const QImage source = Bitmap.convertToFormat(QImage::Format_BGR888);
    for (int row = 0; row < FPixelHeight; ++row)
        std::memcpy(ScanLine(row), source.constScanLine(row), std::size_t(3) * FPixelWidth);
}

TEffectBmp::~TEffectBmp() = default;

unsigned char* TEffectBmp::ScanLine(int Row)
{
    return const_cast<unsigned char*>(std::as_const(*this).ScanLine(Row));
}

const unsigned char* TEffectBmp::ScanLine(int Row) const
{
    if (Row < 0 || Row >= FPixelHeight)
        throw ERangeError(QStringLiteral("Scan line index out of range"));
    return FPixelBits.get() + std::size_t(Row) * RowStride();
}

void TEffectBmp::GetRow(int Row, unsigned char* Buffer) const
{
    std::memcpy(Buffer, ScanLine(Row), std::size_t(3) * FPixelWidth);
}

void TEffectBmp::SetRow(int Row, const unsigned char* Buffer)
{
    std::memcpy(ScanLine(Row), Buffer, std::size_t(3) * FPixelWidth);
}

QImage TEffectBmp::View() const
{
    // The stride is always a multiple of four, as QImage wants of outside pixel data.
    return QImage(FPixelBits.get(), FPixelWidth, FPixelHeight, RowStride(),
                  QImage::Format_BGR888);
}

QImage TEffectBmp::ToImage() const
{
    if (FImageSize == 0)
        return QImage();
    return View().copy();
}

void TEffectBmp::Draw(QPainter& DC, int X, int Y) const
{
    if (FImageSize == 0)
        return;
    DC.drawImage(X, Y, View());
}

void TEffectBmp::Blend(const TEffectBmp& Other, double Amount)
{
    if (Other.FPixelWidth != FPixelWidth || Other.FPixelHeight != FPixelHeight)
        return;
    const double a = std::isnan(Amount) ? 0.0 : std::clamp(Amount, 0.0, 1.0);
    const std::size_t bytes = std::size_t(3) * FPixelWidth;
    std::vector<unsigned char> row(bytes);
    for (int r = 0; r < FPixelHeight; ++r) {
        GetRow(r, row.data());
        const unsigned char* other = Other.ScanLine(r);
        for (std::size_t i = 0; i < bytes; ++i) {
            // Halves go to the even neighbour (the default rounding mode of nearbyint).
            const double v = std::nearbyint((1.0 - a) * row[i] + a * other[i]);
            row[i] = static_cast<unsigned char>(std::clamp(v, 0.0, 255.0));
        }
        SetRow(r, row.data());
    }
}
