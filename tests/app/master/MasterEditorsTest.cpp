// The master-data editors on their own query and on a caller's dataset: the refusal of a code
// another record holds (codes with quotes included), saving a new and an existing record, "保存增加"
// by button and by Enter in the last field, the parts catalogue that follows a written part, and
// the cancelled record that never reaches the database, however the editor was closed.
#include "MasterFixture.h"

#include "app/master/uAClientFileEdit.h"
#include "app/master/uAMaterialEdit.h"
#include "app/master/uAServiceItemEdit.h"
#include "app/master/uASupplierFileEdit.h"
#include "platform/db/DataSource.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/combos/uQxDBComboBox.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"

#include <QPointer>

#include <functional>

namespace qx::app::test {
namespace {

struct EditorCase
{
    const char* label;
    std::function<TFrmAMasterEdit*()> make;
    const char* table;
    const char* codeField;
    const char* nameField;
    const char16_t* takenMessage;
};

const EditorCase kEditors[] = {
    {"part", [] { return new TFrmAMaterialEdit; }, "t_Stock", "ItemCode", "ItemName",
     u"此编号配件已经存在，请重新录入！"},
    {"repair item", [] { return new TFrmAServiceItemEdit; }, "tServiceItem", "SItemCode",
     "SItemName", u"此项目编号已经存在,请重新更改!"},
    {"customer", [] { return new TFrmAClientFileEdit; }, "t_Client", "CCode", "CName",
     u"此客户号已经存在,请重新更改!"},
    {"supplier", [] { return new TFrmASupplierFileEdit; }, "t_Supplier", "SCode", "SName",
     u"此供应商号已经存在,请重新更改!"},
};

class MasterEditorsTest : public MasterTest
{
protected:
    void TearDown() override
    {
        for (const QPointer<TFrmAMasterEdit>& e : m_editors)
            if (e)
                e->Close();
        MasterTest::TearDown();
    }

    // An editor shown on its own query with a new record, as the pickers open it.
    TFrmAMasterEdit* openOnOwnQuery(const EditorCase& c)
    {
        TFrmAMasterEdit* e = c.make();
        m_editors << e;
        e->QryEdit->Open();
        e->QryEdit->Append();
        e->show();
        return e;
    }

    // An editor shown on a caller's dataset, as the browsers open it.
    TFrmAMasterEdit* openOn(const EditorCase& c, TDataSet* callerData)
    {
        TFrmAMasterEdit* e = c.make();
        m_editors << e;
        e->Source->SetDataSet(callerData);
        e->show();
        return e;
    }

    std::unique_ptr<TQxADOQuery> browserQuery(const QString& sql)
    {
        auto q = std::make_unique<TQxADOQuery>();
        q->setObjectName(QStringLiteral("QryMain"));
        q->SetConnection(module->ADOConnection);
        q->SQL().SetText(sql);
        q->Open();
        return q;
    }

    static TQxDBEDIT* editOf(TFrmAMasterEdit* e, const char* field)
    {
        auto* edit = qobject_cast<TQxDBEDIT*>(e->ControlOf(QLatin1String(field)));
        if (!edit)
            throw Exception(QStringLiteral("no edit for ") + QLatin1String(field));
        return edit;
    }

    // Enter in an edit that has the focus.
    static void pressEnter(QWidget* edit)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
    }

    static void type(TFrmAMasterEdit* e, const char* field, const char* text)
    {
        TQxDBEDIT* edit = editOf(e, field);
        edit->selectAll();
        QTest::keyClicks(edit, QLatin1String(text));
    }

    void insertRecord(const EditorCase& c, const QString& code, const QString& name)
    {
        exec(QStringLiteral("insert into %1 (%2, %3) values (:c, :n)")
                 .arg(QLatin1String(c.table), QLatin1String(c.codeField), QLatin1String(c.nameField)),
             {{QStringLiteral("c"), code}, {QStringLiteral("n"), name}});
    }

    int countCode(const EditorCase& c, const QString& code)
    {
        return count(QLatin1String(c.table), QLatin1String(c.codeField) + QStringLiteral(" = :c"),
                     {{QStringLiteral("c"), code}});
    }

