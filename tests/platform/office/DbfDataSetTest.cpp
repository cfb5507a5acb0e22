// A dataset written as a dBASE table: the field kinds, the values, the texts that are cut on a
// character boundary, the fields left out, and the old file kept when a value does not fit.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>

#include "DbfReadBack.h"
#include "platform/db/QxMemTable.h"
#include "platform/office/DbfDataSet.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

namespace {

// One field of every kind the shop's tables hold.
std::unique_ptr<TQxMemTable> makeTable()
{
    auto t = std::make_unique<TQxMemTable>();
    auto* defs = t->FieldDefs();
    defs->Add("Code", ftString, 10);
    defs->Add("Remark", ftString, 200);
    defs->Add("Notes", ftMemo);
    defs->Add("Photo", ftGraphic);
    defs->Add("Qty", ftInteger);
    defs->Add("Small", ftSmallint);
    defs->Add("Big", ftLargeint);
    defs->Add("Price", ftCurrency);
    defs->Add("Rate", ftBCD);
    defs->Add("Weight", ftFloat);
    defs->Add("Paid", ftBoolean);
    defs->Add("BillDate", ftDate);
    defs->Add("InTime", ftDateTime);
    defs->Add("AtTime", ftTime);
    defs->Add("Data", ftBlob);
    defs->Add("CustomerName", ftString, 8);
    defs->Add("CustomerNameEn", ftString, 8);
    t->Open();
    return t;
}

QString chinese(int characters)
{
    return QString(characters, QChar(0x4E2D)); // 中
}

} // namespace

TEST(DbfDataSet, FieldKindsBecomeTheirTableFieldsAndBlobsAreLeftOut)
{
    auto t = makeTable();
    QTemporaryDir dir;
    const QString path = dir.filePath("kinds.dbf");
    qx::saveDataSetAsDbf(*t, path);

    qxtest::DbfReadBack r(path);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.records(), 0);
    struct Expected
    {
        const char* name;
        char type;
        int width;
        int decimals;
    };
    const Expected expected[] = {
        {"Code", 'C', 20, 0},   {"Remark", 'C', 254, 0}, {"Notes", 'C', 254, 0},  {"Qty", 'N', 11, 0},
        {"Small", 'N', 6, 0},   {"Big", 'N', 20, 0},     {"Price", 'N', 20, 2},   {"Rate", 'N', 20, 4},
        {"Weight", 'N', 20, 6}, {"Paid", 'L', 1, 0},     {"BillDate", 'D', 8, 0}, {"InTime", 'D', 8, 0},
        {"AtTime", 'C', 8, 0},  {"CustomerNa", 'C', 16, 0}, {"CustomerN1", 'C', 16, 0},
    };
    const std::vector<qxtest::DbfField> fields = r.fields();
    ASSERT_EQ(fields.size(), std::size(expected));
    for (std::size_t i = 0; i < fields.size(); ++i) {
        EXPECT_EQ(fields[i].name, QString(expected[i].name)) << i;
        EXPECT_EQ(fields[i].type, expected[i].type) << expected[i].name;
        EXPECT_EQ(fields[i].width, expected[i].width) << expected[i].name;
        EXPECT_EQ(fields[i].decimals, expected[i].decimals) << expected[i].name;
    }
}

