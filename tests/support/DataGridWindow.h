// A memory table of parts with a data source, and a window holding a data-aware grid over it
// (the data grid or the record grid) above a small widget that can take the focus away.
#pragma once

#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"

#include <QApplication>
#include <QSize>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>

namespace qx::test {

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

// The window is shown and active, the grid has the focus; Bind false leaves the grid without
// its data source.
template <class Grid>
struct DataGridWindow
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    std::unique_ptr<TQxMemTable> table;
    TDataSource* source = nullptr;
    Grid* grid = nullptr;
    QWidget* other = nullptr;

    DataGridWindow(std::unique_ptr<TQxMemTable> Table, bool Bind, QSize Size)
        : table(std::move(Table))
    {
        source = new TDataSource(window.get());
        source->SetDataSet(table.get());
        auto* layout = new QVBoxLayout(window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        grid = new Grid(window.get());
        other = new QWidget(window.get());
        other->setFocusPolicy(Qt::StrongFocus);
        other->setFixedHeight(10);
        layout->addWidget(grid);
        layout->addWidget(other);
        window->resize(Size);
        if (Bind)
            grid->SetDataSource(source);
        window->show();
        window->activateWindow();
        (void)QTest::qWaitForWindowActive(window.get());
        grid->setFocus();
        QApplication::processEvents();
    }
    ~DataGridWindow()
    {
        // The grid unbinds before the table goes.
        window.reset();
    }
    DataGridWindow(const DataGridWindow&) = delete;
    DataGridWindow& operator=(const DataGridWindow&) = delete;
};

} // namespace qx::test
