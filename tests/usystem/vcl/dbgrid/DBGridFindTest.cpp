// The data grid's find box: typed text finds the first record beginning with it in the
// current column, without case; Enter keeps it, Esc goes back.
#include <gtest/gtest.h>

#include "DBGridInputSupport.h"
#include "tests/support/BeepCounter.h"
#include "usystem/vcl/dbgrid/uQxDBGridFind.h"

#include <QPushButton>

namespace {

// Parts whose names differ in case and prefix.
std::unique_ptr<TQxMemTable> makeNamed()
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add("Name", ftString, 20);
    t->FieldDefs()->Add("Qty", ftInteger, 0);
    t->Open();
    int qty = 5;
    for (const char* name : {"zeta", "Apple", "ABACUS", "about", "Banana", "abz"}) {
        t->Append();
        t->FieldByName("Name")->SetAsString(QString::fromLatin1(name));
        t->FieldByName("Qty")->SetAsInteger(qty++);
        t->Post();
    }
    t->First();
    return t;
}

QString nameOf(GridOver& w)
{
    return w.table->FieldByName("Name")->AsString();
}

} // namespace

TEST(DBGridFind, CtrlFOpensTheBoxOverTheCurrentTitle)
{
    GridOver w(makeNamed());
    press(Qt::Key_F, Qt::ControlModifier);
    TFindEdit* box = w.grid->FindEdit();
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(focused(), box);
    EXPECT_EQ(box->Text(), "");
    const QRect title = w.grid->CellRect(w.grid->Col(), 0);
    const QPoint titleInHost = w.grid->viewport()->mapTo(box->parentWidget(), title.topLeft());
    EXPECT_EQ(box->x(), titleInHost.x());
    EXPECT_EQ(box->width(), title.width());
    EXPECT_EQ(box->y() + box->height(), titleInHost.y() + title.height());
}

TEST(DBGridFind, TypingFindsByPrefixWithoutCaseAndEnterKeepsIt)
{
    qxtest::BeepCounter beeps;
    GridOver w(makeNamed());
    w.table->SetRecNo(6);
    press(Qt::Key_F, Qt::ControlModifier);
    typeText("ab");
    EXPECT_EQ(nameOf(w), "ABACUS");
    typeText("o");
    EXPECT_EQ(nameOf(w), "about");
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    EXPECT_EQ(nameOf(w), "Apple"); // "a" again: the first name beginning with it
    press(Qt::Key_Return);
    EXPECT_FALSE(w.grid->FindEdit()->isVisible());
    EXPECT_EQ(focused(), w.grid);
    EXPECT_TRUE(w.grid->FindBookmark().isEmpty());
    EXPECT_EQ(beeps.count(), 0); // every search found a record
}

TEST(DBGridFind, EscReturnsToWhereTheSearchBegan)
{
    GridOver w(makeNamed());
    w.table->SetRecNo(5);
    press(Qt::Key_F, Qt::ControlModifier);
    typeText("APP");
    EXPECT_EQ(nameOf(w), "Apple");
    press(Qt::Key_Escape);
    EXPECT_FALSE(w.grid->FindEdit()->isVisible());
    EXPECT_EQ(nameOf(w), "Banana");
    EXPECT_EQ(focused(), w.grid);
}

TEST(DBGridFind, ClickingElsewhereKeepsTheFoundRecord)
{
    GridOver w(makeNamed());
    press(Qt::Key_F, Qt::ControlModifier);
    typeText("ban");
    EXPECT_EQ(nameOf(w), "Banana");
    w.other->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(w.grid->FindEdit()->isVisible());
    EXPECT_EQ(nameOf(w), "Banana");
}

TEST(DBGridFind, TextNoRecordMatchesLeavesTheRecordWithABeep)
{
    qxtest::BeepCounter beeps;
    GridOver w(makeNamed());
    w.table->SetRecNo(2);
    press(Qt::Key_F, Qt::ControlModifier);
    typeText("q");
    EXPECT_EQ(nameOf(w), "Apple");
    EXPECT_FALSE(w.grid->FindEdit()->LastFound());
    EXPECT_EQ(beeps.take(), 1);
    typeText("x"); // still nothing: another beep
    EXPECT_EQ(beeps.take(), 1);
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace); // the empty box searches nothing
    EXPECT_EQ(beeps.take(), 1); // "q" alone still finds nothing
}

