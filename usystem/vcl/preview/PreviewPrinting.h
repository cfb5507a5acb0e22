// The print of the report preview window, after its print dialog: all pages of a live report
// in one copy, or in copies the printer collates, go straight from the printer object to the
// printer; a range, the shown page, uncollated copies or the pages of a loaded file go
// through temporary page files (pages taken out, copies joined) and a fresh printer object.
// The temporary files are removed on every path.
#pragma once

class QWidget;
class TQRPrinter;

namespace qx::preview {

struct PrintRequest
{
    int printerIndex = -1; // into listPrinters()
    int fromPage = 0;      // 0 and 0: all pages; a range otherwise (from 1)
    int toPage = 0;
    int copies = 1;
    bool collate = true;
};

// Prints as above; the PDF file target asks for its file name through the dialog service
// (nothing is printed when none is given). Raises the engine's errors.
void printPages(TQRPrinter& printer, const PrintRequest& request, QWidget* parent);

} // namespace qx::preview
