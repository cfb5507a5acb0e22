// The layout of a grid's column file, byte by byte: a wrapper without a name whose Columns
// collection holds column entries with dotted sub-properties (Title.Caption, Glyph.Data).
#include "platform/stream/ClassRegistry.h"
#include "tests/platform/stream/ImageBytes.h"
#include "platform/stream/ComponentReader.h"
#include "platform/stream/ComponentWriter.h"
#include "platform/stream/Persistent.h"

#include <QBuffer>

#include <gtest/gtest.h>

class TLayoutTitle : public qx::PersistentObject
{
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER Caption)
public:
    using qx::PersistentObject::PersistentObject;
    QString Caption;
};

class TLayoutGlyph : public qx::PersistentObject
{
    Q_OBJECT
    Q_PROPERTY(QByteArray Data MEMBER Data)
public:
    using qx::PersistentObject::PersistentObject;
    QByteArray Data;
};

class TLayoutColumn : public qx::CollectionItem
{
    Q_OBJECT
public:
    enum TColumnButtonStyle { cbsAuto, cbsEllipsis, cbsNone };
    Q_ENUM(TColumnButtonStyle)

private:
    Q_PROPERTY(TColumnButtonStyle ButtonStyle MEMBER ButtonStyle)
    Q_PROPERTY(bool Expanded MEMBER Expanded)
    Q_PROPERTY(QString FieldName MEMBER FieldName)
    Q_PROPERTY(TLayoutTitle* Title READ Title)
    Q_PROPERTY(int Width MEMBER Width)
    Q_PROPERTY(bool Visible MEMBER Visible)
    Q_PROPERTY(TLayoutGlyph* Glyph READ Glyph)
    Q_PROPERTY(bool FixedColumns MEMBER FixedColumns)
    Q_PROPERTY(bool TabStop MEMBER TabStop)
    Q_PROPERTY(bool IMEControl MEMBER IMEControl)
    Q_CLASSINFO("QxDefaults", "ButtonStyle=cbsAuto")

public:
    using qx::CollectionItem::CollectionItem;
    TLayoutTitle* Title() const { return m_title; }
    TLayoutGlyph* Glyph() const { return m_glyph; }

    TColumnButtonStyle ButtonStyle = cbsAuto;
    bool Expanded = true;
    QString FieldName;
    int Width = 64;
    bool Visible = true;
    bool FixedColumns = false;
    bool TabStop = true;
    bool IMEControl = false;

private:
    TLayoutTitle* m_title = new TLayoutTitle(this);
    TLayoutGlyph* m_glyph = new TLayoutGlyph(this);
};

class TLayoutWrapper : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qx::Collection* Columns READ Columns)
public:
    explicit TLayoutWrapper(QObject* parent = nullptr)
        : QObject(parent)
    {}
    qx::Collection* Columns() const { return m_columns; }

private:
    qx::Collection* m_columns =
        new qx::Collection([](qx::Collection* c) { return new TLayoutColumn(c); }, this);
};

namespace {

using qx::test::le32;
using qx::test::pstr;

TEST(ColumnLayoutImage, WrapperWithOneColumnIsStoredByteForByte)
{
    qx::registerClass<TLayoutWrapper>("TQxColumnsWrapper");
    QByteArray glyph = le32(246) + "BM";
    while (glyph.size() < 250)
        glyph += char(glyph.size());

    TLayoutWrapper wrapper;
    auto* column = static_cast<TLayoutColumn*>(wrapper.Columns()->add());
    column->ButtonStyle = TLayoutColumn::cbsEllipsis;
    column->Expanded = false;
    column->FieldName = QStringLiteral("ItemCode");
    column->Title()->Caption = QStringLiteral("配件编号");
    column->Width = 81;
    column->Glyph()->Data = glyph;

    const QString caption = QStringLiteral("配件编号");
    QByteArray wide;
    for (QChar c : caption)
        wide += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
    const QByteArray expected =
        "TPF0" + pstr("TQxColumnsWrapper") + QByteArray(1, '\0')
        + pstr("Columns") + "\x0E"
        + "\x01"
        + pstr("ButtonStyle") + "\x07" + pstr("cbsEllipsis")
        + pstr("Expanded") + "\x08"
        + pstr("FieldName") + "\x06" + pstr("ItemCode")
        + pstr("Title.Caption") + "\x12" + le32(4) + wide
        + pstr("Width") + "\x02" + char(81)
        + pstr("Visible") + "\x09"
        + pstr("Glyph.Data") + "\x0A" + le32(250) + glyph
        + pstr("FixedColumns") + "\x08"
        + pstr("TabStop") + "\x09"
        + pstr("IMEControl") + "\x08"
        + QByteArray(1, '\0')  // end of the column entry
        + QByteArray(1, '\0')  // end of the collection
        + QByteArray(1, '\0')  // end of properties
        + QByteArray(1, '\0'); // end of children

    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    qx::ComponentWriter(out).writeComponent(&wrapper);
    EXPECT_EQ(bytes.toHex(' ').toStdString(), expected.toHex(' ').toStdString());

    TLayoutWrapper back;
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    qx::ComponentReader(in).readInto(&back);
    ASSERT_EQ(back.Columns()->count(), 1);
    auto* got = static_cast<TLayoutColumn*>(back.Columns()->item(0));
    EXPECT_EQ(got->ButtonStyle, TLayoutColumn::cbsEllipsis);
    EXPECT_FALSE(got->Expanded);
    EXPECT_EQ(got->FieldName, QLatin1String("ItemCode"));
    EXPECT_EQ(got->Title()->Caption, caption);
    EXPECT_EQ(got->Width, 81);
    EXPECT_EQ(got->Glyph()->Data, glyph);
    qx::unregisterClass("TQxColumnsWrapper");
}

TEST(ColumnLayoutImage, FileWithNoColumnsLeavesAnEmptyCollection)
{
    const QByteArray bytes = "TPF0" + pstr("TQxColumnsWrapper") + QByteArray(1, '\0') + pstr("Columns")
                             + "\x0E" + QByteArray(3, '\0');
    qx::registerClass<TLayoutWrapper>("TQxColumnsWrapper");
    TLayoutWrapper wrapper;
    wrapper.Columns()->add();
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    qx::ComponentReader(in).readInto(&wrapper);
    EXPECT_EQ(wrapper.Columns()->count(), 0);
    qx::unregisterClass("TQxColumnsWrapper");
}

} // namespace

#include "ColumnLayoutImageTest.moc"
