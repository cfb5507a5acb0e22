// The data grid's title menu: a right click on the title row opens it at the release point,
// made anew with its eleven items; each item does its one thing.
#include <gtest/gtest.h>

#include "DBGridInputSupport.h"
#include "TitleMenuSupport.h"
#include "tests/support/Scoped.h"

namespace {

// What the title menu asked of the dialogs it opens.
struct DialogCalls
{
    QStringList calls;

    qx::GridDialogBinding binding()
    {
        qx::GridDialogBinding b;
        b.showGridSettingsDialog = [this](TQxCustomDBGrid* g, int mode) {
            calls << QStringLiteral("settings %1 %2").arg(g->objectName()).arg(mode);
        };
        b.showExportDialog = [this](TQxCustomDBGrid* g) {
            calls << QStringLiteral("export %1").arg(g->objectName());
        };
        b.showGridChart = [this](TQxCustomDBGrid* g) {
            calls << QStringLiteral("chart %1").arg(g->objectName());
        };
        return b;
    }
};

int gridOwnedActions(TQxCustomDBGrid* grid)
{
    return int(grid->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly).size());
}

// A table with a date column in front of a text column.
std::unique_ptr<TQxMemTable> makeDated()
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add("Day", ftDateTime, 0);
    t->FieldDefs()->Add("Name", ftString, 20);
    t->Open();
    for (int i = 0; i < 3; ++i) {
        t->Append();
        t->FieldByName("Day")->SetAsDateTime(TDateTime(46000 + i));
        t->FieldByName("Name")->SetAsString(QStringLiteral("n%1").arg(i));
        t->Post();
    }
    t->First();
    return t;
}

} // namespace

TEST(DBGridTitleMenu, ItemsTagsAndOwnerAtEveryOpening)
{
    DBGridWindow w(4);
    storeColumns(w);
    struct Item
    {
        const char* caption; // empty: a separator
        int tag;
    };
    const Item expected[] = {{"输入及显示控制", 0}, {"数据转入转出", 1}, {"数据定位", 2},
                             {"全部选定", 3},       {"清除所选", 4},     {"", 10},
                             {"保存设置", 5},       {"恢复设置", 6},     {"", 7},
                             {"数据输出", 8},       {"数据图表", 9}};
    for (int opening = 0; opening < 2; ++opening) {
        rightClickAt(w.grid, titleCentre(w.grid, 2));
        QMenu* menu = w.grid->TitleMenu();
        ASSERT_TRUE(menu->isVisible());
        EXPECT_EQ(menu->parent(), w.grid);
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), 11);
        for (int i = 0; i < 11; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(items[i]->text(), QString::fromUtf8(expected[i].caption));
            EXPECT_EQ(items[i]->isSeparator(), expected[i].caption[0] == 0);
            EXPECT_EQ(items[i]->property("Tag").toInt(), expected[i].tag);
            EXPECT_EQ(items[i]->parent(), w.grid);
        }
        // The items of the earlier opening are gone, not piled up.
        EXPECT_EQ(gridOwnedActions(w.grid), 11);
        menu->hide();
    }
}

