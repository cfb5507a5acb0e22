// Where one print goes: the QPrinter of a printer of the list (PrinterList.h), made by the
// report engine's printer maker; or, for the PDF file target, a PDF writer on a temporary
// file beside the file the user names, put in its place only when the print completed, so
// an older file of that name stays whole when the print fails.
#pragma once

#include <QString>

#include <memory>

class QPrinter;
class QWidget;

namespace qx {

class PrintDestination
{
public:
    ~PrintDestination();
    PrintDestination(const PrintDestination&) = delete;
    PrintDestination& operator=(const PrintDestination&) = delete;

    // The destination for printer printerIndex of listPrinters(); for the PDF file target the
    // file name is asked through the dialog service first, and nullptr means it was not
    // given. Raises EInOutError when the PDF file cannot be started.
    static std::unique_ptr<PrintDestination> open(int printerIndex, QWidget* parent);

    QPrinter& printer() { return *m_printer; }
    // The PDF file named, empty for a printer.
    QString fileName() const { return m_fileName; }
    // Ends the print: the PDF file takes its place. Raises EInOutError. Without it the
    // temporary file is removed.
    void finish();

private:
    PrintDestination() = default;

    std::unique_ptr<QPrinter> m_printer;
    QString m_fileName;
    QString m_tempName;
};

} // namespace qx
