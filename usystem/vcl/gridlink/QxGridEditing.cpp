// The data-aware grids' shared moves and focus rules.
#include "usystem/vcl/gridlink/QxGridEditing.h"

#include "usystem/vcl/grids/uQxGrids.h"

namespace qx {

bool freshInsertAtEnd(const TDataSet* DataSet)
{
    return DataSet && DataSet->State() == dsInsert
           && DataSet->DisplayIndex() == DataSet->DisplayCount() - 1;
}

bool settleUntouchedInsert(TDataSet* DataSet, bool LinkModified, int Direction)
{
    if (!DataSet || DataSet->State() != dsInsert || DataSet->Modified() || LinkModified)
        return false;
    const bool atEnd = freshInsertAtEnd(DataSet);
    if (Direction > 0) {
        if (!atEnd)
            DataSet->Cancel();
        return true;
    }
    if (!atEnd)
        return false;
    DataSet->Cancel();
    return true;
}

bool acquireGridFocus(TQxCustomGrid* Grid, bool Enabled)
{
    if (!Enabled || Grid->focusPolicy() == Qt::NoFocus || !Grid->isEnabled() || !Grid->isVisible())
        return true;
    if (!Grid->IsActiveControl())
        Grid->setFocus(Qt::MouseFocusReason);
    return Grid->IsActiveControl();
}

} // namespace qx
