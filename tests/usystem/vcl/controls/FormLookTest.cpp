// The look pass over the library's own grids, outlook bar and wizard tree, through the rules
// their units register, on a base form shown headless.
#include "usystem/vcl/controls/uBase.h"
#include "usystem/vcl/controls/uQxFormLook.h"

#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "platform/ui/Components.h"
#include "tests/support/Scoped.h"
#include "usystem/vcl/ado/uDMDataBase.h"
#include "usystem/vcl/bars/uQxOutBar.h"
#include "usystem/vcl/bars/uQxWizardTree.h"
#include "usystem/vcl/dbedits/uQxDBCheckBox.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/recordgrid/uQxDBVGrid.h"

#include <gtest/gtest.h>

#include <QFrame>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace {

// What the recording hook makes of a text: "金额" gains a group word (so the data grid's title
// tree changes only when the grid is laid out anew), every other text is bracketed.
QString lookHookText(const QString& text)
{
    if (text == QStringLiteral("金额"))
        return QStringLiteral("费用_金额");
    return QStringLiteral("<") + text + u'>';
}

// A text hook that keeps every text the pass hands it.
struct RecordingTextHook
{
    QStringList seen;
    qx::test::ScopedTextHook scope{[this](const QString& text) {
        seen << text;
        return lookHookText(text);
    }};
};

// A form that adds a data grid in its first BeforeFormLook.
class LookPassForm : public TFrmBase
{
public:
    TQxDBGrid* lateGrid = nullptr;

protected:
    void BeforeFormLook() override
    {
        if (lateGrid)
            return;
        lateGrid = new TQxDBGrid(this);
        lateGrid->setObjectName(QStringLiteral("LateGrid"));
        lateGrid->SetImeMode(TQxColumn::imClose);
        qx::insertComponent(this, lateGrid);
    }
};

// A grid class of a form of its own: it takes the data grid's row of the pass. Every data grid
// of these tests is one.
class ShopGrid : public TQxDBGrid
{
public:
    using TQxDBGrid::TQxDBGrid;
};

TQxDBGrid* addDataGrid(QWidget* parent, QObject* owner, const QStringList& titles,
                       const QList<int>& widths)
{
    auto* grid = new ShopGrid(parent);
    grid->setObjectName(QStringLiteral("DBGrid%1").arg(qx::components(owner).size()));
    grid->SetImeMode(TQxColumn::imClose);
    for (int i = 0; i < titles.size(); ++i) {
        TQxColumn* column = grid->Columns()->Add();
        column->SetFieldName(QStringLiteral("F%1").arg(i));
        column->Title()->SetCaption(titles[i]);
        column->SetWidth(widths[i]);
    }
    qx::insertComponent(owner, grid);
    return grid;
}

TQxDBVGrid* addRecordGrid(QWidget* parent, QObject* owner, const QStringList& titles)
{
    auto* grid = new TQxDBVGrid(parent);
    grid->setObjectName(QStringLiteral("DBVGrid%1").arg(qx::components(owner).size()));
    grid->SetImeMode(qx::GridColumn::imClose);
    for (const QString& title : titles) {
        TVColumn* row = grid->Columns()->Add();
        row->SetFieldName(QStringLiteral("R") + title);
        row->Title()->SetCaption(title);
    }
    qx::insertComponent(owner, grid);
    return grid;
}

TQxOutBar* addOutBar(QWidget* parent, QObject* owner, const QString& panelText,
                     const QStringList& buttonTexts)
{
    auto* bar = new TQxOutBar(parent);
    bar->setObjectName(QStringLiteral("OutBar%1").arg(qx::components(owner).size()));
    TKyOutPanel* panel = bar->Panels()->Add();
    panel->SetText(panelText);
    for (const QString& text : buttonTexts)
        panel->Buttons()->Add()->SetText(text);
    qx::insertComponent(owner, bar);
    return bar;
}

TQxWizardTree* addWizardTree(QWidget* parent, QObject* owner, const QStringList& items)
{
    auto* tree = new TQxWizardTree(parent);
    tree->setObjectName(QStringLiteral("Wizard%1").arg(qx::components(owner).size()));
    tree->SetItems(items);
    qx::insertComponent(owner, tree);
    return tree;
}

void showAndHide(QWidget& form)
{
    form.show();
    form.hide();
}

} // namespace

