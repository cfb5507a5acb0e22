// Images are untrusted input: layout and query files come from users. Every damage ends in
// EReadError, never in a crash, a hang or an allocation beyond the input's size.
#include "StreamFixtures.h"
#include "tests/platform/stream/ImageBytes.h"

#include "platform/rtl/Exceptions.h"
#include "platform/stream/ComponentReader.h"
#include "platform/stream/ComponentWriter.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

using qx::test::image;
using qx::test::le32;
using qx::test::pstr;

// A buffer that hides its size, as a pipe would.
class SequentialBuffer : public QBuffer
{
public:
    bool isSequential() const override { return true; }
};

enum class Outcome { Read, ReadError, OtherError };

Outcome readList(const QByteArray& bytes, bool tolerant = false, bool sequential = false)
{
    std::unique_ptr<QBuffer> buffer = sequential ? std::make_unique<SequentialBuffer>()
                                                 : std::make_unique<QBuffer>();
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    QObject owner;
    try {
        qx::ComponentReader reader(*buffer, tolerant);
        reader.readComponentList(&owner, nullptr);
        reader.fixupReferences(&owner);
        return Outcome::Read;
    } catch (const EReadError&) {
        return Outcome::ReadError;
    } catch (...) {
        return Outcome::OtherError;
    }
}

class DamagedImage : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { registerTestClasses(); }

    // An image list holding every kind of value, a collection and a child.
    static QByteArray richImage()
    {
        QObject owner;
        auto* c = new TTestComponent(&owner);
        c->setObjectName(QStringLiteral("Comp1"));
        c->Small = -3;
        c->Large = 100000;
        c->Huge = 1LL << 40;
        c->Ratio = 2.5;
        c->Code = QStringLiteral("Code");
        c->Caption = QStringLiteral("标题");
        c->Flag = true;
        c->Alignment = TTestComponent::taCenter;
        c->Style = TTestComponent::fsItalic;
        c->Color = 0x00FF00;
        c->Items = {QStringLiteral("x"), QStringLiteral("y")};
        c->Data = QByteArray("BM12345", 7);
        c->Font()->Name = QStringLiteral("宋体");
        static_cast<TTestColumn*>(c->Columns()->add())->FieldName = QStringLiteral("F");
        auto* q = new TQxQueryControl(c);
        q->setObjectName(QStringLiteral("Query1"));
        q->SQL = QStringLiteral("select 1");
        c->setLink(q);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        qx::ComponentWriter writer(buffer);
        writer.writeComponent(c);
        writer.writeComponent(c);
        writer.writeListEnd();
        return bytes;
    }
};

TEST_F(DamagedImage, TheRichImageReads)
{
    EXPECT_EQ(readList(richImage()), Outcome::Read);
    // Whatever follows the end-of-list marker is never read.
    EXPECT_EQ(readList(richImage() + "garbage\xFF\xFF"), Outcome::Read);
}

TEST_F(DamagedImage, EveryTruncationIsAReadError)
{
    const QByteArray full = richImage();
    for (int n = 0; n < full.size(); ++n) {
        ASSERT_EQ(readList(full.left(n)), Outcome::ReadError) << "cut at " << n;
        ASSERT_EQ(readList(full.left(n), true, true), Outcome::ReadError) << "cut at " << n;
    }
}

TEST_F(DamagedImage, EveryChangedByteEndsInSuccessOrAReadError)
{
    const QByteArray full = richImage();
    for (int i = 0; i < full.size(); ++i)
        for (unsigned char v : {0x00, 0x01, 0x07, 0x0E, 0x12, 0x7F, 0x80, 0xFF}) {
            QByteArray damaged = full;
            damaged[i] = char(v);
            ASSERT_NE(readList(damaged), Outcome::OtherError) << "byte " << i << " = " << int(v);
        }
}

TEST_F(DamagedImage, HugeLengthsAreRefusedBeforeAllocating)
{
    const QList<QByteArray> cases = {
        image(pstr("Code") + "\x0C" + le32(0x7FFFFFF0)),
        image(pstr("Caption") + "\x12" + le32(0x7FFFFFFF)),
        image(pstr("Caption") + "\x12" + le32(0x40000001)),
        image(pstr("Data") + "\x0A" + le32(0x7FFFFFFF)),
        image(pstr("Data") + "\x0A" + le32(0xFFFFFFFF)), // negative
        image(pstr("Caption") + "\x14" + le32(0x10000000)),
    };
    for (const QByteArray& bytes : cases) {
        EXPECT_EQ(readList(bytes + '\0'), Outcome::ReadError);
        EXPECT_EQ(readList(bytes + '\0', false, true), Outcome::ReadError);
    }
}