TEST(DBGridTitleMenu, OpensAtTheReleasePointOnEveryKindOfTitle)
{
    DBGridWindow w(4);
    storeColumns(w);
    w.grid->SetFrozenCols(1);
    QApplication::processEvents();
    struct Case
    {
        const char* what;
        int rawCol;
    };
    const Case cases[] = {{"indicator", 0}, {"frozen column", 1}, {"plain column", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QPoint at = titleCentre(w.grid, c.rawCol);
        rightClickAt(w.grid, at);
        QMenu* menu = w.grid->TitleMenu();
        ASSERT_TRUE(menu->isVisible());
        EXPECT_EQ(menu->pos(), w.grid->viewport()->mapToGlobal(at));
        menu->hide();
    }
}

TEST(DBGridTitleMenu, ARightClickOnADataCellOpensNoTitleMenu)
{
    DBGridWindow w(4);
    storeColumns(w);
    rightClickAt(w.grid, cellCentre(w, 1, 1));
    EXPECT_FALSE(w.grid->TitleMenu()->isVisible());
    EXPECT_TRUE(w.grid->TitleMenu()->actions().isEmpty());
}

TEST(DBGridTitleMenu, TheReleaseThatOpensItDoesNothingElse)
{
    DBGridWindow w(4);
    storeColumns(w);
    int titleClicks = 0;
    w.grid->OnTitleClick = [&](TQxColumn*) { ++titleClicks; };
    QMenu columnMenu;
    columnMenu.addAction(QStringLiteral("复制"));
    w.grid->Columns()->Items(1)->SetPopupMenu(&columnMenu);
    rightClickAt(w.grid, titleCentre(w.grid, 2));
    EXPECT_TRUE(w.grid->TitleMenu()->isVisible());
    EXPECT_FALSE(columnMenu.isVisible());
    EXPECT_EQ(titleClicks, 0);
    EXPECT_EQ(w.table->RecNo(), 1);
}

TEST(DBGridTitleMenu, DialogItemsOpenTheirDialogsForTheGrid)
{
    DBGridWindow w(4);
    storeColumns(w);
    w.grid->setObjectName(QStringLiteral("DBGrid1"));
    DialogCalls dialogs;
    const qx::test::ScopedBinding binding(&qx::gridDialogBinding, &qx::setGridDialogBinding,
                                          dialogs.binding());
    struct Case
    {
        const char* caption;
        const char* call;
    };
    const Case cases[] = {{"输入及显示控制", "settings DBGrid1 0"},
                          {"数据转入转出", "settings DBGrid1 1"},
                          {"数据输出", "export DBGrid1"},
                          {"数据图表", "chart DBGrid1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        dialogs.calls.clear();
        chooseTitleMenuItem(w.grid, QString::fromUtf8(c.caption));
        EXPECT_EQ(dialogs.calls, QStringList{QString::fromUtf8(c.call)});
        EXPECT_FALSE(w.grid->TitleMenu()->isVisible());
    }
}

TEST(DBGridTitleMenu, ADialogThatIsNotInstalledIsReported)
{
    DBGridWindow w(2);
    storeColumns(w);
    const qx::test::ScopedBinding binding(&qx::gridDialogBinding, &qx::setGridDialogBinding,
                                          qx::GridDialogBinding{});
    const qx::test::ScopedMissingBindings missing;
    chooseTitleMenuItem(w.grid, QStringLiteral("输入及显示控制"));
    chooseTitleMenuItem(w.grid, QStringLiteral("数据输出"));
    chooseTitleMenuItem(w.grid, QStringLiteral("数据图表"));
    EXPECT_EQ(missing.reported(), (QStringList{QStringLiteral("ShowGridSettingsDialog"),
                                               QStringLiteral("ShowExportDialog"),
                                               QStringLiteral("ShowGridChart")}));
}

TEST(DBGridTitleMenu, SelectAllKeepsTheCurrentRecord)
{
    struct Case
    {
        int rows;
        int current;
        int selected;
    };
    const Case cases[] = {{0, 0, 0}, {1, 1, 1}, {500, 137, 500}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        DBGridWindow w(c.rows);
        storeColumns(w);
        if (c.rows > 0)
            w.table->SetRecNo(c.current);
        QApplication::processEvents();
        chooseTitleMenuItem(w.grid, QStringLiteral("全部选定"));
        EXPECT_EQ(w.grid->SelectedRows()->Count(), c.selected);
        EXPECT_FALSE(w.table->ControlsDisabled());
        if (c.rows > 0) {
            EXPECT_EQ(w.table->RecNo(), c.current);
        }
    }
}

TEST(DBGridTitleMenu, ClearSelectionEmptiesIt)
{
    DBGridWindow w(5);
    storeColumns(w);
    chooseTitleMenuItem(w.grid, QStringLiteral("全部选定"));
    ASSERT_EQ(w.grid->SelectedRows()->Count(), 5);
    chooseTitleMenuItem(w.grid, QStringLiteral("清除所选"));
    EXPECT_EQ(w.grid->SelectedRows()->Count(), 0);
}

TEST(DBGridTitleMenu, SaveSettingsFiresTheHandlerWhenThereIsOne)
{
    DBGridWindow w(3);
    storeColumns(w);
    // Without a handler, and the restore item, nothing happens.
    chooseTitleMenuItem(w.grid, QStringLiteral("保存设置"));
    chooseTitleMenuItem(w.grid, QStringLiteral("恢复设置"));
    QList<QObject*> senders;
    w.grid->OnSaveTitleClick = [&](QObject* Sender) { senders << Sender; };
    chooseTitleMenuItem(w.grid, QStringLiteral("恢复设置"));
    EXPECT_TRUE(senders.isEmpty());
    chooseTitleMenuItem(w.grid, QStringLiteral("保存设置"));
    EXPECT_EQ(senders, QList<QObject*>{w.grid});
}

TEST(DBGridTitleMenu, LocateOpensTheFindBoxExceptOverADateColumn)
{
    GridOver w(makeDated());
    struct Case
    {
        int dataCol;
        bool opens;
    };
    const Case cases[] = {{0, false}, {1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dataCol);
        w.grid->SetSelectedIndex(c.dataCol);
        chooseTitleMenuItem(w.grid, QStringLiteral("数据定位"));
        QApplication::processEvents();
        EXPECT_EQ(w.grid->FindEdit() && w.grid->FindEdit()->isVisible(), c.opens);
    }
}

TEST(DBGridTitleMenu, SelectAllHoldsEachRecordOnceWhateverTheOrderAndEarlierMarks)
{
    struct Case
    {
        const char* what;
        const char* sort; // the dataset's sort, empty for the stored order
        bool markFirst;   // two records marked with keypad '+' before
    };
    const Case cases[] = {{"stored order", "", false},
                          {"marked before", "", true},
                          {"sorted descending", "Qty DESC", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DBGridWindow w(7);
        storeColumns(w);
        if (c.sort[0])
            w.table->SetSort(QString::fromLatin1(c.sort));
        w.table->First();
        if (c.markFirst) {
            keypadPlus();
            press(Qt::Key_Down);
            press(Qt::Key_Down);
            keypadPlus();
            ASSERT_EQ(w.grid->SelectedRows()->Count(), 2);
        }
        chooseTitleMenuItem(w.grid, QStringLiteral("全部选定"));
        EXPECT_EQ(w.grid->SelectedRows()->Count(), 7);
        // Every record answers as selected, wherever the cursor goes.
        w.table->First();
        while (!w.table->Eof()) {
            EXPECT_TRUE(w.grid->SelectedRows()->CurrentRowSelected());
            w.table->Next();
        }
        // And a record taken out is out, once.
        w.table->First();
        w.grid->SelectedRows()->SetCurrentRowSelected(false);
        EXPECT_EQ(w.grid->SelectedRows()->Count(), 6);
    }
}
