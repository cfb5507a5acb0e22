// The repair-item picker (every item when shown, at most 30 found, codes and names containing
// the text, input codes beginning with it, items added through the work order's field hub, its
// "新增(F5)" behind its right) and the worker picker of the person columns.
#include "PickerFixture.h"

#include "app/master/uAServiceItemEdit.h"
#include "app/master/uSelectName.h"
#include "app/master/uaSelectSItem.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/edits/uQxEdits.h"

#include <QFile>

namespace qx::app::test {
namespace {

// The repair-item lines of a work order.
class ItemLines : public HubTable
{
public:
    ItemLines()
        : HubTable({{"ID", ftInteger}, {"BillNo", ftString}, {"SItemCode", ftString}, {"SItemName", ftString},
                    {"TimeAmount", ftCurrency}, {"PayType", ftString}, {"Scode", ftString}, {"Remark", ftString}})
    {
        OnNewRecord = [](TDataSet* DataSet) {
            DataSet->FieldByName(QStringLiteral("BillNo"))->SetAsString(QStringLiteral("新单"));
            DataSet->FieldByName(QStringLiteral("PayType"))->SetAsString(QStringLiteral("客付"));
        };
    }
};

class ItemPickerTest : public MasterTest
{
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        module->ADOConnection->BeginTrans();
        for (int i = 0; i < 40; ++i)
            exec(QStringLiteral("insert into tServiceItem (SItemCode, SItemName, TimeAmount, PY, Remark) "
                                "values (:c, :n, 10, 'QT', '备注')"),
                 {{QStringLiteral("c"), QStringLiteral("G%1").arg(i, 2, 10, QLatin1Char('0'))},
                  {QStringLiteral("n"), QStringLiteral("其他项目")}});
        exec(QStringLiteral("insert into tServiceItem (SItemCode, SItemName, TimeAmount, PY, WB, WBH, Remark) values "
                            "('X1', '换屏', 50, 'HP', 'RN', 'AB', '屏'), ('Y2', '刷机 X1', 30.5, 'SJ', 'NM', 'CD', '')"));
        module->ADOConnection->CommitTrans();
    }

    void pick(TDataSet* lines, const std::function<void(TFrmaSelectSItem&)>& act)
    {
        dialogs().answerDialog([&](QDialog& d) { act(formOf<TFrmaSelectSItem>(d)); });
        PickRepairItems(lines);
    }

    static QStringList codes(TFrmaSelectSItem& p) { return columnValues(p.Query, QStringLiteral("SItemCode")); }

