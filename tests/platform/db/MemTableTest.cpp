#include "TestTables.h"

#include "platform/db/DataLink.h"
#include "platform/db/DataSource.h"
#include "platform/rtl/Gbk.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using qxtest::addPart;
using qxtest::codes;
using qxtest::partsTable;

namespace {

QString message(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Exception& e) {
        return e.Message();
    }
    return QString();
}

// A table with every awkward value a file must carry: nulls, quotes, separators, line
// breaks, Chinese text, a blob with every byte value, money with four decimals, dates.
std::unique_ptr<TQxMemTable> awkwardTable()
{
    auto t = std::make_unique<TQxMemTable>();
    TFieldDefs& d = *t->FieldDefs();
    d.Add("Code", ftString, 18, true);
    d.Add("Name", ftString, 30);
    d.Add("Qty", ftInteger);
    d.Add("Price", ftCurrency);
    d.Add("Rate", ftFloat);
    d.Add("Paid", ftBoolean);
    d.Add("Day", ftDate);
    d.Add("Stamp", ftDateTime);
    d.Add("Note", ftMemo);
    d.Add("Pic", ftBlob);
    t->Open();
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    const struct
    {
        const char* code;
        QVariant name, qty, price, rate, paid, day, stamp, note, pic;
    } rows[] = {
        {"1", QStringLiteral("螺丝刀 \"大号\""), 3, 12.3456, 0.1, true, QDate(2024, 2, 29),
         QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58)), QStringLiteral("第一行\r\n第二行,带逗号"), bytes},
        {"2", QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
         QVariant()},
        {"3", QStringLiteral("a,b;c\"\"d"), -7, -0.5, 1e300, false, QDate(1900, 1, 1),
         QDateTime(QDate(2000, 1, 1), QTime(0, 0)), QStringLiteral("\n"), QByteArray("\r\n\"")},
    };
    for (const auto& r : rows) {
        t->Append();
        t->FieldByName("Code")->SetAsString(QString::fromLatin1(r.code));
        t->FieldByName("Name")->SetValue(r.name);
        t->FieldByName("Qty")->SetValue(r.qty);
        t->FieldByName("Price")->SetValue(r.price);
        t->FieldByName("Rate")->SetValue(r.rate);
        t->FieldByName("Paid")->SetValue(r.paid);
        t->FieldByName("Day")->SetValue(r.day);
        t->FieldByName("Stamp")->SetValue(r.stamp);
        t->FieldByName("Note")->SetValue(r.note);
        t->FieldByName("Pic")->SetValue(r.pic);
        t->Post();
    }
    return t;
}

// Every field of every row, as values, in order.
QList<QVariantList> contents(TDataSet& t)
{
    QList<QVariantList> out;
    t.First();
    while (!t.Eof()) {
        QVariantList row;
        for (TField* f : *t.Fields())
            row << f->AsVariant();
        out << row;
        t.Next();
    }
    return out;
}

} // namespace

TEST(MemTable, UniqueIndexRefusesDuplicates)
{
    auto t = partsTable();
    t->AddIndex("ByCode", "Code", ixUnique);
    addPart(*t, "A", "a", 1, 1);
    addPart(*t, "B", "b", 1, 1);
    t->Append();
    t->FieldByName("Code")->SetAsString("a"); // keys compare without case
    EXPECT_EQ(message([&] { t->Post(); }), "Key violation");
    EXPECT_EQ(t->State(), dsInsert);
    t->FieldByName("Code")->SetAsString("C");
    t->Post();

    // Changing a row to another row's key is refused; keeping its own key is fine.
    t->Locate("Code", "B");
    t->Edit();
    t->FieldByName("Code")->SetAsString("C");
    EXPECT_EQ(message([&] { t->Post(); }), "Key violation");
    t->FieldByName("Code")->SetAsString("B");
    t->FieldByName("Name")->SetAsString("bb");
    t->Post();

    // A deleted key can be used again.
    t->Locate("Code", "A");
    t->Delete();
    addPart(*t, "A", "again", 1, 1);
    EXPECT_EQ(t->RecordCount(), 3);

    // An index over existing duplicates is refused.
    addPart(*t, "D", "dup", 1, 1);
    addPart(*t, "E", "dup", 1, 1);
    EXPECT_EQ(message([&] { t->AddIndex("ByName", "Name", ixUnique); }), "Key violation");
    EXPECT_FALSE(t->IndexNames().contains("ByName"));
}

