// The bill-editor base: the toolbar and help line, the keys every bill editor shares (Esc asks
// before closing, F2, F3, F4 and F9 click their buttons, F6 goes to the line grid), and the grid
// layouts written on close and read on the next show.
#include "tests/app/master/MasterFixture.h"

#include "app/shell/ColorPanel.h"
#include "documents/bills/uABillEditor.h"
#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "platform/env/ProgramFolder.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/forms/QxFormKit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>

namespace qx::documents::test {
namespace {

using qx::app::test::dialogs;
using qx::app::test::flushDeletes;
using qx::app::test::MasterTest;

// A bill editor with one line table shown in two grids, recording what its buttons did.
class LineBillEditor : public TFrmABillEditor
{
public:
    LineBillEditor()
        : TFrmABillEditor("FrmLineBill", QStringLiteral("测试单"), QStringLiteral("ESC 取消退出  F2 保存增加"), nullptr),
          Lines(new TQxMemTable(this)),
          dsLines(new TDataSource(this)),
          dbgOther(qx::kit::dbGrid(this, "dbgOther", {0, 0, 300, 100}, dsLines)),
          dbgLines(qx::kit::dbGrid(this, "dbgLines", dsLines))
    {
        qx::kit::alignAfterStrips(dbgOther, alTop);
        dsLines->SetDataSet(Lines);
        for (TQxDBGrid* grid : {dbgLines, dbgOther}) {
            qx::kit::column(grid, QStringLiteral("SItemCode"), QStringLiteral("项目编号"), 80);
            qx::kit::column(grid, QStringLiteral("SItemName"), QStringLiteral("项目名称"), 120);
            qx::kit::column(grid, QStringLiteral("TimeAmount"), QStringLiteral("工时费"), 60);
        }
    }

    void LoadBill() override
    {
        ++loads;
        LoadGridLayouts();
        LoadBillTable(*Lines, QStringLiteral("select * from t_ReceptionDlt where BillNo = :billNo"),
                      {{QStringLiteral("billNo"), CurrentBillNo}}, MoneyDisplay::CurrencyAndDecimal);
    }
    void BillFieldSetText(TField* Field, const QString& Text) override { Field->SetAsString(Text); }

    void BtnAddClick(QObject*) override { clicked << QStringLiteral("BtnAdd"); }
    void BtnSaveClick(QObject*) override { clicked << QStringLiteral("BtnSave"); }
    void BtnCheckClick(QObject*) override { clicked << QStringLiteral("BtnCheck"); }
    void BtnPrintClick(QObject*) override { clicked << QStringLiteral("BtnPrint"); }

    TQxMemTable* const Lines;
    TDataSource* const dsLines;
    TQxDBGrid* const dbgOther;
    TQxDBGrid* const dbgLines;
    QStringList clicked;
    int loads = 0;

protected:
    TQxDBGrid* LineGrid() const override { return dbgLines; }
};

class BillEditorTest : public MasterTest
{
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        exec(QStringLiteral("insert into t_ReceptionDlt (BillNo, SItemCode, SItemName, TimeAmount) values "
                            "('WX260301001', 'X1', '换屏', 100), ('WX260301001', 'Y2', '刷机', 50)"));
    }

