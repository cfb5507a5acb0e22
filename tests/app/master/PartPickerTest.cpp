// The part picker: each search box with typed values matched literally (quotes and wildcards
// included), the quantity comparisons, the limit of 300 parts, adding parts to a bill's lines
// through the bill's field hub (F11 staying open, Enter closing, a line being edited
// overwritten), "新增(F2)" behind its right, and the grid's layout file.
#include "PickerFixture.h"

#include "app/master/uAMaterialEdit.h"
#include "app/master/uaSelectStock.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/combos/uQxComboBox.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/edits/uQxEdits.h"

#include <QFile>

namespace qx::app::test {
namespace {

class PartPickerTest : public MasterTest
{
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        exec(QStringLiteral(
            "insert into t_Stock (ItemCode, ItemName, Model, Qty, Price, CostPrice, UnitCode, Location, PY, WB, WBH) values "
            "('1001', '屏幕总成', 'A100', 0, 120, 80, '个', 'A1', 'PMZC', 'NAUD', 'ABCD'),"
            "('1002', '电池', 'A100', 5, 60, 40, '块', 'A2', 'DC', 'JT', 'XY'),"
            "('2001', '尾插排线', 'B200', 12, 25, 10, '条', 'B1', 'WCPX', 'NRRX', 'ZZ'),"
            "('10%1', 'O''Neil 按键', 'B200', 3, 8, 4, '个', 'B1', '', '', ''),"
            "('1_02', '屏幕保护膜', 'C300', 30, 10, 2, '张', 'C1', 'PMBHM', '', '')"));
    }

    // Runs the picker on lines, driven by act.
    void pick(TDataSet* lines, const std::function<void(TFrmaSelectStock&)>& act)
    {
        dialogs().answerDialog([&](QDialog& d) { act(formOf<TFrmaSelectStock>(d)); });
        PickParts(lines);
    }

    // The codes listed, sorted: a list without an order of its own comes in the order the
    // database finds the rows.
    static QStringList codes(TFrmaSelectStock& p)
    {
        QStringList found = columnValues(p.Query, QStringLiteral("ItemCode"));
        found.sort();
        return found;
    }

