// Kept cell text layouts: a text drawn from the cache is the picture QPainter::drawText makes of
// the same text in the same box, for every alignment, box, font and text of the tables, single
// lines and wrapped ones, drawn the first time and again; a changed font lays the text out anew,
// a changed box or alignment reuses a single line, a wrapped text is kept per box size; what the
// cache does not take goes to drawText; and the cache stays within its size.
#include <gtest/gtest.h>

#include "usystem/vcl/grids/CellTextLayouts.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <functional>

namespace {

const QSize kCanvas(240, 40);

QImage canvasWith(const std::function<void(QPainter&)>& paint, Qt::LayoutDirection direction = Qt::LeftToRight)
{
    QImage image(kCanvas, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(250, 250, 240));
    QPainter p(&image);
    p.setLayoutDirection(direction);
    p.setPen(QColor(20, 40, 160));
    paint(p);
    p.end();
    return image;
}

QFont fontOf(const char* family, int pixelSize, bool bold = false, bool italic = false)
{
    QFont f{QString::fromLatin1(family)};
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

struct TextCase
{
    const char* name;
    QString text;
};

const TextCase kTexts[] = {
    {"digits", QStringLiteral("123456")},
    {"money", QStringLiteral("1,234.50")},
    {"Chinese", QStringLiteral("配件名称977")},
    {"mixed scripts", QStringLiteral("M12 型号 é ß")},
    {"leading and trailing spaces", QStringLiteral("  A5  ")},
    {"tab and return read as spaces", QStringLiteral("a\tb\rc\nd")},
    {"ampersand", QStringLiteral("R&D")},
    {"long", QStringLiteral("a text much longer than the narrow boxes of the table, and wider still")},
    {"one character", QStringLiteral("个")},
};

struct BoxCase
{
    const char* name;
    QRect box;
};

const BoxCase kBoxes[] = {
    {"wide", {10, 5, 200, 18}},
    {"narrow", {30, 6, 23, 17}},
    {"low", {4, 10, 120, 9}},
    {"odd height", {2, 1, 90, 21}},
    {"at the edge", {-6, -3, 60, 18}},
};

const int kAlignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};

const std::pair<const char*, QFont> kFonts[] = {
    {"default", QFont()},
    {"micro hei 12", fontOf("WenQuanYi Micro Hei", 12)},
    {"bold 15", fontOf("DejaVu Sans", 15, true)},
    {"italic 13", fontOf("DejaVu Serif", 13, false, true)},
};

} // namespace

TEST(CellTextLayouts, DrawsWhatDrawTextDrawsTheFirstTimeAndAgain)
{
    qx::CellTextLayouts cache;
    for (const auto& [fontName, font] : kFonts)
        for (const TextCase& t : kTexts)
            for (const BoxCase& b : kBoxes)
                for (const int align : kAlignments) {
                    SCOPED_TRACE(testing::Message() << fontName << ", " << t.name << ", " << b.name << ", align " << align);
                    const int flags = align | Qt::AlignVCenter | Qt::TextSingleLine;
                    const QImage expected = canvasWith([&](QPainter& p) {
                        p.setFont(font);
                        p.drawText(b.box, flags, t.text);
                    });
                    for (int round = 0; round < 2; ++round) {
                        const QImage drawn = canvasWith([&](QPainter& p) {
                            p.setFont(font);
                            cache.draw(p, b.box, flags, t.text);
                        });
                        ASSERT_EQ(drawn, expected) << "round " << round;
                    }
                }
    // Each text was laid out once per font; boxes and alignments reused the lines.
    EXPECT_EQ(cache.laidOut(), int(std::size(kFonts) * std::size(kTexts)));
    EXPECT_EQ(cache.passedOn(), 0);
}

