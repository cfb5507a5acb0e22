// The library's transactions, on the library data module's business connection.
//
// StartBusinessTrans never commits a transaction that is already open: an outer unit of work
// must stay whole until its own commit, and its rollback must undo all of it. A start inside an
// open transaction nests instead (a savepoint of the connection), which the matching
// CommitBusinessTrans releases and RollbackBusinessTrans rolls back.
#pragma once

// Begins a transaction, nested when one is open. Raises EDatabaseError without the module.
void StartBusinessTrans();
// Commits the innermost open transaction. Raises EDatabaseError without the module or without
// an open transaction.
void CommitBusinessTrans();
// Rolls back the innermost open transaction; nothing when none is open or there is no module
// (it runs on error paths, where a second error would hide the first).
void RollbackBusinessTrans();