TEST(MemTable, IndexesOrderTheRows)
{
    auto t = partsTable();
    addPart(*t, "b", "x", 2, 1);
    addPart(*t, "c", "z", 1, 1);
    addPart(*t, "a", "y", 3, 1);
    t->AddIndex("ByQtyDesc", "Qty", ixDescending);
    t->AddIndex("ByName", "Name");
    t->SetIndexName("ByQtyDesc");
    EXPECT_EQ(codes(*t), (QStringList{"a", "b", "c"}));
    t->SetIndexName("ByName");
    EXPECT_EQ(codes(*t), (QStringList{"b", "a", "c"}));
    t->SetIndexFieldNames("Code");
    EXPECT_EQ(t->IndexName(), "");
    EXPECT_EQ(codes(*t), (QStringList{"a", "b", "c"}));
    t->SetIndexFieldNames(QString());
    EXPECT_EQ(codes(*t), (QStringList{"b", "c", "a"}));
    EXPECT_THROW(t->SetIndexName("Nope"), EDatabaseError);
    // The order survives closing and reopening.
    t->SetIndexName("ByName");
    t->Close();
    t->Open();
    addPart(*t, "d", "w", 0, 0);
    addPart(*t, "e", "a", 0, 0);
    EXPECT_EQ(codes(*t), (QStringList{"e", "d"}));
}

TEST(MemTable, StructureCannotChangeWhileOpen)
{
    auto t = partsTable();
    EXPECT_EQ(message([&] { t->CreateTable(); }), "Cannot perform this operation on an open dataset");
    EXPECT_EQ(message([&] { t->FieldDefs()->Add("X", ftInteger); }), "Cannot perform this operation on an open dataset");
    EXPECT_EQ(message([&] { t->FieldDefs()->Clear(); }), "Cannot perform this operation on an open dataset");
    TQxMemTable empty;
    EXPECT_EQ(message([&] { empty.Open(); }), "No fields defined");
    EXPECT_FALSE(empty.Active());
    empty.FieldDefs()->Add("A", ftString, 4);
    EXPECT_EQ(message([&] { empty.FieldDefs()->Add("a", ftInteger); }), "Duplicate field name 'a'");
    empty.CreateTable();
    empty.Open();
    EXPECT_TRUE(empty.Active());
}

TEST(MemTable, EmptyTableKeepsTheStructure)
{
    auto t = partsTable();
    addPart(*t, "A", "a", 1, 1);
    TDataSource ds;
    ds.SetDataSet(t.get());
    TDataLink link;
    link.SetDataSource(&ds);
    t->Append();
    t->EmptyTable();
    EXPECT_EQ(t->State(), dsBrowse);
    EXPECT_TRUE(t->IsEmpty());
    EXPECT_EQ(t->FieldCount(), 4);
    EXPECT_EQ(link.RecordCount(), 0);
    addPart(*t, "B", "b", 1, 1);
    EXPECT_EQ(codes(*t), QStringList{"B"});
}

TEST(MemTable, LoadFromDataSetCopiesByNameWithoutEvents)
{
    auto source = partsTable();
    for (int i = 0; i < 5; ++i)
        addPart(*source, QStringLiteral("P%1").arg(i), QStringLiteral("零件%1").arg(i), i, i + 0.25);
    source->SetRecNo(3);

    TQxMemTable target;
    target.FieldDefs()->Add("qty", ftInteger);
    target.FieldDefs()->Add("Code", ftString, 2); // shorter: values are cut
    target.FieldDefs()->Add("Extra", ftString, 5);
    target.Open();
    int events = 0;
    target.BeforePost = target.AfterPost = target.OnNewRecord = target.BeforeInsert = [&](TDataSet*) { ++events; };
    target.LoadFromDataSet(source.get(), {}, 3);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(target.RecordCount(), 3);
    EXPECT_EQ(codes(target), (QStringList{"P0", "P1", "P2"}));
    target.Last();
    EXPECT_EQ(target.FieldByName("Qty")->AsInteger(), 2);
    EXPECT_TRUE(target.FieldByName("Extra")->IsNull());
    EXPECT_EQ(source->RecNo(), 3);

    // With the structure: every field and every row, in the source's types.
    TQxMemTable copy;
    copy.LoadFromDataSet(source.get(), mtcpoStructure);
    EXPECT_EQ(copy.FieldCount(), 4);
    EXPECT_NE(qobject_cast<TCurrencyField*>(copy.FieldByName("Price")), nullptr);
    EXPECT_EQ(contents(copy), contents(*source));
}

