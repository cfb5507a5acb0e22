// The data edit on a memory table: display text in and typed text out through the field's
// conversion, the dataset's save reading what was typed without the focus leaving, input
// methods before the dataset edits, data source changes, and a value the field refuses.
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/edits/uQxDatePad.h"
#include "usystem/vcl/edits/uQxNumPad.h"

#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/QxMemTable.h"
#include "platform/env/DialogService.h"
#include "platform/env/ScriptedDialogService.h"
#include "platform/rtl/DateTime.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class DataEdit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        table.FieldDefs()->Add("Name", ftString, 20);
        table.FieldDefs()->Add("Note", ftString, 30);
        table.FieldDefs()->Add("Price", ftCurrency);
        table.FieldDefs()->Add("Day", ftDate);
        table.FieldDefs()->Add("Qty", ftInteger);
        table.Open();
        table.FieldByName("Price")->SetDisplayFormat("0.00");
        table.Append();
        table.FieldByName("Name")->SetAsString("甲");
        table.FieldByName("Price")->SetAsFloat(12.5);
        table.FieldByName("Day")->SetAsDateTime(EncodeDate(2024, 3, 5));
        table.FieldByName("Qty")->SetAsFloat(3);
        table.Post();
        source.SetDataSet(&table);

        form = std::make_unique<QWidget>();
        form->resize(300, 200);
        name = make("EdName", "Name", 10);
        price = make("EdPrice", "Price", 40);
        day = make("EdDay", "Day", 70);
        qty = make("EdQty", "Qty", 100);
        other = new QLineEdit(form.get());
        other->setGeometry(10, 130, 100, 21);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::setActiveWindow(form.get());
        dialogs = qx::ScriptedDialogService::current();
        ASSERT_NE(dialogs, nullptr);
        dialogs->clear();
    }
    void TearDown() override
    {
        form.reset();
        QApplication::processEvents();
    }
    TQxDBEDIT* make(const char* objName, const char* field, int y)
    {
        auto* e = new TQxDBEDIT(form.get());
        e->setObjectName(objName);
        e->setGeometry(10, y, 150, 21);
        e->SetDataSource(&source);
        e->SetDataField(field);
        return e;
    }
    void focus(QWidget* w)
    {
        QApplication::processEvents();
        QApplication::setActiveWindow(form.get());
        w->setFocus();
        QApplication::processEvents();
        ASSERT_TRUE(w->hasFocus());
    }
    void retype(QWidget* w, const char* text)
    {
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_Delete);
        QTest::keyClicks(w, text);
    }

    TQxMemTable table;
    TDataSource source;
    std::unique_ptr<QWidget> form;
    TQxDBEDIT* name = nullptr;
    TQxDBEDIT* price = nullptr;
    TQxDBEDIT* day = nullptr;
    TQxDBEDIT* qty = nullptr;
    QLineEdit* other = nullptr;
    qx::ScriptedDialogService* dialogs = nullptr;
};

} // namespace

TEST_F(DataEdit, MoneyRoundTripThroughDisplayTextAndText)
{
    EXPECT_EQ(price->Text(), "12.50");
    focus(price);
    EXPECT_EQ(price->Text(), "12.50"); // the display text also while focused
    EXPECT_EQ(table.State(), dsBrowse);
    retype(price, "7.25");
    EXPECT_EQ(table.State(), dsEdit);
    table.Post();
    EXPECT_DOUBLE_EQ(table.FieldByName("Price")->AsFloat(), 7.25);
    EXPECT_EQ(price->Text(), "7.25");
    retype(price, "12.5");
    table.Post();
    EXPECT_DOUBLE_EQ(table.FieldByName("Price")->AsFloat(), 12.5);
    EXPECT_EQ(price->Text(), "12.50");
}

