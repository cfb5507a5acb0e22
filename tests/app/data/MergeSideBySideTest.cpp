// The side-by-side merge of the work-order print: repair items and parts on common rows.
#include "DataModuleFixture.h"

#include "platform/db/QxMemTable.h"

#include <gtest/gtest.h>

#include <memory>

namespace qx::app::test {
namespace {

// A memory table of repair items (code, amount) with n rows "I1".."In".
std::unique_ptr<TQxMemTable> items(int n, bool codeRequired = false)
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add(QStringLiteral("ID"), ftAutoInc);
    t->FieldDefs()->Add(QStringLiteral("ItemCode"), ftString, 20, codeRequired);
    t->FieldDefs()->Add(QStringLiteral("Amount"), ftCurrency);
    t->CreateTable();
    t->Open();
    for (int i = 1; i <= n; ++i) {
        t->Append();
        t->FieldByName(QStringLiteral("ItemCode"))->SetAsString(QStringLiteral("I%1").arg(i));
        t->FieldByName(QStringLiteral("Amount"))->SetAsFloat(10.5 * i);
        t->Post();
    }
    return t;
}

// A memory table of parts (code, quantity) with n rows "P1".."Pn".
std::unique_ptr<TQxMemTable> parts(int n)
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add(QStringLiteral("ItemCode"), ftString, 30);
    t->FieldDefs()->Add(QStringLiteral("Qty"), ftInteger);
    t->CreateTable();
    t->Open();
    for (int i = 1; i <= n; ++i) {
        t->Append();
        t->FieldByName(QStringLiteral("ItemCode"))->SetAsString(QStringLiteral("P%1").arg(i));
        t->FieldByName(QStringLiteral("Qty"))->SetAsInteger(i);
        t->Post();
    }
    return t;
}

// The merged rows as "item|amount|part|qty" ('-' for an empty cell).
QStringList rows(TQxMemTable& target)
{
    auto cell = [&](const char* name) {
        TField* f = target.FindField(QString::fromLatin1(name));
        return !f ? QStringLiteral("x") : f->IsNull() ? QStringLiteral("-") : f->AsString();
    };
    QStringList out;
    for (target.First(); !target.Eof(); target.Next())
        out << QStringList{cell("ItemCode"), cell("Amount"), cell("O_ItemCode"), cell("O_Qty")}.join(u'|');
    return out;
}

class MergeSideBySideTest : public CleanRunTest
{
protected:
    TdmdataUnit module; // the merge needs no connection
    TQxMemTable target;
};

TEST_F(MergeSideBySideTest, ThreeItemsFiveParts)
{
    auto first = items(3);
    auto second = parts(5);
    ASSERT_TRUE(module.MergeSideBySide(first.get(), second.get(), &target));
    EXPECT_EQ(target.FieldNames(), (QStringList{QStringLiteral("ID"), QStringLiteral("ItemCode"),
                                                QStringLiteral("Amount"), QStringLiteral("O_ItemCode"),
                                                QStringLiteral("O_Qty")}));
    EXPECT_EQ(rows(target), (QStringList{QStringLiteral("I1|10.5|P1|1"), QStringLiteral("I2|21|P2|2"),
                                         QStringLiteral("I3|31.5|P3|3"), QStringLiteral("-|-|P4|4"),
                                         QStringLiteral("-|-|P5|5")}));
    // The copy keeps the items' numbers and invents none for the parts' rows.
    target.Last();
    EXPECT_TRUE(target.FieldByName(QStringLiteral("ID"))->IsNull());
    EXPECT_EQ(target.FieldByName(QStringLiteral("O_ItemCode"))->Size(), 30);
}

TEST_F(MergeSideBySideTest, FiveItemsThreeParts)
{
    auto first = items(5);
    auto second = parts(3);
    ASSERT_TRUE(module.MergeSideBySide(first.get(), second.get(), &target));
    EXPECT_EQ(rows(target), (QStringList{QStringLiteral("I1|10.5|P1|1"), QStringLiteral("I2|21|P2|2"),
                                         QStringLiteral("I3|31.5|P3|3"), QStringLiteral("I4|42|-|-"),
                                         QStringLiteral("I5|52.5|-|-")}));
}