TEST(MemTable, CsvRoundTripKeepsEverything)
{
    QTemporaryDir dir;
    for (TCsvEncoding enc : {TCsvEncoding::Utf8, TCsvEncoding::Gbk}) {
        for (QChar sep : {QChar(u','), QChar(u';'), QChar(u'\t')}) {
            auto t = awkwardTable();
            t->SetCsvEncoding(enc);
            t->SetCsvSeparator(sep);
            const QString file = dir.filePath("t.csv");
            t->SaveToFile(file);
            TQxMemTable back;
            back.SetCsvSeparator(sep);
            back.LoadFromFile(file);
            EXPECT_EQ(back.FieldCount(), t->FieldCount());
            EXPECT_EQ(back.FieldByName("Code")->Size(), 18);
            EXPECT_TRUE(back.FieldByName("Code")->Required());
            EXPECT_EQ(contents(back), contents(*t)) << int(enc) << " " << int(sep.unicode());
        }
    }
}

TEST(MemTable, CsvDataOnlyHasNoDefinitions)
{
    QTemporaryDir dir;
    auto t = partsTable();
    addPart(*t, "001", "名称", 2, 3.5);
    const QString file = dir.filePath("codes.Bar");
    t->SaveToFile(file, mtfSaveData);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\xEF\xBB\xBF") + QStringLiteral("\"001\",\"名称\",2,3.5\r\n").toUtf8());
    f.close();
    t->EmptyTable();
    t->LoadFromFile(file);
    t->LoadFromFile(file);
    EXPECT_EQ(codes(*t), (QStringList{"001", "001"}));
    EXPECT_EQ(t->FieldByName("Price")->AsCurrency(), Currency::fromRaw(35000));
}

TEST(MemTable, CsvReadsGbkFilesWithoutMark)
{
    auto t = partsTable();
    QBuffer buf;
    buf.setData(qx::toGbk(QStringLiteral("\"A\",\"中文名称\",1,2\r\n")));
    buf.open(QIODevice::ReadOnly);
    t->LoadFromStream(buf);
    EXPECT_EQ(t->FieldByName("Name")->AsString(), "中文名称");
}

TEST(MemTable, DamagedCsvEndsInAClearError)
{
    struct Case
    {
        const char* text;
        const char* expected; // a part of the message
    };
    const Case cases[] = {
        {"\"A\",\"open,1,2\r\n", "line 1: a quoted value is not closed"},
        {"\"A\",\"n\"x,1,2\r\n", "line 1: unexpected text after a closing quote"},
        {"\"A\",\"n\",1\r\n", "line 1: 3 values where the table has 4 fields"},
        {"\"A\",\"n\",1,2\r\n\"B\",\"n\",x,2\r\n", "line 2: 'x' is not a valid value for field 'Qty'"},
        {"\"A\",\"n\",1,1.2.3\r\n", "'1.2.3' is not a valid value for field 'Price'"},
        {"@QXMEMTABLE,9\r\n", "unsupported version"},
        {"@QXMEMTABLE,1\r\n@FIELD,\"A\",Nonsense,1,0\r\n@DATA\r\n", "field definition 'A' is not valid"},
        {"@QXMEMTABLE,1\r\n@FIELD,\" A\",String,1,0\r\n@DATA\r\n", "field definition ' A' is not valid"},
        {"@QXMEMTABLE,1\r\n@FIELD,\"A\",String,1,0\r\n", "the @DATA line is missing"},
        {"@QXMEMTABLE,1\r\n@FIELD,\"Nope\",String,1,0\r\n@DATA\r\n", "Field 'Nope' not found"},
    };
    for (const Case& c : cases) {
        auto t = partsTable();
        addPart(*t, "KEEP", "k", 1, 1);
        QBuffer buf;
        buf.setData(QByteArray(c.text));
        buf.open(QIODevice::ReadOnly);
        try {
            t->LoadFromStream(buf);
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const EDatabaseError& e) {
            EXPECT_TRUE(e.Message().contains(QString::fromUtf8(c.expected))) << e.Message().toStdString();
        }
        EXPECT_EQ(codes(*t), QStringList{"KEEP"}) << c.text;
    }
    // A closed table given a damaged file stays closed with its old definitions.
    TQxMemTable closed;
    QBuffer buf;
    buf.setData("@QXMEMTABLE,1\r\n@FIELD,\"A\",Integer,0,0\r\n@DATA\r\nx\r\n");
    buf.open(QIODevice::ReadOnly);
    EXPECT_THROW(closed.LoadFromStream(buf), EDatabaseError);
    EXPECT_FALSE(closed.Active());
    EXPECT_EQ(closed.FieldDefs()->Count(), 0);
}

