#include "usystem/vcl/printgrid/PrintGridJob.h"

#include "platform/report/QRExport.h"
#include "usystem/vcl/printgrid/uQxPrintGrid.h"
#include "usystem/vcl/report/uQxAsciiExport.h"

#include <QRegularExpression>

QxPrintGridJob::QxPrintGridJob() : m_printer(std::make_unique<TQxPrintGrid>()) {}

QxPrintGridJob::~QxPrintGridJob() = default;

void QxPrintGridJob::SetPageTitle1(const QString& Value)
{
    m_printer->SetPageTitle1(Value);
}

void QxPrintGridJob::SetPageTitle2(const QString& Value)
{
    m_printer->SetPageTitle2(Value);
}

void QxPrintGridJob::SetPageFootExpr(const QString& Value)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = Value.split(lineBreak);
    // A break at the end closes the last line; it does not open another.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    m_printer->SetPageFootExpr(lines);
}

void QxPrintGridJob::SetDBGrid(TQxDBGrid* Grid)
{
    m_printer->SetDBGrid(Grid);
}

void QxPrintGridJob::Print(bool Preview)
{
    m_printer->Print(Preview);
}

void registerGridPrinter()
{
    setGridPrintJobFactory([] { return std::make_unique<QxPrintGridJob>(); });
    QRExportFilterLibrary().AddFilter<TsQRAsciiExportFilter>();
}
