// The update and layout locks of the library's data-aware grids. An update lock only batches
// painting decisions; a layout lock also holds the grid's column (or row) collection in update
// mode, and its outermost release runs the grid's layout pass once. A layout that cannot run
// now (the dataset's controls are disabled) is deferred: the grid posts itself the library's
// deferred-layout message and lays itself out when it arrives.
#pragma once

#include <functional>

class TQxCustomGrid;

namespace qx {

class GridColumns;

class GridLayoutLocks
{
public:
    // LayoutPass runs the grid's layout; Columns is held in update mode while a layout lock
    // is taken (null: none).
    GridLayoutLocks(TQxCustomGrid* Grid, std::function<void()> LayoutPass);
    GridLayoutLocks(const GridLayoutLocks&) = delete;
    GridLayoutLocks& operator=(const GridLayoutLocks&) = delete;

    void SetColumns(GridColumns* Columns) { FColumns = Columns; }

    int UpdateLock() const { return FUpdateLock; }
    int LayoutLock() const { return FLayoutLock; }

    void BeginUpdate();
    void EndUpdate();
    void BeginLayout();
    // The outermost release runs the layout pass (the locks are released also when it fails);
    // an inner one only counts down.
    void EndLayout();
    void CancelLayout();
    // Takes a layout lock when no lock of either kind is held.
    bool AcquireLayoutLock();
    // The layout pass now, when no lock is held.
    void LayoutChanged();
    // Posts the deferred-layout message and releases the layout lock taken by the caller.
    void DeferLayout();
    // The posted message arrived: lay out now, or post again while a lock is still held.
    void DeferredLayout();

private:
    void columnsBeginUpdate();
    void columnsEndUpdate();

    TQxCustomGrid* FGrid = nullptr;
    std::function<void()> FLayoutPass;
    GridColumns* FColumns = nullptr;
    int FUpdateLock = 0;
    int FLayoutLock = 0;
};

// Holds a grid's update lock for a scope, released on every path.
template <class G>
class UpdateLockGuard
{
public:
    explicit UpdateLockGuard(G* grid)
        : FGrid(grid)
    {
        FGrid->BeginUpdate();
    }
    ~UpdateLockGuard() { FGrid->EndUpdate(); }
    UpdateLockGuard(const UpdateLockGuard&) = delete;
    UpdateLockGuard& operator=(const UpdateLockGuard&) = delete;

private:
    G* FGrid;
};

} // namespace qx