// Values a field cannot hold as they stand are refused with the line named, never read in cut
// or bent: the table takes the file's own structure here, so every kind of field is tried.
TEST(MemTable, CsvValuesThatDoNotFitAreRefusedNotCut)
{
    struct Case
    {
        const char* field; // "type,size"
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"String,3", "\"abcd\"", "line 4: 'abcd' is longer than the 3 characters of field 'V'"},
        {"String,2", "\"屏幕a\"", "line 4: '屏幕a' is longer than the 2 characters of field 'V'"},
        {"Smallint,0", "40000", "line 4: '40000' is not a valid value for field 'V'"},
        {"Word,0", "-1", "line 4: '-1' is not a valid value for field 'V'"},
        {"Integer,0", "3000000000", "line 4: '3000000000' is not a valid value for field 'V'"},
        {"Largeint,0", "99999999999999999999", "'99999999999999999999' is not a valid value"},
        {"Float,0", "1e999", "'1e999' is not a valid value"},
        {"Currency,0", "1e20", "'1e20' is not a valid value"},
        {"Currency,0", "99999999999999999", "'99999999999999999' is not a valid value"},
        {"Date,0", "\"2023-02-30\"", "line 4: '2023-02-30' is not a valid value for field 'V'"},
        {"DateTime,0", "\"2023-13-01 10:00:00\"", "'2023-13-01 10:00:00' is not a valid value"},
        {"DateTime,0", "\"2023-01-01 24:00:00\"", "'2023-01-01 24:00:00' is not a valid value"},
        {"Time,0", "\"25:00:00\"", "'25:00:00' is not a valid value"},
        {"Boolean,0", "Maybe", "'Maybe' is not a valid value"},
    };
    for (const Case& c : cases) {
        const QByteArray file = QByteArray("@QXMEMTABLE,1\r\n@FIELD,\"V\",") + c.field + ",0\r\n@DATA\r\n" + c.value + "\r\n";
        TQxMemTable t;
        QBuffer buf;
        buf.setData(file);
        buf.open(QIODevice::ReadOnly);
        EXPECT_EQ(message([&] { t.LoadFromStream(buf); }).contains(QString::fromUtf8(c.expected)), true)
            << c.field << " " << c.value << ": " << message([&] {
                   TQxMemTable u;
                   buf.seek(0);
                   u.LoadFromStream(buf);
               }).toStdString();
        EXPECT_FALSE(t.Active()) << c.field;
    }
    // What fits exactly is taken as it is.
    TQxMemTable t;
    QBuffer buf;
    buf.setData(QString::fromUtf8("@QXMEMTABLE,1\r\n@FIELD,\"V\",String,2,0\r\n@DATA\r\n\"屏幕\"\r\n").toUtf8());
    buf.open(QIODevice::ReadOnly);
    t.LoadFromStream(buf);
    EXPECT_EQ(t.FieldByName("V")->AsString(), QStringLiteral("屏幕"));
}

