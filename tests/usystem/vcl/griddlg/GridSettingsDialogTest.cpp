// The grid settings dialog: entry i of each list stands for column i; the menu of the left
// list; OK writes visibility and tab stops into the columns, Cancel and Esc leave them.
#include <gtest/gtest.h>

#include "GridDlgTestSupport.h"
#include "tests/support/Widgets.h"
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/griddlg/uQxDBGDlg.h"

namespace {

std::unique_ptr<TQxMemTable> threeSales()
{
    return makeSales({{"A", 1.5, 1}, {"B", 2.25, 2}, {"C", 3, 3}});
}

// Column marks as four letters: visible 'V' or hidden '-', and so on.
struct ColumnMarks
{
    QList<bool> visible;
    QList<bool> tabStop;
};

void setMarks(SalesGrid& g, const ColumnMarks& m)
{
    for (int i = 0; i < 4; ++i) {
        g.column(i)->SetVisible(m.visible[i]);
        g.column(i)->SetTabStop(m.tabStop[i]);
    }
    QApplication::processEvents();
}

ColumnMarks marksOf(SalesGrid& g)
{
    ColumnMarks m;
    for (int i = 0; i < 4; ++i) {
        m.visible << g.column(i)->Visible();
        m.tabStop << g.column(i)->TabStop();
    }
    return m;
}

// Runs the dialog for the grid; act drives it while it shows.
void runSettings(SalesGrid& g, std::function<void(TFrmDBGridDlg&)> act)
{
    qx::test::script().answerDialog([act](QDialog& d) {
        auto* dlg = qobject_cast<TFrmDBGridDlg*>(&d);
        ASSERT_NE(dlg, nullptr);
        act(*dlg);
    });
    ShowGridSettingsDialog(g.grid, 0);
    EXPECT_EQ(qx::ScriptedDialogService::current()->unexpected(), 0);
}

const QList<bool> allOf(bool v)
{
    return {v, v, v, v};
}

} // namespace

TEST(GridSettingsDialog, ListsOnShowFollowTheColumnsByIndex)
{
    struct Case
    {
        const char* what;
        ColumnMarks marks;
        QList<bool> left;
        QList<bool> right;
    };
    const Case cases[] = {
        {"all shown, all tab stops", {allOf(true), allOf(true)}, allOf(true), allOf(false)},
        {"one hidden, two tab stops",
         {{true, false, true, true}, {false, true, true, false}},
         {true, false, true, true},
         {false, true, true, false}},
        {"none shown, no tab stop", {allOf(false), allOf(false)}, allOf(false), allOf(false)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SalesGrid g(threeSales());
        setMarks(g, c.marks);
        runSettings(g, [&](TFrmDBGridDlg& d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("数据编辑框参数设定"));
            const QStringList captions{QStringLiteral("编号"), QStringLiteral("单价"),
                                       QStringLiteral("数量"), QStringLiteral("备注")};
            EXPECT_EQ(entriesOf(d.LbxColumns), captions);
            EXPECT_EQ(entriesOf(d.LbxTabStop), captions);
            EXPECT_EQ(checksOf(d.LbxColumns), c.left);
            EXPECT_EQ(checksOf(d.LbxTabStop), c.right);
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(d.LbxColumns->GetItemImageIndex(i), 0);
                EXPECT_EQ(d.LbxTabStop->GetItemImageIndex(i), 3);
            }
            d.BtnCancel->click();
        });
    }
}