TEST(CellTextLayouts, AChangedFontLaysOutAnewAChangedBoxOrAlignmentReuses)
{
    qx::CellTextLayouts cache;
    const QString text = QStringLiteral("配件 A17");
    const QRect box(8, 4, 150, 20);
    const int left = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    auto check = [&](const QFont& font, const QRect& r, int flags, const QString& s) {
        const QImage expected = canvasWith([&](QPainter& p) {
            p.setFont(font);
            p.drawText(r, flags, s);
        });
        const QImage drawn = canvasWith([&](QPainter& p) {
            p.setFont(font);
            cache.draw(p, r, flags, s);
        });
        EXPECT_EQ(drawn, expected);
    };
    const QFont plain = fontOf("DejaVu Sans", 12);
    QFont bigger = plain;
    bigger.setPixelSize(16);
    QFont bold = plain;
    bold.setBold(true);

    struct Step
    {
        const char* name;
        QFont font;
        QRect box;
        int flags;
        QString text;
        int laidOut; // lines laid out so far
    };
    const Step steps[] = {
        {"first drawing", plain, box, left, text, 1},
        {"same again", plain, box, left, text, 1},
        {"narrower box", plain, box.adjusted(0, 0, -120, 0), left, text, 1},
        {"taller box", plain, box.adjusted(0, 0, 0, 9), left, text, 1},
        {"right aligned", plain, box, (left & ~Qt::AlignLeft) | Qt::AlignRight, text, 1},
        {"centred", plain, box, (left & ~Qt::AlignLeft) | Qt::AlignHCenter, text, 1},
        {"bigger font", bigger, box, left, text, 2},
        {"bold font", bold, box, left, text, 3},
        {"back to the first font", plain, box, left, text, 3},
        {"other text", plain, box, left, text + u'9', 4},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        check(s.font, s.box, s.flags, s.text);
        EXPECT_EQ(cache.laidOut(), s.laidOut);
    }
    cache.clear();
    EXPECT_EQ(cache.size(), 0);
    check(plain, box, left, text);
    EXPECT_EQ(cache.laidOut(), 5);
}