// The binary loader holds its values to the same rule, naming the row and the field; the
// stream is made with a wider structure and read into a table that declares the narrow one.
TEST(MemTable, BinaryValuesThatDoNotFitAreRefusedNotCut)
{
    // One field "V" of the given type and size holding one value; the bytes as the saver writes.
    auto stream = [](quint8 type, qint32 size, const std::function<void(QDataStream&)>& value,
                     const QString& name = QStringLiteral("V")) {
        QByteArray bytes;
        QDataStream ds(&bytes, QIODevice::WriteOnly);
        ds.setVersion(QDataStream::Qt_6_4);
        ds.writeRawData("QXMT", 4);
        ds << quint32(1) << quint32(1) << name << type << size << quint8(0) << quint64(1) << quint8(1);
        value(ds);
        return bytes;
    };
    struct Case
    {
        const char* name;
        QByteArray bytes;
        const char* expected;
    };
    const Case cases[] = {
        {"long text", stream(ftString, 3, [](QDataStream& ds) { ds << QByteArray("abcd"); }),
         "row 1, field 'V': the text is longer than the field's 3 characters"},
        {"small integer", stream(ftSmallint, 0, [](QDataStream& ds) { ds << qint32(40000); }),
         "row 1, field 'V': 40000 is not a valid value for field 'V'"},
        {"word", stream(ftWord, 0, [](QDataStream& ds) { ds << qint32(-1); }), "row 1, field 'V': -1 is not a valid"},
        {"not a number", stream(ftFloat, 0, [](QDataStream& ds) { ds << std::nan(""); }),
         "row 1, field 'V': the value is not a number"},
        {"infinite", stream(ftFloat, 0, [](QDataStream& ds) { ds << HUGE_VAL; }), "the value is not a number"},
        {"date beyond 9999", stream(ftDateTime, 0, [](QDataStream& ds) { ds << 3.0e6; }),
         "row 1, field 'V': 3000000 is not a date"},
        {"date as nan", stream(ftDateTime, 0, [](QDataStream& ds) { ds << std::nan(""); }), "is not a date"},
        {"day beyond 9999", stream(ftDate, 0, [](QDataStream& ds) { ds << qint32(2147483647); }), "is not a date"},
        {"Boolean", stream(ftBoolean, 0, [](QDataStream& ds) { ds << quint8(7); }),
         "row 1, field 'V': 7 is not a Boolean"},
        {"type byte past the last type", stream(200, 0, [](QDataStream&) {}),
         "field definition 1 has the unknown type 200"},
        {"type byte of no field kind", stream(ftCursor, 0, [](QDataStream&) {}), "field definition 1 is not valid"},
        {"a name no field can be found by",
         stream(ftBoolean, 0, [](QDataStream& ds) { ds << quint8(0); }, QString::fromUtf16(u"\r\0id", 4)),
         "field definition 1 is not valid"},
    };
    for (const Case& c : cases) {
        TQxMemTable t;
        QBuffer buf;
        buf.setData(c.bytes);
        buf.open(QIODevice::ReadOnly);
        const QString m = message([&] { t.LoadFromBinaryStream(buf); });
        EXPECT_TRUE(m.startsWith(QStringLiteral("Memory table stream is damaged: "))) << c.name << ": " << m.toStdString();
        EXPECT_TRUE(m.contains(QString::fromUtf8(c.expected))) << c.name << ": " << m.toStdString();
        EXPECT_FALSE(t.Active()) << c.name;
    }
}

TEST(MemTable, BinaryRoundTripKeepsEverything)
{
    auto t = awkwardTable();
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    t->SaveToBinaryStream(buf);
    buf.close();
    buf.open(QIODevice::ReadOnly);
    TQxMemTable back;
    back.LoadFromBinaryStream(buf);
    EXPECT_EQ(contents(back), contents(*t));

    QTemporaryDir dir;
    t->SaveToBinaryFile(dir.filePath("t.bin"));
    back.LoadFromBinaryFile(dir.filePath("t.bin")); // appends to the open table
    EXPECT_EQ(back.RecordCount(), 6);
    EXPECT_THROW(back.LoadFromBinaryFile(dir.filePath("missing.bin")), EInOutError);
}

TEST(MemTable, DamagedBinaryEndsInAReadError)
{
    auto t = awkwardTable();
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    t->SaveToBinaryStream(out);
    const QByteArray good = out.data();

    // Every truncation is reported; the table is left as it was.
    auto target = awkwardTable();
    const auto before = contents(*target);
    for (int n = 0; n < good.size(); ++n) {
        QBuffer in;
        in.setData(good.left(n));
        in.open(QIODevice::ReadOnly);
        EXPECT_THROW(target->LoadFromBinaryStream(in), EReadError) << n;
    }
    EXPECT_EQ(contents(*target), before);

    // Changed bytes never crash: each load either succeeds or raises a read error.
    for (int n = 0; n < good.size(); ++n) {
        QByteArray bad = good;
        bad[n] = char(bad[n] ^ 0x5A);
        QBuffer in;
        in.setData(bad);
        in.open(QIODevice::ReadOnly);
        TQxMemTable fresh;
        try {
            fresh.LoadFromBinaryStream(in);
        } catch (const EReadError&) {
        } catch (const EDatabaseError&) {
        }
    }
    QBuffer junk;
    junk.setData("not a table");
    junk.open(QIODevice::ReadOnly);
    EXPECT_EQ(message([&] { target->LoadFromBinaryStream(junk); }),
              "Memory table stream is damaged: it is not a memory table stream");
}

