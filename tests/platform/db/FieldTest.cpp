#include "TestTables.h"

#include "platform/db/BlobStream.h"
#include "platform/db/DataLink.h"
#include "platform/db/DataSource.h"
#include "platform/rtl/SysUtils.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TQxMemTable> allKinds()
{
    auto t = std::make_unique<TQxMemTable>();
    TFieldDefs& d = *t->FieldDefs();
    d.Add("S", ftString, 5);
    d.Add("I", ftInteger);
    d.Add("SI", ftSmallint);
    d.Add("W", ftWord);
    d.Add("L", ftLargeint);
    d.Add("F", ftFloat);
    d.Add("C", ftCurrency);
    d.Add("B", ftBCD);
    d.Add("Y", ftBoolean);
    d.Add("D", ftDate);
    d.Add("T", ftTime);
    d.Add("DT", ftDateTime);
    d.Add("M", ftMemo);
    d.Add("BL", ftBlob);
    d.Add("G", ftGraphic);
    d.Add("A", ftAutoInc);
    t->Open();
    return t;
}

} // namespace

TEST(Field, KindsFromDefinitions)
{
    auto t = allKinds();
    EXPECT_NE(qobject_cast<TStringField*>(t->FieldByName("S")), nullptr);
    EXPECT_NE(qobject_cast<TSmallintField*>(t->FieldByName("SI")), nullptr);
    EXPECT_NE(qobject_cast<TWordField*>(t->FieldByName("W")), nullptr);
    EXPECT_NE(qobject_cast<TLargeintField*>(t->FieldByName("L")), nullptr);
    EXPECT_NE(qobject_cast<TCurrencyField*>(t->FieldByName("C")), nullptr);
    EXPECT_NE(qobject_cast<TBCDField*>(t->FieldByName("B")), nullptr);
    EXPECT_NE(qobject_cast<TBooleanField*>(t->FieldByName("Y")), nullptr);
    EXPECT_NE(qobject_cast<TDateField*>(t->FieldByName("D")), nullptr);
    EXPECT_NE(qobject_cast<TTimeField*>(t->FieldByName("T")), nullptr);
    EXPECT_NE(qobject_cast<TDateTimeField*>(t->FieldByName("DT")), nullptr);
    EXPECT_NE(qobject_cast<TMemoField*>(t->FieldByName("M")), nullptr);
    EXPECT_NE(qobject_cast<TGraphicField*>(t->FieldByName("G")), nullptr);
    EXPECT_NE(qobject_cast<TAutoIncField*>(t->FieldByName("A")), nullptr);
    EXPECT_EQ(t->FieldByName("I")->Alignment(), taRightJustify);
    EXPECT_EQ(t->FieldByName("S")->Alignment(), taLeftJustify);
}