TEST(FormLook, DataGridKeepsItsLastWidthAndIsLaidOutAnew)
{
    RecordingTextHook hook;
    LookPassForm form;
    TQxDBGrid* grid = addDataGrid(&form, &form, {QStringLiteral("单号"), QStringLiteral("金额")}, {60, 80});
    TQxColumn* last = grid->Columns()->Items(1);
    const int lastRaw = grid->DataToRawColumn(1);

    form.show();
    EXPECT_EQ(grid->ImeMode(), TQxColumn::imDontCare);
    EXPECT_EQ(grid->Columns()->Items(0)->Title()->Caption(), QStringLiteral("<单号>"));
    EXPECT_EQ(last->Title()->Caption(), QStringLiteral("费用_金额"));
    EXPECT_EQ(last->Width(), 80);
    EXPECT_EQ(grid->ColWidths(lastRaw), 80);
    EXPECT_EQ(grid->Columns()->Items(0)->Width(), 60);
    // The new title was laid out: its group word stands over the column.
    ASSERT_NE(grid->LeafOf(last), nullptr);
    ASSERT_NE(grid->LeafOf(last)->Parent, nullptr);
    EXPECT_EQ(grid->LeafOf(last)->Parent->Text, QStringLiteral("费用"));
    EXPECT_EQ(grid->LeafOf(last)->Text, QStringLiteral("金额"));
    // The grid made in BeforeFormLook is covered by the same show.
    ASSERT_NE(form.lateGrid, nullptr);
    EXPECT_EQ(form.lateGrid->ImeMode(), TQxColumn::imDontCare);

    // The next show lays out again and still leaves the width alone.
    form.hide();
    grid->SetImeMode(TQxColumn::imOpen);
    form.show();
    EXPECT_EQ(grid->ImeMode(), TQxColumn::imDontCare);
    EXPECT_EQ(last->Title()->Caption(), QStringLiteral("<费用_金额>"));
    EXPECT_EQ(last->Width(), 80);
    EXPECT_EQ(grid->ColWidths(lastRaw), 80);
    EXPECT_EQ(grid->LeafOf(last)->Parent->Text, QStringLiteral("<费用"));
    form.hide();
}

// The nudge that lays the grid out would write the column's width into its field as rounded
// characters; the field keeps its own width.
TEST(FormLook, DataGridOverAnOpenTableKeepsColumnAndFieldWidths)
{
    RecordingTextHook hook;
    TQxMemTable table;
    table.FieldDefs()->Add("Code", ftString, 10);
    table.FieldDefs()->Add("Name", ftString, 20);
    table.Open();
    table.FieldByName("Name")->SetDisplayLabel(QStringLiteral("名称"));
    TFrmBase form;
    auto* source = new TDataSource(&form);
    source->SetDataSet(&table);
    TQxDBGrid* grid = addDataGrid(&form, &form, {}, {});
    grid->SetDataSource(source);
    ASSERT_EQ(grid->Columns()->Count(), 2);
    TQxColumn* last = grid->Columns()->Items(1);
    const int width = last->Width();
    const int displayWidth = table.FieldByName("Name")->DisplayWidth();

    for (int show = 0; show < 2; ++show) {
        showAndHide(form);
        EXPECT_EQ(last->Width(), width) << show;
        EXPECT_EQ(grid->ColWidths(grid->DataToRawColumn(1)), width) << show;
        EXPECT_EQ(table.FieldByName("Name")->DisplayWidth(), displayWidth) << show;
    }
    // A title of a column made for a field is the field's label.
    EXPECT_EQ(table.FieldByName("Name")->DisplayLabel(), QStringLiteral("<<名称>>"));
    EXPECT_EQ(hook.seen.count(QStringLiteral("名称")), 1);
    // The grid makes its columns again as wide as before.
    table.Close();
    table.Open();
    ASSERT_EQ(grid->Columns()->Count(), 2);
    EXPECT_EQ(grid->Columns()->Items(1)->Width(), width);
}