TEST(MemTable, SubclassesKeepTheirOwnMembers)
{
    // The report library's query definition derives from the custom memory table.
    class QueryDefinition : public TQxCustomMemTable
    {
    public:
        QString sql;
    };
    QueryDefinition q;
    q.sql = "select 1";
    q.FieldDefs()->Add("VandrelID", ftInteger);
    q.Open();
    q.Append();
    q.FieldByName("VandrelID")->SetAsInteger(4);
    q.Post();
    EXPECT_EQ(q.RecordCount(), 1);
}

// The data module's side-by-side merge, written the way forms use the table.
TEST(MemTable, SideBySideMergeOfTwoDatasets)
{
    auto items = partsTable();
    for (int i = 1; i <= 3; ++i)
        addPart(*items, QStringLiteral("I%1").arg(i), "item", i, i);
    auto parts = partsTable();
    for (int i = 1; i <= 5; ++i)
        addPart(*parts, QStringLiteral("P%1").arg(i), "part", i, i);

    TQxMemTable target;
    target.Close();
    target.FieldDefs()->Clear();
    target.CopyStructure(items.get());
    for (TField* f : *parts->Fields())
        target.FieldDefs()->Add("O_" + f->FieldName(), f->DataType(), f->Size(), false);
    target.CreateTable();
    target.Open();
    items->First();
    while (!items->Eof()) {
        target.Append();
        for (TField* f : *items->Fields())
            if (TField* to = target.FindField(f->FieldName()))
                to->SetValue(f->Value());
        items->Next();
    }
    parts->First();
    target.First();
    while (!parts->Eof()) {
        if (target.Eof())
            target.Append();
        else
            target.Edit();
        for (TField* f : *parts->Fields())
            if (TField* to = target.FindField("O_" + f->FieldName()))
                to->SetValue(f->Value());
        target.Next();
        parts->Next();
    }
    target.CheckBrowseMode();
    ASSERT_EQ(target.RecordCount(), 5);
    target.First();
    EXPECT_EQ(target.FieldByName("Code")->AsString(), "I1");
    EXPECT_EQ(target.FieldByName("O_Code")->AsString(), "P1");
    target.Last();
    EXPECT_TRUE(target.FieldByName("Code")->IsNull());
    EXPECT_EQ(target.FieldByName("O_Code")->AsString(), "P5");
    EXPECT_EQ(target.FieldByName("O_Price")->AsCurrency(), Currency(5));

    // A copy of a table's definitions is a free list, not tied to the open table.
    TFieldDefs copy = *target.FieldDefs();
    copy.Add("More", ftInteger);
    EXPECT_EQ(copy.Count(), target.FieldDefs()->Count() + 1);
}

TEST(MemTable, BulkLoadsHonourUniqueIndexes)
{
    auto source = partsTable();
    addPart(*source, "A", "a", 1, 1);
    addPart(*source, "B", "b", 1, 1);
    auto t = partsTable();
    t->AddIndex("ByCode", "Code", ixUnique);
    addPart(*t, "B", "kept", 1, 1);
    EXPECT_EQ(message([&] { t->LoadFromDataSet(source.get()); }), "Key violation");
    EXPECT_EQ(codes(*t), QStringList{"B"});
    QBuffer buf;
    buf.setData("\"C\",\"c\",1,1\r\n\"C\",\"c\",1,1\r\n");
    buf.open(QIODevice::ReadOnly);
    EXPECT_EQ(message([&] { t->LoadFromStream(buf); }), "Key violation");
    EXPECT_EQ(codes(*t), QStringList{"B"});
    // The index still guards after the refused loads.
    t->Append();
    t->FieldByName("Code")->SetAsString("b");
    EXPECT_EQ(message([&] { t->Post(); }), "Key violation");
    t->Cancel();
    t->LoadFromDataSet(source.get(), {}, 1);
    EXPECT_EQ(codes(*t), (QStringList{"B", "A"}));
}
