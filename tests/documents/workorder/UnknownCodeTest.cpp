// Codes typed into the lines of a work order: a known repair item or part fills its line (a
// quote in the code is a plain character), an unknown one asks "提示" whether to add it:
// Cancel empties the code, OK opens the master editor on a new record of that code and the
// line takes what was stored, and OK without the right to add shows the refusal and keeps the
// typed code.
#include "WorkOrderFixture.h"

#include "app/master/uAMasterEdit.h"
#include "app/master/uAMaterialEdit.h"
#include "app/master/uAServiceItemEdit.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"

namespace qx::documents::test {
namespace {

using qx::app::test::formOf;

// The lines of one kind: the grid, its table's code and name columns and its price, the
// master editor behind an unknown code and the right it needs.
struct LineKind
{
    const char* name;
    TQxDBGrid* const TFrmReceptionRct::*grid;
    bool repairItems;
    const char* code;
    const char* itemName;
    const char* price;
    const char* right;
    const char* masterTable;
};

const LineKind kItems{"items", &TFrmReceptionRct::dbgDetail1, true, "SItemCode", "SItemName", "TimeAmount",
                      "维修项目-增加", "tServiceItem"};
const LineKind kParts{"parts", &TFrmReceptionRct::dbgDetail2, false, "ItemCode", "ItemName", "Price",
                      "库存管理-新增配件", "t_Stock"};

class UnknownCodeTest : public WorkOrderTest, public ::testing::WithParamInterface<const LineKind*>
{
protected:
    const LineKind& kind() const { return *GetParam(); }
    TQxDBGrid* grid(TFrmReceptionRct& e) const { return e.*kind().grid; }
    static TDataSet* lines(TQxDBGrid* g) { return g->DataSource()->DataSet(); }
    QString line(TQxDBGrid* g, const char* field) const { return lines(g)->FieldByName(QLatin1String(field))->AsString(); }

