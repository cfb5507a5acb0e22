#include "usystem/vcl/griddlg/GridDialogs.h"

#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/export/uQxTranOut.h"
#include "usystem/vcl/griddlg/uQxDBGDlg.h"
#include "usystem/vcl/griddlg/uQxdbgridChart.h"

void InstallGridDialogs()
{
    qx::GridDialogBinding binding;
    binding.showGridSettingsDialog = ShowGridSettingsDialog;
    binding.showExportDialog = ShowExportDialog;
    binding.showGridChart = ShowGridChart;
    qx::setGridDialogBinding(std::move(binding));
}
