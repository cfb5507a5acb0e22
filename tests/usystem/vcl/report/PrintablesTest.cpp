// The library's text printables: line breaking, export pieces, stretching over bands, the
// one-print text of OnPrint, the text of expressions and the stream's font size.
#include "usystem/vcl/report/uQxAsciiExport.h"
#include "usystem/vcl/report/uQxQrenh.h"

#include "platform/db/QxMemTable.h"
#include "platform/rtl/Gbk.h"
#include "platform/rtl/SysUtils.h"
#include "platform/report/QRBands.h"
#include "platform/report/QuickRep.h"
#include "platform/report/ReportFonts.h"

#include "tests/platform/report/ReportFixture.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>

namespace printables_test {

inline QFont monoFont()
{
    QFont f(QStringLiteral("DejaVu Sans Mono"));
    f.setPixelSize(12);
    return f;
}

class Printables : public ::testing::Test
{
protected:
    Printables() : data(rpt::table(QStringLiteral("Data")))
    {
        report.Page().SetPaperSize(A4);
        report.Page().SetTopMargin(10);
        report.Page().SetBottomMargin(10);
        report.SetDataSet(data.get());
        band = new TQRBand(&report, rbDetail);
        band->SetHeight(20);
    }
    // A label of the given width in characters of the test font (plus half a character).
    TsQRLabel* label(double chars, const QString& caption = QString())
    {
        auto* l = new TsQRLabel(band);
        l->SetFont(monoFont());
        l->SetAutoSize(false);
        l->SetWidth(int(std::floor(chars * charWidth())));
        l->SetHeight(16);
        l->SetCaption(caption);
        return l;
    }
    static double charWidth() { return qx::report::textWidthPixels(reportFontOf(), QStringLiteral("a")); }
    static QFont reportFontOf() { return qx::report::reportFont(monoFont()); }

    TQuickRep report;
    std::unique_ptr<TQxMemTable> data;
    TQRBand* band = nullptr;
};

} // namespace printables_test

using printables_test::Printables;
using printables_test::monoFont;

TEST_F(Printables, BreakLinesByWordsAndBytes)
{
    ASSERT_GT(charWidth(), 1.0);
    struct Row
    {
        const char* what;
        double chars;
        bool wordWrap;
        const char* text;
        QStringList lines;
    };
    const Row table[] = {
        {"break after a space", 6.5, true, "aaaa bbbb", {"aaaa ", "bbbb"}},
        {"over-wide word at the start keeps its head", 4.5, true, "abcdefghij", {"abcd", ""}},
        {"over-wide word after others gets a line, cut from its end", 4.5, true, "ab abcdefghij cd",
         {"ab ", "abcd", "cd"}},
        {"break after a hyphen", 4.5, true, "ab-cd-ef", {"ab-", "cd-", "ef"}},
        {"CR breaks, LF goes", 9.5, true, "ab\r\ncd\nef", {"ab", "cdef"}},
        {"everything fits", 20, true, "aaaa bbbb", {"aaaa bbbb"}},
        {"without word wrap the first overflow ends the text", 6.5, false, "aaaa bbbb cc", {"aaaa "}},
        {"empty text", 5, true, "", {""}},
    };
    for (const Row& r : table) {
        TsQRLabel* l = label(r.chars);
        l->SetWordWrap(r.wordWrap);
        l->SetCaption(QString::fromUtf8(r.text));
        EXPECT_EQ(l->FormattedLines(), r.lines) << r.what;
        delete l;
    }
}

TEST_F(Printables, ChineseCharactersStayWholeWhenAWordIsCut)
{
    const QString three = QStringLiteral("中文字");
    const double width = qx::report::textWidthPixels(reportFontOf(), three);
    TsQRLabel* l = label(1);
    l->SetWidth(int(std::ceil(width)) + 1);
    l->SetCaption(QStringLiteral("中文字符"));
    EXPECT_EQ(l->FormattedLines(), (QStringList{three, QString()}));
}

