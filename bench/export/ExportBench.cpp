// The text export of a data grid over a memory table of 200,000 rows and 8 columns of mixed
// kinds (text, Chinese text, integers, money, floats, dates, Booleans), against a plain loop
// over the same dataset that reads the same fields, quotes them the same way and writes the
// same bytes through one GBK conversion and one file write. Both keep the grid quiet while
// they move through the records. The two files are compared byte for byte.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

#include "bench/support/BenchGrid.h"
#include "bench/support/BenchReport.h"
#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "platform/rtl/Gbk.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/export/uQxdbTrans.h"

namespace {

constexpr int Rows = 200000;

class BenchTable : public TQxMemTable
{
public:
    void fill()
    {
        FieldDefs()->Add("Code", ftString, 12);
        FieldDefs()->Add("Name", ftString, 20);
        FieldDefs()->Add("Qty", ftInteger);
        FieldDefs()->Add("Price", ftCurrency);
        FieldDefs()->Add("Weight", ftFloat);
        FieldDefs()->Add("Day", ftDate);
        FieldDefs()->Add("Paid", ftBoolean);
        FieldDefs()->Add("Remark", ftString, 30);
        Open();
        std::vector<TField*> f;
        for (int c = 0; c < 8; ++c)
            f.push_back(Fields()->Fields(c));
        std::vector<std::uint32_t> added;
        added.reserve(Rows);
        const QStringList names = {"屏幕总成", "电池", "尾插排线", "后盖", "主板维修"};
        for (int r = 0; r < Rows; ++r) {
            const std::uint32_t slot = BulkAppend();
            BulkSet(slot, f[0], f[0]->ToCell(QStringLiteral("WX%1").arg(r, 8, 10, QLatin1Char('0'))));
            BulkSet(slot, f[1], f[1]->ToCell(names[r % names.size()]));
            BulkSet(slot, f[2], f[2]->ToCell(r % 97));
            BulkSet(slot, f[3], f[3]->ToCell(double(r % 10000) / 4.0));
            BulkSet(slot, f[4], f[4]->ToCell(r * 0.125));
            BulkSet(slot, f[5], f[5]->ToCell(QDateTime(QDate(2024, 1, 1).addDays(r % 366), QTime())));
            BulkSet(slot, f[6], f[6]->ToCell(r % 2 == 0));
            BulkSet(slot, f[7], f[7]->ToCell(r % 10 == 0 ? QStringLiteral("客户说\"急\"") : QString()));
            added.push_back(slot);
        }
        BulkCommit(added);
        First();
    }
};

// The peer: the same records, fields, quoting and bytes, written by hand.
void plainExport(TDataSet& table, const QString& fileName)
{
    std::vector<TField*> fields;
    for (int c = 0; c < table.FieldCount(); ++c)
        fields.push_back(table.Fields()->Fields(c));
    QString text;
    table.DisableControls();
    table.First();
    while (!table.Eof()) {
        for (std::size_t c = 0; c < fields.size(); ++c) {
            if (c > 0)
                text += u'\t';
            text += u'"';
            text += fields[c]->AsString().replace(u'"', QLatin1String("\"\""));
            text += u'"';
        }
        text += QLatin1String("\r\n");
        table.Next();
    }
    table.EnableControls();
    const QByteArray bytes = qx::toGbk(text);
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        qFatal("the peer could not write %s", qPrintable(fileName));
}

QByteArray readAll(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(fileName));
    return f.readAll();
}

} // namespace

int main(int argc, char** argv)
{
    qxbench::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    BenchTable table;
    table.fill();
    qxbench::ShownGrid shown(&table);

    QTemporaryDir dir;
    const QString ours = dir.filePath("ours.txt");
    const QString peer = dir.filePath("peer.txt");
    TQxDatasetToText writer;
    const qxbench::AlternateTimes times = qxbench::alternateBest(
        5, [&] { writer.ExportGrid(&shown.grid, ours); }, [&] { plainExport(table, peer); });
    if (readAll(ours) != readAll(peer))
        qFatal("the two files differ");
    qxbench::report(QStringLiteral("export.text_200kx8"), times.ours, times.peer, 1.3);
    return 0;
}