TEST_F(DataEdit, DateRoundTrip)
{
    EXPECT_EQ(day->Text(), "2024-03-05");
    focus(day);
    retype(day, "2024-04-01");
    table.Post();
    EXPECT_EQ(table.FieldByName("Day")->AsDateTime().Val, EncodeDate(2024, 4, 1).Val);
    EXPECT_EQ(day->Text(), "2024-04-01");
}

TEST_F(DataEdit, SaveWithoutLeavingReadsTypedText)
{
    focus(name);
    retype(name, "Yi Fang");
    ASSERT_TRUE(name->hasFocus());
    // The form's save: the edit's pending text first, then the record.
    name->UpdateRecord();
    EXPECT_EQ(table.FieldByName("Name")->AsString(), "Yi Fang");
    retype(name, "Bing");
    table.Post(); // Post asks the links for their values too
    EXPECT_EQ(table.FieldByName("Name")->AsString(), "Bing");
    EXPECT_TRUE(name->hasFocus());
}

TEST_F(DataEdit, InputMethodTextStartsEditing)
{
    focus(name);
    ASSERT_EQ(table.State(), dsBrowse);
    ASSERT_TRUE(name->isReadOnly());
    EXPECT_TRUE(name->testAttribute(Qt::WA_InputMethodEnabled));
    name->selectAll();
    QInputMethodEvent preedit("bing", {});
    QApplication::sendEvent(name, &preedit);
    EXPECT_EQ(table.State(), dsEdit);
    QInputMethodEvent commit;
    commit.setCommitString("丙");
    QApplication::sendEvent(name, &commit);
    EXPECT_EQ(name->Text(), "丙");
    table.Post();
    EXPECT_EQ(table.FieldByName("Name")->AsString(), "丙");
}

TEST_F(DataEdit, FollowsDataSourceSetLater)
{
    TQxMemTable t2;
    t2.FieldDefs()->Add("Name", ftString, 20);
    t2.Open();
    t2.Append();
    t2.FieldByName("Name")->SetAsString("另一个");
    t2.Post();
    TDataSource s2;
    s2.SetDataSet(&t2);
    name->SetDataSource(&s2);
    EXPECT_EQ(name->Text(), "另一个");
    EXPECT_EQ(name->GetField(), t2.FieldByName("Name"));
    focus(name);
    retype(name, "Gai");
    t2.Post();
    EXPECT_EQ(t2.FieldByName("Name")->AsString(), "Gai");
    EXPECT_EQ(table.FieldByName("Name")->AsString(), "甲");
}

TEST_F(DataEdit, FreedDataSourceUnbinds)
{
    auto s2 = std::make_unique<TDataSource>();
    s2->SetDataSet(&table);
    name->SetDataSource(s2.get());
    s2.reset();
    EXPECT_EQ(name->DataSource(), nullptr);
    EXPECT_EQ(name->GetField(), nullptr);
    EXPECT_EQ(name->Text(), "");
}

TEST_F(DataEdit, MaxLengthFollowsStringField)
{
    EXPECT_EQ(name->MaxLength(), 20);
    name->SetDataField("Note");
    EXPECT_EQ(name->MaxLength(), 30);
    TQxDBEDIT* fixed = new TQxDBEDIT(form.get());
    fixed->setMaxLength(8);
    fixed->SetDataSource(&source);
    fixed->SetDataField("Name");
    EXPECT_EQ(fixed->MaxLength(), 8);
}

TEST_F(DataEdit, UnboundHasNoField)
{
    TQxDBEDIT e;
    EXPECT_EQ(e.GetField(), nullptr);
}

TEST_F(DataEdit, ValueFieldRefusesShowsErrorAndKeepsFocus)
{
    focus(qty);
    retype(qty, "1-2");
    dialogs->answerMessage(qx::mrOk);
    other->setFocus();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(dialogs->unexpected(), 0);
    ASSERT_EQ(dialogs->messages().size(), 1);
    EXPECT_FALSE(dialogs->messages().first().isEmpty());
    EXPECT_TRUE(qty->hasFocus());
    EXPECT_EQ(qty->selectedText(), "1-2");
    EXPECT_EQ(table.FieldByName("Qty")->AsInteger(), 3);
}

