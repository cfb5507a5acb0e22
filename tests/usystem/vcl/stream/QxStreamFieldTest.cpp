// TQxStream on a blob field: the report centre keeps its query definitions in the column
// ReportDB of the report table this way.
#include "StreamTestClasses.h"

#include "usystem/vcl/stream/uQxstream.h"

#include "platform/db/Fields.h"
#include "platform/db/QxMemTable.h"
#include "platform/rtl/Exceptions.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

class QxStreamField : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { qx::registerClass<TQxQueryControl>(); }

    void SetUp() override
    {
        table = std::make_unique<TQxMemTable>();
        table->FieldDefs()->Add("ReportName", ftString, 40);
        table->FieldDefs()->Add("ReportDB", ftBlob);
        table->Open();
        table->Append();
        table->FieldByName("ReportName")->SetAsString(QStringLiteral("维修历史"));
        table->Post();
    }

    TQxQueryControl* query(QObject* owner, const QString& name, const QString& sql)
    {
        auto* q = new TQxQueryControl(owner);
        q->setObjectName(name);
        q->SQL = sql;
        return q;
    }

    // Saves the components as the report centre's definition object does.
    void save(const QList<QObject*>& components)
    {
        if (table->State() != dsEdit && table->State() != dsInsert)
            table->Edit();
        TQxStream stream(&source);
        stream.ClearComponents();
        for (QObject* c : components)
            stream.AddComponent(c);
        stream.setDataSet(table.get());
        stream.setFieldName(QStringLiteral("ReportDB"));
        stream.WriteToField();
        table->Post();
    }

    QByteArray blob() const { return table->FieldByName("ReportDB")->AsBytes(); }

    std::unique_ptr<TQxMemTable> table;
    QObject source;
};

TEST_F(QxStreamField, SavedDefinitionLoadsBack)
{
    save({query(&source, QStringLiteral("QxQueryControl1"), QStringLiteral("select * from tRepair"))});
    EXPECT_TRUE(blob().startsWith("TPF0"));

    QObject owner;
    TQxStream stream(&owner);
    stream.setDataSet(table.get());
    QList<TQxQueryControl*> got;
    stream.OnReadComponent = [&](QObject*, QObject* c) { got << qobject_cast<TQxQueryControl*>(c); };
    stream.setFieldName(QStringLiteral("ReportDB"));
    stream.ReadFromField();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0]->SQL, QLatin1String("select * from tRepair"));
}

TEST_F(QxStreamField, RewriteOfALongerBlobLeavesNoOldTail)
{
    save({query(&source, QStringLiteral("A"), QString(500, u'x')),
          query(&source, QStringLiteral("B"), QString(500, u'y'))});
    const qint64 longer = blob().size();

    save({query(&source, QStringLiteral("C"), QStringLiteral("select 1"))});
    // Only the new image is stored: nothing of the older one lingers in the database.
    QByteArray expected;
    {
        QBuffer buffer(&expected);
        buffer.open(QIODevice::WriteOnly);
        TQxStream stream(&source);
        stream.AddComponent(source.findChild<QObject*>(QStringLiteral("C")));
        stream.WriteToStream(buffer);
    }
    EXPECT_LT(blob().size(), longer);
    EXPECT_EQ(blob(), expected);

    QObject owner;
    TQxStream stream(&owner);
    stream.setDataSet(table.get());
    stream.setFieldName(QStringLiteral("ReportDB"));
    stream.ReadFromField();
    const auto got = owner.findChildren<TQxQueryControl*>();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0]->objectName(), QLatin1String("C"));
}

TEST_F(QxStreamField, BlobWithTheTailOfAnOlderImageStillReads)
{
    // Blobs written by earlier versions keep the old tail after the end marker.
    save({query(&source, QStringLiteral("A"), QString(300, u'x')),
          query(&source, QStringLiteral("B"), QString(300, u'y'))});
    QByteArray shorter;
    {
        QBuffer buffer(&shorter);
        buffer.open(QIODevice::WriteOnly);
        TQxStream stream(&source);
        stream.AddComponent(query(&source, QStringLiteral("C"), QStringLiteral("select 1")));
        stream.WriteToStream(buffer);
    }
    QByteArray old = blob();
    old.replace(0, shorter.size(), shorter);
    table->Edit();
    table->FieldByName("ReportDB")->SetAsBytes(old);
    table->Post();

    QObject owner;
    TQxStream stream(&owner);
    stream.setDataSet(table.get());
    stream.setFieldName(QStringLiteral("ReportDB"));
    stream.ReadFromField();
    const auto got = owner.findChildren<TQxQueryControl*>();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0]->objectName(), QLatin1String("C"));
}

TEST_F(QxStreamField, InactiveDataSetDoesNothing)
{
    table->Close();
    QObject owner;
    TQxStream stream(&owner);
    stream.AddComponent(query(&source, QStringLiteral("A"), QStringLiteral("select 1")));
    stream.setDataSet(table.get());
    stream.setFieldName(QStringLiteral("ReportDB"));
    int events = 0;
    stream.OnWriteToStream = [&](QObject*) { ++events; };
    stream.OnReadFromStream = [&](QObject*) { ++events; };
    stream.OnRegister = [&](QObject*) { ++events; };
    EXPECT_NO_THROW(stream.WriteToField());
    EXPECT_NO_THROW(stream.ReadFromField());
    EXPECT_EQ(events, 0);
    // Without a dataset at all, the same.
    stream.setDataSet(nullptr);
    EXPECT_NO_THROW(stream.WriteToField());
    EXPECT_EQ(events, 0);
}

TEST_F(QxStreamField, RefusedWrites)
{
    QObject owner;
    TQxStream stream(&owner);
    stream.AddComponent(query(&source, QStringLiteral("A"), QStringLiteral("select 1")));
    stream.setDataSet(table.get());

    stream.setFieldName(QStringLiteral("ReportDB"));
    EXPECT_THROW(stream.WriteToField(), EDatabaseError); // the row is not being edited

    table->Edit();
    stream.setFieldName(QStringLiteral("ReportName"));
    EXPECT_THROW(stream.WriteToField(), EInvalidCast);
    EXPECT_THROW(stream.ReadFromField(), EInvalidCast);

    stream.setFieldName(QStringLiteral("NoSuchField"));
    EXPECT_THROW(stream.WriteToField(), EDatabaseError);

    table->FieldByName("ReportDB")->SetReadOnly(true);
    stream.setFieldName(QStringLiteral("ReportDB"));
    EXPECT_THROW(stream.WriteToField(), EDatabaseError);
    table->Cancel();
    EXPECT_TRUE(blob().isEmpty());
}

TEST_F(QxStreamField, RemovedDataSetIsCleared)
{
    QObject owner;
    TQxStream stream(&owner);
    stream.setDataSet(table.get());
    table.reset();
    EXPECT_EQ(stream.DataSet(), nullptr);
}

} // namespace
