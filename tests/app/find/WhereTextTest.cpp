// The where text the find dialog writes into the browser's edit: the table of every page, OK
// with nothing filled, a condition longer than any cap arriving whole, a range edit that is not
// a number, and an inverted range.
#include "WhereCases.h"

namespace qx::app::test {
namespace {

using WhereTextTest = FindTest;

TEST_F(WhereTextTest, EveryPageGivesItsExactText)
{
    for (const WhereCase& c : whereCases()) {
        SCOPED_TRACE(QString::fromUtf16(c.where).toStdString());
        TFrmFind* form = openFind(QLatin1String(c.page));
        ASSERT_EQ(form->ActivePage(), QLatin1String(c.page));
        fillAll(form, c.inputs);
        EXPECT_EQ(confirm(form), QString::fromUtf16(c.where));
        EXPECT_FALSE(form->isVisible());
    }
    EXPECT_TRUE(dialogs().shown().isEmpty());
}

TEST_F(WhereTextTest, NothingFilledIsAllRowsOnEveryPage)
{
    for (const find::FindPage& page : find::FindPages()) {
        SCOPED_TRACE(page.Name.toStdString());
        TFrmFind* form = openFind(page.Name);
        EXPECT_EQ(confirm(form), QStringLiteral("1"));
    }
}

// The three conditions of the receipt search make more than 200 characters; all of them
// reach the browser, and so does a text far longer than a line edit holds by default.
TEST_F(WhereTextTest, LongConditionArrivesWhole)
{
    TFrmFind* form = openFind(QStringLiteral("Reception"));
    fillAll(form, {{"ChkReceptionInTime"}, {"DtpReceptionInTimeFrom", u"2026-03-01"}, {"RgpReceptionState2"},
                   {"ChkReceptionReceivTime"}, {"DtpReceptionReceivTimeFrom", u"2026-03-01"}});
    const QString where = confirm(form);
    EXPECT_EQ(where, QStringLiteral(" Where  InTime >=CVDate('2026-03-01') and Intime<=cvDate('2026-03-05') and "
                                    "totalAmount-Received-DecAmount>0 and BillNo in (Select BillNo from "
                                    "t_ReceptionDlt3 where ReceivTime >=CVDate('2026-03-01') and "
                                    "ReceivTime<=cvDate('2026-03-05'))"));
    EXPECT_GT(where.size(), 204);

    form = openFind(QStringLiteral("Reception"));
    const QString a(20000, u'a');
    const QString b(20000, u'b');
    control<TQxEdit>(form, "EdtReceptionBillNo")->setText(a);
    control<TQxEdit>(form, "EdtReceptionReBillNo")->setText(b);
    fill(form, {"EdtReceptionTimesAmountFrom", u"1"});
    fill(form, {"EdtReceptionTimesAmountTo", u"1000"});
    const QString expected = QStringLiteral(" Where  BillNo ='") + a + QStringLiteral("' and ReBillNo ='") + b
        + QStringLiteral("' and TimesAmount >= 1 and TimesAmount <= 1000");
    EXPECT_EQ(confirm(form), expected);
    EXPECT_EQ(resultEdit.text().size(), expected.size());
}

// A range edit that is not a number: the conversion error's message, the dialog stays open
// and nothing is written; once mended, OK goes through.
TEST_F(WhereTextTest, RangeThatIsNotANumberWritesNothing)
{
    const struct
    {
        const char16_t* from;
        const char16_t* to;
        const char16_t* message;
    } cases[] = {
        {u"abc", u"5", u"'abc' is not a valid floating point value"},
        {u"1", u"2 or 1=1", u"'2 or 1=1' is not a valid floating point value"},
        {u"1,000", u"5", u"'1,000' is not a valid floating point value"},
        {u"5e", u"6", u"'5e' is not a valid floating point value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.from).toStdString());
        dialogs().clear();
        TFrmFind* form = openFind(QStringLiteral("Reception"));
        fillAll(form, {{"EdtReceptionBillNo", u"WX1"}, {"EdtReceptionTotalAmountFrom", c.from},
                       {"EdtReceptionTotalAmountTo", c.to}});
        dialogs().answerMessage(mrOk);
        EXPECT_EQ(confirm(form), QString());
        EXPECT_EQ(dialogs().messages(), QStringList{QString::fromUtf16(c.message)});
        EXPECT_TRUE(form->isVisible());

        control<TQxEdit>(form, "EdtReceptionTotalAmountFrom")->setText(QStringLiteral("1"));
        control<TQxEdit>(form, "EdtReceptionTotalAmountTo")->setText(QStringLiteral("5"));
        EXPECT_EQ(confirm(form), QStringLiteral(" Where  BillNo ='WX1' and TotalAmount >= 1 and TotalAmount <= 5"));
        EXPECT_FALSE(form->isVisible());
    }
}

// From greater than to: the range's message, then both comparisons all the same.
TEST_F(WhereTextTest, InvertedRangeSaysSoAndStillAppendsBoth)
{
    const struct
    {
        const char* from;
        const char* to;
        const char16_t* message;
        const char16_t* where;
    } cases[] = {
        {"EdtReceptionTimesAmountFrom", "EdtReceptionTimesAmountTo", u"工时费条件输入错误。左边数应小于等于右边数",
         u" Where  TimesAmount >= 10 and TimesAmount <= 5"},
        {"EdtReceptionPartsAmountFrom", "EdtReceptionPartsAmountTo", u"配件费条件输入错误。左边数应小于等于右边数",
         u" Where  PartsAmount >= 10 and PartsAmount <= 5"},
        {"EdtReceptionTotalAmountFrom", "EdtReceptionTotalAmountTo", u"合计费条件输入错误。左边数应小于等于右边数",
         u" Where  TotalAmount >= 10 and TotalAmount <= 5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        dialogs().clear();
        TFrmFind* form = openFind(QStringLiteral("Reception"));
        fillAll(form, {{c.from, u"10"}, {c.to, u"5"}});
        dialogs().answerMessage(mrOk);
        EXPECT_EQ(confirm(form), QString::fromUtf16(c.where));
        EXPECT_EQ(dialogs().messages(), QStringList{QString::fromUtf16(c.message)});
        EXPECT_FALSE(form->isVisible());
    }
}

} // namespace
} // namespace qx::app::test
