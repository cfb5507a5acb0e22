#include "usystem/vcl/gridlink/QxGridLayoutLocks.h"

#include "usystem/vcl/gridlink/QxGridColumn.h"
#include "usystem/vcl/grids/uQxGrids.h"

#include <utility>

namespace qx {

GridLayoutLocks::GridLayoutLocks(TQxCustomGrid* Grid, std::function<void()> LayoutPass)
    : FGrid(Grid)
    , FLayoutPass(std::move(LayoutPass))
{}

void GridLayoutLocks::columnsBeginUpdate()
{
    if (FColumns)
        FColumns->BeginUpdate();
}

void GridLayoutLocks::columnsEndUpdate()
{
    if (FColumns)
        FColumns->EndUpdate();
}

void GridLayoutLocks::BeginUpdate()
{
    ++FUpdateLock;
}

void GridLayoutLocks::EndUpdate()
{
    if (FUpdateLock > 0)
        --FUpdateLock;
}

void GridLayoutLocks::BeginLayout()
{
    BeginUpdate();
    if (FLayoutLock == 0)
        columnsBeginUpdate();
    ++FLayoutLock;
}

void GridLayoutLocks::EndLayout()
{
    if (FLayoutLock != 1) {
        CancelLayout();
        return;
    }
    try {
        if (FLayoutPass)
            FLayoutPass();
    } catch (...) {
        FLayoutLock = 0;
        columnsEndUpdate();
        EndUpdate();
        throw;
    }
    FLayoutLock = 0;
    columnsEndUpdate();
    EndUpdate();
}

void GridLayoutLocks::CancelLayout()
{
    if (FLayoutLock <= 0)
        return;
    if (FLayoutLock == 1)
        columnsEndUpdate();
    --FLayoutLock;
    EndUpdate();
}

bool GridLayoutLocks::AcquireLayoutLock()
{
    const bool result = FUpdateLock == 0 && FLayoutLock == 0;
    if (result)
        BeginLayout();
    return result;
}

void GridLayoutLocks::LayoutChanged()
{
    if (AcquireLayoutLock())
        EndLayout();
}

void GridLayoutLocks::DeferLayout()
{
    FGrid->PostDeferredLayout();
    CancelLayout();
}

void GridLayoutLocks::DeferredLayout()
{
    if (AcquireLayoutLock())
        EndLayout();
    else
        FGrid->PostDeferredLayout();
}

} // namespace qx