TEST_F(Printables, AutoSizeKeepsOneLineAndFollowsItsWidth)
{
    TsQRLabel* l = label(3);
    l->SetAlignment(taRightJustify);
    l->SetLeft(200);
    const int oldWidth = l->Width();
    l->SetAutoSize(true);
    l->SetCaption(QStringLiteral("aaaa bbbb"));
    EXPECT_EQ(l->FormattedLines(), QStringList{QStringLiteral("aaaa bbbb")});
    const int widest = int(std::ceil(qx::report::textWidthPixels(reportFontOf(), QStringLiteral("aaaa bbbb"))));
    EXPECT_EQ(l->Width(), widest);
    EXPECT_EQ(l->Left(), 200 + oldWidth - widest); // the right edge stays
}

TEST_F(Printables, ExportPiecesFollowFrameAndAlignment)
{
    TsQRLabel* l = label(10);
    const double c = double(Round(qx::report::textWidthUnits(reportFontOf(), QStringLiteral("X"))));
    const double tenChars = 10 * c;
    struct Row
    {
        const char* what;
        bool top, left, right, bottom;
        TAlignment alignment;
        const char* line;
        const char* piece;
    };
    const Row table[] = {
        {"four frames, left", true, true, true, true, taLeftJustify, "abc",
         "-----------\r\n|abc     |\r\n-----------"},
        {"four frames, right", true, true, true, true, taRightJustify, "abc",
         "-----------\r\n|     abc|\r\n-----------"},
        {"four frames, centred", true, true, true, true, taCenter, "abc",
         "-----------\r\n| abc    |\r\n-----------"},
        {"left and top only", true, true, false, false, taLeftJustify, "abc", "-----------\r\n|abc      "},
        {"no frame, blanks trimmed", false, false, false, false, taLeftJustify, "  abc\t", "abc       "},
        {"empty line becomes a space", false, true, true, false, taLeftJustify, "", "|        |"},
        {"too long: cut by whole letters", false, false, false, false, taLeftJustify, "abcdefghPQRS",
         "abcdefghPQ"},
        {"a Chinese character that does not fit goes whole", false, false, false, false, taLeftJustify,
         "abcdefghi中", "abcdefghi "},
        {"money gets three spaces", false, true, true, false, taRightJustify, "￥12", "| ￥12   |"},
    };
    for (const Row& r : table) {
        l->Frame().DrawTop = r.top;
        l->Frame().DrawLeft = r.left;
        l->Frame().DrawRight = r.right;
        l->Frame().DrawBottom = r.bottom;
        l->SetAlignment(r.alignment);
        EXPECT_EQ(l->ExportPiece(QString::fromUtf8(r.line), tenChars), QString::fromUtf8(r.piece)) << r.what;
    }

    // An expression's piece is a character wider, three wider for an empty text.
    auto* e = new TsQRExpr(band);
    e->SetFont(monoFont());
    e->SetAutoSize(false);
    EXPECT_EQ(e->ExportPiece(QStringLiteral("abc"), tenChars), QStringLiteral("abc        "));
    EXPECT_EQ(e->ExportPiece(QString(), tenChars), QString(13, u' '));
}

TEST_F(Printables, ExpressionTextByKindAndMask)
{
    struct Row
    {
        const char* what;
        TQREvResult value;
        const char* mask;
        const char* text;
    };
    const Row table[] = {
        {"integer, no mask", TQREvResult::Int(42), "", "42"},
        {"float with mask", TQREvResult::Double(1234.5), "#,##0.00", "1,234.50"},
        {"float, no mask", TQREvResult::Double(2.5), "", "2.5"},
        {"string, no mask", TQREvResult::String(QStringLiteral("12.5")), "", "12.5"},
        {"number text with mask", TQREvResult::String(QStringLiteral(" 12.5 ")), "0.00", " 12.50 "},
        {"digits, commas and spaces stay", TQREvResult::String(QStringLiteral("1,234 5")), "0.00", "1,234 5"},
        {"letters stay as they are", TQREvResult::String(QStringLiteral("abc")), "0.00", "abc"},
        {"Boolean", TQREvResult::Bool(true), "", "True"},
        {"error", TQREvResult::Error(QStringLiteral("bad")), "", "bad"},
    };
    for (const Row& r : table)
        EXPECT_EQ(TsQRExpr::ValueText(r.value, QString::fromUtf8(r.mask)), QString::fromUtf8(r.text)) << r.what;
}

