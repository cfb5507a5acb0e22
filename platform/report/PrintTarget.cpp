#include "platform/report/PrintTarget.h"

#include "platform/env/DialogService.h"
#include "platform/report/QRPrinter.h"
#include "platform/rtl/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cstdio>

#include <unistd.h>

namespace qx::report {
namespace {

std::unique_ptr<QPrinter> installedPrinter(int printerIndex)
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printerIndex >= 0 && printerIndex < printers.size())
        return std::make_unique<QPrinter>(printers.at(printerIndex), QPrinter::HighResolution);
    return std::make_unique<QPrinter>(QPrinter::HighResolution);
}

PrinterMaker& currentMaker()
{
    static PrinterMaker maker = installedPrinter;
    return maker;
}

} // namespace

std::unique_ptr<QPrinter> makePrinter(int printerIndex)
{
    return currentMaker()(printerIndex);
}

ScopedPrinterMaker::ScopedPrinterMaker(PrinterMaker maker) : m_previous(currentMaker())
{
    currentMaker() = std::move(maker);
}

ScopedPrinterMaker::~ScopedPrinterMaker()
{
    currentMaker() = std::move(m_previous);
}

std::unique_ptr<QPrinter> makePdfPrinter(const QString& fileName)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(fileName);
    return printer;
}

ScopedPdfPrinting::ScopedPdfPrinting(const QString& fileName)
    : ScopedPrinterMaker([fileName](int) { return makePdfPrinter(fileName); })
{}

bool pdfFileComplete(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    // The writer ends the file with "startxref", the table's offset and "%%EOF".
    const qint64 tailSize = std::min<qint64>(size, 64);
    if (tailSize < 16 || !file.seek(size - tailSize))
        return false;
    const QByteArray tail = file.read(tailSize);
    const qsizetype at = tail.lastIndexOf("startxref");
    if (at < 0)
        return false;
    const QList<QByteArray> words = tail.mid(at + 9).simplified().split(' ');
    if (words.size() != 2 || words.at(1) != "%%EOF")
        return false;
    bool number = false;
    const qint64 table = words.at(0).toLongLong(&number);
    if (!number || table <= 0 || table >= size - tailSize + at || !file.seek(table) || file.read(4) != "xref")
        return false;
    return ::fsync(file.handle()) == 0;
}

void printToPdf(const TQRPrinter& printer, const QString& fileName, int fromPage, int toPage)
{
    const QFileInfo target(fileName);
    QTemporaryFile temp(target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX")));
    if (!temp.open())
        throw EInOutError(QStringLiteral("无法生成文件：%1").arg(fileName));
    const QString tempName = temp.fileName();
    temp.close();
    auto pdf = makePdfPrinter(tempName);
    try {
        printer.Print(*pdf, fromPage, toPage, 1);
    } catch (const Exception&) {
        throw EInOutError(QStringLiteral("无法生成文件：%1").arg(fileName));
    }
    pdf.reset();
    if (!pdfFileComplete(tempName)
        || std::rename(QFile::encodeName(tempName).constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
        throw EInOutError(QStringLiteral("无法生成文件：%1").arg(fileName));
    temp.setAutoRemove(false);
}

bool choosePrinter(QPrinter& printer, int pageCount, PrintChoice& choice, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, std::max(1, pageCount));
    dialog.setFromTo(1, std::max(1, pageCount));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (DialogService::instance().execDialog(dialog) != QDialog::Accepted)
        return false;
    choice = PrintChoice();
    if (printer.printRange() == QPrinter::PageRange) {
        choice.fromPage = std::max(1, printer.fromPage());
        choice.toPage = printer.toPage();
    }
    choice.copies = std::max(1, printer.copyCount());
    return true;
}

} // namespace qx::report
