// TEffectBmp: a 24-bit copy of a picture kept as rows of blue, green, red bytes, top row
// first, each row padded to four bytes. The image button cross-fades two such copies row by
// row, which is why the pixels sit in one plain block with row access instead of in a QImage
// whose format Qt may choose.
#pragma once

#include <QImage>

#include <memory>

class QPainter;

class TEffectBmp
{
public:
    // Copies the picture's pixels (alpha dropped).
    explicit TEffectBmp(const QImage& Bitmap);
    ~TEffectBmp();
    TEffectBmp(const TEffectBmp&) = delete;
    TEffectBmp& operator=(const TEffectBmp&) = delete;

    int PixelWidth() const { return FPixelWidth; }
    int PixelHeight() const { return FPixelHeight; }
    // Bytes of pixel data: PixelHeight rows of RowStride bytes.
    int ImageSize() const { return FImageSize; }
    // 3 bytes a pixel, padded to a multiple of four.
    int RowStride() const { return RowStrideOf(FPixelWidth); }
    static int RowStrideOf(int Width) { return 3 * Width + Width % 4; }

    // The first byte of row 0.
    unsigned char* PixelBits() { return FPixelBits.get(); }
    const unsigned char* PixelBits() const { return FPixelBits.get(); }
    // The first byte of Row; a row outside the picture raises ERangeError.
    unsigned char* ScanLine(int Row);
    const unsigned char* ScanLine(int Row) const;
    // Copy the 3 x PixelWidth bytes of Row to and from Buffer.
    void GetRow(int Row, unsigned char* Buffer) const;
    void SetRow(int Row, const unsigned char* Buffer);

    // Sets the whole picture onto DC at (X, Y), unscaled.
    void Draw(QPainter& DC, int X, int Y) const;
    // Fades this picture towards Other by Amount (0 keeps it, 1 replaces it; Amount is limited
    // to 0..1). A picture of another size leaves this one as it is.
    void Blend(const TEffectBmp& Other, double Amount);

    // The pixels as a picture of their own.
    QImage ToImage() const;

private:
    QImage View() const;

    int FPixelWidth = 0;
    int FPixelHeight = 0;
    int FImageSize = 0;
    std::unique_ptr<unsigned char[]> FPixelBits;
};