TEST_F(Printables, ExpressionShowsItselfUntilPrinted)
{
    auto* e = new TsQRExpr(band);
    EXPECT_EQ(e->PrintCaption(), QStringLiteral("(none)"));
    e->SetExpression(QStringLiteral("Name"));
    EXPECT_EQ(e->PrintCaption(), QStringLiteral("Name"));
    rpt::add(*data, QStringLiteral("A"), QStringLiteral("r1"), 1);
    rpt::add(*data, QStringLiteral("A"), QStringLiteral("r2"), 2);
    report.Prepare();
    EXPECT_EQ(rpt::texts(report), (QStringList{"1 r1", "1 r2"}));
    EXPECT_EQ(e->PrintCaption(), QStringLiteral("Name"));
}

TEST_F(Printables, OnPrintChangesTheTextOfOnePrint)
{
    rpt::add(*data, QStringLiteral("A"), QStringLiteral("r1"), 1);
    rpt::add(*data, QStringLiteral("A"), QStringLiteral("r2"), 2);
    TsQRLabel* l = label(20, QStringLiteral("cap"));
    int calls = 0;
    l->OnPrint = [&](TsQRCustomLabel*, QString& value) {
        if (++calls == 1)
            value = QStringLiteral("changed");
    };
    report.Prepare();
    EXPECT_EQ(rpt::texts(report), (QStringList{"1 changed", "1 cap"}));
    EXPECT_EQ(l->Caption(), QStringLiteral("cap"));
}

TEST_F(Printables, MemoLinesStretchOverTwoBands)
{
    auto memoData = std::make_unique<TQxMemTable>();
    memoData->setObjectName(QStringLiteral("Memo"));
    memoData->FieldDefs()->Add(QStringLiteral("Note"), ftMemo);
    memoData->Open();
    QStringList lines;
    for (int i = 1; i <= 30; ++i)
        lines << QStringLiteral("L%1").arg(i);
    memoData->Append();
    memoData->FieldByName(QStringLiteral("Note"))->SetAsString(lines.join(QStringLiteral("\r\n")));
    memoData->Post();
    report.SetDataSet(memoData.get());
    auto* title = new TQRBand(&report, rbTitle);
    title->SetHeight(900);
    auto* text = new TsQRDBText(band);
    text->SetDataSet(memoData.get());
    text->SetDataField(QStringLiteral("Note"));
    text->SetAutoSize(false);
    text->SetWidth(300);
    text->SetHeight(20);
    text->SetAutoStretch(true);
    report.Prepare();

    const QStringList layout = rpt::texts(report);
    const qsizetype firstOnPage2 = layout.indexOf(QRegularExpression(QStringLiteral("2 L.*")));
    ASSERT_GT(firstOnPage2, 1) << layout.join(u'|').toStdString();
    QStringList expected;
    for (int i = 1; i <= 30; ++i)
        expected << QStringLiteral("%1 L%2").arg(i < firstOnPage2 + 1 ? 1 : 2).arg(i);
    EXPECT_EQ(layout, expected);
    // After the run it shows its field name again.
    EXPECT_EQ(text->PrintCaption(), QStringLiteral("Note"));
}

