// Printing and previewing a grid, the page count, and the text and RTF exports.
// Temporary definitions until printing lands, so that the library links.
#include "usystem/vcl/printgrid/uQxPrintGrid.h"

#include <stdexcept>

void TQxPrintGrid::Print(bool) { throw std::runtime_error("not built"); }
void TQxPrintGrid::ExportText(const QString&) { throw std::runtime_error("not built"); }
void TQxPrintGrid::ExportRtf(const QString&) { throw std::runtime_error("not built"); }
bool TQxPrintGrid::NeedsPageCount() const { throw std::runtime_error("not built"); }
bool TQxPrintGrid::RefersToPageCount(const QString&) { throw std::runtime_error("not built"); }
int TQxPrintGrid::EstimateRowsPerPage() const { throw std::runtime_error("not built"); }
void TQxPrintGrid::BuildFontList() { throw std::runtime_error("not built"); }