TEST(CellTextLayouts, PassesOnWhatItDoesNotTake)
{
    const QRect box(6, 2, 80, 34);
    const int single = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    QFont underlined = fontOf("DejaVu Sans", 12);
    underlined.setUnderline(true);
    QFont struck = fontOf("DejaVu Sans", 12);
    struck.setStrikeOut(true);
    struct Case
    {
        const char* name;
        int flags;
        QString text;
        QFont font;
        Qt::LayoutDirection direction;
    };
    const Case cases[] = {
        {"mnemonic", single | Qt::TextShowMnemonic, QStringLiteral("&File"), QFont(), Qt::LeftToRight},
        {"expanded tabs", single | Qt::TextExpandTabs, QStringLiteral("a\tb"), QFont(), Qt::LeftToRight},
        {"right to left painting", single, QStringLiteral("abc"), QFont(), Qt::RightToLeft},
        {"underline", single, QStringLiteral("abc"), underlined, Qt::LeftToRight},
        {"strike-out", single, QStringLiteral("abc"), struck, Qt::LeftToRight},
        {"justified", Qt::AlignJustify | Qt::TextWordWrap, QStringLiteral("two words wrapped"), QFont(), Qt::LeftToRight},
        {"length variants", single, QStringLiteral("long") + QChar(0x9c) + QStringLiteral("short"), QFont(), Qt::LeftToRight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qx::CellTextLayouts cache;
        const QImage expected = canvasWith(
            [&](QPainter& p) {
                p.setFont(c.font);
                p.drawText(box, c.flags, c.text);
            },
            c.direction);
        const QImage drawn = canvasWith(
            [&](QPainter& p) {
                p.setFont(c.font);
                cache.draw(p, box, c.flags, c.text);
            },
            c.direction);
        EXPECT_EQ(drawn, expected);
        EXPECT_EQ(cache.passedOn(), 1);
        EXPECT_EQ(cache.size(), 0);
    }
}

TEST(CellTextLayouts, KeepsNoMoreThanItsCapacityAndDropsTheLeastRecentlyDrawn)
{
    qx::CellTextLayouts cache(3);
    const QRect box(0, 0, 100, 20);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    auto drawText = [&](const QString& s) { canvasWith([&](QPainter& p) { cache.draw(p, box, flags, s); }); };
    drawText("a");
    drawText("b");
    drawText("c");
    drawText("a"); // a is now the most recent
    drawText("d"); // b goes
    EXPECT_EQ(cache.size(), 3);
    EXPECT_EQ(cache.laidOut(), 4);
    drawText("a");
    drawText("c");
    drawText("d");
    EXPECT_EQ(cache.laidOut(), 4);
    drawText("b");
    EXPECT_EQ(cache.laidOut(), 5);
    // An empty text draws nothing and keeps nothing.
    drawText(QString());
    EXPECT_EQ(cache.laidOut(), 5);
    EXPECT_EQ(cache.passedOn(), 0);
}

TEST(CellTextLayouts, AFontNotDrawnWithForAWhileTakesItsLinesWithIt)
{
    qx::CellTextLayouts cache;
    const QRect box(0, 0, 100, 20);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    auto drawWith = [&](int pixelSize) {
        canvasWith([&](QPainter& p) {
            p.setFont(fontOf("DejaVu Sans", pixelSize));
            cache.draw(p, box, flags, QStringLiteral("x"));
        });
    };
    for (int size = 8; size < 8 + 8; ++size)
        drawWith(size);
    EXPECT_EQ(cache.size(), 8);
    drawWith(30); // a ninth font: the first one's line goes
    EXPECT_EQ(cache.size(), 8);
    drawWith(9); // still kept
    EXPECT_EQ(cache.laidOut(), 9);
    drawWith(8); // gone, laid out again
    EXPECT_EQ(cache.laidOut(), 10);
}

TEST(CellTextLayouts, WrappedAndSeveralLineTextsDrawWhatDrawTextDraws)
{
    const QString texts[] = {
        QStringLiteral("配件编号"),
        QStringLiteral("库存数 and price"),
        QStringLiteral("a title long enough to wrap over three lines in the box"),
        QStringLiteral("first\nsecond\nthird"),
        QStringLiteral("one") + QChar(QChar::LineSeparator) + QStringLiteral("two"),
        QStringLiteral("unbreakablewordwiderthanthebox"),
    };
    const QRect boxes[] = {{4, 2, 60, 34}, {10, 0, 120, 36}, {2, 8, 40, 12}, {0, 0, 230, 40}};
    const int flagSets[] = {
        Qt::AlignCenter | Qt::TextWordWrap,
        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
        Qt::AlignRight | Qt::AlignBottom | Qt::TextWrapAnywhere,
        Qt::AlignHCenter | Qt::AlignVCenter,
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextDontClip,
    };
    const QFont fonts[] = {fontOf("WenQuanYi Micro Hei", 12), fontOf("DejaVu Sans", 11, true)};
    qx::CellTextLayouts cache;
    for (const QFont& font : fonts)
        for (const QString& text : texts)
            for (const QRect& box : boxes)
                for (const int flags : flagSets) {
                    SCOPED_TRACE(testing::Message() << font.family().toStdString() << ", " << text.toStdString() << ", box "
                                                    << box.width() << "x" << box.height() << ", flags " << flags);
                    const QImage expected = canvasWith([&](QPainter& p) {
                        p.setFont(font);
                        p.drawText(box, flags, text);
                    });
                    for (int round = 0; round < 2; ++round) {
                        const QImage drawn = canvasWith([&](QPainter& p) {
                            p.setFont(font);
                            cache.draw(p, box, flags, text);
                        });
                        ASSERT_EQ(drawn, expected) << "round " << round;
                    }
                }
    EXPECT_EQ(cache.passedOn(), 0);
}

TEST(CellTextLayouts, AWrappedTextIsKeptPerBoxSizeAndMovesWithItsBox)
{
    qx::CellTextLayouts cache;
    const QString title = QStringLiteral("配件 名称 and more words");
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    struct Step
    {
        const char* name;
        QRect box;
        int laidOut;
    };
    const Step steps[] = {
        {"first", {0, 0, 70, 34}, 1},
        {"moved", {30, 4, 70, 34}, 1},
        {"narrower", {30, 4, 50, 34}, 2},
        {"lower", {30, 4, 50, 16}, 3},
        {"back to the first", {0, 0, 70, 34}, 3},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        const QImage expected = canvasWith([&](QPainter& p) { p.drawText(s.box, flags, title); });
        const QImage drawn = canvasWith([&](QPainter& p) { cache.draw(p, s.box, flags, title); });
        EXPECT_EQ(drawn, expected);
        EXPECT_EQ(cache.laidOut(), s.laidOut);
    }
}
