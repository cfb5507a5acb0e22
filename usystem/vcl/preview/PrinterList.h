// The printers a print can go to, as the print dialog lists them.
//
// The list is the printers Qt finds (QPrinterInfo), in Qt's order, which is the order of the
// report engine's printer indexes (TQRPrinter::PrinterIndex, qx::report::makePrinter). On a
// machine without any printer the list holds one entry instead: the PDF file target, whose
// file name is asked when the print starts (PrintDestination.h), so that printing still works,
// also headless.
#pragma once

#include <QList>
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <functional>

namespace qx {

struct PrinterEntry
{
    QString name;
    QString makeAndModel;
    QString location;
    QPrinter::PrinterState state = QPrinter::Idle;
    bool isDefault = false;
    // The PDF file target, listed when no printer is installed.
    bool pdfFile = false;

    // A printer in an error state cannot take a job.
    bool usable() const { return state != QPrinter::Error; }
};

// The PDF file target's entry.
PrinterEntry pdfFileTarget();

// The printers to choose from (never empty).
QList<PrinterEntry> listPrinters();

// Where listPrinters reads the installed printers; tests put a list of their own in.
using PrinterSource = std::function<QList<PrinterEntry>()>;
class ScopedPrinterSource
{
public:
    explicit ScopedPrinterSource(PrinterSource source);
    ~ScopedPrinterSource();
    ScopedPrinterSource(const ScopedPrinterSource&) = delete;
    ScopedPrinterSource& operator=(const ScopedPrinterSource&) = delete;

private:
    PrinterSource m_previous;
};

// The print dialog's own view of the printers: the list and the one selected in it.
class PrinterList
{
public:
    PrinterList();

    const QList<PrinterEntry>& Printers() const { return m_printers; }
    QStringList Names() const;
    // The selected printer's index; -1 selects the default printer (the first when none is
    // marked as the default), an index outside the list selects none.
    int PrinterIndex() const { return m_index; }
    void SetPrinterIndex(int index);
    // nullptr when none is selected.
    const PrinterEntry* Selected() const;

private:
    QList<PrinterEntry> m_printers;
    int m_index = -1;
};

} // namespace qx
