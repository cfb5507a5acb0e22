// The pieces of the grid printer's RTF export, as tables.
#include "PrintGridPrintFixture.h"

#include "usystem/vcl/printgrid/uQxPrintGridRtf.h"

#include <gtest/gtest.h>

using namespace qxprinttest;

namespace {

QFont rtfTestFont(const QString& face, int points, bool bold = false, bool italic = false, bool underline = false,
                  bool strike = false)
{
    QFont f(face);
    f.setPointSize(points);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStrikeOut(strike);
    return f;
}

} // namespace

TEST(RtfPieces, FontSpec)
{
    const RtfFontList fonts = {{"Arial", 2}, {"Courier", 3}, {"Times", 1}, {"宋体", 0}};
    struct Case
    {
        QFont font;
        TColor color;
        const char* expected;
    };
    const Case cases[] = {
        {rtfTestFont("宋体", 9, true), clBlack, "\\f3\\fs18\\b"},
        {rtfTestFont("Arial", 12), clBlack, "\\f0\\fs24"},
        {rtfTestFont("courier", 10, false, true, true, true), clBlack, "\\f1\\fs20\\i\\ul\\strike"},
        {rtfTestFont("Times", 9, true, true), 0x0000FF, "\\f2\\fs18\\b\\i\\cf9 "},
        {rtfTestFont("NoSuchFace", 9), clBlack, "\\f0\\fs18"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RtfFontSpec(c.font, fonts, c.color), QByteArray(c.expected)) << c.expected;
}

TEST(RtfPieces, ColorRefAndEntry)
{
    struct Case
    {
        TColor color;
        const char* ref;
        const char* entry;
    };
    const Case cases[] = {
        {0x000000, "", "\\red0\\green0\\blue0;"},
        {0x0000FF, "\\cf9 ", "\\red255\\green0\\blue0;"},
        {0x000080, "\\cf1 ", "\\red128\\green0\\blue0;"},
        {0xFF0000, "\\cf12 ", "\\red0\\green0\\blue255;"},
        {0xC0C0C0, "\\cf8 ", "\\red192\\green192\\blue192;"}, // the first of the two silvers
        {0x808080, "\\cf7 ", "\\red128\\green128\\blue128;"},
        {0xFFFFFF, "\\cf17 ", "\\red255\\green255\\blue255;"},
        {0x123456, "", "\\red86\\green52\\blue18;"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RtfColorRef(c.color), QByteArray(c.ref)) << std::hex << c.color;
        EXPECT_EQ(RtfColorEntry(c.color), QByteArray(c.entry)) << std::hex << c.color;
    }
    EXPECT_EQ(RtfColorTable().size(), 18);
}

TEST(RtfPieces, PadAligned)
{
    struct Case
    {
        const char* text;
        int width;
        TAlignment alignment;
        int charWidth;
        const char* padded;
    };
    const Case cases[] = {
        {"ab", 60, taRightJustify, 5, "       ab"},   // 10 characters: 7 blanks
        {"ab", 60, taCenter, 5, "    ab"},           // 4 blanks
        {"ab", 60, taLeftJustify, 5, "ab"},
        {"abcdefghi", 60, taRightJustify, 5, "abcdefghi"}, // 10 - 9 - 1: none
        {"abcdefghijkl", 60, taCenter, 5, "abcdefghijkl"}, // longer: unchanged
        {"名称", 60, taRightJustify, 5, "     名称"},  // four GBK bytes: 5 blanks
        {"", 60, taCenter, 5, "     "},
        {"x", 0, taRightJustify, 5, "x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PadAligned(QString::fromUtf8(c.text), c.width, c.alignment, c.charWidth), QString::fromUtf8(c.padded))
            << c.text << " " << c.width << " " << int(c.alignment);
}

TEST(RtfPieces, TextIsEscaped)
{
    struct Case
    {
        const char* text;
        const char* rtf;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"a{b}c", "a\\{b\\}c"},
        {"C:\\dir", "C:\\\\dir"},
        {"名", "\\'c3\\'fb"},
        {"{名}", "\\{\\'c3\\'fb\\}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RtfText(QString::fromUtf8(c.text)), QByteArray(c.rtf)) << c.text;
}

TEST(RtfPieces, ParagraphsAndLines)
{
    const RtfFontList fonts = {{"宋体", 0}};
    RtfDocument doc;
    doc.WriteRtfParagraph(QString(), rtfTestFont("宋体", 9), fonts);
    doc.WriteRtfLines({}, rtfTestFont("宋体", 9), fonts);
    EXPECT_TRUE(doc.Bytes().isEmpty());
    doc.WriteRtfParagraph(QStringLiteral("{x}"), rtfTestFont("宋体", 12, true), fonts);
    EXPECT_EQ(doc.Bytes(), QByteArray("\\pard\\nowidctlpar\\cf0\\i0\\b0\\ul0\\strike0\\f0\\fs24\\b \\{x\\}\\f0\\par\r\n"));
    RtfDocument lines;
    lines.WriteRtfLines({QStringLiteral("a"), QStringLiteral("b")}, rtfTestFont("宋体", 9), fonts);
    EXPECT_EQ(lines.Bytes(),
              QByteArray("\\pard\\nowidctlpar\\cf0\\i0\\b0\\ul0\\strike0\\f0\\fs18\r\n a\\par\r\n b\\par\r\n"));
}