TEST(FormLook, EveryTextReachesTheHookOncePerShow)
{
    RecordingTextHook hook;
    TFrmBase form;
    TQxDBGrid* grid = addDataGrid(&form, &form, {QStringLiteral("单号"), QStringLiteral("机型")}, {60, 80});
    TQxDBVGrid* record = addRecordGrid(&form, &form, {QStringLiteral("名称"), QStringLiteral("规格")});
    TQxOutBar* bar = addOutBar(&form, &form, QStringLiteral("业务"),
                               {QStringLiteral("接单"), QStringLiteral("结算")});
    TQxWizardTree* tree = addWizardTree(&form, &form, {QStringLiteral("开始"), QStringLiteral("完成")});
    auto* paid = new TQxDBCheckBox(&form);
    paid->setObjectName(QStringLiteral("ChkPaid"));
    paid->SetCaption(QStringLiteral("已付款"));

    struct Case
    {
        QString text;
        std::function<QString()> now;
    };
    const std::vector<Case> cases{
        {QStringLiteral("单号"), [&] { return grid->Columns()->Items(0)->Title()->Caption(); }},
        {QStringLiteral("机型"), [&] { return grid->Columns()->Items(1)->Title()->Caption(); }},
        {QStringLiteral("名称"), [&] { return record->Columns()->Items(0)->Title()->Caption(); }},
        {QStringLiteral("规格"), [&] { return record->Columns()->Items(1)->Title()->Caption(); }},
        {QStringLiteral("业务"), [&] { return bar->Panels()->Items(0)->Text(); }},
        {QStringLiteral("接单"), [&] { return bar->Panels()->Items(0)->Buttons()->Items(0)->Text(); }},
        {QStringLiteral("结算"), [&] { return bar->Panels()->Items(0)->Buttons()->Items(1)->Text(); }},
        {QStringLiteral("开始"), [&] { return tree->Items().value(0); }},
        {QStringLiteral("完成"), [&] { return tree->Items().value(1); }},
        {QStringLiteral("已付款"), [&] { return paid->Caption(); }},
    };

    showAndHide(form);
    for (const Case& c : cases) {
        EXPECT_EQ(hook.seen.count(c.text), 1) << c.text.toStdString();
        EXPECT_EQ(c.now(), lookHookText(c.text)) << c.text.toStdString();
    }
    showAndHide(form);
    for (const Case& c : cases) {
        EXPECT_EQ(hook.seen.count(c.text), 1) << c.text.toStdString();
        EXPECT_EQ(hook.seen.count(lookHookText(c.text)), 1) << c.text.toStdString();
        EXPECT_EQ(c.now(), lookHookText(lookHookText(c.text))) << c.text.toStdString();
    }
    EXPECT_EQ(record->ImeMode(), qx::GridColumn::imDontCare);
}

TEST(FormLook, RecordGridTakesTheLineColourOfTheLibraryModule)
{
    struct Case
    {
        std::optional<TColor> moduleLineColor;
        TColor expected;
    };
    for (const Case& c : {Case{std::nullopt, clBlack}, Case{clRed, clRed}}) {
        std::unique_ptr<TdmDatabase> module;
        if (c.moduleLineColor) {
            module = std::make_unique<TdmDatabase>();
            ASSERT_EQ(dmDatabase, module.get());
            module->LineColor = *c.moduleLineColor;
        }
        TFrmBase form;
        TQxDBVGrid* grid = addRecordGrid(&form, &form, {QStringLiteral("名称")});
        grid->SetLineColor(clBlack);
        showAndHide(form);
        EXPECT_EQ(grid->LineColor(), c.expected) << c.moduleLineColor.has_value();
        EXPECT_EQ(grid->ImeMode(), qx::GridColumn::imDontCare);
    }
    EXPECT_EQ(dmDatabase, nullptr);
}

TEST(FormLook, ComponentsOwnedByAFrameAreLeftAlone)
{
    RecordingTextHook hook;
    TFrmBase form;
    form.SetCaption(QStringLiteral("维修"));
    auto* frame = new QFrame(&form);
    frame->setObjectName(QStringLiteral("Frame1"));
    qx::insertComponent(&form, frame);
    TQxDBGrid* grid = addDataGrid(frame, frame, {QStringLiteral("单号")}, {70});
    TQxDBVGrid* record = addRecordGrid(frame, frame, {QStringLiteral("名称")});
    TQxOutBar* bar = addOutBar(frame, frame, QStringLiteral("业务"), {QStringLiteral("接单")});
    TQxWizardTree* tree = addWizardTree(frame, frame, {QStringLiteral("开始")});

    showAndHide(form);
    EXPECT_EQ(grid->ImeMode(), TQxColumn::imClose);
    EXPECT_EQ(grid->Columns()->Items(0)->Title()->Caption(), QStringLiteral("单号"));
    EXPECT_EQ(record->ImeMode(), qx::GridColumn::imClose);
    EXPECT_EQ(record->Columns()->Items(0)->Title()->Caption(), QStringLiteral("名称"));
    EXPECT_EQ(bar->Panels()->Items(0)->Text(), QStringLiteral("业务"));
    EXPECT_EQ(bar->Panels()->Items(0)->Buttons()->Items(0)->Text(), QStringLiteral("接单"));
    EXPECT_EQ(tree->Items(), QStringList{QStringLiteral("开始")});
    // Only the form's own caption went through the hook.
    EXPECT_EQ(hook.seen, QStringList{QStringLiteral("维修")});
}
