// The record store under every dataset: typed columns of rows held in memory, each row known
// by a stable id that survives the deletion of other rows and never comes back for another row.
//
// Columns are stored column by column in fixed chunks of rows, so a million rows cost one
// allocation per 4096 cells, growth never copies what is already there, and a scan or a sort
// over one column touches only that column. Text is kept as UTF-8 in 16-byte cells, short text
// (up to 15 bytes) inside the cell itself; longer text and blobs live on the heap.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <string_view>
#include <vector>

namespace qx {

class RecordStore
{
public:
    // How a column holds its cells. The dataset layer maps field types onto these.
    enum class Kind : std::uint8_t { Int32, Int64, Double, Bool, Text, Blob };

    RecordStore() = default;
    ~RecordStore();
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    // Structure. Columns can only be added or cleared while the store holds no slot.
    int addColumn(Kind kind);
    void clear(); // drops rows and columns
    int columnCount() const { return int(m_columns.size()); }
    Kind kind(int col) const { return m_columns[std::size_t(col)].kind; }

    // Rows. A slot is the row's place in the store; slots are never reused until clearRows().
    std::uint32_t slotCount() const { return m_slots; }
    std::uint32_t liveCount() const { return m_live; }
    std::uint32_t appendRow(); // a new row, every cell null
    void removeRow(std::uint32_t slot);
    bool isAlive(std::uint32_t slot) const
    {
        return slot < m_slots && (m_alive[slot >> 6] >> (slot & 63)) & 1u;
    }
    // Drops every row. Ids keep counting, so bookmarks of the old rows stay invalid.
    void clearRows();
    // Reserves room for n more rows (a hint; avoids regrowing the slot bit vectors).
    void reserve(std::uint32_t n);

    // Stable ids: what bookmarks carry.
    std::uint64_t rowId(std::uint32_t slot) const { return m_idBase + slot; }
    bool slotOfId(std::uint64_t id, std::uint32_t& slot) const;

    // Cells. Reading a null cell gives the zero value of its kind.
    bool isNull(std::uint32_t slot, int col) const
    {
        const Column& c = m_columns[std::size_t(col)];
        return (c.nulls[slot >> 6] >> (slot & 63)) & 1u;
    }
    std::int32_t int32At(std::uint32_t slot, int col) const { return cellRef<std::int32_t>(slot, col); }
    std::int64_t int64At(std::uint32_t slot, int col) const { return cellRef<std::int64_t>(slot, col); }
    double doubleAt(std::uint32_t slot, int col) const { return cellRef<double>(slot, col); }
    bool boolAt(std::uint32_t slot, int col) const { return cellRef<std::uint8_t>(slot, col) != 0; }
    std::string_view textBytes(std::uint32_t slot, int col) const;
    QString textAt(std::uint32_t slot, int col) const;
    QByteArray blobAt(std::uint32_t slot, int col) const;

    void setNull(std::uint32_t slot, int col);
    void setInt32(std::uint32_t slot, int col, std::int32_t v);
    void setInt64(std::uint32_t slot, int col, std::int64_t v);
    void setDouble(std::uint32_t slot, int col, double v);
    void setBool(std::uint32_t slot, int col, bool v);
    void setText(std::uint32_t slot, int col, const QString& v);
    void setTextUtf8(std::uint32_t slot, int col, std::string_view utf8);
    void setBlob(std::uint32_t slot, int col, const QByteArray& v);

    // The cell as a variant of its kind (int, qlonglong, double, bool, QString, QByteArray);
    // an invalid variant for null. setValue takes the same forms and converts what it can.
    QVariant value(std::uint32_t slot, int col) const;
    void setValue(std::uint32_t slot, int col, const QVariant& v);

    // Hints the processor to fetch the cells of a row soon to be read (a cursor walking a
    // sorted view jumps through memory).
    void prefetchRow(std::uint32_t slot) const;

