#include "platform/db/sql/SequentialVfs.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

namespace qx {

namespace {

// SQLite's own Unix layer takes reads and writes below 128 KB only.
constexpr int kBlockSize = 64 * 1024;

enum class BlockState { Empty, Reading, Writing };

// The file as SQLite sees it; the file of the underlying layer lies right behind it.
struct SequentialFile
{
    sqlite3_file base;
    sqlite3_file* real;
    char* block;             // null for files that pass straight through (journals...)
    BlockState state;
    sqlite3_int64 start;     // file offset of block[0]
    int length;              // bytes of block in use
    int deferredError;       // a gathered write that failed where no caller could be told
};

SequentialFile* fileOf(sqlite3_file* file)
{
    return reinterpret_cast<SequentialFile*>(file);
}

// Writes the gathered bytes; the block is empty afterwards either way.
int flushBlock(SequentialFile* f)
{
    if (f->state != BlockState::Writing) {
        f->state = BlockState::Empty;
        return SQLITE_OK;
    }
    const int rc = f->real->pMethods->xWrite(f->real, f->block, f->length, f->start);
    f->state = BlockState::Empty;
    f->length = 0;
    if (rc != SQLITE_OK && f->deferredError == SQLITE_OK)
        f->deferredError = rc;
    return rc;
}

// Flushes and returns a failure of this flush or of an earlier one that could not be reported.
int settle(SequentialFile* f)
{
    flushBlock(f);
    const int rc = f->deferredError;
    f->deferredError = SQLITE_OK;
    return rc;
}

int seqClose(sqlite3_file* file)
{
    SequentialFile* f = fileOf(file);
    const int flushed = f->block ? settle(f) : SQLITE_OK;
    const int rc = f->real->pMethods ? f->real->pMethods->xClose(f->real) : SQLITE_OK;
    sqlite3_free(f->block);
    f->block = nullptr;
    return flushed != SQLITE_OK ? flushed : rc;
}

int seqRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset)
{
    SequentialFile* f = fileOf(file);
    if (!f->block)
        return f->real->pMethods->xRead(f->real, buffer, amount, offset);
    if (f->state == BlockState::Writing) {
        if (const int rc = settle(f); rc != SQLITE_OK)
            return rc;
    }
    if (f->state == BlockState::Reading && offset >= f->start
        && offset + amount <= f->start + f->length) {
        std::memcpy(buffer, f->block + (offset - f->start), size_t(amount));
        return SQLITE_OK;
    }
    f->state = BlockState::Empty;
    sqlite3_int64 size = 0;
    if (amount > kBlockSize / 2 || f->real->pMethods->xFileSize(f->real, &size) != SQLITE_OK
        || offset + amount > size)
        return f->real->pMethods->xRead(f->real, buffer, amount, offset);
    const int length = int(std::min<sqlite3_int64>(kBlockSize, size - offset));
    if (f->real->pMethods->xRead(f->real, f->block, length, offset) != SQLITE_OK)
        return f->real->pMethods->xRead(f->real, buffer, amount, offset);
    f->state = BlockState::Reading;
    f->start = offset;
    f->length = length;
    std::memcpy(buffer, f->block, size_t(amount));
    return SQLITE_OK;
}

int seqWrite(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset)
{
    SequentialFile* f = fileOf(file);
    if (!f->block)
        return f->real->pMethods->xWrite(f->real, buffer, amount, offset);
    if (f->state == BlockState::Reading)
        f->state = BlockState::Empty;
    const bool follows = f->state == BlockState::Writing && offset == f->start + f->length
                         && f->length + amount <= kBlockSize;
    if (!follows) {
        if (const int rc = settle(f); rc != SQLITE_OK)
            return rc;
        if (amount > kBlockSize / 2)
            return f->real->pMethods->xWrite(f->real, buffer, amount, offset);
        f->state = BlockState::Writing;
        f->start = offset;
        f->length = 0;
    }
    std::memcpy(f->block + f->length, buffer, size_t(amount));
    f->length += amount;
    return SQLITE_OK;
}

int seqTruncate(sqlite3_file* file, sqlite3_int64 size)
{
    SequentialFile* f = fileOf(file);
    if (f->block) {
        if (const int rc = settle(f); rc != SQLITE_OK)
            return rc;
    }
    return f->real->pMethods->xTruncate(f->real, size);
}

int seqSync(sqlite3_file* file, int flags)
{
    SequentialFile* f = fileOf(file);
    if (f->block) {
        if (const int rc = settle(f); rc != SQLITE_OK)
            return rc;
    }
    return f->real->pMethods->xSync(f->real, flags);
}

int seqFileSize(sqlite3_file* file, sqlite3_int64* size)
{
    SequentialFile* f = fileOf(file);
    if (f->block && f->state == BlockState::Writing) {
        if (const int rc = settle(f); rc != SQLITE_OK)
            return rc;
    }
    return f->real->pMethods->xFileSize(f->real, size);
}

int seqLock(sqlite3_file* file, int level)
{
    SequentialFile* f = fileOf(file);
    // Another connection may have written while this one held no lock.
    if (f->block && f->state == BlockState::Reading)
        f->state = BlockState::Empty;
    return f->real->pMethods->xLock(f->real, level);
}

int seqUnlock(sqlite3_file* file, int level)
{
    SequentialFile* f = fileOf(file);
    if (f->block) {
        // A failure here is kept for the next sync or the close.
        flushBlock(f);
        f->state = BlockState::Empty;
    }
    return f->real->pMethods->xUnlock(f->real, level);
}

int seqCheckReservedLock(sqlite3_file* file, int* out)
{
    SequentialFile* f = fileOf(file);
    return f->real->pMethods->xCheckReservedLock(f->real, out);
}

int seqFileControl(sqlite3_file* file, int op, void* arg)
{
    SequentialFile* f = fileOf(file);
    return f->real->pMethods->xFileControl(f->real, op, arg);
}

int seqSectorSize(sqlite3_file* file)
{
    SequentialFile* f = fileOf(file);
    return f->real->pMethods->xSectorSize(f->real);
}

int seqDeviceCharacteristics(sqlite3_file* file)
{
    SequentialFile* f = fileOf(file);
    return f->real->pMethods->xDeviceCharacteristics(f->real);
}

// No memory map: mapped pages would bypass the gathered writes. The shared-memory calls only
// serve WAL databases, which this layer is not used for, and pass through.
int seqShmMap(sqlite3_file* file, int page, int size, int extend, void volatile** out)
{
    SequentialFile* f = fileOf(file);
    return f->real->pMethods->xShmMap(f->real, page, size, extend, out);
}

int seqShmLock(sqlite3_file* file, int offset, int n, int flags)
{
    SequentialFile* f = fileOf(file);
    return f->real->pMethods->xShmLock(f->real, offset, n, flags);
}

void seqShmBarrier(sqlite3_file* file)
{
    SequentialFile* f = fileOf(file);
    f->real->pMethods->xShmBarrier(f->real);
}

int seqShmUnmap(sqlite3_file* file, int deleteFlag)
{
    SequentialFile* f = fileOf(file);
    return f->real->pMethods->xShmUnmap(f->real, deleteFlag);
}

int seqFetch(sqlite3_file*, sqlite3_int64, int, void** out)
{
    *out = nullptr;
    return SQLITE_OK;
}

int seqUnfetch(sqlite3_file*, sqlite3_int64, void*)
{
    return SQLITE_OK;
}

const sqlite3_io_methods kMethods = {
    3,
    seqClose,
    seqRead,
    seqWrite,
    seqTruncate,
    seqSync,
    seqFileSize,
    seqLock,
    seqUnlock,
    seqCheckReservedLock,
    seqFileControl,
    seqSectorSize,
    seqDeviceCharacteristics,
    seqShmMap,
    seqShmLock,
    seqShmBarrier,
    seqShmUnmap,
    seqFetch,
    seqUnfetch,
};

int seqOpen(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* real = static_cast<sqlite3_vfs*>(vfs->pAppData);
    SequentialFile* f = fileOf(file);
    std::memset(f, 0, sizeof(SequentialFile));
    f->real = reinterpret_cast<sqlite3_file*>(f + 1);
    const int rc = real->xOpen(real, name, f->real, flags, outFlags);
    if (rc != SQLITE_OK) {
        // SQLite calls no method of a file whose open failed, but the close of the
        // underlying file must run if it set its methods.
        if (f->real->pMethods)
            f->real->pMethods->xClose(f->real);
        f->base.pMethods = nullptr;
        return rc;
    }
    if (flags & SQLITE_OPEN_MAIN_DB) {
        f->block = static_cast<char*>(sqlite3_malloc(kBlockSize));
        if (!f->block) {
            f->real->pMethods->xClose(f->real);
            f->base.pMethods = nullptr;
            return SQLITE_NOMEM;
        }
    }
    f->base.pMethods = &kMethods;
    return SQLITE_OK;
}

sqlite3_vfs* registerLayer()
{
    static sqlite3_vfs layer;
    sqlite3_vfs* real = sqlite3_vfs_find(nullptr);
    if (!real)
        return nullptr;
    layer = *real;
    layer.pNext = nullptr;
    layer.szOsFile = int(sizeof(SequentialFile)) + real->szOsFile;
    layer.zName = "qx-sequential";
    layer.pAppData = real;
    layer.xOpen = seqOpen;
    if (sqlite3_vfs_register(&layer, 0) != SQLITE_OK)
        return nullptr;
    return &layer;
}

} // namespace

const char* sequentialVfsName()
{
    static sqlite3_vfs* layer = registerLayer();
    // Without the layer the default one serves (the name then finds nothing and SQLite says so).
    return layer ? layer->zName : "qx-sequential";
}

} // namespace qx
