// The word-processor export read back from its file, the column lookups, and the one-call print
// through the grid printer's binding.
#include <gtest/gtest.h>

#include "ExportTestSupport.h"
#include "platform/office/DesktopOpen.h"
#include "tests/support/OfficeReadBack.h"
#include "tests/support/SaveFault.h"
#include "tests/support/Scoped.h"
#include "tests/support/Widgets.h"
#include "usystem/vcl/export/uQxDBGridRoutines.h"
#include "usystem/vcl/export/uQxTranOut.h"

using qxtest::ExportGrid;

TEST(WordExport, TitleOneTableOfVisibleColumnsAndSubtitle)
{
    ExportGrid g({{"Code", ftString, 10}, {"Hidden", ftString, 5}, {"Note", ftMemo}, {"Ok", ftBoolean}},
                 {{"A01", "x", "第一行\r\n第二行", true}, {"B<&>", "y", QVariant(), false}});
    TQxDBGridColumns* cols = g.grid()->Columns();
    for (const char* name : {"Code", "Hidden", "Note", "Ok"}) {
        TQxColumn* c = cols->Add();
        c->SetFieldName(name);
        c->Title()->SetCaption(QStringLiteral("题") + QLatin1String(name));
    }
    cols->Items(1)->SetVisible(false);
    g.grid()->window()->setWindowTitle(QStringLiteral("工单浏览"));
    qx::DesktopOpeningOff off;
    EXPECT_TRUE(ExportGridToWord(g.grid(), QStringLiteral("标题"), QStringLiteral("副标题"), g.grid()));
    ASSERT_EQ(off.requested().size(), 1);
    const QString path = off.requested()[0];
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith(QStringLiteral("工单浏览_")));
    const auto body = qx::test::readDocument(qxtest::fileBytes(path));
    QFile::remove(path);
    ASSERT_EQ(body.blocks.size(), 4u);
    EXPECT_EQ(body.blocks[0].paragraph, u"标题");
    ASSERT_TRUE(body.blocks[1].table);
    const std::vector<QStringList> rows{{"题Code", "题Note", "题Ok"},
                                        {"A01", "第一行\n第二行", "是"},
                                        {"B<&>", "", "否"}};
    EXPECT_EQ(body.blocks[1].rows, rows);
    EXPECT_EQ(body.blocks[2].paragraph, u"");
    EXPECT_EQ(body.blocks[3].paragraph, u"副标题");
    EXPECT_TRUE(g.table().Eof()); // the dataset stays on its end
}

TEST(WordExport, EmptyTitlesGiveTheTableAndOneEmptyParagraph)
{
    ExportGrid g({{"Code", ftString, 10}}, {});
    qx::DesktopOpeningOff off;
    EXPECT_TRUE(ExportGridToWord(g.grid(), QString(), QString(), g.grid()));
    ASSERT_EQ(off.requested().size(), 1);
    const auto body = qx::test::readDocument(qxtest::fileBytes(off.requested()[0]));
    QFile::remove(off.requested()[0]);
    ASSERT_EQ(body.blocks.size(), 2u);
    EXPECT_EQ(body.blocks[0].rows, (std::vector<QStringList>{{"Code"}}));
    EXPECT_EQ(body.blocks[1].paragraph, u"");
}

TEST(WordExport, AFileThatCannotBeWrittenShowsTheMessageAndGivesFalse)
{
    ExportGrid g({{"Code", ftString, 10}}, {{"a"}});
    auto& script = qx::test::script();
    script.clear();
    script.answerMessage(qx::mrOk);
    qx::DesktopOpeningOff off;
    const qxtest::SaveFault full(qx::SaveStep::Create);
    EXPECT_FALSE(ExportGridToWord(g.grid(), QString(), QString(), g.grid()));
    EXPECT_EQ(script.messages(), QStringList{"WORD没有正确安装！"});
    EXPECT_TRUE(off.requested().isEmpty());
}

