// The grid base against Qt's own table view over a model of the same size and cell texts:
// a million rows by twenty columns, the same widget size, on the offscreen platform.
// Measures the first paint, 1,000 page-downs each followed by a repaint, and a horizontal
// scroll across all columns (a repaint after each step).
#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <memory>

#include "bench/support/BenchReport.h"
#include "usystem/vcl/grids/uQxGrids.h"

namespace {

constexpr int Rows = 1000000;
constexpr int Cols = 20;
constexpr int RowHeight = 30;
constexpr int ColWidth = 64;
const QSize WidgetSize(800, 600);

QString cellText(int row, int col)
{
    return QString::number(qint64(row) * Cols + col);
}

// Ours: one fixed row with the column titles and one fixed column with the row numbers, like
// the view's two headers; the data cells show the same text as the model.
class BenchGrid : public TQxCustomGrid
{
public:
    static inline qint64 cellsDrawn = 0;
    BenchGrid()
    {
        SetColCount(Cols + 1);
        SetRowCount(Rows + 1);
        SetDefaultColWidth(ColWidth);
        SetDefaultRowHeight(RowHeight);
    }

protected:
    void DrawCell(int ACol, int ARow, const QRect& ARect, TKyGridDrawState) override
    {
        QString text;
        if (ARow == 0 && ACol == 0)
            return;
        if (ARow == 0)
            text = QString::number(ACol);
        else if (ACol == 0)
            text = QString::number(ARow);
        else
            text = cellText(ARow - 1, ACol - 1);
        ++cellsDrawn;
        Canvas()->drawText(ARect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
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
};

std::unique_ptr<BenchGrid> makeGrid()
{
    auto g = std::make_unique<BenchGrid>();
    g->resize(WidgetSize);
    g->show();
    if (!QTest::qWaitForWindowExposed(g.get()))
        qFatal("the grid was not exposed");
    return g;
}

std::unique_ptr<QTableView> makeView(BenchModel* model)
{
    auto v = std::make_unique<QTableView>();
    v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->verticalHeader()->setDefaultSectionSize(RowHeight);
    v->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->horizontalHeader()->setDefaultSectionSize(ColWidth);
    v->setModel(model);
    v->resize(WidgetSize);
    v->show();
    if (!QTest::qWaitForWindowExposed(v.get()))
        qFatal("the view was not exposed");
    return v;
}

void pressKey(QWidget* w, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

} // namespace

int main(int argc, char** argv)
{
    qxbench::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    BenchModel model;

    // First paint: create, show and render the first screen.
    const double oursFirst = qxbench::timeBest([] {
        auto g = makeGrid();
        g->repaint();
    }, 5);
    const double peerFirst = qxbench::timeBest([&] {
        auto v = makeView(&model);
        v->repaint();
    }, 5);
    qxbench::report(QStringLiteral("grids.first_paint_1Mx20"), oursFirst, peerFirst, 1.0);

    // 1,000 page-downs with a repaint after each.
    const double oursPage = qxbench::timeBest([] {
        auto g = makeGrid();
        g->setFocus();
        g->repaint();
        for (int i = 0; i < 1000; ++i) {
            pressKey(g.get(), Qt::Key_PageDown);
            g->repaint();
        }
    }, 3);
    const double peerPage = qxbench::timeBest([&] {
        auto v = makeView(&model);
        v->setFocus();
        v->setCurrentIndex(model.index(0, 0));
        v->repaint();
        for (int i = 0; i < 1000; ++i) {
            pressKey(v.get(), Qt::Key_PageDown);
            v->repaint();
        }
    }, 3);
    qxbench::report(QStringLiteral("grids.page_down_x1000"), oursPage, peerPage, 1.0);
    // Every page must really have been painted: at least 1,000 screens of cells over the runs.
    if (BenchGrid::cellsDrawn < 1000 * 10 * 12)
        qFatal("the grid painted only %lld cells", BenchGrid::cellsDrawn);

    // A horizontal scroll across all columns, one column per step, repainting each time.
    const double oursHorz = qxbench::timeBest([] {
        auto g = makeGrid();
        g->repaint();
        QScrollBar* bar = g->horizontalScrollBar();
        int steps = 0;
        for (int last = -1; g->LeftCol() != last; ++steps) {
            last = g->LeftCol();
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            g->repaint();
        }
        if (steps < 2)
            qFatal("the grid did not scroll horizontally");
    }, 5);
    const double peerHorz = qxbench::timeBest([&] {
        auto v = makeView(&model);
        v->repaint();
        QScrollBar* bar = v->horizontalScrollBar();
        int steps = 0;
        for (int last = -1; bar->value() != last; ++steps) {
            last = bar->value();
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            v->repaint();
        }
        if (steps < 2)
            qFatal("the view did not scroll horizontally");
    }, 5);
    qxbench::report(QStringLiteral("grids.horizontal_scroll_all_columns"), oursHorz, peerHorz, 1.0);
    return 0;
}