    static void type(TQxEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

TEST_F(PartPickerTest, EachSearchBoxNarrowsTheList)
{
    PartLines lines;
    pick(&lines, [&](TFrmaSelectStock& p) {
        EXPECT_EQ(p.Caption(), QStringLiteral("选择配件"));
        // Shown: the first parts, unfiltered.
        EXPECT_EQ(codes(p).size(), 5);

        // The code box searches on every keystroke, codes beginning with the text.
        QTest::keyClick(p.EdtCode, Qt::Key_1);
        EXPECT_EQ(codes(p), (QStringList{"10%1", "1001", "1002", "1_02"}));
        QTest::keyClick(p.EdtCode, Qt::Key_0);
        EXPECT_EQ(codes(p), (QStringList{"10%1", "1001", "1002"}));
        // '%' and '_' are matched as themselves.
        QTest::keyClick(p.EdtCode, Qt::Key_Percent);
        EXPECT_EQ(codes(p), QStringList{"10%1"});
        type(p.EdtCode, QStringLiteral("1_"));
        EXPECT_EQ(codes(p), QStringList{"1_02"});
        p.EdtCode->setText(QString());

        // The name box: a name containing the text, or an input code beginning with it.
        const struct
        {
            const char* typed;
            QStringList found;
        } names[] = {
            {"PM", {"1001", "1_02"}},  // pinyin of two names
            {"mz", {}},                // inside a pinyin code: no
            {"NR", {"2001"}},          // wubi
            {"XY", {"1002"}},          // wubi strokes
            {"O'N", {"10%1"}},         // a quote in the name
            {"eil ", {"10%1"}},        // inside the name
        };
        for (const auto& n : names) {
            SCOPED_TRACE(n.typed);
            type(p.EdtName, QLatin1String(n.typed));
            EXPECT_EQ(codes(p), n.found);
        }
        p.EdtName->setText(QString());

        // Model and location take effect on the next search; both compare exactly.
        p.EdtModel->setText(QStringLiteral("B200"));
        p.EdtLocation->setText(QStringLiteral("B1"));
        EXPECT_EQ(codes(p).size(), 5);
        QTest::keyClick(p.Grid, Qt::Key_F12);
        EXPECT_EQ(codes(p), (QStringList{"10%1", "2001"}));
        p.EdtModel->setText(QStringLiteral("B20"));
        QTest::mouseClick(p.BtnOK, Qt::LeftButton);
        EXPECT_TRUE(codes(p).isEmpty());
        QTest::keyClick(p.Grid, Qt::Key_Escape);
    });
    EXPECT_TRUE(dialogs().messages().isEmpty());
}

TEST_F(PartPickerTest, TheQuantityComparesAsANumber)
{
    PartLines lines;
    pick(&lines, [&](TFrmaSelectStock& p) {
        const struct
        {
            int comparison; // index of the combo box, -1 for none chosen
            const char* qty;
            QStringList found;
        } cases[] = {
            {-1, "5", {"1002"}},
            {-1, "05.0", {"1002"}},
            {0, "3", {"10%1"}},
            {1, "0", {"10%1", "1002", "1_02", "2001"}},
            {2, "5", {"10%1", "1001"}},
            {3, "12", {"1_02", "2001"}},
            {4, "3", {"10%1", "1001"}},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.qty) + " " + std::to_string(c.comparison));
            p.CbxQty->SetItemIndex(c.comparison);
            p.EdtQty->setText(QLatin1String(c.qty));
            QTest::mouseClick(p.BtnOK, Qt::LeftButton);
            EXPECT_EQ(codes(p), c.found);
        }
        // A quantity that is no number says so and leaves the list as it was.
        for (const char* bad : {"abc", "1 or 1=1", "3'"}) {
            dialogs().answerMessage(mrOk);
            p.EdtQty->setText(QLatin1String(bad));
            QTest::mouseClick(p.BtnOK, Qt::LeftButton);
            EXPECT_EQ(dialogs().messages().size(), 1);
            EXPECT_TRUE(dialogs().messages().value(0).contains(QLatin1String(bad)));
            dialogs().clear();
            EXPECT_EQ(codes(p), (QStringList{"10%1", "1001"}));
        }
        p.Close();
    });
}

TEST_F(PartPickerTest, AtMost300PartsAreListedAndLongConditionsRunWhole)
{
    module->ADOConnection->BeginTrans();
    for (int i = 0; i < 320; ++i)
        exec(QStringLiteral("insert into t_Stock (ItemCode, ItemName) values (:c, :n)"),
             {{QStringLiteral("c"), QStringLiteral("9%1").arg(i, 4, 10, QLatin1Char('0'))},
              {QStringLiteral("n"), QStringLiteral("件")}});
    module->ADOConnection->CommitTrans();
    PartLines lines;
    pick(&lines, [&](TFrmaSelectStock& p) {
        EXPECT_EQ(p.Query->RecordCount(), 300);
        QTest::keyClick(p.EdtCode, Qt::Key_9);
        EXPECT_EQ(p.Query->RecordCount(), 300);
        type(p.EdtCode, QStringLiteral("9031"));
        EXPECT_EQ(codes(p), (QStringList{"90310", "90311", "90312", "90313", "90314", "90315",
                                         "90316", "90317", "90318", "90319"}));
        // Conditions far beyond 200 characters are not cut.
        type(p.EdtName, QString(150, u'x'));
        p.EdtModel->setText(QString(120, u'y'));
        p.EdtLocation->setText(QString(120, u'z'));
        QTest::mouseClick(p.BtnOK, Qt::LeftButton);
        EXPECT_TRUE(p.Query->Active());
        EXPECT_TRUE(codes(p).isEmpty());
        p.Close();
    });
    EXPECT_TRUE(dialogs().messages().isEmpty());
}

TEST_F(PartPickerTest, F11AddsLinesThroughTheFieldHubAndStaysOpenEnterAddsAndCloses)
{
    PartLines lines;
    pick(&lines, [&](TFrmaSelectStock& p) {
        ASSERT_TRUE(p.Query->Locate(QStringLiteral("ItemCode"), QStringLiteral("1002")));
        QTest::keyClick(p.Grid, Qt::Key_F11);
        EXPECT_EQ(lines.RecordCount(), 1);
        EXPECT_EQ(hubFields(lines.calls), (QStringList{"ItemCode", "ItemName", "Price", "UnitCode", "CostPrice"}));
        EXPECT_TRUE(lines.calls.contains(QStringLiteral("ItemCode=1002")));
        lines.calls.clear();

        ASSERT_TRUE(p.Query->Locate(QStringLiteral("ItemCode"), QStringLiteral("2001")));
        QTest::mouseClick(p.BtnAddtoBill, Qt::LeftButton);
        EXPECT_EQ(lines.RecordCount(), 2);
        EXPECT_TRUE(p.isVisible());
        lines.calls.clear();

        ASSERT_TRUE(p.Query->Locate(QStringLiteral("ItemCode"), QStringLiteral("1001")));
        p.Grid->setFocus();
        QTest::keyClick(p.Grid, Qt::Key_Return);
        EXPECT_FALSE(p.isVisible());
    });
    EXPECT_EQ(lines.State(), dsBrowse);
    EXPECT_EQ(columnValues(&lines, QStringLiteral("ItemCode")), (QStringList{"1002", "2001", "1001"}));
    // Each new line kept the bill's number and settlement word; its quantity is the user's.
    EXPECT_EQ(columnValues(&lines, QStringLiteral("BillNo")), (QStringList{"新单", "新单", "新单"}));
    EXPECT_EQ(columnValues(&lines, QStringLiteral("PayType")), (QStringList{"客付", "客付", "客付"}));
    EXPECT_EQ(columnValues(&lines, QStringLiteral("Qty")), (QStringList{"", "", ""}));
    EXPECT_EQ(columnValues(&lines, QStringLiteral("ID")), (QStringList{"", "", ""}));
    EXPECT_EQ(columnValues(&lines, QStringLiteral("UnitCode")), (QStringList{"块", "条", "个"}));
}

TEST_F(PartPickerTest, ALineBeingEditedIsOverwrittenByAPickedPartAndADoubleClickCloses)
{
    PartLines lines;
    lines.Append();
    lines.FieldByName(QStringLiteral("ItemCode"))->SetAsString(QStringLiteral("OLD"));
    lines.FieldByName(QStringLiteral("Qty"))->SetAsInteger(4);
    lines.Post();
    lines.Edit();
    pick(&lines, [&](TFrmaSelectStock& p) {
        ASSERT_TRUE(p.Query->Locate(QStringLiteral("ItemCode"), QStringLiteral("2001")));
        doubleClickRow(p.Grid, p.Query->RecNo() - 1);
        EXPECT_FALSE(p.isVisible());
    });
    EXPECT_EQ(lines.RecordCount(), 1);
    EXPECT_EQ(lines.text("ItemCode"), QStringLiteral("2001"));
    EXPECT_EQ(lines.text("Qty"), QStringLiteral("4"));
}

TEST_F(PartPickerTest, NewPartNeedsItsRightAndTheListShowsTheNewPart)
{
    loginWith({QStringLiteral("库存管理-查询")});
    PartLines lines;
    pick(&lines, [&](TFrmaSelectStock& p) {
        dialogs().answerMessage(mrOk);
        QTest::mouseClick(p.BtnAdd, Qt::LeftButton);
        EXPECT_EQ(dialogs().messages(), QStringList{"对不起你没有 [新增配件] 的权限"});
        // F2 itself is not bound.
        QTest::keyClick(p.Grid, Qt::Key_F2);
        EXPECT_EQ(dialogs().shown().size(), 2); // the picker and the refusal
        p.Close();
    });
    dialogs().clear();

    CurrentUser = administratorCode();
    pick(&lines, [&](TFrmaSelectStock& p) {
        type(p.EdtCode, QStringLiteral("77"));
        EXPECT_TRUE(codes(p).isEmpty());
        dialogs().answerDialog([&](QDialog& d) {
            auto& editor = formOf<TFrmAMaterialEdit>(d);
            EXPECT_EQ(editor.EditedDataSet(), editor.QryEdit);
            EXPECT_EQ(editor.QryEdit->State(), dsInsert);
            auto* code = qobject_cast<TQxDBEDIT*>(editor.ControlOf(QStringLiteral("ItemCode")));
            QTest::keyClicks(code, QStringLiteral("7701"));
            QTest::mouseClick(editor.BtnSave, Qt::LeftButton);
        });
        QTest::mouseClick(p.BtnAdd, Qt::LeftButton);
        EXPECT_EQ(codes(p), QStringList{"7701"});
        p.Close();
    });
    EXPECT_EQ(count(QStringLiteral("t_Stock"), QStringLiteral("ItemCode = '7701'")), 1);
}

TEST_F(PartPickerTest, TheGridLayoutIsWrittenOnCloseAndLoadedOnShow)
{
    const QString file = layoutFile(QStringLiteral("选择配件dbgStock.dbg"));
    PartLines lines;
    pick(&lines, [&](TFrmaSelectStock& p) {
        EXPECT_FALSE(QFile::exists(file));
        p.Grid->Columns()->Items(2)->SetWidth(211);
        QTest::keyClick(p.Grid, Qt::Key_Escape);
    });
    EXPECT_TRUE(QFile::exists(file));
    pick(&lines, [&](TFrmaSelectStock& p) {
        EXPECT_EQ(p.Grid->Columns()->Items(2)->Width(), 211);
        EXPECT_EQ(p.Grid->Columns()->Items(2)->Title()->Caption(), QStringLiteral("配件名称"));
        p.Close();
    });
}

TEST_F(PartPickerTest, TheModelAndLocationButtonsOfferTheModels)
{
    exec(QStringLiteral("insert into t_Model (Model, Remark) values ('C300', '')"));
    PartLines lines;
    pick(&lines, [&](TFrmaSelectStock& p) {
        for (TQxEdit* edit : {p.EdtModel, p.EdtLocation}) {
            dialogs().answerDialog([](QDialog& d) { QTest::keyClick(&d, Qt::Key_Return); });
            edit->ButtonClick();
            EXPECT_EQ(edit->Text(), QStringLiteral("C300"));
        }
        p.Close();
    });
}

} // namespace
} // namespace qx::app::test
