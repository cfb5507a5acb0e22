// A memory table of parts with a data source, and a window holding a record grid over it.
#pragma once

#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>
#include <vector>

#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "usystem/vcl/recordgrid/uQxDBVGrid.h"

using V = TQxCustomDBVGrid;

// Parts: Code (text), Name (text), Qty (integer), Done (Boolean); rows "P01".."Pnn".
inline std::unique_ptr<TQxMemTable> makeParts(int rows)
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add("Code", ftString, 10);
    t->FieldDefs()->Add("Name", ftString, 20);
    t->FieldDefs()->Add("Qty", ftInteger, 0);
    t->FieldDefs()->Add("Done", ftBoolean, 0);
    t->Open();
    for (int i = 1; i <= rows; ++i) {
        t->Append();
        t->FieldByName("Code")->SetAsString(QStringLiteral("P%1").arg(i, 2, 10, QLatin1Char('0')));
        t->FieldByName("Name")->SetAsString(QStringLiteral("part %1").arg(i));
        t->FieldByName("Qty")->SetAsInteger(i * 10);
        t->FieldByName("Done")->SetAsBoolean(i % 2 == 0);
        t->Post();
    }
    t->First();
    return t;
}

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

struct VGridWindow
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    std::unique_ptr<TQxMemTable> table;
    TDataSource* source = nullptr;
    PaintCountingGrid* grid = nullptr;
    QWidget* other = nullptr;

    explicit VGridWindow(int rows = 5, bool bind = true, QSize size = QSize(300, 200))
        : VGridWindow(makeParts(rows), bind, size)
    {}
    VGridWindow(std::unique_ptr<TQxMemTable> t, bool bind, QSize size = QSize(300, 200))
        : table(std::move(t))
    {
        source = new TDataSource(window.get());
        source->SetDataSet(table.get());
        auto* layout = new QVBoxLayout(window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        grid = new PaintCountingGrid(window.get());
        other = new QWidget(window.get());
        other->setFocusPolicy(Qt::StrongFocus);
        other->setFixedHeight(10);
        layout->addWidget(grid);
        layout->addWidget(other);
        window->resize(size);
        if (bind)
            grid->SetDataSource(source);
        window->show();
        window->activateWindow();
        (void)QTest::qWaitForWindowActive(window.get());
        grid->setFocus();
        QApplication::processEvents();
    }
    ~VGridWindow()
    {
        // The grid unbinds before the table goes.
        window.reset();
    }

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