    // Answers the master editor: types a name and a price into it and saves.
    void answerEditorWithSave(QString& shownCode)
    {
        dialogs().answerDialog([&](QDialog& d) {
            auto& editor = formOf<TFrmAMasterEdit>(d);
            shownCode = editor.QryEdit->FieldByName(QLatin1String(kind().code))->AsString();
            for (const auto& [field, text] : {std::pair{kind().itemName, "Glass"}, std::pair{kind().price, "45"}}) {
                auto* edit = qobject_cast<TQxDBEDIT*>(editor.ControlOf(QLatin1String(field)));
                ASSERT_NE(edit, nullptr) << field;
                edit->setFocus();
                edit->selectAll();
                QTest::keyClicks(edit, QLatin1String(text));
            }
            QTest::mouseClick(editor.BtnSave, Qt::LeftButton);
        });
    }
};

TEST_P(UnknownCodeTest, AKnownCodeFillsTheLine)
{
    run("", [&](TFrmReceptionRct& e) {
        newLine(grid(e), kind().repairItems ? QStringLiteral("Q'1") : QStringLiteral("P'3"));
        EXPECT_EQ(line(grid(e), kind().itemName), kind().repairItems ? QStringLiteral("引号项目")
                                                                             : QStringLiteral("引号配件"));
        EXPECT_EQ(lines(grid(e))->FieldByName(QLatin1String(kind().price))->AsCurrency(),
                  kind().repairItems ? money("12") : money("2"));
        postLine(grid(e));
    });
    EXPECT_TRUE(dialogs().messages().isEmpty());
}

TEST_P(UnknownCodeTest, CancelEmptiesTheCode)
{
    run("", [&](TFrmReceptionRct& e) {
        dialogs().answerMessage(qx::mrCancel);
        newLine(grid(e), QStringLiteral("NEW'1"));
        ASSERT_EQ(dialogs().shown().size(), 2);
        const ShownDialog& question = dialogs().shown().last();
        EXPECT_EQ(question.caption, QStringLiteral("提示"));
        EXPECT_EQ(question.text, QStringLiteral("编号NEW'1不存在，是否现在增加！"));
        EXPECT_EQ(question.buttons, (QList<int>{qx::mrOk, qx::mrCancel}));
        EXPECT_TRUE(line(grid(e), kind().code).isEmpty());
        EXPECT_TRUE(line(grid(e), kind().itemName).isEmpty());
    });
    EXPECT_EQ(count(QLatin1String(kind().masterTable)), kind().repairItems ? 4 : 3);
    EXPECT_EQ(dialogs().unexpected(), 0);
}

TEST_P(UnknownCodeTest, OkAddsTheRecordAndTheLineTakesIt)
{
    QString shownCode;
    run("", [&](TFrmReceptionRct& e) {
        dialogs().answerMessage(qx::mrOk);
        answerEditorWithSave(shownCode);
        newLine(grid(e), QStringLiteral("NEW'1"));
        EXPECT_EQ(line(grid(e), kind().code), QStringLiteral("NEW'1"));
        EXPECT_EQ(line(grid(e), kind().itemName), QStringLiteral("Glass"));
        EXPECT_EQ(lines(grid(e))->FieldByName(QLatin1String(kind().price))->AsCurrency(), money("45"));
        postLine(grid(e));
    });
    EXPECT_EQ(shownCode, QStringLiteral("NEW'1"));
    EXPECT_EQ(count(QLatin1String(kind().masterTable), QLatin1String(kind().code) + QStringLiteral(" = :c"),
                    {{QStringLiteral("c"), QStringLiteral("NEW'1")}}),
              1);
    EXPECT_EQ(dialogs().unexpected(), 0);
}

TEST_P(UnknownCodeTest, OkWithAnEditorClosedUnsavedKeepsTheCode)
{
    run("", [&](TFrmReceptionRct& e) {
        dialogs().answerMessage(qx::mrOk);
        dialogs().answerDialog([](QDialog& d) { QTest::mouseClick(formOf<TFrmAMasterEdit>(d).BtnClose, Qt::LeftButton); });
        newLine(grid(e), QStringLiteral("NEW2"));
        EXPECT_EQ(line(grid(e), kind().code), QStringLiteral("NEW2"));
        EXPECT_TRUE(line(grid(e), kind().itemName).isEmpty());
    });
    EXPECT_EQ(count(QLatin1String(kind().masterTable), QLatin1String(kind().code) + QStringLiteral(" = 'NEW2'")), 0);
    EXPECT_EQ(dialogs().unexpected(), 0);
}

TEST_P(UnknownCodeTest, OkWithoutTheRightShowsTheRefusalAndKeepsTheCode)
{
    // Every right of the editor but the one to add.
    QStringList rights{QStringLiteral("维修项目-增加"), QStringLiteral("库存管理-新增配件"),
                       QStringLiteral("维修结算单-配件成本")};
    rights.removeOne(QString::fromUtf8(kind().right));
    loginWith(rights);
    run("", [&](TFrmReceptionRct& e) {
        dialogs().answerMessage(qx::mrOk);
        dialogs().answerMessage(qx::mrOk);
        newLine(grid(e), QStringLiteral("NEW3"));
        EXPECT_EQ(line(grid(e), kind().code), QStringLiteral("NEW3"));
    });
    const QString action = QString::fromUtf8(kind().right).section(u'-', 1);
    EXPECT_EQ(dialogs().messages(), (QStringList{QStringLiteral("编号NEW3不存在，是否现在增加！"),
                                                 QStringLiteral("对不起你没有 [") + action + QStringLiteral("] 的权限")}));
    EXPECT_EQ(dialogs().unexpected(), 0);
}

INSTANTIATE_TEST_SUITE_P(Lines, UnknownCodeTest, ::testing::Values(&kItems, &kParts),
                         [](const ::testing::TestParamInfo<const LineKind*>& info) {
                             return std::string(info.param->name);
                         });

} // namespace
} // namespace qx::documents::test