TEST(GridSettingsDialog, OkWithoutAChangeLeavesTheGridAsItWas)
{
    struct Case
    {
        const char* what;
        QStringList captions;
        ColumnMarks marks;
    };
    const QStringList distinct{QStringLiteral("编号"), QStringLiteral("单价"), QStringLiteral("数量"),
                               QStringLiteral("备注")};
    // The second and third columns share a caption.
    const QStringList shared{QStringLiteral("编号"), QStringLiteral("金额"), QStringLiteral("金额"),
                             QStringLiteral("备注")};
    const Case cases[] = {
        {"all shown, all tab stops", distinct, {allOf(true), allOf(true)}},
        {"some hidden, some tab stops", distinct, {{false, true, true, false}, {true, false, true, false}}},
        {"one caption twice, second shown", shared, {{true, false, true, true}, {true, true, false, true}}},
        {"one caption twice, first shown", shared, {{true, true, false, true}, allOf(true)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SalesGrid g(threeSales(), c.captions);
        setMarks(g, c.marks);
        runSettings(g, [](TFrmDBGridDlg& d) { QTest::mouseClick(d.BtnOk, Qt::LeftButton); });
        const ColumnMarks after = marksOf(g);
        EXPECT_EQ(after.visible, c.marks.visible);
        EXPECT_EQ(after.tabStop, c.marks.tabStop);
    }
}

TEST(GridSettingsDialog, OkWritesTheClickedMarksIntoTheColumns)
{
    SalesGrid g(threeSales());
    setMarks(g, {allOf(true), allOf(true)});
    runSettings(g, [](TFrmDBGridDlg& d) {
        clickCheck(d.LbxColumns, 1); // hide 单价
        clickCheck(d.LbxTabStop, 0); // the cursor stops only on 编号 and 数量
        clickCheck(d.LbxTabStop, 2);
        QTest::mouseClick(d.BtnOk, Qt::LeftButton);
    });
    const ColumnMarks after = marksOf(g);
    EXPECT_EQ(after.visible, (QList<bool>{true, false, true, true}));
    EXPECT_EQ(after.tabStop, (QList<bool>{true, false, true, false}));
    EXPECT_FALSE(g.grid->VisibleColumns().contains(g.column(1)));
    // The grid's own cell tab stops follow: the hidden column and the unchosen ones are out.
    EXPECT_TRUE(g.grid->TabStops(g.grid->DataToRawColumn(0)));
    EXPECT_FALSE(g.grid->TabStops(g.grid->DataToRawColumn(3)));
    EXPECT_TRUE(g.window->updatesEnabled());
}

TEST(GridSettingsDialog, NoTabStopChosenMakesEveryColumnATabStop)
{
    SalesGrid g(threeSales());
    setMarks(g, {allOf(true), {true, false, false, true}});
    runSettings(g, [](TFrmDBGridDlg& d) {
        clickCheck(d.LbxTabStop, 0);
        clickCheck(d.LbxTabStop, 3);
        ASSERT_EQ(checksOf(d.LbxTabStop), allOf(false));
        QTest::mouseClick(d.BtnOk, Qt::LeftButton);
    });
    EXPECT_EQ(marksOf(g).tabStop, allOf(true));
}

TEST(GridSettingsDialog, CancelAndEscLeaveTheGridUntouched)
{
    struct Case
    {
        const char* what;
        std::function<void(TFrmDBGridDlg&)> close;
    };
    const Case cases[] = {
        {"cancel", [](TFrmDBGridDlg& d) { QTest::mouseClick(d.BtnCancel, Qt::LeftButton); }},
        {"esc", [](TFrmDBGridDlg& d) { QTest::keyClick(d.LbxColumns, Qt::Key_Escape); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SalesGrid g(threeSales());
        setMarks(g, {{true, false, true, true}, {true, false, true, false}});
        runSettings(g, [&](TFrmDBGridDlg& d) {
            clickCheck(d.LbxColumns, 0);
            clickCheck(d.LbxColumns, 1);
            clickCheck(d.LbxTabStop, 1);
            c.close(d);
            EXPECT_FALSE(d.OkPressed());
        });
        const ColumnMarks after = marksOf(g);
        EXPECT_EQ(after.visible, (QList<bool>{true, false, true, true}));
        EXPECT_EQ(after.tabStop, (QList<bool>{true, false, true, false}));
    }
}

TEST(GridSettingsDialog, TheLeftListsMenu)
{
    struct Case
    {
        const char* item;
        QStringList captions;
        QList<bool> before; // visible columns
        QList<bool> after;  // left marks
    };
    const QStringList distinct{QStringLiteral("编号"), QStringLiteral("单价"), QStringLiteral("数量"),
                               QStringLiteral("备注")};
    const QStringList shared{QStringLiteral("编号"), QStringLiteral("金额"), QStringLiteral("金额"),
                             QStringLiteral("备注")};
    const Case cases[] = {
        {"全部选定", distinct, {false, true, false, false}, allOf(true)},
        {"清除所选列表", distinct, {true, true, false, true}, allOf(false)},
        {"设为默认值", distinct, {false, false, false, false}, allOf(true)},
        // Each column checks the first entry of its caption: a second one keeps its mark.
        {"设为默认值", shared, {false, false, false, false}, {true, true, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        SalesGrid g(threeSales(), c.captions);
        setMarks(g, {c.before, allOf(true)});
        runSettings(g, [&](TFrmDBGridDlg& d) {
            chooseListMenuItem(d.LbxColumns, QString::fromUtf8(c.item));
            EXPECT_EQ(checksOf(d.LbxColumns), c.after);
            QTest::mouseClick(d.BtnOk, Qt::LeftButton);
        });
        EXPECT_EQ(marksOf(g).visible, c.after);
    }
}

namespace {

// A grid that notes whether its window's updates were locked each time it recomputes its
// cells from its columns, and can be made to fail there.
class WatchedGrid : public TQxDBGrid
{
public:
    using TQxDBGrid::TQxDBGrid;
    QList<bool> lockedAtRecompute;
    bool fail = false;

    void SetColumnAttributes() override
    {
        lockedAtRecompute << !window()->updatesEnabled();
        TQxDBGrid::SetColumnAttributes();
        if (fail)
            throw Exception(QStringLiteral("列设置失败"));
    }
};

} // namespace

TEST(GridSettingsDialog, TheWindowsUpdatesAreLockedWhileApplyingAndUnlockedOnEveryPath)
{
    for (bool fail : {false, true}) {
        SCOPED_TRACE(fail);
        auto table = threeSales();
        QWidget window;
        auto* source = new TDataSource(&window);
        source->SetDataSet(table.get());
        auto* grid = new WatchedGrid(&window);
        grid->resize(400, 200);
        grid->SetDataSource(source);
        window.show();
        QApplication::processEvents();
        grid->lockedAtRecompute.clear();
        grid->fail = fail;
        qx::test::script().answerDialog([](QDialog& d) {
            auto& dlg = static_cast<TFrmDBGridDlg&>(d);
            clickCheck(dlg.LbxColumns, 0);
            QTest::mouseClick(dlg.BtnOk, Qt::LeftButton);
        });
        if (fail)
            EXPECT_THROW(ShowGridSettingsDialog(grid, 0), Exception);
        else
            ShowGridSettingsDialog(grid, 0);
        grid->fail = false;
        ASSERT_FALSE(grid->lockedAtRecompute.isEmpty());
        EXPECT_FALSE(grid->lockedAtRecompute.contains(false));
        EXPECT_TRUE(window.updatesEnabled());
        EXPECT_EQ(grid->Columns()->Items(0)->Visible(), false);
        source->SetDataSet(nullptr);
    }
}
