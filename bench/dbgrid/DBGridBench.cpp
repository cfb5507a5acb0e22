// The data grid over a memory table of a million rows and ten text columns against Qt's own
// table view over a model holding the same texts: the same widget size, the same row height
// and column widths, on the offscreen platform. Measures the first paint, 1,000 page-downs each
// followed by a repaint, and moving the current row from the first record to the last (and
// back) with a repaint after each move.
#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QTest>

#include <memory>
#include <vector>

#include "bench/support/BenchReport.h"
#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

namespace {

constexpr int Rows = 1000000;
constexpr int Cols = 10;
const QSize WidgetSize(800, 600);

QString cellText(int row, int col)
{
    return QString::number(qint64(row) * Cols + col);
}

// The memory table's bulk loading, as its file readers use it.
class BenchTable : public TQxMemTable
{
public:
    void fill()
    {
        for (int c = 0; c < Cols; ++c)
            FieldDefs()->Add(QStringLiteral("F%1").arg(c), ftString, 8);
        Open();
        std::vector<std::uint32_t> added;
        added.reserve(Rows);
        std::vector<TField*> fields;
        for (int c = 0; c < Cols; ++c)
            fields.push_back(Fields()->Fields(c));
        for (int r = 0; r < Rows; ++r) {
            const std::uint32_t slot = BulkAppend();
            for (int c = 0; c < Cols; ++c)
                BulkSet(slot, fields[std::size_t(c)], fields[std::size_t(c)]->ToCell(cellText(r, c)));
            added.push_back(slot);
        }
        BulkCommit(added);
        First();
    }
};

class BenchModel : public QAbstractTableModel
{
public:
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : Rows; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : Cols; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DisplayRole)
            return cellText(index.row(), index.column());
        return QVariant();
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (role == Qt::DisplayRole)
            return o == Qt::Horizontal ? QVariant(QStringLiteral("F%1").arg(section)) : QVariant(section + 1);
        return QVariant();
    }
};

std::unique_ptr<TQxDBGrid> makeGrid(TDataSource* source)
{
    auto g = std::make_unique<TQxDBGrid>();
    g->SetDataSource(source);
    g->resize(WidgetSize);
    g->show();
    if (!QTest::qWaitForWindowExposed(g.get()))
        qFatal("the grid was not exposed");
    return g;
}

std::unique_ptr<QTableView> makeView(BenchModel* model, int rowHeight, int colWidth)
{
    auto v = std::make_unique<QTableView>();
    v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->verticalHeader()->setDefaultSectionSize(rowHeight);
    v->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->horizontalHeader()->setDefaultSectionSize(colWidth);
    v->setModel(model);
    v->resize(WidgetSize);
    v->show();
    if (!QTest::qWaitForWindowExposed(v.get()))
        qFatal("the view was not exposed");
    return v;
}

void pressKey(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods);
    QApplication::sendEvent(w, &release);
}

} // namespace

int main(int argc, char** argv)
{
    qxbench::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    BenchTable table;
    table.fill();
    TDataSource source;
    source.SetDataSet(&table);
    BenchModel model;

    // The view gets the grid's geometry: its row height and its (default) column width.
    int rowHeight = 0, colWidth = 0;
    {
        auto g = makeGrid(&source);
        rowHeight = g->DefaultRowHeight();
        colWidth = g->ColWidths(1);
    }

    // First paint: create, show and render the first screen.
    const double oursFirst = qxbench::timeBest([&] {
        table.First();
        auto g = makeGrid(&source);
        g->repaint();
    }, 5);
    const double peerFirst = qxbench::timeBest([&] {
        auto v = makeView(&model, rowHeight, colWidth);
        v->repaint();
    }, 5);
    qxbench::report(QStringLiteral("dbgrid.first_paint_1Mx10"), oursFirst, peerFirst, 1.0);

    // 1,000 page-downs with a repaint after each.
    int recNoAfterPages = 0;
    const double oursPage = qxbench::timeBest([&] {
        table.First();
        auto g = makeGrid(&source);
        g->setFocus();
        g->repaint();
        for (int i = 0; i < 1000; ++i) {
            pressKey(g.get(), Qt::Key_PageDown);
            g->repaint();
        }
        recNoAfterPages = table.RecNo();
    }, 3);
    const double peerPage = qxbench::timeBest([&] {
        auto v = makeView(&model, rowHeight, colWidth);
        v->setFocus();
        v->setCurrentIndex(model.index(0, 0));
        v->repaint();
        for (int i = 0; i < 1000; ++i) {
            pressKey(v.get(), Qt::Key_PageDown);
            v->repaint();
        }
    }, 3);
    qxbench::report(QStringLiteral("dbgrid.page_down_x1000"), oursPage, peerPage, 1.0);
    if (recNoAfterPages < 1000 * 10)
        qFatal("the grid paged only to record %d", recNoAfterPages);

    // The current row from the first record to the last and back, 100 times, repainting.
    const double oursEnds = qxbench::timeBest([&] {
        table.First();
        auto g = makeGrid(&source);
        g->setFocus();
        g->repaint();
        for (int i = 0; i < 100; ++i) {
            pressKey(g.get(), Qt::Key_End, Qt::ControlModifier);
            g->repaint();
            pressKey(g.get(), Qt::Key_Home, Qt::ControlModifier);
            g->repaint();
        }
        pressKey(g.get(), Qt::Key_End, Qt::ControlModifier);
        if (table.RecNo() != Rows)
            qFatal("the grid did not reach the last record");
    }, 3);
    const double peerEnds = qxbench::timeBest([&] {
        auto v = makeView(&model, rowHeight, colWidth);
        v->setFocus();
        v->setCurrentIndex(model.index(0, 0));
        v->repaint();
        for (int i = 0; i < 100; ++i) {
            pressKey(v.get(), Qt::Key_End, Qt::ControlModifier);
            v->repaint();
            pressKey(v.get(), Qt::Key_Home, Qt::ControlModifier);
            v->repaint();
        }
        pressKey(v.get(), Qt::Key_End, Qt::ControlModifier);
        if (v->currentIndex().row() != Rows - 1)
            qFatal("the view did not reach the last row");
    }, 3);
    qxbench::report(QStringLiteral("dbgrid.first_to_last_x100"), oursEnds, peerEnds, 1.0);
    return 0;
}
