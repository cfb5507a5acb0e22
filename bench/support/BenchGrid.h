// A data grid over a dataset, shown on the benchmarks' screen, for the measures that drive a
// real grid. Header only: each benchmark links the grid's libraries itself.
#pragma once

#include <QApplication>
#include <QString>
#include <QTest>

#include "bench/support/BenchReport.h"
#include "platform/db/DataSource.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

namespace qxbench {

struct ShownGrid
{
    TDataSource source;
    TQxDBGrid grid;

    explicit ShownGrid(TDataSet* data, const QString& title = QString())
    {
        source.SetDataSet(data);
        grid.SetDataSource(&source);
        if (!title.isEmpty())
            grid.setWindowTitle(title);
        grid.resize(800, 600);
        grid.show();
        if (!QTest::qWaitForWindowExposed(&grid))
            qFatal("the grid was not exposed");
    }
};

} // namespace qxbench
