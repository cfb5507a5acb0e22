// The title menu's "select all" of the data grid over a memory table of 100,000 rows against
// the bare walk it rests on: the same table walked from the first record to the end with its
// controls disabled, each record's bookmark appended to a vector, and back to the record where
// the walk began. The grid is shown, so its link follows the dataset as in the program.
#include <QApplication>

#include <algorithm>
#include <vector>

#include "bench/support/BenchReport.h"
#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"

namespace {

constexpr int SelectRows = 100000;

void fillSelectTable(TQxMemTable& table)
{
    table.FieldDefs()->Add(QStringLiteral("Code"), ftString, 10);
    table.FieldDefs()->Add(QStringLiteral("Qty"), ftInteger, 0);
    table.Open();
    for (int r = 0; r < SelectRows; ++r) {
        table.Append();
        table.FieldByName(QStringLiteral("Code"))->SetAsString(QString::number(r));
        table.FieldByName(QStringLiteral("Qty"))->SetAsInteger(r);
        table.Post();
    }
    table.First();
}

} // namespace

int main(int argc, char** argv)
{
    qxbench::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    TQxMemTable table;
    fillSelectTable(table);
    TDataSource source;
    source.SetDataSet(&table);
    TQxDBGrid grid;
    grid.resize(800, 600);
    grid.SetDataSource(&source);
    grid.show();
    QApplication::processEvents();
    table.SetRecNo(SelectRows / 2);

    int selected = 0;
    std::size_t walked = 0;
    const qxbench::AlternateTimes times = qxbench::alternateBest(
        5,
        [&] {
            grid.SelectedRows()->Clear();
            grid.SelectAllRecords();
            selected = grid.SelectedRows()->Count();
        },
        [&] {
            std::vector<TBookmarkStr> marks;
            table.DisableControls();
            const TBookmark start = table.GetBookmark();
            table.First();
            while (!table.Eof()) {
                marks.push_back(table.Bookmark());
                table.Next();
            }
            table.GotoBookmark(start);
            table.EnableControls();
            walked = marks.size();
        });
    if (selected != SelectRows || walked != std::size_t(SelectRows) || table.RecNo() != SelectRows / 2)
        return 1;
    qxbench::report(QStringLiteral("dbgrid.select_all_100k"), times.ours, times.peer, 2.0);
    return 0;
}
