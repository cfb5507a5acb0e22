#include "platform/db/RecordStore.h"

#include <sys/mman.h>

#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <new>

namespace qx {

namespace {

std::size_t cellSize(RecordStore::Kind kind)
{
    switch (kind) {
    case RecordStore::Kind::Int32: return sizeof(std::int32_t);
    case RecordStore::Kind::Int64: return sizeof(std::int64_t);
    case RecordStore::Kind::Double: return sizeof(double);
    case RecordStore::Kind::Bool: return sizeof(std::uint8_t);
    case RecordStore::Kind::Text: return 16;
    case RecordStore::Kind::Blob: return sizeof(QByteArray);
    }
    return 16;
}

template <class T>
int cmp3(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

inline unsigned char asciiLower(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

} // namespace

RecordStore::~RecordStore()
{
    freeAllChunks();
}

namespace {
constexpr std::size_t kArenaSize = std::size_t(2) << 20;

char* mapArena(bool hugePages)
{
    // Twice the size, then trimmed, gives an arena aligned to its own size (huge pages
    // need the alignment).
    void* raw = mmap(nullptr, 2 * kArenaSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        throw std::bad_alloc();
    const auto addr = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (addr + kArenaSize - 1) & ~(std::uintptr_t(kArenaSize) - 1);
    if (aligned > addr)
        munmap(raw, aligned - addr);
    const std::uintptr_t end = addr + 2 * kArenaSize;
    if (end > aligned + kArenaSize)
        munmap(reinterpret_cast<void*>(aligned + kArenaSize), end - (aligned + kArenaSize));
#ifdef MADV_HUGEPAGE
    if (hugePages)
        madvise(reinterpret_cast<void*>(aligned), kArenaSize, MADV_HUGEPAGE);
#else
    (void)hugePages;
#endif
    return reinterpret_cast<char*>(aligned);
}
} // namespace

void* RecordStore::allocChunk(Kind kind)
{
    const std::size_t bytes = (kChunk * cellSize(kind) + 63) & ~std::size_t(63);
    static_assert(kChunk * 16 <= kArenaSize);
    if (m_arenas.empty() || m_arenas.back().used + bytes > kArenaSize)
        // Small tables (most of them: a bill's lines) stay on ordinary pages, which are
        // resident only where rows were written; huge pages pay off once a table is large.
        m_arenas.push_back(Arena{mapArena(m_arenas.size() >= 2), 0});
    Arena& a = m_arenas.back();
    void* p = a.base + a.used;
    a.used += bytes;
    // Fresh mapped memory reads as zero: a valid empty cell of every plain kind.
    if (kind == Kind::Blob)
        new (p) QByteArray[kChunk];
    return p;
}

void RecordStore::destroyChunk(Kind kind, void* chunk)
{
    if (kind == Kind::Blob) {
        auto* arr = static_cast<QByteArray*>(chunk);
        for (std::uint32_t i = 0; i < kChunk; ++i)
            arr[i].~QByteArray();
    }
}

void RecordStore::freeArenas(bool keepFirst)
{
    const std::size_t keep = keepFirst && !m_arenas.empty() ? 1 : 0;
    for (std::size_t i = keep; i < m_arenas.size(); ++i)
        munmap(m_arenas[i].base, kArenaSize);
    m_arenas.resize(keep);
    if (keep)
        m_arenas.front().used = 0;
}

void RecordStore::prefetchRow(std::uint32_t slot) const
{
    if (slot >= m_slots)
        return;
    for (const Column& c : m_columns) {
        const char* base = static_cast<const char*>(c.chunks[slot >> kChunkShift]);
        __builtin_prefetch(base + std::size_t(slot & (kChunk - 1)) * cellSize(c.kind));
        __builtin_prefetch(&c.nulls[slot >> 6]);
    }
}

void RecordStore::releaseText(TextCell& cell)
{
    if (cell.heap.tag == kHeapTag)
        std::free(cell.heap.ptr);
    std::memset(&cell, 0, sizeof cell);
}

std::string_view RecordStore::textView(const TextCell& cell)
{
    if (cell.heap.tag == kHeapTag)
        return std::string_view(cell.heap.ptr, cell.heap.len);
    return std::string_view(cell.inl, static_cast<std::uint8_t>(cell.inl[15]));
}

void RecordStore::freeAllChunks(bool keepFirstArena)
{
    for (Column& c : m_columns) {
        const std::size_t size = cellSize(c.kind);
        for (std::size_t ci = 0; ci < c.chunks.size(); ++ci) {
            // Only the cells of slots ever appended were written: the rest of the last chunk
            // is still zero, and reading it would only fault in zero pages (a small result
            // would pay for a whole chunk on every close).
            const std::size_t first = ci << kChunkShift;
            const std::uint32_t used =
                first >= m_slots ? 0 : std::uint32_t(std::min<std::size_t>(kChunk, m_slots - first));
            if (c.kind == Kind::Text) {
                auto* cells = static_cast<TextCell*>(c.chunks[ci]);
                for (std::uint32_t i = 0; i < used; ++i)
                    if (cells[i].heap.tag == kHeapTag)
                        std::free(cells[i].heap.ptr);
            }
            destroyChunk(c.kind, c.chunks[ci]);
            // A kept arena is handed out again: it must read as zero, as fresh pages do.
            if (keepFirstArena && isInFirstArena(c.chunks[ci]))
                std::memset(c.chunks[ci], 0, c.kind == Kind::Blob ? kChunk * size : used * size);
        }
        c.chunks.clear();
        c.nulls.clear();
    }
    freeArenas(keepFirstArena);
}

bool RecordStore::isInFirstArena(const void* chunk) const
{
    const char* p = static_cast<const char*>(chunk);
    return !m_arenas.empty() && p >= m_arenas.front().base && p < m_arenas.front().base + kArenaSize;
}

int RecordStore::addColumn(Kind kind)
{
    if (m_slots != 0)
        throw std::logic_error("RecordStore: columns change only while the store is empty");
    m_columns.push_back(Column{kind, {}, {}});
    return int(m_columns.size()) - 1;
}

void RecordStore::clear()
{
    clearRows();
    m_columns.clear();
}

void RecordStore::reserve(std::uint32_t n)
{
    const std::size_t words = (std::size_t(m_slots) + n + 63) / 64;
    m_alive.reserve(words);
    for (Column& c : m_columns) {
        c.nulls.reserve(words);
        c.chunks.reserve((std::size_t(m_slots) + n + kChunk - 1) / kChunk);
    }
}

std::uint32_t RecordStore::appendRow()
{
    const std::uint32_t slot = m_slots;
    if (slot == UINT32_MAX)
        throw std::length_error("RecordStore: too many rows");
    if ((slot & 63) == 0) {
        m_alive.push_back(0);
        for (Column& c : m_columns)
            c.nulls.push_back(~std::uint64_t(0));
    }
    if ((slot & (kChunk - 1)) == 0) {
        for (Column& c : m_columns)
            c.chunks.push_back(allocChunk(c.kind));
    }
    m_alive[slot >> 6] |= std::uint64_t(1) << (slot & 63);
    ++m_slots;
    ++m_live;
    return slot;
}

void RecordStore::releaseCell(std::uint32_t slot, int col)
{
    Column& c = m_columns[std::size_t(col)];
    if (c.kind == Kind::Text)
        releaseText(cellRef<TextCell>(slot, col));
    else if (c.kind == Kind::Blob)
        cellRef<QByteArray>(slot, col) = QByteArray();
}

void RecordStore::removeRow(std::uint32_t slot)
{
    if (!isAlive(slot))
        return;
    for (int col = 0; col < columnCount(); ++col) {
        releaseCell(slot, col);
        setNullBit(m_columns[std::size_t(col)], slot, true);
    }
    m_alive[slot >> 6] &= ~(std::uint64_t(1) << (slot & 63));
    --m_live;
}

void RecordStore::clearRows()
{
    // The first arena stays mapped for the next rows: a query that is reopened over and over
    // (a search as the user types) would otherwise map, fault in and unmap it every time.
    freeAllChunks(true);
    m_alive.clear();
    m_idBase += m_slots;
    m_slots = 0;
    m_live = 0;
}

bool RecordStore::slotOfId(std::uint64_t id, std::uint32_t& slot) const
{
    if (id < m_idBase || id - m_idBase >= m_slots)
        return false;
    slot = std::uint32_t(id - m_idBase);
    return isAlive(slot);
}

std::string_view RecordStore::textBytes(std::uint32_t slot, int col) const
{
    return textView(cellRef<TextCell>(slot, col));
}

QString RecordStore::textAt(std::uint32_t slot, int col) const
{
    const std::string_view v = textBytes(slot, col);
    return QString::fromUtf8(v.data(), qsizetype(v.size()));
}

QByteArray RecordStore::blobAt(std::uint32_t slot, int col) const
{
    return cellRef<QByteArray>(slot, col);
}

void RecordStore::setNull(std::uint32_t slot, int col)
{
    releaseCell(slot, col);
    Column& c = m_columns[std::size_t(col)];
    switch (c.kind) {
    case Kind::Int32: cellRef<std::int32_t>(slot, col) = 0; break;
    case Kind::Int64: cellRef<std::int64_t>(slot, col) = 0; break;
    case Kind::Double: cellRef<double>(slot, col) = 0; break;
    case Kind::Bool: cellRef<std::uint8_t>(slot, col) = 0; break;
    default: break;
    }
    setNullBit(c, slot, true);
}

void RecordStore::setInt32(std::uint32_t slot, int col, std::int32_t v)
{
    cellRef<std::int32_t>(slot, col) = v;
    setNullBit(m_columns[std::size_t(col)], slot, false);
}

void RecordStore::setInt64(std::uint32_t slot, int col, std::int64_t v)
{
    cellRef<std::int64_t>(slot, col) = v;
    setNullBit(m_columns[std::size_t(col)], slot, false);
}

void RecordStore::setDouble(std::uint32_t slot, int col, double v)
{
    cellRef<double>(slot, col) = v;
    setNullBit(m_columns[std::size_t(col)], slot, false);
}

void RecordStore::setBool(std::uint32_t slot, int col, bool v)
{
    cellRef<std::uint8_t>(slot, col) = v ? 1 : 0;
    setNullBit(m_columns[std::size_t(col)], slot, false);
}

void RecordStore::setTextUtf8(std::uint32_t slot, int col, std::string_view utf8)
{
    TextCell& cell = cellRef<TextCell>(slot, col);
    releaseText(cell);
    if (utf8.size() <= 15) {
        std::memcpy(cell.inl, utf8.data(), utf8.size());
        cell.inl[15] = char(utf8.size());
    } else {
        if (utf8.size() > UINT32_MAX)
            throw std::length_error("RecordStore: text too long");
        char* p = static_cast<char*>(std::malloc(utf8.size()));
        if (!p)
            throw std::bad_alloc();
        std::memcpy(p, utf8.data(), utf8.size());
        cell.heap.ptr = p;
        cell.heap.len = std::uint32_t(utf8.size());
        cell.heap.tag = kHeapTag;
    }
    setNullBit(m_columns[std::size_t(col)], slot, false);
}

void RecordStore::setText(std::uint32_t slot, int col, const QString& v)
{
    // Most shop text is short: convert into a stack buffer instead of a heap byte array.
    if (v.size() <= 64) {
        char buf[64 * 3];
        char* out = buf;
        for (QChar ch : v) {
            const char16_t u = ch.unicode();
            if (u < 0x80) {
                *out++ = char(u);
            } else if (u < 0x800) {
                *out++ = char(0xC0 | (u >> 6));
                *out++ = char(0x80 | (u & 0x3F));
            } else if (u >= 0xD800 && u <= 0xDFFF) {
                out = nullptr; // surrogate pairs: leave them to Qt
                break;
            } else {
                *out++ = char(0xE0 | (u >> 12));
                *out++ = char(0x80 | ((u >> 6) & 0x3F));
                *out++ = char(0x80 | (u & 0x3F));
            }
        }
        if (out) {
            setTextUtf8(slot, col, std::string_view(buf, std::size_t(out - buf)));
            return;
        }
    }
    const QByteArray utf8 = v.toUtf8();
    setTextUtf8(slot, col, std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

void RecordStore::setBlob(std::uint32_t slot, int col, const QByteArray& v)
{
    cellRef<QByteArray>(slot, col) = v;
    setNullBit(m_columns[std::size_t(col)], slot, false);
}

QVariant RecordStore::value(std::uint32_t slot, int col) const
{
    if (isNull(slot, col))
        return QVariant();
    switch (kind(col)) {
    case Kind::Int32: return QVariant(int(int32At(slot, col)));
    case Kind::Int64: return QVariant(qlonglong(int64At(slot, col)));
    case Kind::Double: return QVariant(doubleAt(slot, col));
    case Kind::Bool: return QVariant(boolAt(slot, col));
    case Kind::Text: return QVariant(textAt(slot, col));
    case Kind::Blob: return QVariant(blobAt(slot, col));
    }
    return QVariant();
}

void RecordStore::setValue(std::uint32_t slot, int col, const QVariant& v)
{
    if (!v.isValid() || v.isNull()) {
        setNull(slot, col);
        return;
    }
    switch (kind(col)) {
    case Kind::Int32: setInt32(slot, col, v.toInt()); break;
    case Kind::Int64: setInt64(slot, col, v.toLongLong()); break;
    case Kind::Double: setDouble(slot, col, v.toDouble()); break;
    case Kind::Bool: setBool(slot, col, v.toBool()); break;
    case Kind::Text: setText(slot, col, v.toString()); break;
    case Kind::Blob: setBlob(slot, col, v.toByteArray()); break;
    }
}

int RecordStore::compareUtf8(std::string_view a, std::string_view b, bool caseInsensitive)
{
    const std::size_t n = std::min(a.size(), b.size());
    if (!caseInsensitive) {
        const int r = n ? std::memcmp(a.data(), b.data(), n) : 0;
        if (r != 0)
            return r < 0 ? -1 : 1;
        return cmp3(a.size(), b.size());
    }
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if ((ca | cb) & 0x80) {
            // Outside ASCII the case rules need Unicode tables: compare the rest as QStrings.
            const QString qa = QString::fromUtf8(a.data() + i, qsizetype(a.size() - i));
            const QString qb = QString::fromUtf8(b.data() + i, qsizetype(b.size() - i));
            const int r = qa.compare(qb, Qt::CaseInsensitive);
            return r < 0 ? -1 : (r > 0 ? 1 : 0);
        }
        const unsigned char la = asciiLower(ca), lb = asciiLower(cb);
        if (la != lb)
            return la < lb ? -1 : 1;
    }
    return cmp3(a.size(), b.size());
}

bool RecordStore::startsWithUtf8(std::string_view text, std::string_view prefix, bool caseInsensitive)
{
    if (!caseInsensitive)
        return text.size() >= prefix.size() && std::memcmp(text.data(), prefix.data(), prefix.size()) == 0;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (i >= text.size())
            return false;
        const auto ct = static_cast<unsigned char>(text[i]);
        const auto cp = static_cast<unsigned char>(prefix[i]);
        if ((ct | cp) & 0x80) {
            const QString qt = QString::fromUtf8(text.data() + i, qsizetype(text.size() - i));
            const QString qp = QString::fromUtf8(prefix.data() + i, qsizetype(prefix.size() - i));
            return qt.startsWith(qp, Qt::CaseInsensitive);
        }
        if (asciiLower(ct) != asciiLower(cp))
            return false;
    }
    return true;
}

void RecordStore::sortByText(std::vector<std::uint32_t>& rows, int col, bool descending, bool caseInsensitive) const
{
    auto nonNull = [&](std::uint32_t s) { return !isNull(s, col); };
    // Nulls first when ascending, last when descending; each part then ordered on its own.
    auto mid = descending ? std::partition(rows.begin(), rows.end(), nonNull)
                          : std::partition(rows.begin(), rows.end(), [&](std::uint32_t s) { return !nonNull(s); });
    auto textFirst = descending ? rows.begin() : mid;
    auto textLast = descending ? mid : rows.end();
    auto nullFirst = descending ? mid : rows.begin();
    auto nullLast = descending ? rows.end() : mid;
    std::sort(nullFirst, nullLast);
    const Column& c = m_columns[std::size_t(col)];
    auto view = [&c](std::uint32_t s) {
        return textView(static_cast<const TextCell*>(c.chunks[s >> kChunkShift])[s & (kChunk - 1)]);
    };
    std::sort(textFirst, textLast, [&](std::uint32_t a, std::uint32_t b) {
        int r = compareUtf8(view(a), view(b), caseInsensitive);
        if (descending)
            r = -r;
        return r != 0 ? r < 0 : a < b;
    });
}

int RecordStore::compare(std::uint32_t a, std::uint32_t b, int col, bool caseInsensitive) const
{
    const bool na = isNull(a, col), nb = isNull(b, col);
    if (na || nb)
        return na == nb ? 0 : (na ? -1 : 1);
    switch (kind(col)) {
    case Kind::Int32: return cmp3(int32At(a, col), int32At(b, col));
    case Kind::Int64: return cmp3(int64At(a, col), int64At(b, col));
    case Kind::Double: return cmp3(doubleAt(a, col), doubleAt(b, col));
    case Kind::Bool: return cmp3(int(boolAt(a, col)), int(boolAt(b, col)));
    case Kind::Text: return compareUtf8(textBytes(a, col), textBytes(b, col), caseInsensitive);
    case Kind::Blob: {
        const QByteArray& x = cellRef<QByteArray>(a, col);
        const QByteArray& y = cellRef<QByteArray>(b, col);
        return compareUtf8(std::string_view(x.constData(), std::size_t(x.size())),
                           std::string_view(y.constData(), std::size_t(y.size())), false);
    }
    }
    return 0;
}

int RecordStore::compareToValue(std::uint32_t slot, int col, const QVariant& v, bool caseInsensitive) const
{
    const bool na = isNull(slot, col), nb = !v.isValid() || v.isNull();
    if (na || nb)
        return na == nb ? 0 : (na ? -1 : 1);
    switch (kind(col)) {
    case Kind::Int32: return cmp3(qint64(int32At(slot, col)), v.toLongLong());
    case Kind::Int64: return cmp3(qint64(int64At(slot, col)), v.toLongLong());
    case Kind::Double: return cmp3(doubleAt(slot, col), v.toDouble());
    case Kind::Bool: return cmp3(int(boolAt(slot, col)), int(v.toBool()));
    case Kind::Text: {
        const QByteArray u = v.toString().toUtf8();
        return compareUtf8(textBytes(slot, col), std::string_view(u.constData(), std::size_t(u.size())),
                           caseInsensitive);
    }
    case Kind::Blob: {
        const QByteArray& x = cellRef<QByteArray>(slot, col);
        const QByteArray y = v.toByteArray();
        return compareUtf8(std::string_view(x.constData(), std::size_t(x.size())),
                           std::string_view(y.constData(), std::size_t(y.size())), false);
    }
    }
    return 0;
}

std::size_t RecordStore::memoryUsed() const
{
    std::size_t total = m_alive.capacity() * sizeof(std::uint64_t);
    for (const Column& c : m_columns) {
        total += c.nulls.capacity() * sizeof(std::uint64_t);
        total += c.chunks.size() * kChunk * cellSize(c.kind);
        if (c.kind == Kind::Text || c.kind == Kind::Blob) {
            for (std::uint32_t s = 0; s < m_slots; ++s) {
                if (c.kind == Kind::Text) {
                    const TextCell& t = static_cast<const TextCell*>(c.chunks[s >> kChunkShift])[s & (kChunk - 1)];
                    if (t.heap.tag == kHeapTag)
                        total += t.heap.len;
                } else {
                    total += std::size_t(static_cast<const QByteArray*>(c.chunks[s >> kChunkShift])[s & (kChunk - 1)].size());
                }
            }
        }
    }
    return total;
}

} // namespace qx
