#include "usystem/vcl/preview/PrinterList.h"

#include <QPrinterInfo>

namespace qx {
namespace {

QList<PrinterEntry> installedPrinters()
{
    QList<PrinterEntry> out;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) {
        PrinterEntry entry;
        entry.name = info.printerName();
        entry.makeAndModel = info.makeAndModel();
        entry.location = info.location();
        entry.state = info.state();
        entry.isDefault = info.isDefault();
        out << entry;
    }
    return out;
}

PrinterSource& currentSource()
{
    static PrinterSource source = installedPrinters;
    return source;
}

} // namespace

PrinterEntry pdfFileTarget()
{
    PrinterEntry entry;
    entry.name = QStringLiteral("PDF 文件");
    entry.makeAndModel = QStringLiteral("PDF");
    entry.location = QStringLiteral("文件");
    entry.isDefault = true;
    entry.pdfFile = true;
    return entry;
}

QList<PrinterEntry> listPrinters()
{
    QList<PrinterEntry> printers = currentSource()();
    if (printers.isEmpty())
        printers << pdfFileTarget();
    return printers;
}

ScopedPrinterSource::ScopedPrinterSource(PrinterSource source) : m_previous(currentSource())
{
    currentSource() = std::move(source);
}

ScopedPrinterSource::~ScopedPrinterSource()
{
    currentSource() = std::move(m_previous);
}

PrinterList::PrinterList() : m_printers(listPrinters())
{
    SetPrinterIndex(-1);
}

QStringList PrinterList::Names() const
{
    QStringList names;
    for (const PrinterEntry& entry : m_printers)
        names << entry.name;
    return names;
}

void PrinterList::SetPrinterIndex(int index)
{
    if (index == -1) {
        m_index = m_printers.isEmpty() ? -1 : 0;
        for (qsizetype i = 0; i < m_printers.size(); ++i) {
            if (m_printers.at(i).isDefault) {
                m_index = int(i);
                break;
            }
        }
        return;
    }
    m_index = index >= 0 && index < m_printers.size() ? index : -2;
}

const PrinterEntry* PrinterList::Selected() const
{
    return m_index >= 0 && m_index < m_printers.size() ? &m_printers.at(m_index) : nullptr;
}

} // namespace qx
