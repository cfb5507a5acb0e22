// The data combo box on a memory table: the field shown (as an item or, for a value not among
// the items, as no selection), a pick or typed text written when the focus leaves, pick-only
// styles keeping to their items, read-only links and datasets, a closed dataset, and a value
// the field refuses.
#include "ComboTestSupport.h"

#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/QxMemTable.h"
#include "platform/env/DialogService.h"
#include "platform/env/ScriptedDialogService.h"
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/combos/uQxDBComboBox.h"

#include <QLineEdit>
#include <QWheelEvent>
#include <QClipboard>
#include <QInputMethodEvent>

using namespace combotest;

namespace {

class DBComboBox : public ::testing::Test
{
protected:
    void SetUp() override
    {
        table.FieldDefs()->Add("Unit", ftString, 10);
        table.FieldDefs()->Add("Qty", ftInteger);
        table.Open();
        table.Append();
        table.FieldByName("Unit")->SetAsString("天");
        table.FieldByName("Qty")->SetAsInteger(3);
        table.Post();
        source.SetDataSet(&table);

        form = makeForm();
        unit = make("CbUnit", "Unit", 20);
        other = new QLineEdit(form.get());
        other->setGeometry(20, 200, 100, 21);
        dialogs = qx::ScriptedDialogService::current();
        ASSERT_NE(dialogs, nullptr);
        dialogs->clear();
    }
    void TearDown() override
    {
        form.reset();
        QApplication::processEvents();
    }
    TQxDBComboBox* make(const char* name, const char* field, int y)
    {
        auto* c = new TQxDBComboBox(form.get());
        c->setObjectName(name);
        c->setGeometry(20, y, 150, 22);
        c->SetItems({"小时", "天", "周", "月"});
        c->SetDataSource(&source);
        c->SetDataField(field);
        return c;
    }
    void leave()
    {
        other->setFocus();
        QApplication::processEvents();
        QApplication::processEvents();
    }

    TQxMemTable table;
    TDataSource source;
    std::unique_ptr<QWidget> form;
    TQxDBComboBox* unit = nullptr;
    QLineEdit* other = nullptr;
    qx::ScriptedDialogService* dialogs = nullptr;
};

} // namespace

TEST_F(DBComboBox, ShowsTheFieldAsItsItem)
{
    EXPECT_EQ(unit->Style(), csOwnerDrawFixed);
    EXPECT_EQ(unit->ItemIndex(), 1);
    EXPECT_EQ(unit->Text(), "天");
    EXPECT_EQ(unit->GetField(), table.FieldByName("Unit"));
    // A change of the field by code is shown.
    table.Edit();
    table.FieldByName("Unit")->SetAsString("月");
    EXPECT_EQ(unit->ItemIndex(), 3);
    table.Post();
}

TEST_F(DBComboBox, ValueNotAmongItemsShowsNoSelection)
{
    for (TComboBoxStyle style : {csDropDownList, csOwnerDrawFixed}) {
        SCOPED_TRACE(int(style));
        unit->SetStyle(style);
        table.Edit();
        table.FieldByName("Unit")->SetAsString("年");
        table.Post();
        EXPECT_EQ(unit->ItemIndex(), -1);
        EXPECT_EQ(unit->Text(), "");
        table.Edit();
        table.FieldByName("Unit")->SetAsString("天");
        table.Post();
    }
    // With an edit, the value not among the items is the edit's text.
    unit->SetStyle(csDropDown);
    table.Edit();
    table.FieldByName("Unit")->SetAsString("年");
    table.Post();
    EXPECT_EQ(unit->Text(), "年");
}

TEST_F(DBComboBox, SettingItemsShowsTheFieldAmongThem)
{
    table.Edit();
    table.FieldByName("Unit")->SetAsString("年");
    table.Post();
    EXPECT_EQ(unit->ItemIndex(), -1);
    unit->SetItems({"年", "月"});
    EXPECT_EQ(unit->ItemIndex(), 0);
    EXPECT_EQ(unit->Text(), "年");
}

TEST_F(DBComboBox, PickWritesTheFieldWhenTheFocusLeaves)
{
    showForm(form.get());
    focus(form.get(), unit);
    ASSERT_EQ(table.State(), dsBrowse);
    QTest::keyClick(unit, Qt::Key_Down);
    EXPECT_EQ(table.State(), dsEdit);
    EXPECT_EQ(unit->Text(), "周");
    EXPECT_EQ(table.FieldByName("Unit")->AsString(), "天");
    leave();
    EXPECT_EQ(table.FieldByName("Unit")->AsString(), "周");
    table.Post();
    EXPECT_EQ(table.FieldByName("Unit")->AsString(), "周");
    EXPECT_EQ(dialogs->unexpected(), 0);
}

