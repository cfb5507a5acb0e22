// A memory table of parts with a data source, and a window holding a record grid over it.
#pragma once

#include <QApplication>

#include <memory>
#include <vector>

#include "tests/support/DataGridWindow.h"
#include "usystem/vcl/recordgrid/uQxDBVGrid.h"

using V = TQxCustomDBVGrid;

using qx::test::makeParts;

// A record grid that notes which cells it paints.
class PaintCountingGrid : public TQxDBVGrid
{
public:
    using TQxDBVGrid::TQxDBVGrid;
    std::vector<std::pair<int, int>> painted;
    bool paintedCol(int col) const
    {
        for (const auto& c : painted)
            if (c.first == col)
                return true;
        return false;
    }
    using TQxCustomDBVGrid::ScrollBarAction;

protected:
    void DrawCell(int ACol, int ARow, const QRect& ARect, TKyGridDrawState AState) override
    {
        painted.emplace_back(ACol, ARow);
        TQxDBVGrid::DrawCell(ACol, ARow, ARect, AState);
    }
};

// The record grid over a table (makeParts(rows) by default).
struct VGridWindow : qx::test::DataGridWindow<PaintCountingGrid>
{
    explicit VGridWindow(int rows = 5, bool bind = true, QSize size = QSize(300, 200))
        : VGridWindow(makeParts(rows), bind, size)
    {}
    VGridWindow(std::unique_ptr<TQxMemTable> t, bool bind, QSize size = QSize(300, 200))
        : DataGridWindow(std::move(t), bind, size)
    {}

    // The field row of a grid row, and the title of each row in order.
    TVColumn* row(int index) const { return grid->Columns()->Items(index); }
    QStringList fieldNames() const
    {
        QStringList out;
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            out << grid->Columns()->Items(i)->FieldName();
        return out;
    }
    QString code() const { return table->FieldByName("Code")->AsString(); }
};

// Paints whatever is due and forgets what was painted before.
inline void flushPaint(VGridWindow& w)
{
    QApplication::processEvents();
    w.grid->painted.clear();
}

// Customized rows over the named fields of the window's table.
inline void customize(VGridWindow& w, const QStringList& fields)
{
    w.grid->Columns()->BeginUpdate();
    for (const QString& f : fields)
        w.grid->Columns()->Add()->SetFieldName(f);
    w.grid->Columns()->EndUpdate();
}
