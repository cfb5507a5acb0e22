// The head and foot lines of the grid printer, and its head and foot panels as printables or
// as text lines. Temporary definitions in the first commit of the area.
#include "usystem/vcl/printgrid/uQxPrintGridBands.h"

#include "usystem/vcl/printgrid/uQxPrintGrid.h"

#include <stdexcept>

void SplitAlignedLine(const QString&) { throw std::runtime_error("not built"); }
int MeasureTextHeight(const QString&, const QFont&) { throw std::runtime_error("not built"); }
int MeasureTextWidth(const QString&, const QFont&) { throw std::runtime_error("not built"); }
void TPrintCustomGrid::BuildPageHeader() { throw std::runtime_error("not built"); }
void TPrintCustomGrid::BuildPageFooter() { throw std::runtime_error("not built"); }
void TPrintCustomGrid::PanelToBand(QWidget*, int, TQRCustomBand*, int) { throw std::runtime_error("not built"); }
void TPrintCustomGrid::PanelToText(QWidget*, int, QStringList&, int) { throw std::runtime_error("not built"); }
void TPrintCustomGrid::BuildTitleBand(TQRCustomBand*) { throw std::runtime_error("not built"); }
void TPrintCustomGrid::BuildGridFooterBand(TQRCustomBand*) { throw std::runtime_error("not built"); }
void TPrintCustomGrid::GridHeadPanelText() { throw std::runtime_error("not built"); }
void TPrintCustomGrid::GridFootPanelText() { throw std::runtime_error("not built"); }
int TPrintCustomGrid::PlaceAlignedLine(const QString&, TQRCustomBand*, int, const QFont&, bool, int) { throw std::runtime_error("not built"); }
void TPrintCustomGrid::PlaceExpressionLines(const QStringList&, const QFont&, TQRCustomBand*) { throw std::runtime_error("not built"); }