TEST_F(DataEdit, ReadOnlyRunsNoPad)
{
    price->SetDataType(edtNumber);
    price->SetReadOnly(true);
    focus(price);
    QTest::keyClick(price, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_TRUE(!SharedNumPad() || !SharedNumPad()->isVisible() || SharedNumPad()->parentWidget() != price);
    EXPECT_EQ(table.State(), dsBrowse);
}

TEST_F(DataEdit, NumberPadValueReachesField)
{
    price->SetDataType(edtNumber);
    focus(price);
    QTest::keyClick(price, Qt::Key_Plus, Qt::KeypadModifier);
    ASSERT_TRUE(SharedNumPad() && SharedNumPad()->isVisible());
    EXPECT_EQ(table.State(), dsEdit);
    QTest::keyClicks(price, "*2");
    QTest::keyClick(price, Qt::Key_Return);
    QTest::keyClick(price, Qt::Key_Return);
    table.Post();
    EXPECT_DOUBLE_EQ(table.FieldByName("Price")->AsFloat(), 25);
}

TEST_F(DataEdit, LookupPairShowsNameEditsCode)
{
    TQxMemTable t;
    t.FieldDefs()->Add("SCode", ftString, 10);
    t.FieldDefs()->Add("SName", ftString, 20);
    t.Open();
    t.Append();
    t.FieldByName("SCode")->SetAsString("S01");
    t.FieldByName("SName")->SetAsString("Supplier One");
    t.Post();
    TDataSource s;
    s.SetDataSet(&t);
    auto* e = new TQxDBEDIT(form.get());
    e->setGeometry(170, 10, 100, 21);
    e->show();
    e->LookupField()->SetEnabled(true);
    e->LookupField()->SetCodeField("SCode");
    e->LookupField()->SetNameField("SName");
    e->SetDataSource(&s);
    e->SetDataField("SCode");
    e->Loaded();
    EXPECT_EQ(e->Text(), "Supplier One");
    focus(e);
    EXPECT_EQ(e->DataField(), "SCode");
    EXPECT_EQ(e->Text(), "S01");
    focus(other);
    EXPECT_EQ(e->Text(), "Supplier One");
}

TEST_F(DataEdit, DeleteKeyStartsEditing)
{
    focus(name);
    ASSERT_EQ(table.State(), dsBrowse);
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Delete);
    EXPECT_EQ(table.State(), dsEdit);
    EXPECT_EQ(name->Text(), "");
    table.Post();
    EXPECT_EQ(table.FieldByName("Name")->AsString(), "");
}

TEST_F(DataEdit, DatePadWritesFieldAndOpensOnFieldDate)
{
    day->SetDataType(edtDate);
    focus(day);
    QTest::keyClick(day, Qt::Key_Plus, Qt::KeypadModifier);
    ASSERT_TRUE(SharedDatePad() && SharedDatePad()->isVisible());
    EXPECT_EQ(SharedDatePad()->CalendarDate()->Day(), 5);
    QTest::keyClick(day, Qt::Key_Down); // a week on
    QTest::keyClick(day, Qt::Key_Return);
    EXPECT_EQ(day->Text(), "2024-03-12");
    table.Post();
    EXPECT_EQ(table.FieldByName("Day")->AsDateTime().Val, EncodeDate(2024, 3, 12).Val);
}

TEST_F(DataEdit, PadCancelledByFocusMoveWritesNothing)
{
    price->SetDataType(edtNumber);
    focus(price);
    QTest::keyClick(price, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClicks(price, "99");
    EXPECT_EQ(price->Text(), "99");
    focus(other);
    EXPECT_EQ(price->Text(), "12.50");
    EXPECT_DOUBLE_EQ(table.FieldByName("Price")->AsFloat(), 12.5);
}
