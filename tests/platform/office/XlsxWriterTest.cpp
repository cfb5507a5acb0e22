// The spreadsheet writer read back from its file: typed cells, styles, widths, heights, merges.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/office/XlsxWriter.h"
#include "tests/support/OfficeReadBack.h"

using qx::XlsxStyle;
using qx::XlsxWriter;

TEST(XlsxWriter, CellsAreTypedValuesNeverFormulas)
{
    XlsxWriter book;
    const struct { const char* ref; int row, col; QString text; } texts[] = {
        {"A1", 0, 0, QStringLiteral("=1+1")},          // stays text
        {"B1", 0, 1, QStringLiteral("007")},
        {"C1", 0, 2, QStringLiteral("第一行\n第二行")},
        {"D1", 0, 3, QStringLiteral("_x0041_")},        // reads back as typed, not as 'A'
        {"E1", 0, 4, QStringLiteral("a<b&c\"")},
    };
    for (const auto& t : texts)
        book.writeText(t.row, t.col, t.text);
    book.writeNumber(1, 0, 1234.5);
    book.writeNumber(1, 1, 45000); // a date serial
    book.writeBoolean(1, 2, true);
    const auto sheet = qx::test::readSheet(book.finish());
    for (const auto& t : texts) {
        ASSERT_TRUE(sheet.cells.count(t.ref)) << t.ref;
        EXPECT_NE(sheet.cells.at(t.ref).type, u"formula") << t.ref;
        EXPECT_TRUE(sheet.cells.at(t.ref).type == u"inlineStr" || sheet.cells.at(t.ref).type == u"s") << t.ref;
        EXPECT_EQ(sheet.cells.at(t.ref).text, t.text) << t.ref;
    }
    EXPECT_EQ(sheet.cells.at("A2").type, u"n");
    EXPECT_EQ(sheet.cells.at("A2").text, u"1234.5");
    EXPECT_EQ(sheet.cells.at("B2").text, u"45000");
    EXPECT_EQ(sheet.cells.at("C2").type, u"b");
    EXPECT_EQ(sheet.cells.at("C2").text, u"1");
}

TEST(XlsxWriter, StylesWidthsHeightsAndMerges)
{
    XlsxWriter book;
    XlsxStyle titleStyle;
    titleStyle.bold = true;
    titleStyle.fontSize = 18;
    titleStyle.hAlign = XlsxStyle::HAlign::Center;
    titleStyle.vAlign = XlsxStyle::VAlign::Bottom;
    XlsxStyle headStyle;
    headStyle.bold = true;
    headStyle.fillColor = 0xC0C0C0;
    headStyle.hAlign = XlsxStyle::HAlign::Center;
    headStyle.thinBorders = true;
    XlsxStyle moneyStyle;
    moneyStyle.numberFormat = QStringLiteral("#,##0.00_ ");
    moneyStyle.thinBorders = true;
    XlsxStyle blueStyle;
    blueStyle.bold = true;
    blueStyle.fontColor = 0x0000FF;
    blueStyle.fillColor = 0xFFCC99;
    const auto title = book.addStyle(titleStyle);
    const auto head = book.addStyle(headStyle);
    EXPECT_EQ(book.addStyle(XlsxStyle(headStyle)), head); // the same style, the same handle
    const auto money = book.addStyle(moneyStyle);
    const auto blue = book.addStyle(blueStyle);
    book.setColumnWidth(0, 12);
    book.setColumnWidth(1, 1000); // the sheet's limit
    book.mergeText(0, 0, 0, 2, u"标题", title);
    book.writeText(1, 0, u"名称", head);
    book.writeNumber(2, 1, 3.5, money);
    book.writeText(3, 0, u"合计", blue);
    book.setRowHeight(4, 28);
    book.mergeText(4, 0, 4, 2, u"一\r\n二", 0);
    const auto sheet = qx::test::readSheet(book.finish());

    EXPECT_EQ(sheet.merges, (QStringList{"A1:C1", "A5:C5"}));
    // The file keeps a width with the cell's padding added (under one character).
    EXPECT_EQ(int(sheet.columnWidths.at(1)), 12);
    EXPECT_EQ(int(sheet.columnWidths.at(2)), 255);
    EXPECT_EQ(sheet.rowHeights.at(5), 28);
    const auto& t = sheet.cells.at("A1").style;
    EXPECT_TRUE(t.bold);
    EXPECT_EQ(t.fontSize, 18);
    EXPECT_EQ(t.hAlign, u"center");
    EXPECT_TRUE(t.vAlign.isEmpty() || t.vAlign == u"bottom"); // bottom is the file's default
    const auto& h = sheet.cells.at("A2").style;
    EXPECT_TRUE(h.bold);
    EXPECT_EQ(h.fill, u"FFC0C0C0");
    EXPECT_EQ(h.borders, (QStringList{"left", "right", "top", "bottom"}));
    EXPECT_EQ(sheet.cells.at("B3").style.numberFormat, u"#,##0.00_ ");
    EXPECT_EQ(sheet.cells.at("A4").style.fontColor, u"FF0000FF");
    EXPECT_EQ(sheet.cells.at("A4").style.fill, u"FFFFCC99");
    EXPECT_EQ(sheet.cells.at("A5").text, u"一\r\n二");
}

TEST(XlsxWriter, LimitsAndOrderAreRefused)
{
    XlsxWriter book;
    EXPECT_THROW(book.writeText(0, XlsxWriter::MaxColumns, u"x"), qx::EXlsxLimit);
    EXPECT_THROW(book.writeText(XlsxWriter::MaxRows, 0, u"x"), qx::EXlsxLimit);
    EXPECT_THROW(book.writeText(0, 0, QString(XlsxWriter::MaxTextLength + 1, u'x')), qx::EXlsxLimit);
    book.writeText(0, XlsxWriter::MaxColumns - 1, QString(XlsxWriter::MaxTextLength, u'x')); // "XFD1"
    book.writeText(2, 0, u"x");
    EXPECT_THROW(book.writeText(1, 0, u"y"), qx::EXlsxError); // a row that is gone already
    const auto sheet = qx::test::readSheet(book.finish());
    EXPECT_EQ(sheet.cells.at("XFD1").text.size(), XlsxWriter::MaxTextLength);
    EXPECT_THROW(book.finish(), qx::EXlsxError);
}

TEST(XlsxWriter, SaveGoesThroughTheSaveRoutine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("book.xlsx");
    XlsxWriter book;
    book.writeText(0, 0, u"名称");
    book.save(path);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(qx::test::readSheet(f.readAll()).cells.at("A1").text, u"名称");
}