TEST(DBGridFind, ALetterOverANumericColumnIsRefusedWithABeep)
{
    qxtest::BeepCounter beeps;
    GridOver w(makeNamed());
    w.grid->SetSelectedIndex(1);
    press(Qt::Key_F, Qt::ControlModifier);
    TFindEdit* box = w.grid->FindEdit();
    ASSERT_TRUE(box && box->isVisible());
    typeText("a");
    EXPECT_EQ(box->Text(), "");
    EXPECT_EQ(beeps.take(), 1);
    typeText("8");
    EXPECT_EQ(box->Text(), "8");
    EXPECT_EQ(w.table->FieldByName("Qty")->AsInteger(), 8);
    EXPECT_EQ(beeps.take(), 0);
}

TEST(DBGridFind, DelAndInsStayInTheBoxAndUpDownMoveTheRecord)
{
    GridOver w(makeNamed());
    w.grid->SetOptions(w.grid->Options() | dgAllowAdd);
    auto& d = dialogs();
    press(Qt::Key_F, Qt::ControlModifier);
    TFindEdit* box = w.grid->FindEdit();
    typeText("abz");
    press(Qt::Key_Home);
    press(Qt::Key_Delete);
    EXPECT_EQ(box->Text(), "bz");
    press(Qt::Key_Delete, Qt::ControlModifier);
    press(Qt::Key_Insert);
    EXPECT_TRUE(d.shown().isEmpty());
    EXPECT_EQ(w.table->RecordCount(), 6);
    EXPECT_EQ(w.table->State(), dsBrowse);
    EXPECT_TRUE(box->isVisible());
    const int at = w.table->RecNo();
    press(Qt::Key_Up);
    EXPECT_EQ(w.table->RecNo(), at - 1);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(focused(), box);
}

TEST(DBGridFind, AnEmptyTableOnlyBeeps)
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add("Name", ftString, 20);
    t->Open();
    GridOver w(std::move(t));
    qxtest::BeepCounter beeps;
    EXPECT_FALSE(w.grid->StartFind());
    EXPECT_EQ(beeps.take(), 1);
    press(Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(!w.grid->FindEdit() || !w.grid->FindEdit()->isVisible());
    EXPECT_EQ(beeps.take(), 1);
}

TEST(DBGridFind, ALookupColumnFindsThroughItsLookupTable)
{
    auto kinds = std::make_unique<TQxMemTable>();
    kinds->FieldDefs()->Add("KindID", ftInteger, 0);
    kinds->FieldDefs()->Add("KindName", ftString, 10);
    kinds->Open();
    int id = 1;
    for (const char* name : {"screen", "battery", "board"}) {
        kinds->Append();
        kinds->FieldByName("KindID")->SetAsInteger(id++);
        kinds->FieldByName("KindName")->SetAsString(QString::fromLatin1(name));
        kinds->Post();
    }
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add("Code", ftString, 10);
    t->FieldDefs()->Add("KindID", ftInteger, 0);
    auto* kind = new TStringField(t.get());
    kind->SetFieldName("Kind");
    kind->SetFieldKind(fkLookup);
    kind->SetKeyFields("KindID");
    kind->SetLookupDataSet(kinds.get());
    kind->SetLookupKeyFields("KindID");
    kind->SetLookupResultField("KindName");
    kind->SetDataSet(t.get());
    t->Open();
    for (int k : {1, 1, 3, 2}) {
        t->Append();
        t->FieldByName("Code")->SetAsString(QStringLiteral("C%1").arg(t->RecordCount() + 1));
        t->FieldByName("KindID")->SetAsInteger(k);
        t->Post();
    }
    t->First();
    GridOver w(std::move(t));
    w.grid->SetSelectedIndex(2);
    press(Qt::Key_F, Qt::ControlModifier);
    typeText("BA");
    EXPECT_EQ(w.table->FieldByName("Code")->AsString(), "C4");
    press(Qt::Key_Escape);
    EXPECT_EQ(w.table->FieldByName("Code")->AsString(), "C1");
}

TEST(DBGridFind, AltLettersAreTypedIntoTheBoxNotTakenByTheForm)
{
    GridOver w(makeNamed());
    auto* button = new QPushButton(QStringLiteral("&Banana"), w.window.get());
    int clicked = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicked; });
    button->show();
    press(Qt::Key_F, Qt::ControlModifier);
    TFindEdit* box = w.grid->FindEdit();
    ASSERT_TRUE(box && box->isVisible());
    QTest::keyClick(box, Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(clicked, 0);
    EXPECT_EQ(box->Text().toLower(), "b");
    EXPECT_EQ(nameOf(w), "Banana");
}
