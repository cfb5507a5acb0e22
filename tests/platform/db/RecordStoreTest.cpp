// The record store refilled after its rows were dropped, as a query reopened on every
// keystroke refills it: the memory it keeps for the next rows reads as empty cells of every
// kind, whatever the old rows held, over more than one chunk of rows.
#include "platform/db/RecordStore.h"

#include <gtest/gtest.h>

namespace {

using qx::RecordStore;

struct Filled
{
    RecordStore store;
    int i32, i64, dbl, flag, text, blob;

    Filled()
        : i32(store.addColumn(RecordStore::Kind::Int32)),
          i64(store.addColumn(RecordStore::Kind::Int64)),
          dbl(store.addColumn(RecordStore::Kind::Double)),
          flag(store.addColumn(RecordStore::Kind::Bool)),
          text(store.addColumn(RecordStore::Kind::Text)),
          blob(store.addColumn(RecordStore::Kind::Blob))
    {
    }

    void fill(std::uint32_t rows)
    {
        for (std::uint32_t r = 0; r < rows; ++r) {
            const std::uint32_t s = store.appendRow();
            store.setInt32(s, i32, int(r) + 1);
            store.setInt64(s, i64, qint64(r) << 33);
            store.setDouble(s, dbl, r + 0.5);
            store.setBool(s, flag, true);
            // Short texts live in the cell, long ones on the heap.
            store.setText(s, text, r % 2 ? QStringLiteral("短") : QString(40, QChar(u'长')));
            store.setBlob(s, blob, QByteArray(20, char('a' + r % 26)));
        }
    }
};

TEST(RecordStoreTest, RowsAppendedAfterAClearAreEmptyInEveryKind)
{
    for (const std::uint32_t rows : {1u, 300u, RecordStore::kChunk + 7}) {
        SCOPED_TRACE(rows);
        Filled f;
        f.fill(rows);
        f.store.removeRow(0);
        f.store.clearRows();
        EXPECT_EQ(f.store.slotCount(), 0u);
        for (std::uint32_t r = 0; r < rows + 3; ++r) {
            const std::uint32_t s = f.store.appendRow();
            for (int col : {f.i32, f.i64, f.dbl, f.flag, f.text, f.blob}) {
                ASSERT_TRUE(f.store.isNull(s, col)) << "row " << r << " column " << col;
                ASSERT_FALSE(f.store.value(s, col).isValid());
            }
            ASSERT_EQ(f.store.int32At(s, f.i32), 0);
            ASSERT_EQ(f.store.int64At(s, f.i64), 0);
            ASSERT_EQ(f.store.doubleAt(s, f.dbl), 0.0);
            ASSERT_FALSE(f.store.boolAt(s, f.flag));
            ASSERT_TRUE(f.store.textBytes(s, f.text).empty());
            ASSERT_TRUE(f.store.blobAt(s, f.blob).isEmpty());
        }
    }
}

TEST(RecordStoreTest, ARefilledStoreHoldsItsNewRowsAfterManyRounds)
{
    Filled f;
    for (int round = 0; round < 50; ++round) {
        f.store.clearRows();
        f.fill(round % 2 ? 10 : 500);
    }
    // The last round filled 10 rows.
    EXPECT_EQ(f.store.liveCount(), 10u);
    EXPECT_EQ(f.store.int32At(9, f.i32), 10);
    EXPECT_EQ(f.store.textAt(8, f.text), QString(40, QChar(u'长')));
    EXPECT_EQ(f.store.textAt(9, f.text), QStringLiteral("短"));
    EXPECT_EQ(f.store.blobAt(9, f.blob), QByteArray(20, 'j'));
    // Ids keep counting over the rounds: a bookmark of an old row finds nothing.
    std::uint32_t slot = 0;
    EXPECT_FALSE(f.store.slotOfId(1, slot));
    EXPECT_TRUE(f.store.slotOfId(f.store.rowId(9), slot));
}

} // namespace