    static void type(TQxEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

TEST_F(ItemPickerTest, EveryItemWhenShownThenAtMost30Found)
{
    ItemLines lines;
    pick(&lines, [&](TFrmaSelectSItem& p) {
        EXPECT_EQ(p.Caption(), QStringLiteral("选择项目"));
        EXPECT_EQ(p.Query->RecordCount(), 42);
        QTest::keyClick(p.EdtCode, Qt::Key_G);
        EXPECT_EQ(p.Query->RecordCount(), 30);
        const struct
        {
            const char* typed;
            QStringList found;
        } cases[] = {
            {"X1", {"X1", "Y2"}}, // in a code, and inside a name
            {"1", {"G01", "G10", "G11", "G12", "G13", "G14", "G15", "G16", "G17", "G18", "G19", "G21",
                   "G31", "X1", "Y2"}},
            {"HP", {"X1"}},       // pinyin
            {"P", {}},            // inside a pinyin code: no
            {"NM", {"Y2"}},       // wubi
            {"AB", {"X1"}},       // wubi strokes
            {"  X1 ", {"X1", "Y2"}}, // the text is trimmed
            {"'", {}},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.typed);
            type(p.EdtCode, QLatin1String(c.typed));
            EXPECT_EQ(codes(p), c.found);
        }
        // An empty box searches the first 30.
        p.EdtCode->setText(QString());
        EXPECT_EQ(p.Query->RecordCount(), 30);
        QTest::keyClick(p.Grid, Qt::Key_Escape);
    });
    EXPECT_TRUE(QFile::exists(layoutFile(QStringLiteral("选择项目dbgStock.dbg"))));
    EXPECT_TRUE(dialogs().messages().isEmpty());
}

TEST_F(ItemPickerTest, ItemsGoThroughTheHubWithTheirCodeNameAndPriceOnly)
{
    ItemLines lines;
    pick(&lines, [&](TFrmaSelectSItem& p) {
        type(p.EdtCode, QStringLiteral("Y2"));
        QTest::keyClick(p.Grid, Qt::Key_F11);
        EXPECT_TRUE(p.isVisible());
        // Every shared field goes through the hub; only code, name and price were copied.
        EXPECT_EQ(hubFields(lines.calls), (QStringList{"SItemCode", "SItemName", "TimeAmount", "Remark"}));
        EXPECT_EQ(lines.calls.value(3), QStringLiteral("Remark="));
        lines.calls.clear();
        type(p.EdtCode, QStringLiteral("HP"));
        p.Grid->setFocus();
        QTest::keyClick(p.Grid, Qt::Key_Return);
        EXPECT_FALSE(p.isVisible());
    });
    EXPECT_EQ(columnValues(&lines, QStringLiteral("SItemCode")), (QStringList{"Y2", "X1"}));
    EXPECT_EQ(columnValues(&lines, QStringLiteral("SItemName")), (QStringList{"刷机 X1", "换屏"}));
    EXPECT_EQ(columnValues(&lines, QStringLiteral("TimeAmount")), (QStringList{"30.5", "50"}));
    EXPECT_EQ(columnValues(&lines, QStringLiteral("PayType")), (QStringList{"客付", "客付"}));
    EXPECT_EQ(columnValues(&lines, QStringLiteral("Remark")), (QStringList{"", ""}));

    // A line being edited gets the item instead of a new line.
    lines.First();
    lines.Edit();
    pick(&lines, [&](TFrmaSelectSItem& p) {
        type(p.EdtCode, QStringLiteral("G05"));
        doubleClickRow(p.Grid, 0);
    });
    EXPECT_EQ(columnValues(&lines, QStringLiteral("SItemCode")), (QStringList{"G05", "X1"}));
}

TEST_F(ItemPickerTest, NewItemNeedsItsRightAndTheListShowsTheNewItem)
{
    loginWith({});
    ItemLines lines;
    pick(&lines, [&](TFrmaSelectSItem& p) {
        dialogs().answerMessage(mrOk);
        QTest::mouseClick(p.BtnAdd, Qt::LeftButton);
        EXPECT_EQ(dialogs().messages(), QStringList{"对不起你没有 [增加] 的权限"});
        p.Close();
    });
    dialogs().clear();

    CurrentUser = administratorCode();
    pick(&lines, [&](TFrmaSelectSItem& p) {
        type(p.EdtCode, QStringLiteral("ZZ"));
        dialogs().answerDialog([&](QDialog& d) {
            auto& editor = formOf<TFrmAServiceItemEdit>(d);
            QTest::keyClicks(qobject_cast<TQxDBEDIT*>(editor.ControlOf(QStringLiteral("SItemCode"))),
                             QStringLiteral("ZZ9"));
            QTest::mouseClick(editor.BtnSave, Qt::LeftButton);
        });
        QTest::mouseClick(p.BtnAdd, Qt::LeftButton);
        EXPECT_EQ(codes(p), QStringList{"ZZ9"});
        p.Close();
    });
}

class WorkerPickerTest : public MasterTest
{
};

TEST_F(WorkerPickerTest, TheStaffListFillsTheScodeColumnOnly)
{
    exec(QStringLiteral("insert into t_MainWorker (MainWorker) values ('王五'), ('O''Brien')"));
    ItemLines lines;
    lines.Append();
    lines.Post();
    TField* worker = lines.FieldByName(QStringLiteral("Scode"));

    // Another column opens nothing.
    PickWorker(QStringLiteral("Remark"), lines.FieldByName(QStringLiteral("Remark")));
    EXPECT_TRUE(dialogs().shown().isEmpty());

    dialogs().answerDialog([&](QDialog& d) {
        auto& p = formOf<TFrmAselectName>(d);
        EXPECT_EQ(p.Caption(), QStringLiteral("选择"));
        EXPECT_EQ(columnTitles(p.Grid), QStringList{"领料人"});
        EXPECT_TRUE(p.Grid->Options().testFlag(dgTitles));
        ASSERT_TRUE(p.QrySelect->Locate(QStringLiteral("领料人"), QStringLiteral("O'Brien")));
        p.Grid->setFocus();
        QTest::keyClick(p.Grid, Qt::Key_Return);
    });
    PickWorker(QStringLiteral("SCODE"), worker);
    EXPECT_EQ(worker->AsString(), QStringLiteral("O'Brien"));
    EXPECT_EQ(lines.State(), dsEdit);
    EXPECT_TRUE(lines.calls.isEmpty());
    lines.Cancel();

    // Esc changes nothing.
    dialogs().answerDialog([&](QDialog& d) { QTest::keyClick(formOf<TFrmAselectName>(d).Grid, Qt::Key_Escape); });
    PickWorker(QStringLiteral("Scode"), worker);
    EXPECT_EQ(lines.State(), dsBrowse);
    EXPECT_TRUE(worker->AsString().isEmpty());
}

} // namespace
} // namespace qx::app::test
