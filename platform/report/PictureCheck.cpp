#include "platform/report/PictureCheck.h"

#include <QPainter>
#include <QPicture>
#include <QtEndian>

#include <zlib.h>

#include <cmath>
#include <cstring>

namespace qx::report {
namespace {

// Record codes of the picture format (the player's own numbering).
enum Record : unsigned {
    NOP = 0,
    DrawPoint = 1,
    DrawLine = 4,
    DrawRect = 5,
    DrawEllipse = 7,
    DrawPolyline = 12,
    DrawPolygon = 13,
    DrawPixmap = 17,
    DrawImage = 18,
    DrawTextItem = 21,
    DrawTiledPixmap = 24,
    DrawPath = 25,
    Begin = 30,
    End = 31,
    Save = 32,
    Restore = 33,
    SetBkColor = 40,
    SetBkMode = 41,
    SetBrushOrigin = 43,
    SetFont = 45,
    SetPen = 46,
    SetBrush = 47,
    SetWMatrix = 55,
    SaveWMatrix = 56,
    RestoreWMatrix = 57,
    SetClip = 60,
    SetClipRegion = 61,
    SetClipPath = 62,
    SetRenderHint = 63,
    SetCompositionMode = 64,
    SetClipEnabled = 65,
    SetOpacity = 66,
};

// Limits that keep a played page within reason.
constexpr double kMaxCoordinate = 1e7;
constexpr double kMaxScale = 1e3;
constexpr int kMaxFontPixels = 2000;
constexpr double kMaxFontPoints = 1500;
constexpr int kMaxSaveDepth = 64;
constexpr quint64 kMaxImagePixels = quint64(16384) * 16384;
// Deflate never expands more than about 1032 to 1.
constexpr quint64 kMaxInflation = 1032;

struct Bad
{
    QString why;
};

[[noreturn]] void fail(const QString& why)
{
    throw Bad{why};
}

// Big-endian reader over [pos, end) of the page bytes.
class Reader
{
public:
    Reader(const uchar* data, qsizetype pos, qsizetype end) : m_data(data), m_pos(pos), m_end(end) {}

    qsizetype pos() const { return m_pos; }
    qsizetype left() const { return m_end - m_pos; }
    bool atEnd() const { return m_pos == m_end; }

    void need(qsizetype n) const
    {
        if (n < 0 || n > left())
            fail(QStringLiteral("记录超出页面数据"));
    }
    void skip(qsizetype n)
    {
        need(n);
        m_pos += n;
    }
    quint8 u8()
    {
        need(1);
        return m_data[m_pos++];
    }
    quint16 u16()
    {
        need(2);
        const quint16 v = qFromBigEndian<quint16>(m_data + m_pos);
        m_pos += 2;
        return v;
    }
    quint32 u32()
    {
        need(4);
        const quint32 v = qFromBigEndian<quint32>(m_data + m_pos);
        m_pos += 4;
        return v;
    }
    qint32 i32() { return qint32(u32()); }
    double f64()
    {
        need(8);
        const quint64 bits = qFromBigEndian<quint64>(m_data + m_pos);
        m_pos += 8;
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v))
            fail(QStringLiteral("数值无效"));
        return v;
    }
    double coordinate()
    {
        const double v = f64();
        if (std::abs(v) > kMaxCoordinate)
            fail(QStringLiteral("坐标超出范围"));
        return v;
    }
    const uchar* here() const { return m_data + m_pos; }

private:
    const uchar* m_data;
    qsizetype m_pos;
    qsizetype m_end;
};

void boolean(Reader& r)
{
    if (r.u8() > 1)
        fail(QStringLiteral("逻辑值无效"));
}

void pointF(Reader& r)
{
    r.coordinate();
    r.coordinate();
}

void rectF(Reader& r)
{
    for (int i = 0; i < 4; ++i)
        r.coordinate();
}

void color(Reader& r)
{
    if (r.u8() > 5)
        fail(QStringLiteral("颜色无效"));
    r.skip(10);
}

