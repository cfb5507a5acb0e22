// The grid printer behind the export unit's one-call print (PrintDBGrid, and through it the
// data grid's PrintGrid), and the grid printer's start-up registration.
#pragma once

#include "usystem/vcl/export/uQxTranOut.h"

#include <memory>

class TQxPrintGrid;

// One print of a grid through a TQxPrintGrid of its own.
class QxPrintGridJob : public QxGridPrintJob
{
public:
    QxPrintGridJob();
    ~QxPrintGridJob() override;

    void SetPageTitle1(const QString& Value) override;
    void SetPageTitle2(const QString& Value) override;
    // The lines of Value (CR, LF or CR LF end a line) become the page-foot lines.
    void SetPageFootExpr(const QString& Value) override;
    void SetDBGrid(TQxDBGrid* Grid) override;
    void Print(bool Preview) override;

    TQxPrintGrid& Printer() { return *m_printer; }

private:
    std::unique_ptr<TQxPrintGrid> m_printer;
};

// Called once at start-up (the program and the test main): installs QxPrintGridJob as the
// export unit's grid printer, and lists the boxed text filter with the report engine so that
// the preview window's save offers it.
void registerGridPrinter();