    // Shows the editor of the stored bill modally, as a browser does, driven by act.
    void run(const std::function<void(LineBillEditor&)>& act)
    {
        auto* editor = new LineBillEditor;
        editor->CurrentBillNo = QStringLiteral("WX260301001");
        dialogs().answerDialog([&](QDialog& d) {
            d.activateWindow();
            QApplication::setActiveWindow(&d);
            act(static_cast<LineBillEditor&>(d));
        });
        qx::DialogService::instance().execDialog(*editor);
    }
};

TEST_F(BillEditorTest, TheToolbarAndTheHelpLine)
{
    run([](LineBillEditor& e) {
        EXPECT_EQ(e.loads, 1);
        EXPECT_EQ(e.Lines->RecordCount(), 2);
        EXPECT_EQ(e.lblBillType->Caption(), QStringLiteral("测试单"));
        EXPECT_EQ(e.lblHelp->Caption(), QStringLiteral("ESC 取消退出  F2 保存增加"));
        const struct
        {
            TQxBitBtn* button;
            const char* caption;
            bool visible;
        } cases[] = {{e.BtnClose, "取消退出", true}, {e.BtnAdd, "保存增加", true},  {e.BtnSave, "保存退出", true},
                     {e.BtnCheck, "保存审核", true}, {e.BtnPrint, "打印", true},     {e.BtnReceiv, "收款", false}};
        for (const auto& c : cases) {
            EXPECT_EQ(c.button->text(), QString::fromUtf8(c.caption));
            EXPECT_EQ(c.button->isVisible(), c.visible) << c.caption;
        }
        EXPECT_EQ(e.ChkPrint->Caption(), QStringLiteral("保存后立即打印"));
        EXPECT_FALSE(e.ChkPrint->Checked());
        // The strips lie from the top down: toolbar, title, then the form's own.
        EXPECT_LT(e.pnlTool->y(), e.pnlTitle->y());
        EXPECT_LT(e.pnlTitle->y(), e.dbgOther->y());
        EXPECT_GT(e.pnlHelp->y(), e.dbgLines->y());
    });
}

TEST_F(BillEditorTest, FunctionKeysClickTheirButtons)
{
    run([](LineBillEditor& e) {
        const struct
        {
            Qt::Key key;
            const char* button;
        } cases[] = {{Qt::Key_F2, "BtnAdd"}, {Qt::Key_F3, "BtnSave"}, {Qt::Key_F4, "BtnCheck"}, {Qt::Key_F9, "BtnPrint"}};
        for (const auto& c : cases) {
            e.clicked.clear();
            QTest::keyClick(e.dbgLines, c.key);
            EXPECT_EQ(e.clicked, QStringList{QLatin1String(c.button)});
        }
        // A bill shown for viewing keeps its save buttons off, and their keys with them.
        e.clicked.clear();
        e.BtnAdd->setEnabled(false);
        QTest::keyClick(e.dbgOther, Qt::Key_F2);
        EXPECT_TRUE(e.clicked.isEmpty());
        // The mouse reaches the same handlers.
        QTest::mouseClick(e.BtnSave, Qt::LeftButton);
        EXPECT_EQ(e.clicked, QStringList{"BtnSave"});
    });
    EXPECT_TRUE(dialogs().messages().isEmpty());
}

TEST_F(BillEditorTest, F6PutsTheCursorInTheFirstColumnOfTheLines)
{
    run([](LineBillEditor& e) {
        e.dbgOther->setFocus();
        e.dbgLines->SetSelectedIndex(2);
        QTest::keyClick(e.dbgOther, Qt::Key_F6);
        EXPECT_EQ(QApplication::focusWidget(), e.dbgLines);
        EXPECT_EQ(e.dbgLines->SelectedIndex(), 0);
    });
}

TEST_F(BillEditorTest, EscAsksBeforeClosingWithoutSaving)
{
    QPointer<LineBillEditor> shown;
    run([&](LineBillEditor& e) {
        shown = &e;
        dialogs().answerMessage(qx::mrCancel);
        QTest::keyClick(e.dbgLines, Qt::Key_Escape);
        EXPECT_TRUE(e.isVisible());
        ASSERT_EQ(dialogs().shown().size(), 2); // the editor, the question
        const ShownDialog& question = dialogs().shown().last();
        EXPECT_EQ(question.caption, QStringLiteral("询问"));
        EXPECT_EQ(question.text, QStringLiteral("是否取消退出。"));
        EXPECT_EQ(question.buttons, (QList<int>{qx::mrOk, qx::mrCancel}));

        dialogs().answerMessage(qx::mrOk);
        QTest::keyClick(e.dbgLines, Qt::Key_Escape);
        EXPECT_FALSE(e.isVisible());
        EXPECT_TRUE(e.clicked.isEmpty()); // nothing saved
    });
    flushDeletes();
    EXPECT_TRUE(shown.isNull()); // a closed editor frees itself
}

TEST_F(BillEditorTest, LayoutsAreWrittenOnCloseAndReadOnTheNextShow)
{
    const QString lines = QDir(programFolder()).filePath(QStringLiteral("测试单dbgLines.dbg"));
    const QString other = QDir(programFolder()).filePath(QStringLiteral("测试单dbgOther.dbg"));
    run([](LineBillEditor& e) {
        e.dbgLines->Columns()->Items(1)->SetWidth(177);
        e.dbgOther->Columns()->Items(2)->SetVisible(false);
        e.BtnClose->click();
    });
    EXPECT_TRUE(QFile::exists(lines));
    EXPECT_TRUE(QFile::exists(other));
    run([](LineBillEditor& e) {
        EXPECT_EQ(e.dbgLines->Columns()->Items(1)->Width(), 177);
        EXPECT_FALSE(e.dbgOther->Columns()->Items(2)->Visible());
        EXPECT_TRUE(e.dbgLines->Columns()->Items(2)->Visible());
    });
}

} // namespace
} // namespace qx::documents::test
