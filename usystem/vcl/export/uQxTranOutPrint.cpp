// PrintDBGrid: the one-call print or preview of a grid through the grid printer.
#include "usystem/vcl/export/uQxTranOut.h"

#include "platform/env/MissingBinding.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

namespace {

QxGridPrintJobFactory& factorySlot()
{
    static QxGridPrintJobFactory factory;
    return factory;
}

} // namespace

const QxGridPrintJobFactory& gridPrintJobFactory()
{
    return factorySlot();
}

void setGridPrintJobFactory(QxGridPrintJobFactory factory)
{
    factorySlot() = std::move(factory);
}

void PrintDBGrid(TQxDBGrid* Grid, const QString& Title1, const QString& Title2,
                 const QString& PageFootExpr, bool Preview)
{
    const QxGridPrintJobFactory& factory = gridPrintJobFactory();
    if (!factory) {
        qx::reportMissingBinding(Grid, QStringLiteral("GridPrintJobFactory"));
        return;
    }
    // The printer goes when this scope ends, also when printing raises.
    const std::unique_ptr<QxGridPrintJob> printer = factory();
    if (!printer) {
        qx::reportMissingBinding(Grid, QStringLiteral("GridPrintJobFactory"));
        return;
    }
    printer->SetPageTitle1(Title1);
    printer->SetPageTitle2(Title2);
    printer->SetPageFootExpr(PageFootExpr);
    printer->SetDBGrid(Grid);
    printer->Print(Preview);
}