void string(Reader& r)
{
    const quint32 bytes = r.u32();
    if (bytes == 0xFFFFFFFFu)
        return;
    if (bytes % 2 != 0)
        fail(QStringLiteral("文字长度无效"));
    r.skip(qsizetype(bytes));
}

void transform(Reader& r)
{
    for (int i = 0; i < 9; ++i) {
        const double v = r.f64();
        // dx and dy are offsets, the others scale or shear.
        if (std::abs(v) > (i == 6 || i == 7 ? kMaxCoordinate : kMaxScale))
            fail(QStringLiteral("变换超出范围"));
    }
}

void brush(Reader& r)
{
    // Plain and hatched brushes only: pages never hold textures or gradients.
    if (r.u8() > quint8(Qt::DiagCrossPattern))
        fail(QStringLiteral("画刷无效"));
    color(r);
    transform(r);
}

void pen(Reader& r)
{
    const quint16 style = r.u16();
    const unsigned line = style & Qt::MPenStyle;
    const unsigned cap = style & Qt::MPenCapStyle;
    const unsigned join = style & Qt::MPenJoinStyle;
    if (line > Qt::CustomDashLine || (cap != Qt::FlatCap && cap != Qt::SquareCap && cap != Qt::RoundCap)
        || (join != Qt::MiterJoin && join != Qt::BevelJoin && join != Qt::RoundJoin && join != Qt::SvgMiterJoin)
        || (style & ~(unsigned(Qt::MPenStyle) | unsigned(Qt::MPenCapStyle) | unsigned(Qt::MPenJoinStyle))) != 0)
        fail(QStringLiteral("画笔无效"));
    boolean(r);
    const double width = r.f64();
    if (width < 0 || width > kMaxCoordinate)
        fail(QStringLiteral("画笔宽度无效"));
    brush(r);
    r.f64(); // miter limit
    const quint32 dashes = r.u32();
    if (dashes > quint64(r.left()) / 8)
        fail(QStringLiteral("虚线数据超出页面数据"));
    for (quint32 i = 0; i < dashes; ++i) {
        if (r.f64() < 0)
            fail(QStringLiteral("虚线数据无效"));
    }
    r.f64(); // dash offset
    boolean(r);
}

// What the walk remembers from record to record.
struct Walk
{
    int depth = 0; // open saves
    // The bytes of the last font that passed: pages repeat one font in every text record, and
    // the same bytes read the same way again.
    const uchar* lastFont = nullptr;
    qsizetype lastFontSize = 0;
};

void fontFields(Reader& r);

void font(Reader& r, Walk& walk)
{
    if (walk.lastFontSize > 0 && r.left() >= walk.lastFontSize
        && std::memcmp(r.here(), walk.lastFont, std::size_t(walk.lastFontSize)) == 0) {
        r.skip(walk.lastFontSize);
        return;
    }
    const uchar* start = r.here();
    const qsizetype at = r.pos();
    fontFields(r);
    walk.lastFont = start;
    walk.lastFontSize = r.pos() - at;
}

void fontFields(Reader& r)
{
    string(r); // family
    string(r); // style name
    const double points = r.f64();
    const qint32 pixels = r.i32();
    if (points > kMaxFontPoints || pixels > kMaxFontPixels)
        fail(QStringLiteral("字体大小超出范围"));
    r.u8();  // style hint
    r.u16(); // style strategy
    const quint16 weight = r.u16();
    if (weight > 1000)
        fail(QStringLiteral("字体粗细无效"));
    r.u8(); // bits
    if (r.u16() > 4000)
        fail(QStringLiteral("字体宽度无效"));
    r.u8();  // extended bits
    r.i32(); // letter spacing
    r.i32(); // word spacing
    if (r.u8() > 3)
        fail(QStringLiteral("字体设置无效"));
    if (r.u8() > 4)
        fail(QStringLiteral("字体设置无效"));
    const quint32 families = r.u32();
    if (families > quint64(r.left()) / 4)
        fail(QStringLiteral("字体数据超出页面数据"));
    for (quint32 i = 0; i < families; ++i)
        string(r);
}

