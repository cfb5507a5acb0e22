#include "usystem/vcl/printgrid/uQxPrintGridState.h"

QxGridPrintState& gridPrintState()
{
    static QxGridPrintState state;
    return state;
}
