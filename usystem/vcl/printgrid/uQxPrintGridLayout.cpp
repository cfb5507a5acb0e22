// The report of a grid print: its bands, span parts, columns and band handlers.
// Temporary definitions until the layout lands, so that the library links.
#include "usystem/vcl/printgrid/uQxPrintGrid.h"

#include <stdexcept>

void TPrintCustomGrid::CreateReport() { throw std::runtime_error("not built"); }
bool TQxPrintGrid::BuildReport() { throw std::runtime_error("not built"); }
bool TQxPrintGrid::ParseLayoutLine(int) { throw std::runtime_error("not built"); }
void TQxPrintGrid::AddColumn(int, int) { throw std::runtime_error("not built"); }
void TQxPrintGrid::NameComponents() { throw std::runtime_error("not built"); }
void TQxPrintGrid::OnReportBeforePrint(TQuickRep*, bool&) { throw std::runtime_error("not built"); }
void TQxPrintGrid::OnPageHeaderBeforePrint(TQRCustomBand*, bool&) { throw std::runtime_error("not built"); }
void TQxPrintGrid::OnSpanTitleBeforePrint(TQRCustomBand*, bool&) { throw std::runtime_error("not built"); }
void TQxPrintGrid::OnSpanHeaderBeforePrint(TQRCustomBand*, bool&) { throw std::runtime_error("not built"); }
void TQxPrintGrid::OnDataRowAfterPrint(TQRCustomBand*, bool) { throw std::runtime_error("not built"); }
void TQxPrintGrid::OnDataFooterBeforePrint(TQRCustomBand*, bool&) { throw std::runtime_error("not built"); }
void TQxPrintGrid::OnFillerNeedData(QObject*, bool&) { throw std::runtime_error("not built"); }
void TQxPrintGrid::OnFillerBeforePrint(TQRCustomBand*, bool&) { throw std::runtime_error("not built"); }
void TQxPrintGrid::OnFillerAfterPrint(TQRCustomBand*, bool) { throw std::runtime_error("not built"); }
void TQxPrintGrid::OnPageSumBeforePrint(TQRCustomBand*, bool&) { throw std::runtime_error("not built"); }
void TQxPrintGrid::OnPageSumAfterPrint(TQRCustomBand*, bool) { throw std::runtime_error("not built"); }
void TQxPrintGrid::OnMasterBeforePrint(TQRCustomBand*, bool&) { throw std::runtime_error("not built"); }