TEST(ColumnLookup, FirstMatchIgnoringCaseAndNoneWhenAbsent)
{
    ExportGrid g({{"ItemCode", ftString, 10}, {"Name", ftString, 10}}, {});
    TQxDBGridColumns* cols = g.grid()->Columns();
    TQxColumn* code = cols->Add();
    code->SetFieldName("ItemCode");
    code->Title()->SetCaption(QStringLiteral("Part No"));
    TQxColumn* name = cols->Add();
    name->SetFieldName("Name");
    name->Title()->SetCaption(QStringLiteral("名称"));
    TQxColumn* again = cols->Add();
    again->SetFieldName("itemcode");
    again->Title()->SetCaption(QStringLiteral("PART NO"));
    const struct { QString text; TQxColumn* byField; TQxColumn* byCaption; } cases[] = {
        {"itemcode", code, nullptr}, {"ITEMCODE", code, nullptr}, {"part no", nullptr, code},
        {"名称", nullptr, name},       {"Name", name, nullptr},        {"Missing", nullptr, nullptr},
        {"", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ColumnByFieldName(g.grid(), c.text), c.byField) << c.text.toStdString();
        EXPECT_EQ(ColumnByCaption(g.grid(), c.text), c.byCaption) << c.text.toStdString();
    }
    EXPECT_EQ(ColumnByFieldName(nullptr, "x"), nullptr);
}

namespace {

struct PrintLog
{
    QStringList calls;
    bool fail = false;
    int alive = 0;
};

class FakeGridPrintJob : public QxGridPrintJob
{
public:
    explicit FakeGridPrintJob(PrintLog& log) : m_log(log) { ++m_log.alive; }
    ~FakeGridPrintJob() override { --m_log.alive; }
    void SetPageTitle1(const QString& v) override { m_log.calls << "title1=" + v; }
    void SetPageTitle2(const QString& v) override { m_log.calls << "title2=" + v; }
    void SetPageFootExpr(const QString& v) override { m_log.calls << "foot=" + v; }
    void SetDBGrid(TQxDBGrid* grid) override { m_log.calls << "grid=" + grid->objectName(); }
    void Print(bool preview) override
    {
        m_log.calls << (preview ? "preview" : "print");
        if (m_log.fail)
            throw Exception(QStringLiteral("打印机出错"));
    }

private:
    PrintLog& m_log;
};

} // namespace

TEST(GridPrint, PrintGridPassesItsArgumentsInOrderAndFreesThePrinter)
{
    ExportGrid g({{"Code", ftString, 10}}, {});
    g.grid()->setObjectName("DBGrid1");
    PrintLog log;
    const qx::test::ScopedBinding<QxGridPrintJobFactory> binding(
        &gridPrintJobFactory, &setGridPrintJobFactory,
        [&log] { return std::make_unique<FakeGridPrintJob>(log); });
    PrintGrid(g.grid(), g.grid(), QStringLiteral("销售单"), QString(), QStringLiteral("'第'+PAGE"), true);
    EXPECT_EQ(log.calls, (QStringList{"title1=销售单", "title2=", "foot='第'+PAGE", "grid=DBGrid1", "preview"}));
    EXPECT_EQ(log.alive, 0);

    log.calls.clear();
    log.fail = true;
    EXPECT_THROW(PrintDBGrid(g.grid(), "a", "b", "", false), Exception);
    EXPECT_EQ(log.calls.last(), "print");
    EXPECT_EQ(log.alive, 0); // freed also when printing fails
}

TEST(GridPrint, WithoutAGridPrinterTheMissingBindingIsReported)
{
    ExportGrid g({{"Code", ftString, 10}}, {});
    const qx::test::ScopedBinding<QxGridPrintJobFactory> binding(&gridPrintJobFactory, &setGridPrintJobFactory, {});
    const qx::test::ScopedMissingBindings missing;
    PrintGrid(g.grid(), g.grid(), "x", "", "", true);
    EXPECT_EQ(missing.reported(), QStringList{"GridPrintJobFactory"});
}
