// The boxed text export: pieces placed on the character grid, frames turned into box-drawing
// characters, and the file written whole or not at all.
#include "usystem/vcl/report/uQxAsciiExport.h"

#include "platform/report/ReportFonts.h"
#include "platform/rtl/Gbk.h"
#include "platform/rtl/SafeSave.h"

#include "tests/support/SaveFault.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray gbkText(const char* utf8)
{
    return qx::toGbk(QString::fromUtf8(utf8));
}

std::vector<QByteArray> gbkLines(std::initializer_list<const char*> utf8)
{
    std::vector<QByteArray> out;
    for (const char* l : utf8)
        out.push_back(gbkText(l));
    return out;
}

// Rows of a page, one line per row.
std::vector<QByteArray> boxRows(std::initializer_list<const char*> lines)
{
    return gbkLines(lines);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

// A font of 72 points: a character is 254 report units wide and high.
QFont exportFont()
{
    QFont f = qx::report::defaultReportFont();
    f.setPixelSize(96);
    return f;
}
constexpr double kCell = 254.0;
// The X that puts text at byte column c (from 1).
double xAt(int c)
{
    return c * kCell / 1.7;
}

} // namespace

TEST(AsciiExport, NamesItself)
{
    TsQRAsciiExportFilter f(QString{});
    EXPECT_EQ(f.Description(), QStringLiteral("文本输出过滤"));
    EXPECT_EQ(f.FilterName(), QStringLiteral("文本文件"));
    EXPECT_EQ(f.Extension(), QStringLiteral("TXT"));
}

TEST(AsciiExport, FramesBecomeBoxDrawing)
{
    struct Row
    {
        const char* what;
        std::vector<QByteArray> rows;
        std::vector<QByteArray> lines;
    };
    const Row table[] = {
        {"one box; the odd dash stays at the left end of the rule",
         boxRows({"------", "|abc|", "------"}),
         gbkLines({"┌-─┐", "│abc│", "└-─┘"})},
        {"a rule between rows",
         boxRows({"------", "|abc|", "------", "|def|", "------"}),
         gbkLines({"┌-─┐", "│abc│", "├-─┤", "│def│", "└-─┘"})},
        {"cells of different widths: the rule below a bar that ends is pushed along",
         boxRows({"--------", "|ab|cd|", "--------", "|a  bc|", "--------"}),
         gbkLines({"┌─┬─┐", "│ab│cd│", "├─┴─┤", "│a   bc│", "└───┘"})},
        // The rule below is still pushed along, so the bar above it now misses its end.
        {"no space to push the text along: nothing is inserted there",
         boxRows({"--------", "|ab|cd|", "--------", "|abc  |", "--------"}),
         gbkLines({"┌─┬─┐", "│ab│cd│", "├─┴─┤", "│abc  │", "└-──┴─"})},
        {"a second byte that looks like a bar is text",
         {QByteArray("|\x81\x7C|")},
         gbkLines({"│亅│"})},
        {"an empty line inside a row stays; a row without text has no line",
         boxRows({"abc\r\n\r\na-b", "", "x"}),
         gbkLines({"abc", "", "a-b", "x"})},
    };
    for (const Row& r : table)
        EXPECT_EQ(TsQRAsciiExportFilter::PageLines(r.rows), r.lines) << r.what;
}

TEST(AsciiExport, PiecesOverlayTheirRow)
{
    QTemporaryDir dir;
    TsQRAsciiExportFilter g(dir.filePath(QStringLiteral("a.txt")));
    g.Start(2100, 2970, exportFont());
    EXPECT_EQ(g.LinesPerPage(), 12); // 2970 / 254, rounded
    g.NewPage();
    const QString boxA = QStringLiteral("------\r\n|abc|\r\n------");
    const QString boxB = QStringLiteral("------\r\n|def|\r\n------");
    g.TextOut(xAt(1), 0, exportFont(), clWhite, taLeftJustify, boxA);
    g.TextOut(xAt(6), 0, exportFont(), clWhite, taLeftJustify, boxB);
    g.TextOut(xAt(10), 2 * kCell, exportFont(), clWhite, taRightJustify, QStringLiteral("abc"));
    g.TextOut(xAt(3), 3 * kCell, exportFont(), clWhite, taLeftJustify, QStringLiteral("中文"));
    ASSERT_EQ(g.PageRows().size(), 4u);
    EXPECT_EQ(g.PageRows()[0], QByteArray("-----------\r\n|abc||def|\r\n-----------"));
    EXPECT_EQ(g.PageRows()[1], QByteArray());
    EXPECT_EQ(g.PageRows()[2], QByteArray("      abc")); // moved left by its own length
    EXPECT_EQ(g.PageRows()[3], QByteArray("  ") + gbkText("中文"));
    // Boxes side by side share their bar.
    EXPECT_EQ(TsQRAsciiExportFilter::PageLines(g.PageRows()),
              gbkLines({"┌──┬-─┐", "│abc │def│", "└──┴-─┘", "      abc", "  中文"}));
}

