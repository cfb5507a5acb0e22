// A dataset that writes every change through to a backing list, the way the SQL datasets sit
// on the record store: rows read at open, inserts, updates and deletes applied before the
// store changes, and a refused write leaving everything as it was.
#include "platform/db/DataSet.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct Row
{
    int id;
    QString name;
};

class WriteBackDataSet : public TDataSet
{
public:
    std::map<int, QString> backing; // id -> name, the "database"
    int nextId = 100;
    bool refuse = false;
    QStringList statements;

protected:
    void InternalOpen() override
    {
        FieldDefs()->Clear();
        FieldDefs()->Add("ID", ftAutoInc);
        FieldDefs()->Add("Name", ftString, 20);
        BuildColumns();
        TField* id = FieldByName("ID");
        TField* name = FieldByName("Name");
        for (const auto& [k, v] : backing) {
            const std::uint32_t slot = Store().appendRow();
            Store().setValue(slot, id->FieldNo() - 1, id->ToCell(k));
            Store().setValue(slot, name->FieldNo() - 1, name->ToCell(v));
        }
    }
    void ApplyInsert() override
    {
        if (refuse)
            DatabaseError(QStringLiteral("UNIQUE constraint failed"));
        const int id = nextId++;
        backing[id] = BufferCell(1).toString();
        SetBufferCell(0, id); // the key the database gave
        statements << QStringLiteral("insert %1").arg(id);
    }
    void ApplyUpdate() override
    {
        if (refuse)
            DatabaseError(QStringLiteral("database is locked"));
        const int id = Store().value(std::uint32_t(PendingSlot()), 0).toInt();
        if (BufferCellChanged(1))
            backing[id] = BufferCell(1).toString();
        statements << QStringLiteral("update %1 name=%2").arg(id).arg(BufferCellChanged(1));
    }
    void ApplyDelete(std::uint32_t slot) override
    {
        if (refuse)
            DatabaseError(QStringLiteral("database is locked"));
        const int id = Store().value(slot, 0).toInt();
        backing.erase(id);
        statements << QStringLiteral("delete %1").arg(id);
    }
};

} // namespace

TEST(WriteBack, ChangesReachTheBackingRowsBeforeTheStore)
{
    WriteBackDataSet ds;
    ds.backing = {{1, "one"}, {2, "two"}};
    ds.Open();
    EXPECT_EQ(ds.RecordCount(), 2);
    EXPECT_EQ(ds.FieldByName("Name")->AsString(), "one");

    ds.Append();
    ds.FieldByName("Name")->SetAsString("new");
    ds.Post();
    EXPECT_EQ(ds.FieldByName("ID")->AsInteger(), 100);
    EXPECT_EQ(ds.backing.at(100), "new");

    ds.First();
    ds.Edit();
    ds.FieldByName("Name")->SetAsString("uno");
    ds.Post();
    EXPECT_EQ(ds.backing.at(1), "uno");

    ds.Next();
    ds.Delete();
    EXPECT_EQ(ds.backing.count(2), 0u);
    EXPECT_EQ(ds.statements, (QStringList{"insert 100", "update 1 name=1", "delete 2"}));

    // Reopening reads the backing rows again.
    ds.Close();
    ds.Open();
    EXPECT_EQ(ds.RecordCount(), 2);
}

TEST(WriteBack, ARefusedWriteLeavesRecordAndStoreAsTheyWere)
{
    WriteBackDataSet ds;
    ds.backing = {{1, "one"}};
    ds.Open();
    ds.refuse = true;

    ds.Edit();
    ds.FieldByName("Name")->SetAsString("changed");
    EXPECT_THROW(ds.Post(), EDatabaseError);
    EXPECT_EQ(ds.State(), dsEdit);
    EXPECT_EQ(ds.FieldByName("Name")->AsString(), "changed"); // the user's typing is kept
    ds.Cancel();
    EXPECT_EQ(ds.FieldByName("Name")->AsString(), "one");

    ds.Append();
    ds.FieldByName("Name")->SetAsString("x");
    EXPECT_THROW(ds.Post(), EDatabaseError);
    EXPECT_EQ(ds.State(), dsInsert);
    ds.Cancel();
    EXPECT_EQ(ds.RecordCount(), 1);

    EXPECT_THROW(ds.Delete(), EDatabaseError);
    EXPECT_EQ(ds.RecordCount(), 1);
    EXPECT_EQ(ds.backing.size(), 1u);
}
