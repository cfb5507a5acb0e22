// An SQLite file layer for whole-database copies: a database file opened through it reads ahead
// and gathers its writes in blocks of 64 KB, so that a copy page by page costs a few large reads
// and writes instead of one system call per page.
//
// The read-ahead block is dropped whenever the file's lock changes or the file is written, so a
// reader never sees bytes older than its own lock; the gathered writes reach the file, checked,
// before the file is synced, read, sized, truncated, unlocked or closed. A handle on this layer
// needs synchronous=NORMAL or FULL, so that a commit's sync reports a write that failed.
#pragma once

namespace qx {

// The name to pass to sqlite3_open_v2; the layer is registered on first use (not as the default).
const char* sequentialVfsName();

} // namespace qx