void polygonF(Reader& r)
{
    const quint32 n = r.u32();
    if (n > quint64(r.left()) / 16)
        fail(QStringLiteral("多边形超出页面数据"));
    for (quint32 i = 0; i < n; ++i)
        pointF(r);
}

void path(Reader& r)
{
    const qint32 n = r.i32();
    if (n < 0 || quint64(n) > quint64(r.left()) / 20)
        fail(QStringLiteral("路径超出页面数据"));
    if (n == 0)
        return;
    int curveData = 0; // CurveToData elements still owed to a CurveTo
    for (qint32 i = 0; i < n; ++i) {
        const qint32 type = r.i32();
        if (type < 0 || type > 3 || (i == 0 && type != 0))
            fail(QStringLiteral("路径无效"));
        if (curveData > 0) {
            if (type != 3)
                fail(QStringLiteral("路径无效"));
            --curveData;
        } else if (type == 3) {
            fail(QStringLiteral("路径无效"));
        } else if (type == 2) {
            curveData = 2;
        }
        pointF(r);
    }
    if (curveData != 0)
        fail(QStringLiteral("路径无效"));
    const qint32 start = r.i32();
    if (start < 0 || start >= n)
        fail(QStringLiteral("路径无效"));
    const qint32 fill = r.i32();
    if (fill != Qt::OddEvenFill && fill != Qt::WindingFill)
        fail(QStringLiteral("路径无效"));
}

void region(Reader& r)
{
    const quint32 bytes = r.u32();
    if (bytes == 0 || bytes == 0xFFFFFFFFu)
        return;
    r.need(qsizetype(bytes));
    // A region is written as one list of rectangles: command 10, the count, the rectangles.
    if (bytes < 8 || r.i32() != 10)
        fail(QStringLiteral("区域无效"));
    const quint32 n = r.u32();
    if (quint64(bytes) != 8 + quint64(n) * 16)
        fail(QStringLiteral("区域无效"));
    r.skip(qsizetype(n) * 16);
}

void clipOperation(Reader& r)
{
    if (r.u8() > Qt::IntersectClip)
        fail(QStringLiteral("裁剪方式无效"));
}

