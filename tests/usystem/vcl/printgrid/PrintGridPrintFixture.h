// A data grid over a memory table on a window of its own, as a browser hands it to the grid
// printer, and small readers of what printing and exporting made.
#pragma once

#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "platform/report/QREvaluator.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/RecordingDevice.h"
#include "usystem/vcl/preview/uQxRptPrev.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/printgrid/uQxPrintGridState.h"

#include "tests/support/PrintedPages.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QToolButton>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace qxprinttest {

struct GridColumn
{
    QString field;
    QString caption;
    int width = 80;
    bool visible = true;
};

// The table, its data source and the grid all belong to the window, so closing the window
// takes them all, as closing a browser does.
class PrintedGrid
{
public:
    PrintedGrid(const std::vector<GridColumn>& columns, const std::vector<QStringList>& rows)
        : m_window(std::make_unique<QWidget>())
    {
        m_window->setObjectName(QStringLiteral("Browser"));
        m_table = new TQxMemTable(m_window.get());
        m_table->setObjectName(QStringLiteral("Data"));
        for (const GridColumn& c : columns)
            m_table->FieldDefs()->Add(c.field, ftString, 40);
        m_table->Open();
        for (const QStringList& row : rows) {
            m_table->Append();
            for (int i = 0; i < row.size() && i < int(columns.size()); ++i)
                m_table->Fields()->Fields(i)->SetAsString(row.at(i));
            m_table->Post();
        }
        m_table->First();
        m_source = new TDataSource(m_window.get());
        m_source->SetDataSet(m_table);
        m_grid = new TQxDBGrid(m_window.get());
        m_grid->setObjectName(QStringLiteral("Grid"));
        m_grid->SetDataSource(m_source);
        for (const GridColumn& c : columns) {
            TQxColumn* column = m_grid->Columns()->Add();
            column->SetFieldName(c.field);
            column->Title()->SetCaption(c.caption);
            column->SetWidth(c.width);
            column->SetVisible(c.visible);
        }
    }
    ~PrintedGrid() { closeWindow(); }
    PrintedGrid(const PrintedGrid&) = delete;
    PrintedGrid& operator=(const PrintedGrid&) = delete;

    TQxMemTable* table() const { return m_table; }
    TQxDBGrid* grid() const { return m_grid; }
    QWidget* window() const { return m_window.get(); }
    // The window goes with everything on it.
    void closeWindow() { m_window.reset(); }

private:
    std::unique_ptr<QWidget> m_window;
    QPointer<TQxMemTable> m_table;
    QPointer<TDataSource> m_source;
    QPointer<TQxDBGrid> m_grid;
};

// A grid of count rows "R<n>", "名称<n>" under the titles "编号" and "名称".
inline std::unique_ptr<PrintedGrid> numberedGrid(int count, int width = 80)
{
    std::vector<QStringList> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({QStringLiteral("R%1").arg(i), QStringLiteral("名称%1").arg(i)});
    return std::make_unique<PrintedGrid>(
        std::vector<GridColumn>{{QStringLiteral("Code"), QStringLiteral("编号"), width},
                                {QStringLiteral("Name"), QStringLiteral("名称"), width}},
        rows);
}

// The value of an expression as the report engine computes it (no datasets).
inline TQREvResult evaluate(const QString& expression)
{
    TQREvaluator evaluator;
    return evaluator.Calculate(expression);
}

inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs the event loop until done() holds or ms milliseconds have passed.
template <typename Pred>
bool waitFor(Pred done, int ms = 5000)
{
    for (int waited = 0; !done(); waited += 10) {
        if (waited >= ms)
            return false;
        QTest::qWait(10);
    }
    return true;
}

using qxtest::pageTexts;
using qxtest::previewWindows;

// Once the preview window is up with all its pages made, hands it to inspect, then presses
// its exit button, as a user reading the preview would. Set it up before the print starts.
// It looks again every 10 ms without blocking, since pages are made while events run.
inline void closePreviewWhenDone(std::function<void(TfrmNetScapePreview&)> inspect = {}, int triesLeft = 1000)
{
    QTimer::singleShot(10, [inspect = std::move(inspect), triesLeft]() mutable {
        const QList<TfrmNetScapePreview*> open = previewWindows();
        TfrmNetScapePreview* preview = open.isEmpty() ? nullptr : open.first();
        if (!(preview && preview->QRPrinter() && preview->QRPrinter()->Status() == mpFinished)) {
            if (triesLeft > 0)
                closePreviewWhenDone(std::move(inspect), triesLeft - 1);
            return;
        }
        const QPointer<TfrmNetScapePreview> window(preview);
        if (inspect)
            inspect(*preview);
        if (window)
            QTest::mouseClick(window->btnClose, Qt::LeftButton);
    });
}

} // namespace qxprinttest
