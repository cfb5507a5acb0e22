// A memory table of parts with a data source, and a window holding a data grid over it.
#pragma once

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>

#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

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

struct DBGridWindow
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    std::unique_ptr<TQxMemTable> table;
    TDataSource* source = nullptr;
    TQxDBGrid* grid = nullptr;
    QWidget* other = nullptr;

    explicit DBGridWindow(int rows = 20, bool bind = true, QSize size = QSize(420, 260))
    {
        table = makeParts(rows);
        source = new TDataSource(window.get());
        source->SetDataSet(table.get());
        auto* layout = new QVBoxLayout(window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        grid = new TQxDBGrid(window.get());
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
    ~DBGridWindow()
    {
        // The grid unbinds before the table goes.
        window.reset();
    }
};

inline QImage shot(TQxCustomGrid* g)
{
    return g->viewport()->grab().toImage();
}

inline QColor pixelAt(const QImage& img, QPoint p)
{
    return QColor(img.pixel(p));
}