TEST_F(Printables, ExportHandsBoxedPiecesToTheFilter)
{
    rpt::add(*data, QStringLiteral("A"), QStringLiteral("r1"), 1);
    TsQRLabel* l = label(10, QStringLiteral("abc"));
    l->Frame().DrawTop = l->Frame().DrawLeft = l->Frame().DrawRight = l->Frame().DrawBottom = true;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    TsQRAsciiExportFilter filter(path);
    report.ExportToFilter(&filter);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = qx::fromGbk(f.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("│abc"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("┌"))) << text.toStdString();
}

TEST_F(Printables, FontSizeTravelsWithTheStream)
{
    TsQRLabel* l = label(10, QStringLiteral("x"));
    EXPECT_EQ(l->property("FontSize").toInt(), 9);
    ASSERT_TRUE(l->setProperty("FontSize", 14));
    l->Loaded();
    EXPECT_EQ(qx::report::fontPointSize(l->Font()), 14);
    auto* other = new TsQRLabel(band);
    other->setProperty("FontSize", 0);
    const int before = qx::report::fontPointSize(other->Font());
    other->Loaded();
    EXPECT_EQ(qx::report::fontPointSize(other->Font()), before);
}

TEST_F(Printables, CaptionFollowsTheName)
{
    auto* l = new TsQRLabel(band);
    l->setObjectName(QStringLiteral("sQRLabel1"));
    EXPECT_EQ(l->Caption(), QStringLiteral("sQRLabel1"));
    l->setObjectName(QStringLiteral("Title"));
    EXPECT_EQ(l->Caption(), QStringLiteral("Title"));
    l->SetCaption(QStringLiteral("Own"));
    l->setObjectName(QStringLiteral("Other"));
    EXPECT_EQ(l->Caption(), QStringLiteral("Own"));
}

TEST_F(Printables, LinesAreCentredAndMovedByTheFrame)
{
    rpt::add(*data, QStringLiteral("A"), QStringLiteral("r1"), 1);
    band->SetHeight(80);
    TsQRLabel* l = label(20, QStringLiteral("abc"));
    l->SetHeight(60);
    auto firstText = [&] {
        report.Prepare();
        const auto pages = qx::report::recordPages(*report.QRPrinter());
        for (const qx::report::RecordedItem& item : pages.value(0)) {
            if (item.kind == qx::report::RecordedItem::Text)
                return item.box;
        }
        return QRectF();
    };
    const QRectF plain = firstText();
    const double area = qx::report::pixelsToUnits(60);
    const double line = qx::report::textHeightUnits(l->Font());
    const double bandTop = report.Page().TopMarginUnits();
    EXPECT_NEAR(plain.top() - bandTop, double(Round(area - line) / 2), 0.5); // the page device works in whole dots

    // A two-point frame moves the text down by its width (7 units) and right by its width
    // and the left inset (7 + 7 units).
    l->Frame().Width = 2;
    l->Frame().DrawTop = l->Frame().DrawLeft = true;
    const QRectF framed = firstText();
    EXPECT_NEAR(framed.top() - plain.top(), 7, 0.5);
    EXPECT_NEAR(framed.left() - plain.left(), 14, 0.5);
}

TEST_F(Printables, OnPrintMayChangeTheFont)
{
    rpt::add(*data, QStringLiteral("A"), QStringLiteral("r1"), 1);
    TsQRLabel* l = label(20, QStringLiteral("cap"));
    l->OnPrint = [](TsQRCustomLabel* sender, QString&) {
        QFont f = sender->Font();
        f.setPixelSize(24);
        sender->SetFont(f);
    };
    report.Prepare();
    const auto pages = qx::report::recordPages(*report.QRPrinter());
    ASSERT_EQ(pages.size(), 1);
    bool found = false;
    for (const qx::report::RecordedItem& item : pages.at(0)) {
        if (item.kind == qx::report::RecordedItem::Text && item.text == QStringLiteral("cap")) {
            EXPECT_EQ(qx::report::fontPointSize(item.font), 18);
            found = true;
        }
    }
    EXPECT_TRUE(found);
}
