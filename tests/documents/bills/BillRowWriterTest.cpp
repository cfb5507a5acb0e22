// The copy rule of the bill saves: only columns whose memory field holds something are
// written, ID never, the bill's number always; a head's required column without a default
// gets " "; the values are bound, quotes and all.
#include "tests/app/master/MasterFixture.h"

#include "documents/bills/BillRowWriter.h"
#include "platform/db/QxMemTable.h"

namespace qx::documents::test {
namespace {

using qx::app::test::MasterTest;

class BillRowWriterTest : public MasterTest
{
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        memory.FieldDefs()->Add(QStringLiteral("id"), ftInteger);
        memory.FieldDefs()->Add(QStringLiteral("billno"), ftString, 30);
        memory.FieldDefs()->Add(QStringLiteral("CName"), ftString, 60);
        memory.FieldDefs()->Add(QStringLiteral("Model"), ftString, 30);
        memory.FieldDefs()->Add(QStringLiteral("TotalAmount"), ftCurrency);
        memory.FieldDefs()->Add(QStringLiteral("XZhe"), ftFloat);
        memory.FieldDefs()->Add(QStringLiteral("INtime"), ftDateTime);
        memory.FieldDefs()->Add(QStringLiteral("B1"), ftString, 1);
        memory.CreateTable();
        memory.Open();
    }

    void appendHead(const QString& name, const QString& model)
    {
        memory.Append();
        memory.FieldByName(QStringLiteral("ID"))->SetAsInteger(9999);
        memory.FieldByName(QStringLiteral("BillNo"))->SetAsString(QStringLiteral("新单"));
        memory.FieldByName(QStringLiteral("CName"))->SetAsString(name);
        memory.FieldByName(QStringLiteral("Model"))->SetAsString(model);
        memory.FieldByName(QStringLiteral("TotalAmount"))->SetAsCurrency(Currency::fromString(QStringLiteral("12.3456")));
        memory.FieldByName(QStringLiteral("INtime"))->SetAsDateTime(TDateTime::fromQDate(QDate(2026, 3, 5)));
        memory.FieldByName(QStringLiteral("B1"))->SetAsString(QStringLiteral("5"));
        memory.Post();
    }

    TQxMemTable memory;
};

TEST_F(BillRowWriterTest, OnlyFieldsWithTextAreWrittenAndTheDefaultsFillTheRest)
{
    appendHead(QStringLiteral("O'Neil"), QString());
    BillRowWriter writer(*module->ADOConnection, QStringLiteral("t_ReceptionMst"), BillRowWriter::Blanks::RequiredAsBlank);
    writer.insertCurrent(memory, QStringLiteral("WX260305001"));

    const QVariantMap bill{{QStringLiteral("b"), QStringLiteral("WX260305001")}};
    EXPECT_EQ(count(QStringLiteral("t_ReceptionMst"), QStringLiteral("BillNo = :b"), bill), 1);
    EXPECT_NE(scalar(QStringLiteral("select ID from t_ReceptionMst where BillNo = :b"), bill), QStringLiteral("9999"));
    EXPECT_EQ(scalar(QStringLiteral("select CName from t_ReceptionMst where BillNo = :b"), bill), QStringLiteral("O'Neil"));
    EXPECT_EQ(scalar(QStringLiteral("select Model is null from t_ReceptionMst where BillNo = :b"), bill), QStringLiteral("1"));
    EXPECT_EQ(scalar(QStringLiteral("select MileageUnit from t_ReceptionMst where BillNo = :b"), bill), QStringLiteral("天"));
    EXPECT_EQ(scalar(QStringLiteral("select XZhe from t_ReceptionMst where BillNo = :b"), bill), QStringLiteral("0"));
    EXPECT_EQ(scalar(QStringLiteral("select TotalAmount * 10000 from t_ReceptionMst where BillNo = :b"), bill),
              QStringLiteral("123456"));
    EXPECT_EQ(scalar(QStringLiteral("select typeof(INtime) || ':' || INtime from t_ReceptionMst where BillNo = :b"), bill),
              QStringLiteral("text:2026-03-05"));
}

TEST_F(BillRowWriterTest, ARequiredHeadColumnWithoutDefaultGetsABlankAndALineFails)
{
    exec(QStringLiteral("create table tNeedTest (ID INTEGER PRIMARY KEY AUTOINCREMENT, BillNo TEXT(30), "
                        "Model TEXT(30) NOT NULL, Kind TEXT(10) NOT NULL DEFAULT 'k', CName TEXT(60) NOT NULL)"));
    appendHead(QStringLiteral("张三"), QString());
    BillRowWriter head(*module->ADOConnection, QStringLiteral("tNeedTest"), BillRowWriter::Blanks::RequiredAsBlank);
    head.insertCurrent(memory, QStringLiteral("H1"));
    EXPECT_EQ(scalar(QStringLiteral("select '[' || Model || '|' || Kind || '|' || CName || ']' from tNeedTest")),
              QStringLiteral("[ |k|张三]"));

    BillRowWriter line(*module->ADOConnection, QStringLiteral("tNeedTest"));
    EXPECT_THROW(line.insertCurrent(memory, QStringLiteral("H2")), EDatabaseError);
    EXPECT_EQ(count(QStringLiteral("tNeedTest")), 1);
}

TEST_F(BillRowWriterTest, LinesAreWrittenInOrderUnderTheBillsNumberAndReplacedByBill)
{
    for (const char* name : {"a", "b", "c"})
        appendHead(QLatin1String(name), QStringLiteral("M"));
    BillRowWriter writer(*module->ADOConnection, QStringLiteral("t_ReceptionMst"));
    exec(QStringLiteral("create table tLineTest (ID INTEGER PRIMARY KEY AUTOINCREMENT, BillNo TEXT(30), CName TEXT(60))"));
    BillRowWriter lines(*module->ADOConnection, QStringLiteral("tLineTest"));
    lines.insertAll(memory, QStringLiteral("WX1"));
    lines.insertAll(memory, QStringLiteral("WX2"));
    EXPECT_EQ(scalar(QStringLiteral("select group_concat(CName, '') from (select CName from tLineTest "
                                    "where BillNo = 'WX1' order by ID)")),
              QStringLiteral("abc"));
    EXPECT_EQ(lines.deleteBill(QStringLiteral("WX1")), 3);
    EXPECT_EQ(count(QStringLiteral("tLineTest")), 3);
    EXPECT_EQ(count(QStringLiteral("tLineTest"), QStringLiteral("BillNo = 'WX2'")), 3);
}

TEST_F(BillRowWriterTest, ANumberTakenByAnotherHeadIsADuplicateKey)
{
    exec(QStringLiteral("insert into t_ReceptionMst (BillNo) values ('WX260305001')"));
    appendHead(QStringLiteral("x"), QString());
    BillRowWriter writer(*module->ADOConnection, QStringLiteral("t_ReceptionMst"), BillRowWriter::Blanks::RequiredAsBlank);
    EXPECT_THROW(writer.insertCurrent(memory, QStringLiteral("wx260305001")), EDuplicateKey);
    EXPECT_EQ(count(QStringLiteral("t_ReceptionMst")), 1);
}

} // namespace
} // namespace qx::documents::test