TEST(DbfDataSet, RecordsAreCopiedFromTheFirstToTheEnd)
{
    auto t = makeTable();
    t->Append();
    t->FieldByName("Code")->SetAsString("维修A01");
    t->FieldByName("Remark")->SetAsString("屏幕\"碎\"");
    t->FieldByName("Notes")->SetAsString("换屏");
    t->FieldByName("Photo")->SetAsBytes(QByteArray("\x89PNG", 4));
    t->FieldByName("Qty")->SetAsInteger(-3);
    t->FieldByName("Small")->SetAsInteger(32767);
    t->FieldByName("Big")->SetAsVariant(qlonglong(-9223372036854775807LL - 1));
    t->FieldByName("Price")->SetAsCurrency(Currency::fromString("1234.5"));
    t->FieldByName("Rate")->SetAsCurrency(Currency::fromString("0.0125"));
    t->FieldByName("Weight")->SetAsFloat(2.75);
    t->FieldByName("Paid")->SetAsBoolean(false);
    t->FieldByName("BillDate")->SetAsDateTime(EncodeDate(2024, 3, 5));
    t->FieldByName("InTime")->SetAsDateTime(TDateTime(EncodeDate(2024, 3, 6) + EncodeTime(13, 45, 0, 0)));
    t->FieldByName("AtTime")->SetAsDateTime(EncodeTime(8, 5, 9, 0));
    t->FieldByName("CustomerName")->SetAsString("张三");
    t->FieldByName("CustomerNameEn")->SetAsString("Zhang");
    t->Post();
    t->Append(); // every value null
    t->Post();
    t->First();

    QTemporaryDir dir;
    const QString path = dir.filePath("rows.dbf");
    qx::saveDataSetAsDbf(*t, path);
    EXPECT_TRUE(t->Eof());

    qxtest::DbfReadBack r(path);
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.records(), 2);
    const QStringList first = {"维修A01", "屏幕\"碎\"", "换屏", "-3", "32767", "-9223372036854775808",
                               "1234.50", "0.0125", "2.750000", "F", "20240305", "20240306",
                               "08:05:09", "张三", "Zhang"};
    for (int i = 0; i < first.size(); ++i) {
        EXPECT_EQ(r.text(0, i), first[i]) << i;
        EXPECT_EQ(r.raw(1, i).trimmed(), i == 9 ? QByteArray("?") : QByteArray()) << i;
    }
}

TEST(DbfDataSet, LongTextsAreCutOnACharacterBoundary)
{
    auto t = makeTable();
    t->Append();
    // One ASCII byte first, so that byte 254 would be the first half of a character.
    t->FieldByName("Notes")->SetAsString("a" + chinese(200));
    t->FieldByName("Remark")->SetAsString(chinese(127));
    t->FieldByName("Code")->SetAsString(chinese(10));
    t->Post();

    QTemporaryDir dir;
    const QString path = dir.filePath("cut.dbf");
    qx::saveDataSetAsDbf(*t, path);
    qxtest::DbfReadBack r(path);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.text(0, 2), "a" + chinese(126)); // 253 bytes, a space after
    EXPECT_EQ(r.raw(0, 2).right(1), QByteArray(" "));
    EXPECT_EQ(r.text(0, 1), chinese(127));      // 254 bytes: the whole text
    EXPECT_EQ(r.text(0, 0), chinese(10));       // a text field holds its size in Chinese
}

TEST(DbfDataSet, ANumberThatDoesNotFitRaisesAndKeepsTheOldFile)
{
    auto t = makeTable();
    t->Append();
    t->FieldByName("Weight")->SetAsFloat(1e30);
    t->Post();
    QTemporaryDir dir;
    const QString path = dir.filePath("old.dbf");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    try {
        qx::saveDataSetAsDbf(*t, path);
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains("Weight")) << e.Message().toStdString();
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
}

TEST(DbfDataSet, AClosedDatasetOrOneWithOnlyBlobsRaises)
{
    QTemporaryDir dir;
    auto closed = makeTable();
    closed->Close();
    EXPECT_THROW(qx::saveDataSetAsDbf(*closed, dir.filePath("a.dbf")), EDatabaseError);

    TQxMemTable blobs;
    blobs.FieldDefs()->Add("Photo", ftGraphic);
    blobs.Open();
    EXPECT_THROW(qx::saveDataSetAsDbf(blobs, dir.filePath("b.dbf")), EDatabaseError);
    EXPECT_FALSE(QFile::exists(dir.filePath("a.dbf")));
    EXPECT_FALSE(QFile::exists(dir.filePath("b.dbf")));
}