quint32 pngU32(const uchar* p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

// An image is a flag (0 none, 1 one) and then a whole PNG stream.
void image(Reader& r)
{
    const qint32 flag = r.i32();
    if (flag == 0)
        return;
    if (flag != 1)
        fail(QStringLiteral("图像无效"));
    static const uchar signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    r.need(8);
    if (std::memcmp(r.here(), signature, 8) != 0)
        fail(QStringLiteral("图像无效"));
    r.skip(8);
    quint64 width = 0;
    quint64 height = 0;
    quint64 compressed = 0;
    bool first = true;
    while (true) {
        r.need(8);
        const quint32 length = pngU32(r.here());
        const QByteArray type(reinterpret_cast<const char*>(r.here() + 4), 4);
        r.skip(8);
        if (length > 0x7FFFFFFFu)
            fail(QStringLiteral("图像无效"));
        r.need(qsizetype(length) + 4);
        // Each chunk ends in the CRC-32 of its type and data.
        const uLong crc = crc32(crc32(0L, Z_NULL, 0), r.here() - 4, uInt(length) + 4);
        if (pngU32(r.here() + length) != quint32(crc))
            fail(QStringLiteral("图像无效"));
        if (first) {
            if (type != "IHDR" || length != 13)
                fail(QStringLiteral("图像无效"));
            width = pngU32(r.here());
            height = pngU32(r.here() + 4);
            first = false;
        } else if (type == "IDAT") {
            compressed += length;
        }
        r.skip(qsizetype(length) + 4);
        if (type == "IEND")
            break;
    }
    if (width == 0 || height == 0 || width * height > kMaxImagePixels
        || width * height * 8 > kMaxInflation * (compressed + 64))
        fail(QStringLiteral("图像尺寸超出范围"));
}

void payload(unsigned code, Reader& r, Walk& walk)
{
    switch (code) {
    case NOP:
        break;
    case DrawPoint:
    case SetBrushOrigin:
        pointF(r);
        break;
    case DrawLine:
        pointF(r);
        pointF(r);
        break;
    case DrawRect:
    case DrawEllipse:
        rectF(r);
        break;
    case DrawPolyline:
        polygonF(r);
        break;
    case DrawPolygon:
        polygonF(r);
        if (r.u8() > 1)
            fail(QStringLiteral("多边形无效"));
        break;
    case DrawPixmap:
        rectF(r);
        image(r);
        rectF(r);
        break;
    case DrawImage:
        rectF(r);
        image(r);
        rectF(r);
        r.u32();
        break;
    case DrawTiledPixmap:
        rectF(r);
        image(r);
        pointF(r);
        break;
    case DrawTextItem: {
        pointF(r);
        string(r);
        font(r, walk);
        r.u32(); // render flags
        const double dpiRatio = r.f64();
        if (dpiRatio < 0.25 || dpiRatio > 8)
            fail(QStringLiteral("文字分辨率无效"));
        if (r.f64() < 0) // justification width
            fail(QStringLiteral("文字宽度无效"));
        break;
    }
    case DrawPath:
        path(r);
        break;
    case Save:
    case SaveWMatrix:
        if (++walk.depth > kMaxSaveDepth)
            fail(QStringLiteral("保存层数过多"));
        break;
    case Restore:
    case RestoreWMatrix:
        if (--walk.depth < 0)
            fail(QStringLiteral("恢复没有对应的保存"));
        break;
    case SetBkColor:
        color(r);
        break;
    case SetBkMode:
    case SetClip:
    case SetClipEnabled:
        boolean(r);
        break;
    case SetFont:
        font(r, walk);
        break;
    case SetPen:
        pen(r);
        break;
    case SetBrush:
        brush(r);
        break;
    case SetWMatrix:
        transform(r);
        boolean(r);
        break;
    case SetClipRegion:
        region(r);
        clipOperation(r);
        break;
    case SetClipPath:
        path(r);
        clipOperation(r);
        break;
    case SetRenderHint:
        r.u32();
        break;
    case SetCompositionMode:
        if (r.u32() > QPainter::RasterOp_NotDestination)
            fail(QStringLiteral("合成方式无效"));
        break;
    case SetOpacity: {
        const double opacity = r.f64();
        if (opacity < 0 || opacity > 1)
            fail(QStringLiteral("透明度无效"));
        break;
    }
    default:
        fail(QStringLiteral("不支持的记录 %1").arg(code));
    }
}

// The version this build writes into its pictures (bytes 6 to 9 of every picture).
QByteArray ownVersion()
{
    static const QByteArray version = [] {
        QPicture picture;
        QPainter painter(&picture);
        painter.end();
        return QByteArray(picture.data() + 6, 4);
    }();
    return version;
}

} // namespace

bool checkPictureData(const char* data, qsizetype size, QString* why)
{
    try {
        const auto* bytes = reinterpret_cast<const uchar*>(data);
        Reader r(bytes, 0, size);
        r.need(10);
        if (std::memcmp(bytes, "QPIC", 4) != 0)
            fail(QStringLiteral("不是页面数据"));
        if (QByteArray(data + 6, 4) != ownVersion())
            fail(QStringLiteral("页面数据的版本不符"));
        r.skip(10);
        // The opening record: its code, a length byte, the bounding rectangle, the record count.
        if (r.u8() != Begin)
            fail(QStringLiteral("页面数据无效"));
        r.u8();
        r.skip(16 + 4);
        Walk walk;
        while (true) {
            const unsigned code = r.u8();
            quint32 length = r.u8();
            if (length == 255)
                length = r.u32();
            r.need(qsizetype(length));
            if (code == End) {
                if (length != 0 || !r.atEnd())
                    fail(QStringLiteral("页面数据结尾无效"));
                break;
            }
            Reader record(bytes, r.pos(), r.pos() + qsizetype(length));
            payload(code, record, walk);
            if (!record.atEnd())
                fail(QStringLiteral("记录长度不符"));
            r.skip(qsizetype(length));
        }
        return true;
    } catch (const Bad& bad) {
        if (why)
            *why = bad.why;
        return false;
    }
}

} // namespace qx::report