TEST_F(DamagedImage, DeepNestingIsRefused)
{
    // Lists inside lists, skipped by a tolerant reader.
    QByteArray lists = pstr("Unknown") + QByteArray(100000, '\x01') + QByteArray(100000, '\0');
    EXPECT_EQ(readList(image(lists) + '\0', true), Outcome::ReadError);
    // Children inside children.
    QByteArray nested;
    for (int i = 0; i < 10000; ++i)
        nested += pstr("TQxQueryControl") + pstr("") + '\0';
    EXPECT_EQ(readList(image({}, "Comp1", nested) + '\0'), Outcome::ReadError);
    // Sub-object names do not nest the reader: a long dotted name is just unknown.
    QByteArray dotted = "Font";
    while (dotted.size() < 250)
        dotted += ".Font";
    EXPECT_EQ(readList(image(pstr(dotted) + "\x06\x01x") + '\0'), Outcome::ReadError);
}

TEST_F(DamagedImage, WrongValuesAreReadErrors)
{
    const QList<QByteArray> cases = {
        image(pstr("Small") + "\x06\x01x"),                     // text into an integer
        image(pstr("Small") + "\x13" + le32(0) + le32(1)),      // beyond 32 bits
        image(pstr("Alignment") + "\x07" + pstr("taNowhere")), // unknown enumeration
        image(pstr("Alignment") + "\x02\x03"),                 // a number outside the enumeration
        image(pstr("Alignment") + "\x02\xff"),
        image(pstr("Alignment") + "\x04" + le32(0x80000000)),
        image(pstr("Style") + "\x0B" + pstr("fsBlink") + '\0'),
        image(pstr("Color") + "\x07" + pstr("clNoSuchColour")),
        image(pstr("Flag") + "\x02\x01"),
        image(pstr("Font") + "\x06\x01x"),                      // a sub-object takes no value
        image(pstr("Columns") + "\x01\x00"),                    // a collection needs its type
        image(pstr("Columns") + "\x0E\x06"),                    // an item must be a list
        image(pstr("Small") + "\x30"),                          // no such value type
    };
    for (const QByteArray& bytes : cases)
        EXPECT_EQ(readList(bytes + '\0'), Outcome::ReadError) << bytes.toHex(' ').toStdString();
    // A number inside the enumeration is its value.
    EXPECT_EQ(readList(image(pstr("Alignment") + "\x02\x02") + '\0'), Outcome::Read);
}

TEST_F(DamagedImage, StrictReaderNamesTheUnknownProperty)
{
    QBuffer buffer;
    buffer.setData(image(pstr("Wingspan") + "\x02\x01") + '\0');
    buffer.open(QIODevice::ReadOnly);
    QObject owner;
    qx::ComponentReader reader(buffer);
    try {
        reader.readComponentList(&owner, nullptr);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), QLatin1String("Property Wingspan does not exist"));
    }
}

TEST_F(DamagedImage, TolerantReaderSkipsUnknownPropertiesAndChildren)
{
    const QByteArray unknownChild = pstr("TNoSuchClass") + pstr("X1") + pstr("A") + "\x02\x01" + '\0'
                                    + pstr("TNoSuchClass") + pstr("X2") + '\0' + '\0' + '\0';
    const QByteArray knownChild = pstr("TQxQueryControl") + pstr("Query1") + pstr("SQL") + "\x06\x01q" + '\0' + '\0';
    const QByteArray bytes =
        image(pstr("Wingspan") + "\x0E\x01" + pstr("A") + "\x06\x01x" + '\0' + '\0' + pstr("Small") + "\x02\x07",
              "Comp1", unknownChild + knownChild)
        + '\0';
    EXPECT_EQ(readList(bytes), Outcome::ReadError);

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QObject owner;
    qx::ComponentReader reader(buffer, true);
    const QList<QObject*> got = reader.readComponentList(&owner, nullptr);
    ASSERT_EQ(got.size(), 1);
    auto* c = qobject_cast<TTestComponent*>(got[0]);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Small, 7);
    const auto kids = c->findChildren<TQxQueryControl*>();
    ASSERT_EQ(kids.size(), 1);
    EXPECT_EQ(kids[0]->SQL, QLatin1String("q"));
    // An unknown class at the top stays an error even then: there is nothing to read into.
    EXPECT_EQ(readList("TPF0" + pstr("TNoSuchClass") + pstr("A") + '\0' + '\0' + '\0', true),
              Outcome::ReadError);
}

TEST_F(DamagedImage, FailedComponentIsFreedAndEarlierOnesStay)
{
    QByteArray good = image(pstr("Small") + "\x02\x01");
    QByteArray bad = image(pstr("Small") + "\x06\x01x");
    QBuffer buffer;
    buffer.setData(good + bad + '\0');
    buffer.open(QIODevice::ReadOnly);
    QObject owner;
    qx::ComponentReader reader(buffer);
    EXPECT_THROW(reader.readComponentList(&owner, nullptr), EReadError);
    EXPECT_EQ(owner.findChildren<TTestComponent*>(Qt::FindDirectChildrenOnly).size(), 1);
}

} // namespace