TEST(Field, ValuesAndTexts)
{
    ResetFormatSettings();
    auto t = allKinds();
    t->Append();
    t->FieldByName("S")->SetAsString("abcdefgh");
    EXPECT_EQ(t->FieldByName("S")->AsString(), "abcde"); // cut to Size
    t->FieldByName("I")->SetAsString(" 42 ");
    EXPECT_EQ(t->FieldByName("I")->AsInteger(), 42);
    EXPECT_THROW(t->FieldByName("I")->SetAsString("4x"), EConvertError);
    EXPECT_THROW(t->FieldByName("SI")->SetAsInteger(40000), ERangeError);
    EXPECT_THROW(t->FieldByName("W")->SetAsInteger(-1), ERangeError);
    t->FieldByName("L")->SetAsString("9000000000");
    EXPECT_EQ(t->FieldByName("L")->AsVariant().toLongLong(), 9000000000LL);
    t->FieldByName("C")->SetAsFloat(12.5);
    EXPECT_EQ(t->FieldByName("C")->DisplayText(), "12.50");
    EXPECT_EQ(t->FieldByName("C")->AsString(), "12.5");
    EXPECT_EQ(t->FieldByName("C")->AsCurrency(), Currency::fromRaw(125000));
    t->FieldByName("C")->SetText("￥1,234.5678");
    EXPECT_EQ(t->FieldByName("C")->AsCurrency(), Currency::fromRaw(12345678));
    EXPECT_EQ(t->FieldByName("C")->Text(), "1234.5678");
    t->FieldByName("C")->SetDisplayFormat("#,##0.00");
    EXPECT_EQ(t->FieldByName("C")->DisplayText(), "1,234.57");
    t->FieldByName("B")->SetAsString("3.1");
    EXPECT_EQ(t->FieldByName("B")->DisplayText(), "3.10");
    t->FieldByName("F")->SetAsFloat(0.1);
    EXPECT_EQ(t->FieldByName("F")->DisplayText(), "0.1");
    t->FieldByName("Y")->SetAsBoolean(true);
    EXPECT_EQ(t->FieldByName("Y")->DisplayText(), "True");
    t->FieldByName("Y")->SetAsString("False");
    EXPECT_EQ(t->FieldByName("Y")->Text(), "False");
    EXPECT_FALSE(t->FieldByName("Y")->AsBoolean());
    EXPECT_THROW(t->FieldByName("Y")->SetAsString("maybe"), EConvertError);
    t->FieldByName("D")->SetAsDateTime(EncodeDate(2024, 3, 5));
    EXPECT_EQ(t->FieldByName("D")->DisplayText(), "2024-03-05");
    t->FieldByName("DT")->SetAsString("2024-03-05 14:30:00");
    EXPECT_EQ(t->FieldByName("DT")->AsDateTime(), EncodeDate(2024, 3, 5).Val + EncodeTime(14, 30, 0, 0).Val);
    EXPECT_EQ(t->FieldByName("DT")->AsVariant().toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(14, 30)));
    t->FieldByName("T")->SetAsString("08:15:00");
    EXPECT_EQ(t->FieldByName("T")->DisplayText(), "08:15:00");
    t->FieldByName("M")->SetAsString("多行\n文本");
    EXPECT_EQ(t->FieldByName("M")->AsString(), "多行\n文本");
    EXPECT_EQ(t->FieldByName("M")->DisplayText(), "(MEMO)");
    EXPECT_EQ(t->FieldByName("BL")->DisplayText(), "(blob)");
    t->Post();
    EXPECT_EQ(t->FieldByName("A")->AsInteger(), 1);
    t->Append();
    t->Post();
    EXPECT_EQ(t->FieldByName("A")->AsInteger(), 2);
    EXPECT_TRUE(t->FieldByName("I")->IsNull());
    EXPECT_EQ(t->FieldByName("I")->AsString(), "");
}

TEST(Field, SettingValueDoesNotRunTheTextHandler)
{
    auto t = qxtest::partsTable();
    TField* name = t->FieldByName("Name");
    EXPECT_FALSE(name->HasOnSetText());
    int setCalls = 0;
    name->OnSetText = [&](TField* f, const QString& text) {
        ++setCalls;
        f->SetAsString(text.trimmed().toUpper());
    };
    name->OnGetText = [](TField* f, QString& text, bool display) {
        text = display ? QStringLiteral("<%1>").arg(f->AsString()) : f->AsString();
    };
    EXPECT_TRUE(name->HasOnSetText());
    EXPECT_TRUE(name->HasOnGetText());
    t->Append();
    name->SetValue(QStringLiteral(" raw "));
    EXPECT_EQ(setCalls, 0);
    EXPECT_EQ(name->AsString(), " raw ");
    name->SetText(QStringLiteral(" typed "));
    EXPECT_EQ(setCalls, 1);
    EXPECT_EQ(name->AsString(), "TYPED");
    EXPECT_EQ(name->Text(), "TYPED");
    EXPECT_EQ(name->DisplayText(), "<TYPED>");
}

