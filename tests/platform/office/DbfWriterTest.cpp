// The dBASE III+ writer: header bytes, field names, values read back through shapelib, and the
// values it refuses instead of cutting them.
#include <gtest/gtest.h>

#include <QScopeGuard>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

#include "DbfReadBack.h"
#include "platform/office/DbfWriter.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"

using qx::DbfFieldType;
using qx::DbfWriter;

TEST(DbfWriter, HeaderCarriesVersionDateCountsAndTheGbkLanguageDriver)
{
    qx::setToday(QDate(2024, 3, 5));
    auto restore = qScopeGuard([] { qx::clearToday(); });
    QTemporaryDir dir;
    const QString path = dir.filePath("t.dbf");
    DbfWriter w;
    w.addField("NAME", DbfFieldType::Character, 10);
    w.addField("QTY", DbfFieldType::Numeric, 11);
    for (int i = 0; i < 3; ++i) {
        w.appendRecord();
        w.setText(0, "a");
        w.setInteger(1, i);
    }
    w.saveToFile(path);

    qxtest::DbfReadBack t(path);
    ASSERT_TRUE(t.ok());
    const QByteArray& b = t.bytes();
    EXPECT_EQ(uchar(b[0]), 0x03);                               // dBASE III without memo file
    EXPECT_EQ(uchar(b[1]), 124);                                // 2024 - 1900
    EXPECT_EQ(uchar(b[2]), 3);
    EXPECT_EQ(uchar(b[3]), 5);
    EXPECT_EQ(uchar(b[4]) | (uchar(b[5]) << 8), 3);             // records
    EXPECT_EQ(uchar(b[8]) | (uchar(b[9]) << 8), 32 + 2 * 32 + 1); // header length
    EXPECT_EQ(uchar(b[10]) | (uchar(b[11]) << 8), 1 + 10 + 11); // record length
    EXPECT_EQ(uchar(b[29]), 0x4D);                              // code page 936
    EXPECT_EQ(uchar(b[32 + 2 * 32]), 0x0D);                     // end of the field descriptors
    EXPECT_EQ(b.size(), 97 + 3 * 22 + 1);
    EXPECT_EQ(uchar(b[b.size() - 1]), 0x1A);                    // end of file
    EXPECT_EQ(t.raw(2, 1), QByteArray("          2"));
}

TEST(DbfWriter, NamesAreCutToTenBytesOnACharacterBoundaryAndMadeUnique)
{
    struct Case
    {
        QStringList given;
        QStringList written;
    };
    const Case cases[] = {
        {{"Code", "Name"}, {"Code", "Name"}},
        {{"CustomerNumber"}, {"CustomerNu"}},
        {{"客户名称一二三"}, {"客户名称一"}},
        {{"ABC客户名称"}, {"ABC客户名"}}, // the fourth character would need bytes 10 and 11
        {{"Amount", "AMOUNT"}, {"Amount", "AMOUNT1"}},
        {{"CustomerName", "CustomerNameEn", "CustomerNamePy"}, {"CustomerNa", "CustomerN1", "CustomerN2"}},
        {{"客户名称甲一", "客户名称甲二"}, {"客户名称甲", "客户名称1"}},
        {{"A", "A", "A", "A", "A", "A", "A", "A", "A", "A", "A"},
         {"A", "A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A9", "A10"}},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("n.dbf");
        DbfWriter w;
        for (const QString& name : c.given)
            w.addField(name, DbfFieldType::Character, 4);
        QStringList reported;
        for (int i = 0; i < w.fieldCount(); ++i)
            reported << w.fieldName(i);
        EXPECT_EQ(reported, c.written) << c.given.join(',').toStdString();
        w.appendRecord();
        w.saveToFile(path);
        qxtest::DbfReadBack t(path);
        EXPECT_EQ(t.names(), c.written) << c.given.join(',').toStdString();
    }
}