    QList<QPointer<TFrmAMasterEdit>> m_editors;
};

TEST_F(MasterEditorsTest, ACodeAnotherRecordHoldsIsRefusedAndNothingIsWritten)
{
    for (const EditorCase& c : kEditors) {
        for (const char* code : {"K1", "O'N1"}) {
            SCOPED_TRACE(std::string(c.label) + " " + code);
            insertRecord(c, QLatin1String(code), QStringLiteral("老的"));
            TFrmAMasterEdit* e = openOnOwnQuery(c);
            type(e, c.codeField, code);
            type(e, c.nameField, "new");
            for (TQxBitBtn* button : {e->BtnSave, e->BtnAdd}) {
                dialogs().answerMessage(mrOk);
                QTest::mouseClick(button, Qt::LeftButton);
                EXPECT_EQ(dialogs().messages().value(0), QString::fromUtf16(c.takenMessage));
                dialogs().clear();
                EXPECT_TRUE(e->isVisible());
                EXPECT_EQ(e->QryEdit->State(), dsInsert);
                EXPECT_EQ(countCode(c, QLatin1String(code)), 1);
            }
            e->Close();
        }
    }
    EXPECT_EQ(count(QStringLiteral("tMaterial")), 0);
}

TEST_F(MasterEditorsTest, ANewRecordIsSavedAndTheEditorCloses)
{
    for (const EditorCase& c : kEditors) {
        SCOPED_TRACE(c.label);
        TFrmAMasterEdit* e = openOnOwnQuery(c);
        type(e, c.codeField, "N'1");
        type(e, c.nameField, "Fresh");
        QTest::mouseClick(e->BtnSave, Qt::LeftButton);
        EXPECT_FALSE(e->isVisible());
        EXPECT_EQ(scalar(QStringLiteral("select %1 from %2 where %3 = 'N''1'")
                             .arg(QLatin1String(c.nameField), QLatin1String(c.table), QLatin1String(c.codeField))),
                  QStringLiteral("Fresh"));
    }
    EXPECT_TRUE(dialogs().shown().isEmpty());
}

// A browser's change of a record: the record keeps its own code, and another code is tested.
TEST_F(MasterEditorsTest, AnExistingRecordIsSavedWithItsOwnCode)
{
    for (const EditorCase& c : kEditors) {
        SCOPED_TRACE(c.label);
        insertRecord(c, QStringLiteral("E1"), QStringLiteral("旧名"));
        insertRecord(c, QStringLiteral("E2"), QStringLiteral("别的"));
        auto browser = browserQuery(QStringLiteral("select * from ") + QLatin1String(c.table));
        ASSERT_TRUE(browser->Locate(QLatin1String(c.codeField), QStringLiteral("E1")));
        browser->Edit();
        TFrmAMasterEdit* e = openOn(c, browser.get());
        type(e, c.nameField, "Renamed");
        QTest::mouseClick(e->BtnSave, Qt::LeftButton);
        EXPECT_FALSE(e->isVisible());
        EXPECT_EQ(browser->State(), dsBrowse);
        EXPECT_EQ(scalar(QStringLiteral("select %1 from %2 where %3 = 'E1'")
                             .arg(QLatin1String(c.nameField), QLatin1String(c.table), QLatin1String(c.codeField))),
                  QStringLiteral("Renamed"));

        // Taking the code of another record is refused.
        ASSERT_TRUE(browser->Locate(QLatin1String(c.codeField), QStringLiteral("E1")));
        browser->Edit();
        e = openOn(c, browser.get());
        type(e, c.codeField, "E2");
        dialogs().answerMessage(mrOk);
        QTest::mouseClick(e->BtnSave, Qt::LeftButton);
        EXPECT_EQ(dialogs().messages(), QStringList{QString::fromUtf16(c.takenMessage)});
        dialogs().clear();
        e->Close();
        EXPECT_EQ(countCode(c, QStringLiteral("E1")), 1);
    }
}

TEST_F(MasterEditorsTest, SaveAndAddStartsAnotherRecordByButtonAndByEnterInTheLastField)
{
    const EditorCase& item = kEditors[1];
    TFrmAMasterEdit* e = openOnOwnQuery(item);
    type(e, "SItemCode", "A1");
    QTest::mouseClick(e->BtnAdd, Qt::LeftButton);
    EXPECT_EQ(countCode(item, QStringLiteral("A1")), 1);
    EXPECT_EQ(e->QryEdit->State(), dsInsert);
    // A new repair item is charged by the hour.
    EXPECT_EQ(e->QryEdit->FieldByName(QStringLiteral("TimeType"))->AsString(), QStringLiteral("按工时"));
    EXPECT_EQ(e->QryEdit->FieldByName(QStringLiteral("SItemCode"))->AsString(), QString());
    EXPECT_EQ(e->focusWidget(), e->ControlOf(QStringLiteral("SItemCode")));

    type(e, "SItemCode", "A2");
    pressEnter(editOf(e, "Remark"));
    EXPECT_EQ(countCode(item, QStringLiteral("A2")), 1);
    EXPECT_EQ(e->QryEdit->State(), dsInsert);
    EXPECT_TRUE(e->isVisible());

    // Enter anywhere else moves on and saves nothing.
    type(e, "SItemCode", "A3");
    pressEnter(editOf(e, "SItemName"));
    EXPECT_EQ(countCode(item, QStringLiteral("A3")), 0);

    // The part editor saves on Enter in "仓位：" and goes on with the name.
    TFrmAMasterEdit* part = openOnOwnQuery(kEditors[0]);
    type(part, "ItemCode", "P1");
    pressEnter(editOf(part, "Location"));
    EXPECT_EQ(countCode(kEditors[0], QStringLiteral("P1")), 1);
    EXPECT_EQ(part->focusWidget(), part->ControlOf(QStringLiteral("ItemName")));
}

TEST_F(MasterEditorsTest, AWrittenPartAddsOrUpdatesItsCatalogueRowWithItsNonEmptyValues)
{
    exec(QStringLiteral("insert into tMaterial (ItemCode, ItemName, Model, UnitCode, PartsCode) "
                        "values ('P1', '旧名', 'M-old', '个', 'MK-1')"));
    const EditorCase& part = kEditors[0];

    // A code the catalogue knows: its row is updated, the model (left empty) is kept.
    TFrmAMaterialEdit* e = static_cast<TFrmAMaterialEdit*>(openOnOwnQuery(part));
    type(e, "ItemCode", "P1");
    type(e, "ItemName", "NewName");
    type(e, "UnitCode", "box");
    type(e, "Costprice", "12.5");
    QTest::mouseClick(e->BtnSave, Qt::LeftButton);
    EXPECT_EQ(count(QStringLiteral("tMaterial"), QStringLiteral("ItemCode = 'P1'")), 1);
    EXPECT_EQ(scalar(QStringLiteral("select ItemName || '|' || Model || '|' || UnitCode || '|' || "
                                    "PartsCode || '|' || CostPrice from tMaterial where ItemCode = 'P1'")),
              QStringLiteral("NewName|M-old|box|MK-1|12.5"));

    // A new code: a catalogue row is appended with what the part holds.
    e = static_cast<TFrmAMaterialEdit*>(openOnOwnQuery(part));
    EXPECT_EQ(e->dsMaterial, e->Source);
    type(e, "ItemCode", "P2");
    type(e, "ItemName", "Battery");
    type(e, "Location", "A-3");
    QTest::mouseClick(e->BtnSave, Qt::LeftButton);
    EXPECT_EQ(scalar(QStringLiteral("select ItemName || '|' || Location || '|' || ifnull(Model, 'null') "
                                    "from tMaterial where ItemCode = 'P2'")),
              QStringLiteral("Battery|A-3|null"));
    EXPECT_EQ(count(QStringLiteral("tMaterial")), 2);
}

// The catalogue row and the part are written together: a part the database refuses leaves the
// catalogue as it was.
TEST_F(MasterEditorsTest, ACatalogueCopyIsUndoneWhenThePartIsNotWritten)
{
    exec(QStringLiteral("create trigger refuse_part before insert on t_Stock "
                        "begin select raise(abort, 'part refused'); end"));
    TFrmAMasterEdit* e = openOnOwnQuery(kEditors[0]);
    type(e, "ItemCode", "P7");
    dialogs().answerMessage(mrOk);
    QTest::mouseClick(e->BtnSave, Qt::LeftButton);
    EXPECT_TRUE(dialogs().messages().value(0).contains(QStringLiteral("part refused")));
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(e->QryEdit->State(), dsInsert);
    EXPECT_EQ(count(QStringLiteral("tMaterial")), 0);
    EXPECT_EQ(module->ADOConnection->InTransaction(), false);
}

// The user cancelled: the record is never written, also not when the caller's browser moves on.
TEST_F(MasterEditorsTest, ACancelledRecordIsNeverWrittenLater)
{
    const struct
    {
        const char* how;
        std::function<void(TFrmAMasterEdit*, const EditorCase&)> close;
    } closings[] = {
        {"取消退出", [](TFrmAMasterEdit* e, const EditorCase&) { QTest::mouseClick(e->BtnClose, Qt::LeftButton); }},
        {"Esc", [](TFrmAMasterEdit* e, const EditorCase& c) { QTest::keyClick(editOf(e, c.nameField), Qt::Key_Escape); }},
        {"close box", [](TFrmAMasterEdit* e, const EditorCase&) { e->close(); }},
    };
    for (const EditorCase& c : kEditors) {
        for (const auto& closing : closings) {
            SCOPED_TRACE(std::string(c.label) + " " + closing.how);
            insertRecord(c, QStringLiteral("B1"), QStringLiteral("一"));
            insertRecord(c, QStringLiteral("B2"), QStringLiteral("二"));
            auto browser = browserQuery(QStringLiteral("select * from ") + QLatin1String(c.table));
            browser->Append();
            TFrmAMasterEdit* e = openOn(c, browser.get());
            type(e, c.codeField, "Z9");
            closing.close(e, c);
            EXPECT_FALSE(e->isVisible());
            EXPECT_EQ(browser->State(), dsBrowse);
            browser->First();
            browser->Next();
            browser->Close();
            EXPECT_EQ(countCode(c, QStringLiteral("Z9")), 0);

            // A change of an existing record is given up the same way.
            browser->Open();
            ASSERT_TRUE(browser->Locate(QLatin1String(c.codeField), QStringLiteral("B1")));
            browser->Edit();
            e = openOn(c, browser.get());
            type(e, c.nameField, "Changed");
            QTest::mouseClick(e->BtnClose, Qt::LeftButton);
            browser->Last();
            EXPECT_EQ(browser->State(), dsBrowse);
            EXPECT_EQ(count(QLatin1String(c.table), QLatin1String(c.nameField) + QStringLiteral(" = 'Changed'")), 0);
            exec(QStringLiteral("delete from ") + QLatin1String(c.table));
        }
    }
    EXPECT_TRUE(dialogs().shown().isEmpty());
}

TEST_F(MasterEditorsTest, TheEditorsShowTheirFieldsUnderTheirCaptions)
{
    const struct
    {
        int editor;
        const char16_t* caption;
        const char* source;
        int fields;
    } cases[] = {
        {0, u"配件信息", "dsMaterial", 8},
        {1, u"录入维修项目", "dsEdit", 12},
        {2, u"录入客户档案", "dsEdit", 16},
        {3, u"录入供应商档案", "dsEdit", 15},
    };
    for (const auto& c : cases) {
        std::unique_ptr<TFrmAMasterEdit> e(kEditors[c.editor].make());
        EXPECT_EQ(e->Caption(), QString::fromUtf16(c.caption));
        EXPECT_EQ(e->Source->objectName(), QLatin1String(c.source));
        EXPECT_EQ(e->BtnAdd->Caption(), QStringLiteral("保存增加(&S)"));
        EXPECT_EQ(e->BtnSave->Caption(), QStringLiteral("保存退出(&E)"));
        EXPECT_EQ(e->BtnClose->Caption(), QStringLiteral("取消退出(&C)"));
        EXPECT_EQ(e->findChildren<TQxDBEDIT*>().size() + e->findChildren<TQxDBComboBox*>().size(),
                  qsizetype(c.fields));
    }
    TFrmAServiceItemEdit item;
    auto* timeType = qobject_cast<TQxDBComboBox*>(item.ControlOf(QStringLiteral("TimeType")));
    ASSERT_NE(timeType, nullptr);
    EXPECT_EQ(timeType->Items(), (QStringList{"按工时", "标准价", "最低价", "最高价"}));
    TFrmASupplierFileEdit supplier;
    EXPECT_EQ(supplier.ControlOf(QStringLiteral("HTel")), nullptr);
}

// The model's button offers the models as the pick list by field name.
TEST_F(MasterEditorsTest, ThePartsModelButtonOpensTheModelList)
{
    exec(QStringLiteral("insert into t_Model (Model, Remark) values ('X1', '')"));
    TFrmAMasterEdit* e = openOnOwnQuery(kEditors[0]);
    dialogs().answerDialog([](QDialog& d) { QTest::keyClick(&d, Qt::Key_Return); });
    editOf(e, "Model")->ButtonClick();
    EXPECT_EQ(e->QryEdit->FieldByName(QStringLiteral("Model"))->AsString(), QStringLiteral("X1"));
}

} // namespace
} // namespace qx::app::test