TEST_F(DBComboBox, PickFromTheOpenList)
{
    showForm(form.get());
    focus(form.get(), unit);
    QTest::keyClick(unit, Qt::Key_Plus, Qt::KeypadModifier);
    ASSERT_TRUE(unit->DroppedDown());
    EXPECT_EQ(table.State(), dsEdit); // opening the list starts the editing
    QTest::keyClick(unit->view(), Qt::Key_Down);
    QTest::keyClick(unit->view(), Qt::Key_Down);
    QTest::keyClick(unit->view(), Qt::Key_Return);
    EXPECT_FALSE(unit->DroppedDown());
    EXPECT_EQ(unit->Text(), "月");
    table.Post(); // the dataset's save asks the control for its value
    EXPECT_EQ(table.FieldByName("Unit")->AsString(), "月");
}

TEST_F(DBComboBox, TypedTextIsWrittenOnExit)
{
    unit->SetStyle(csDropDown);
    showForm(form.get());
    focus(form.get(), unit);
    ASSERT_TRUE(unit->lineEdit()->isReadOnly()); // until the dataset edits
    unit->lineEdit()->selectAll();
    typeText(unit, "两天");
    EXPECT_EQ(unit->Text(), "两天");
    EXPECT_EQ(table.State(), dsEdit);
    leave();
    EXPECT_EQ(table.FieldByName("Unit")->AsString(), "两天");
}

TEST_F(DBComboBox, EscPutsTheFieldBack)
{
    unit->SetStyle(csDropDown);
    showForm(form.get());
    focus(form.get(), unit);
    unit->lineEdit()->selectAll();
    QTest::keyClicks(unit, "xyz");
    ASSERT_EQ(unit->Text(), "xyz");
    QTest::keyClick(unit, Qt::Key_Escape);
    EXPECT_EQ(unit->Text(), "天");
    leave();
    EXPECT_EQ(table.FieldByName("Unit")->AsString(), "天");
}

TEST_F(DBComboBox, PickOnlyStyleRefusesOtherText)
{
    showForm(form.get());
    focus(form.get(), unit);
    // Typing an item's text picks it; other text changes nothing.
    typeText(unit, "周");
    EXPECT_EQ(unit->Text(), "周");
    QTest::keyClicks(unit, "xq");
    EXPECT_EQ(unit->Text(), "周");
    leave();
    EXPECT_EQ(table.FieldByName("Unit")->AsString(), "周");
    unit->SetComboText("年");
    EXPECT_EQ(unit->ItemIndex(), -1);
    EXPECT_EQ(unit->Text(), "");
}

TEST_F(DBComboBox, ReadOnlyLinkOrDatasetKeepsTheSelection)
{
    struct Case
    {
        const char* name;
        std::function<void()> lock;
        std::function<void()> unlock;
    };
    const Case cases[] = {
        {"link", [&] { unit->SetReadOnly(true); }, [&] { unit->SetReadOnly(false); }},
        {"dataset", [&] { table.SetReadOnly(true); }, [&] { table.SetReadOnly(false); }},
        {"source", [&] { source.SetAutoEdit(false); }, [&] { source.SetAutoEdit(true); }},
    };
    showForm(form.get());
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        k.lock();
        focus(form.get(), unit);
        QTest::keyClick(unit, Qt::Key_Down);
        QTest::keyClick(unit, Qt::Key_End);
        typeText(unit, "周");
        EXPECT_EQ(unit->ItemIndex(), 1);
        EXPECT_EQ(table.State(), dsBrowse);
        // Opening and picking from the list changes nothing either.
        QTest::keyClick(unit, Qt::Key_Plus, Qt::KeypadModifier);
        if (unit->DroppedDown()) {
            QTest::keyClick(unit->view(), Qt::Key_Down);
            QTest::keyClick(unit->view(), Qt::Key_Return);
        }
        EXPECT_FALSE(unit->DroppedDown());
        EXPECT_EQ(unit->Text(), "天");
        leave();
        EXPECT_EQ(table.FieldByName("Unit")->AsString(), "天");
        EXPECT_EQ(dialogs->unexpected(), 0);
        k.unlock();
    }
}

TEST_F(DBComboBox, ClosedDatasetShowsNothingAndTakesNothing)
{
    table.Close();
    EXPECT_EQ(unit->GetField(), nullptr);
    EXPECT_EQ(unit->ItemIndex(), -1);
    EXPECT_EQ(unit->Text(), "");
    showForm(form.get());
    focus(form.get(), unit);
    QTest::keyClick(unit, Qt::Key_Down);
    EXPECT_EQ(unit->ItemIndex(), -1);
    leave();
    EXPECT_EQ(dialogs->unexpected(), 0);
    EXPECT_TRUE(dialogs->messages().isEmpty());
    // Opened again, the field is shown.
    table.Open();
    table.Append();
    table.FieldByName("Unit")->SetAsString("月");
    table.Post();
    EXPECT_EQ(unit->Text(), "月");
}