TEST(DbfWriter, ValuesReadBackWithTheirTypes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("v.dbf");
    DbfWriter w;
    w.addField("TEXT", DbfFieldType::Character, 12);
    w.addField("INT", DbfFieldType::Numeric, 11);
    w.addField("MONEY", DbfFieldType::Numeric, 20, 2);
    w.addField("FLOAT", DbfFieldType::Numeric, 20, 6);
    w.addField("FLAG", DbfFieldType::Logical);
    w.addField("DAY", DbfFieldType::Date);
    w.appendRecord();
    w.setText(0, "维修 A\"1");
    w.setInteger(1, -2147483647 - 1);
    w.setCurrency(2, Currency::fromString("-1234.5"));
    w.setFloat(3, 0.125);
    w.setLogical(4, true);
    w.setDate(5, QDate(2024, 2, 29));
    w.appendRecord(); // left blank
    w.saveToFile(path);

    qxtest::DbfReadBack t(path);
    ASSERT_TRUE(t.ok());
    ASSERT_EQ(t.records(), 2);
    const std::vector<qxtest::DbfField> f = t.fields();
    ASSERT_EQ(f.size(), 6u);
    const char types[] = {'C', 'N', 'N', 'N', 'L', 'D'};
    const int widths[] = {12, 11, 20, 20, 1, 8};
    const int decimals[] = {0, 0, 2, 6, 0, 0};
    for (std::size_t i = 0; i < f.size(); ++i) {
        EXPECT_EQ(f[i].type, types[i]) << i;
        EXPECT_EQ(f[i].width, widths[i]) << i;
        EXPECT_EQ(f[i].decimals, decimals[i]) << i;
    }
    EXPECT_EQ(t.text(0, 0), QString("维修 A\"1"));
    EXPECT_EQ(t.raw(0, 0), qx::toGbk("维修 A\"1") + "    ");
    EXPECT_EQ(t.text(0, 1), QString("-2147483648"));
    EXPECT_EQ(t.raw(0, 2), QByteArray("            -1234.50"));
    EXPECT_EQ(t.text(0, 3), QString("0.125000"));
    EXPECT_EQ(t.text(0, 4), QString("T"));
    EXPECT_EQ(t.text(0, 5), QString("20240229"));
    // Blank values as dBASE keeps them: spaces, and '?' for a logical field.
    EXPECT_EQ(t.raw(1, 0), QByteArray(12, ' '));
    EXPECT_EQ(t.raw(1, 2), QByteArray(20, ' '));
    EXPECT_EQ(t.raw(1, 4), QByteArray("?"));
    EXPECT_EQ(t.raw(1, 5), QByteArray(8, ' '));
    EXPECT_TRUE(t.isNull(1, 2));
}

TEST(DbfWriter, MoneyIsWrittenExactlyAndRoundedHalfToEvenOnlyBelowFourDecimals)
{
    struct Case
    {
        const char* value;
        int decimals;
        const char* written;
    };
    const Case cases[] = {
        {"1234.5", 2, "1234.50"},   {"1.2345", 2, "1.23"},    {"1.235", 2, "1.24"},
        {"1.245", 2, "1.24"},       {"-0.004", 2, "0.00"},    {"-0.005", 2, "0.00"},
        {"-0.015", 2, "-0.02"},     {"0.0001", 4, "0.0001"},  {"-1.5", 4, "-1.5000"},
        {"922337203685477.5807", 4, "922337203685477.5807"}, {"7", 0, "7"}, {"2.5", 0, "2"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("m.dbf");
        DbfWriter w;
        w.addField("M", DbfFieldType::Numeric, 20, c.decimals);
        w.appendRecord();
        w.setCurrency(0, Currency::fromString(c.value));
        w.saveToFile(path);
        qxtest::DbfReadBack t(path);
        EXPECT_EQ(t.text(0, 0), QString(c.written)) << c.value;
    }
}

TEST(DbfWriter, AValueThatDoesNotFitRaisesInsteadOfBeingCut)
{
    DbfWriter w;
    w.addField("SHORT", DbfFieldType::Character, 4);
    w.addField("NUM", DbfFieldType::Numeric, 5, 2);
    w.appendRecord();
    EXPECT_NO_THROW(w.setText(0, "维修"));           // four bytes
    EXPECT_THROW(w.setText(0, "维修A"), EDatabaseError);  // five
    EXPECT_THROW(w.setText(0, QString(QChar(0)) + "a"), EDatabaseError);
    EXPECT_NO_THROW(w.setFloat(1, 99.99));
    EXPECT_THROW(w.setFloat(1, 100.0), EDatabaseError);  // "100.00" is six characters
    EXPECT_THROW(w.setInteger(1, 1000), EDatabaseError);
    EXPECT_THROW(w.setFloat(1, std::numeric_limits<double>::quiet_NaN()), EDatabaseError);
    EXPECT_THROW(w.setLogical(0, true), EDatabaseError);  // not a logical field
}

TEST(DbfWriter, FieldDefinitionsOutsideTheFormatRaise)
{
    DbfWriter w;
    EXPECT_THROW(w.addField("C", DbfFieldType::Character, 255), EDatabaseError);
    EXPECT_THROW(w.addField("C", DbfFieldType::Character, 0), EDatabaseError);
    EXPECT_THROW(w.addField("N", DbfFieldType::Numeric, 21), EDatabaseError);
    EXPECT_THROW(w.addField("N", DbfFieldType::Numeric, 3, 2), EDatabaseError);
    EXPECT_THROW(w.addField("", DbfFieldType::Logical), EDatabaseError);
    EXPECT_EQ(w.fieldCount(), 0);
    // A table needs a field before its records.
    EXPECT_THROW(w.appendRecord(), EDatabaseError);
    w.addField("C", DbfFieldType::Character, 254);
    w.appendRecord();
    EXPECT_THROW(w.addField("D", DbfFieldType::Date), EDatabaseError); // after the first record
}