    // Orders two cells of one column: nulls first, text by code point (optionally without
    // case), blobs by bytes. Returns <0, 0, >0.
    int compare(std::uint32_t a, std::uint32_t b, int col, bool caseInsensitive) const;
    // Sorts slots by one text column (nulls first, or last when descending; ties by slot).
    // The common case of a sort, kept apart so the comparison is inlined.
    void sortByText(std::vector<std::uint32_t>& rows, int col, bool descending, bool caseInsensitive) const;
    // Orders a cell against a value in the column's variant form.
    int compareToValue(std::uint32_t slot, int col, const QVariant& v, bool caseInsensitive) const;

    // Bytes held by the store (cells, bit vectors, heap text and blobs), for diagnostics.
    std::size_t memoryUsed() const;

    // Text comparison of two UTF-8 strings; exposed for the locate code.
    static int compareUtf8(std::string_view a, std::string_view b, bool caseInsensitive);
    // True when `text` starts with `prefix` (optionally without case).
    static bool startsWithUtf8(std::string_view text, std::string_view prefix, bool caseInsensitive);

    static constexpr std::uint32_t kChunkShift = 12;
    static constexpr std::uint32_t kChunk = 1u << kChunkShift;

private:
    // A text cell: bytes 0..14 hold short text, byte 15 its length; with the heap flag the
    // first eight bytes point to malloc'ed text whose length is in bytes 8..11.
    struct TextCell
    {
        union {
            char inl[16];
            struct
            {
                char* ptr;
                std::uint32_t len;
                std::uint8_t pad[3];
                std::uint8_t tag;
            } heap;
        };
    };
    static_assert(sizeof(TextCell) == 16);
    static constexpr std::uint8_t kHeapTag = 0x80;

    struct Column
    {
        Kind kind;
        std::vector<void*> chunks;       // arrays of kChunk cells
        std::vector<std::uint64_t> nulls; // one bit per slot
    };

    template <class T>
    const T& cellRef(std::uint32_t slot, int col) const
    {
        const Column& c = m_columns[std::size_t(col)];
        return static_cast<const T*>(c.chunks[slot >> kChunkShift])[slot & (kChunk - 1)];
    }
    template <class T>
    T& cellRef(std::uint32_t slot, int col)
    {
        Column& c = m_columns[std::size_t(col)];
        return static_cast<T*>(c.chunks[slot >> kChunkShift])[slot & (kChunk - 1)];
    }
    void setNullBit(Column& c, std::uint32_t slot, bool isNull)
    {
        std::uint64_t& w = c.nulls[slot >> 6];
        const std::uint64_t bit = std::uint64_t(1) << (slot & 63);
        w = isNull ? (w | bit) : (w & ~bit);
    }
    void* allocChunk(Kind kind);
    static void destroyChunk(Kind kind, void* chunk);
    static void releaseText(TextCell& cell);
    static std::string_view textView(const TextCell& cell);
    void releaseCell(std::uint32_t slot, int col);
    // Frees the cells and chunks; keepFirstArena keeps the first arena mapped and zeroed for
    // the next rows (the others are unmapped).
    void freeAllChunks(bool keepFirstArena = false);
    bool isInFirstArena(const void* chunk) const;

    // Chunks are carved from 2 MB arenas taken straight from the system: fresh pages are
    // already zero (no clearing pass), and from the third arena on the kernel may back them
    // with huge pages, which spares a page fault per 4 KB while a large table fills.
    struct Arena
    {
        char* base;
        std::size_t used;
    };
    std::vector<Arena> m_arenas;
    void freeArenas(bool keepFirst = false);

    std::vector<Column> m_columns;
    std::vector<std::uint64_t> m_alive; // one bit per slot
    std::uint32_t m_slots = 0;
    std::uint32_t m_live = 0;
    std::uint64_t m_idBase = 1; // id 0 never names a row
};

} // namespace qx
