#include "usystem/vcl/preview/PrintDestination.h"

#include "platform/env/DialogService.h"
#include "platform/report/PrintTarget.h"
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/preview/PrinterList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryFile>

#include <cstdio>

namespace qx {
namespace {

EInOutError pdfError(const QString& fileName)
{
    return EInOutError(QStringLiteral("无法生成文件：%1").arg(fileName));
}

} // namespace

PrintDestination::~PrintDestination()
{
    // The writer lets go of the file before a temporary one left over is removed.
    m_printer.reset();
    if (!m_tempName.isEmpty())
        QFile::remove(m_tempName);
}

std::unique_ptr<PrintDestination> PrintDestination::open(int printerIndex, QWidget* parent)
{
    const QList<PrinterEntry> printers = listPrinters();
    const bool pdf = printerIndex >= 0 && printerIndex < printers.size() && printers.at(printerIndex).pdfFile;
    std::unique_ptr<PrintDestination> out(new PrintDestination);
    if (!pdf) {
        out->m_printer = qx::report::makePrinter(printerIndex);
        return out;
    }

    FileRequest request;
    request.caption = QStringLiteral("打印到文件");
    request.filter = QStringLiteral("PDF 文件 (*.pdf)");
    request.defaultSuffix = QStringLiteral("pdf");
    QString fileName = DialogService::instance().saveFileName(parent, request);
    if (fileName.isEmpty())
        return nullptr;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".pdf");

    const QFileInfo target(fileName);
    QTemporaryFile temp(target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX")));
    temp.setAutoRemove(false);
    if (!temp.open())
        throw pdfError(fileName);
    out->m_tempName = temp.fileName();
    temp.close();
    out->m_fileName = target.absoluteFilePath();
    out->m_printer = qx::report::makePdfPrinter(out->m_tempName);
    return out;
}

void PrintDestination::finish()
{
    if (m_tempName.isEmpty())
        return;
    // The writer completes the file when it goes; a disk that filled up meanwhile leaves it
    // incomplete, and the file there before stays.
    m_printer.reset();
    if (!qx::report::pdfFileComplete(m_tempName)
        || std::rename(QFile::encodeName(m_tempName).constData(), QFile::encodeName(m_fileName).constData()) != 0)
        throw pdfError(m_fileName);
    m_tempName.clear();
}

} // namespace qx