TEST(Field, ValidateRefusalKeepsTheOldValue)
{
    auto t = qxtest::partsTable();
    TField* qty = t->FieldByName("Qty");
    qty->OnValidate = [](TField* f) {
        if (f->AsInteger() < 0)
            throw EDatabaseError(QStringLiteral("负数"));
    };
    int changes = 0;
    qty->OnChange = [&](TField*) { ++changes; };
    t->Append();
    qty->SetAsInteger(3);
    EXPECT_THROW(qty->SetAsInteger(-1), EDatabaseError);
    EXPECT_EQ(qty->AsInteger(), 3);
    EXPECT_EQ(changes, 1);
}

TEST(Field, ValidCharactersPerKind)
{
    auto t = allKinds();
    struct Case
    {
        const char* field;
        QChar ch;
        bool valid;
    };
    const Case cases[] = {
        {"S", u'x', true}, {"S", u'中', true}, {"I", u'7', true}, {"I", u'-', true},  {"I", u'.', false},
        {"I", u'a', false}, {"L", u'+', true}, {"F", u'.', true},  {"F", u'e', true},  {"F", u'x', false},
        {"C", u'.', true},  {"C", u'a', false}, {"Y", u'T', true}, {"D", u'-', true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(t->FieldByName(QLatin1String(c.field))->IsValidChar(c.ch), c.valid) << c.field << " " << int(c.ch.unicode());
}

TEST(Field, DisplayProperties)
{
    auto t = qxtest::partsTable();
    TField* name = t->FieldByName("Name");
    EXPECT_EQ(name->DisplayName(), "Name");
    name->SetDisplayLabel("名称");
    EXPECT_EQ(name->DisplayLabel(), "名称");
    EXPECT_EQ(name->DisplayWidth(), 20);
    name->SetDisplayWidth(8);
    EXPECT_EQ(name->DisplayWidth(), 8);
    EXPECT_EQ(name->Index(), 1);
    name->SetIndex(3);
    EXPECT_EQ(t->Fields()->Fields(3), name);
    EXPECT_EQ(t->FieldByName("Price")->Index(), 2);
    EXPECT_THROW(name->SetSize(30), EDatabaseError); // the table is open
    name->SetTag(7);
    EXPECT_EQ(name->Tag(), 7);
}

TEST(Field, RemovingAFieldFromAnOpenTableKeepsTheOthers)
{
    auto t = qxtest::partsTable();
    qxtest::addPart(*t, "A", "a", 2, 3);
    delete t->FieldByName("Price");
    EXPECT_EQ(t->FindField("Price"), nullptr);
    EXPECT_EQ(t->FieldCount(), 3);
    EXPECT_EQ(t->FieldByName("Qty")->AsInteger(), 2);
    t->Edit();
    t->FieldByName("Qty")->SetAsInteger(4);
    t->Post();
    EXPECT_EQ(t->FieldByName("Qty")->AsInteger(), 4);
}

TEST(BlobStream, WriteDoesNotTruncateUnlessAsked)
{
    auto t = allKinds();
    t->Append();
    TField* blob = t->FieldByName("BL");
    blob->SetAsBytes(QByteArray("0123456789"));
    {
        auto w = t->CreateBlobStream(blob, bmWrite);
        w->write("ab");
        w->close();
    }
    EXPECT_EQ(blob->AsBytes(), QByteArray("ab23456789"));
    {
        auto w = t->CreateBlobStream(blob, bmReadWrite);
        w->seek(4);
        w->write("X");
        static_cast<TBlobStream*>(w.get())->Truncate();
        w->close();
    }
    EXPECT_EQ(blob->AsBytes(), QByteArray("ab23X"));
    auto r = t->CreateBlobStream(blob, bmRead);
    EXPECT_EQ(r->readAll(), QByteArray("ab23X"));
    EXPECT_EQ(static_cast<TBlobField*>(blob)->BlobSize(), 5);
    t->Post();
    EXPECT_THROW(t->CreateBlobStream(blob, bmWrite), EDatabaseError);

    // A memo streams its text as UTF-8.
    t->Edit();
    {
        auto w = t->CreateBlobStream(t->FieldByName("M"), bmWrite);
        w->write(QStringLiteral("备注").toUtf8());
    }
    EXPECT_EQ(t->FieldByName("M")->AsString(), "备注");
}