TEST_F(DBComboBox, ValueTheFieldRefusesShowsTheErrorAndKeepsTheFocus)
{
    TQxDBComboBox* qty = make("CbQty", "Qty", 60);
    qty->SetItems({"1", "2", "1-2"});
    showForm(form.get());
    focus(form.get(), qty);
    QTest::keyClick(qty, Qt::Key_End); // the last item: text an integer field cannot take
    ASSERT_EQ(qty->Text(), "1-2");
    dialogs->answerMessage(qx::mrOk);
    leave();
    EXPECT_EQ(dialogs->unexpected(), 0);
    ASSERT_EQ(dialogs->messages().size(), 1);
    EXPECT_FALSE(dialogs->messages().first().isEmpty());
    EXPECT_TRUE(qty->hasFocus());
    EXPECT_EQ(qty->Color(), clInfoBk); // the exit did not run
    EXPECT_EQ(table.FieldByName("Qty")->AsInteger(), 3);
}

TEST_F(DBComboBox, TypedValueTheFieldRefusesShowsTheError)
{
    TQxDBComboBox* qty = make("CbQty", "Qty", 60);
    qty->SetStyle(csDropDown);
    showForm(form.get());
    focus(form.get(), qty);
    qty->lineEdit()->selectAll();
    QTest::keyClicks(qty, "1x-2"); // the field drops the letter
    ASSERT_EQ(qty->Text(), "1-2");
    dialogs->answerMessage(qx::mrOk);
    leave();
    ASSERT_EQ(dialogs->messages().size(), 1);
    EXPECT_TRUE(qty->hasFocus());
    EXPECT_EQ(qty->lineEdit()->selectedText(), "1-2");
    EXPECT_EQ(table.FieldByName("Qty")->AsInteger(), 3);
    // Corrected, the value goes in.
    qty->lineEdit()->selectAll();
    QTest::keyClicks(qty, "12");
    leave();
    EXPECT_EQ(table.FieldByName("Qty")->AsInteger(), 12);
}

TEST_F(DBComboBox, ListUnderEditRefusedWhileTheSourceIsFixed)
{
    unit->SetDataSourceFixed(true);
    try {
        unit->SetStyle(csSimple);
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "不能替换！！");
    }
    EXPECT_EQ(unit->Style(), csOwnerDrawFixed);
    unit->SetStyle(csDropDownList);
    EXPECT_EQ(unit->Style(), csDropDownList);
}

TEST_F(DBComboBox, FreedDataSourceUnbinds)
{
    auto s2 = std::make_unique<TDataSource>();
    s2->SetDataSet(&table);
    unit->SetDataSource(s2.get());
    EXPECT_EQ(unit->Text(), "天");
    s2.reset();
    EXPECT_EQ(unit->DataSource(), nullptr);
    EXPECT_EQ(unit->GetField(), nullptr);
    EXPECT_EQ(unit->Text(), "");
}

TEST_F(DBComboBox, WheelTurnsOnlyTheFocusedControl)
{
    showForm(form.get());
    focus(form.get(), other);
    const QPoint at(20, 11);
    QWheelEvent down(at, unit->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(unit, &down);
    EXPECT_EQ(unit->Text(), "天");
    EXPECT_EQ(table.State(), dsBrowse);
    focus(form.get(), unit);
    QWheelEvent again(at, unit->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(unit, &again);
    EXPECT_EQ(unit->Text(), "周");
    leave();
    EXPECT_EQ(table.FieldByName("Unit")->AsString(), "周");
}

TEST_F(DBComboBox, InputMethodAndPasteStartTheEditing)
{
    unit->SetStyle(csDropDown);
    showForm(form.get());
    focus(form.get(), unit);
    ASSERT_TRUE(unit->lineEdit()->isReadOnly());
    unit->lineEdit()->selectAll();
    QInputMethodEvent preedit("zhou", {});
    QApplication::sendEvent(unit, &preedit);
    EXPECT_EQ(table.State(), dsEdit);
    QInputMethodEvent commit;
    commit.setCommitString("周");
    QApplication::sendEvent(unit, &commit);
    EXPECT_EQ(unit->Text(), "周");
    table.Post();
    EXPECT_EQ(table.FieldByName("Unit")->AsString(), "周");

    QApplication::clipboard()->setText("小时");
    unit->lineEdit()->selectAll();
    QTest::keyClick(unit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(table.State(), dsEdit);
    EXPECT_EQ(unit->Text(), "小时");
    leave();
    EXPECT_EQ(table.FieldByName("Unit")->AsString(), "小时");
}
