// A memory table of parts with a data source, and a window holding a data grid over it.
#pragma once

#include <QImage>

#include "tests/support/DataGridWindow.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

using qx::test::makeParts;

// The data grid over makeParts(rows).
struct DBGridWindow : qx::test::DataGridWindow<TQxDBGrid>
{
    explicit DBGridWindow(int rows = 20, bool bind = true, QSize size = QSize(420, 260))
        : DataGridWindow(makeParts(rows), bind, size)
    {}
};

inline QImage shot(TQxCustomGrid* g)
{
    return g->viewport()->grab().toImage();
}

inline QColor pixelAt(const QImage& img, QPoint p)
{
    return QColor(img.pixel(p));
}