TEST(AsciiExport, WritesPagesAndCutsAnOlderLongerFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grid.txt"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        ASSERT_EQ(old.write(QByteArray(5000, 'x')), 5000);
    }
    TsQRAsciiExportFilter f(path);
    f.Start(2100, 2970, exportFont());
    f.NewPage();
    f.TextOut(xAt(1), 0, exportFont(), clWhite, taLeftJustify, QStringLiteral("------\r\n|abc|\r\n------"));
    f.EndPage();
    f.NewPage(); // an empty page writes nothing
    f.EndPage();
    f.NewPage();
    f.TextOut(xAt(2), kCell, exportFont(), clWhite, taLeftJustify, QStringLiteral("末页"));
    f.EndPage();
    f.Finish();
    EXPECT_EQ(readAll(path), gbkText("┌-─┐\r\n│abc│\r\n└-─┘\r\n \r\n \r\n 末页\r\n \r\n \r\n"));
}

TEST(AsciiExport, AnEmptyReportGivesAnEmptyFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty.txt"));
    TsQRAsciiExportFilter f(path);
    f.Start(2100, 2970, exportFont());
    f.NewPage();
    f.EndPage();
    f.Finish();
    EXPECT_EQ(readAll(path), QByteArray());
}

TEST(AsciiExport, FilesThatCannotBeWrittenRaiseTheirMessages)
{
    QTemporaryDir dir;
    const QString readOnly = dir.filePath(QStringLiteral("ro.txt"));
    {
        QFile f(readOnly);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write("old"), 3);
    }
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup));
    const QString missing = dir.filePath(QStringLiteral("no/such/a.txt"));
    struct Row
    {
        QString file;
        QString message;
    };
    const Row table[] = {
        {readOnly, QStringLiteral("打开文件:") + readOnly + QStringLiteral("出错！")},
        {missing, QStringLiteral("生成文件:") + missing + QStringLiteral("出错！")},
    };
    for (const Row& r : table) {
        TsQRAsciiExportFilter f(r.file);
        try {
            f.Start(2100, 2970, exportFont());
            ADD_FAILURE() << "no exception for " << r.file.toStdString();
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.Message(), r.message);
        }
    }
    EXPECT_EQ(readAll(readOnly), QByteArray("old"));
}

TEST(AsciiExport, AFailedWriteRaisesAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grid.txt"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        ASSERT_EQ(old.write("old text"), 8);
    }
    qxtest::SaveFault full(qx::SaveStep::Write);
    TsQRAsciiExportFilter f(path);
    f.Start(2100, 2970, exportFont());
    f.NewPage();
    f.TextOut(xAt(1), 0, exportFont(), clWhite, taLeftJustify, QStringLiteral("abc"));
    try {
        f.EndPage();
        f.Finish();
        ADD_FAILURE() << "the failed write went unnoticed";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("生成文件:") + path + QStringLiteral("出错！"));
    }
    EXPECT_EQ(readAll(path), QByteArray("old text"));
}

TEST(AsciiExport, RowsAndLinesGrowBeyondAPage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.txt"));
    TsQRAsciiExportFilter f(path);
    f.Start(2100, 2970, exportFont());
    f.NewPage();
    const QString wide(3000, u'w');
    f.TextOut(xAt(1), 500 * kCell, exportFont(), clWhite, taLeftJustify, wide);
    f.EndPage();
    f.Finish();
    EXPECT_EQ(readAll(path), qx::toGbk(wide) + "\r\n \r\n \r\n");
}
