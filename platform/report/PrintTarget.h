// Where printing goes: the QPrinter a report prints on, the print dialog, and PDF output.
#pragma once

#include <QString>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;
class TQRPrinter;

namespace qx::report {

// Makes the printer for an index into the installed printers (-1: the default printer).
using PrinterMaker = std::function<std::unique_ptr<QPrinter>(int printerIndex)>;
std::unique_ptr<QPrinter> makePrinter(int printerIndex);

// Replaces the printer maker while it lives (tests print to PDF through it).
class ScopedPrinterMaker
{
public:
    explicit ScopedPrinterMaker(PrinterMaker maker);
    ~ScopedPrinterMaker();
    ScopedPrinterMaker(const ScopedPrinterMaker&) = delete;
    ScopedPrinterMaker& operator=(const ScopedPrinterMaker&) = delete;

private:
    PrinterMaker m_previous;
};

// A printer that writes a PDF file (high resolution).
std::unique_ptr<QPrinter> makePdfPrinter(const QString& fileName);
// Every report printed while it lives goes to this PDF file instead of a printer.
class ScopedPdfPrinting : public ScopedPrinterMaker
{
public:
    explicit ScopedPdfPrinting(const QString& fileName);
};

// True when the file holds a whole PDF as the PDF writer finished it, flushed to the disk. The
// writer does not report a write that failed (a full disk), so the file is checked instead: its
// trailer is at the end and names where the cross-reference table starts, and the table is
// there. A file cut short, or missing bytes in the middle, fails the check.
bool pdfFileComplete(const QString& fileName);

// Writes pages fromPage..toPage (toPage 0: the last) of a printer object to a PDF file: a
// temporary file beside it, renamed over it when complete. Raises EInOutError.
void printToPdf(const TQRPrinter& printer, const QString& fileName, int fromPage = 1, int toPage = 0);

// What the user chose in the print dialog.
struct PrintChoice
{
    int fromPage = 1;
    int toPage = 0; // 0: the last page
    int copies = 1;
};
// The print dialog for printer, through the dialog service; false when cancelled.
bool choosePrinter(QPrinter& printer, int pageCount, PrintChoice& choice, QWidget* parent = nullptr);

} // namespace qx::report