TEST_F(MergeSideBySideTest, SecondClosedGivesTheFirstAlone)
{
    auto first = items(3);
    auto second = parts(5);
    second->Close();
    ASSERT_TRUE(module.MergeSideBySide(first.get(), second.get(), &target));
    EXPECT_EQ(target.FieldNames(), (QStringList{QStringLiteral("ID"), QStringLiteral("ItemCode"),
                                                QStringLiteral("Amount")}));
    EXPECT_EQ(rows(target), (QStringList{QStringLiteral("I1|10.5|x|x"), QStringLiteral("I2|21|x|x"),
                                         QStringLiteral("I3|31.5|x|x")}));
}

TEST_F(MergeSideBySideTest, FirstClosedGivesTheSecondUnderItsPrefix)
{
    auto first = items(2);
    first->Close();
    auto second = parts(2);
    ASSERT_TRUE(module.MergeSideBySide(first.get(), second.get(), &target));
    EXPECT_EQ(rows(target), (QStringList{QStringLiteral("x|x|P1|1"), QStringLiteral("x|x|P2|2")}));
}

TEST_F(MergeSideBySideTest, EmptyFirstAndNoSecond)
{
    auto first = items(0);
    ASSERT_TRUE(module.MergeSideBySide(first.get(), nullptr, &target));
    EXPECT_TRUE(target.Active());
    EXPECT_EQ(target.RecordCount(), 0);
}

TEST_F(MergeSideBySideTest, ReplacesWhatTheTargetHeld)
{
    auto first = items(1);
    auto second = parts(4);
    ASSERT_TRUE(module.MergeSideBySide(first.get(), second.get(), &target));
    auto fewer = parts(1);
    ASSERT_TRUE(module.MergeSideBySide(first.get(), fewer.get(), &target));
    EXPECT_EQ(rows(target), QStringList{QStringLiteral("I1|10.5|P1|1")});
}

TEST_F(MergeSideBySideTest, RequiredColumnsOfTheFirstDoNotStopTheLongerSecond)
{
    auto first = items(1, true);
    auto second = parts(3);
    ASSERT_TRUE(module.MergeSideBySide(first.get(), second.get(), &target));
    EXPECT_EQ(target.RecordCount(), 3);
    EXPECT_TRUE(dialogs().shown().isEmpty());
}

TEST_F(MergeSideBySideTest, CursorsStayWhereTheyWere)
{
    auto first = items(3);
    auto second = parts(5);
    first->SetRecNo(2);
    second->SetRecNo(4);
    ASSERT_TRUE(module.MergeSideBySide(first.get(), second.get(), &target));
    EXPECT_EQ(first->RecNo(), 2);
    EXPECT_EQ(second->RecNo(), 4);
    EXPECT_FALSE(first->ControlsDisabled());
    EXPECT_FALSE(target.ControlsDisabled());
}

// A failure is told and answered false, so that the print does not go on with half a table.
TEST_F(MergeSideBySideTest, FailureIsToldAndAnsweredFalse)
{
    auto first = std::make_unique<TQxMemTable>();
    first->FieldDefs()->Add(QStringLiteral("O_ItemCode"), ftString, 20);
    first->CreateTable();
    first->Open();
    auto second = parts(2); // its ItemCode becomes O_ItemCode too
    dialogs().answerMessage(mrOk);
    EXPECT_FALSE(module.MergeSideBySide(first.get(), second.get(), &target));
    ASSERT_EQ(dialogs().shown().size(), 1);
    EXPECT_EQ(dialogs().shown().front().icon, MessageIcon::Error);
    EXPECT_TRUE(dialogs().shown().front().text.contains(QStringLiteral("O_ItemCode"), Qt::CaseInsensitive))
        << dialogs().shown().front().text.toStdString();
}

TEST_F(MergeSideBySideTest, NoTargetIsToldAndAnsweredFalse)
{
    auto first = items(1);
    dialogs().answerMessage(mrOk);
    EXPECT_FALSE(module.MergeSideBySide(first.get(), nullptr, nullptr));
    EXPECT_EQ(dialogs().shown().size(), 1);
    EXPECT_EQ(first->RecNo(), 1);
}

} // namespace
} // namespace qx::app::test
