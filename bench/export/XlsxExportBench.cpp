// The spreadsheet export of a data grid over a memory table of 100,000 rows and 10 columns of
// mixed kinds (text, Chinese text, integers, money, floats, dates, date-times, Booleans and a
// "VandrelID" row kind), against libxlsxwriter called directly in the same run: the same
// records read from the same fields, the same typed cells, number formats, row styles, borders,
// header and widths, in the library's constant-memory mode, saved straight to its file.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <xlsxwriter.h>

#include <algorithm>
#include <array>
#include <vector>

#include "bench/support/BenchGrid.h"
#include "bench/support/BenchReport.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/QxMemTable.h"
#include "platform/office/DesktopOpen.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/export/uQxTranOut.h"

namespace {

constexpr int Rows = 100000;
constexpr int Columns = 10;

class XlsxBenchTable : public TQxMemTable
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
        FieldDefs()->Add("At", ftDateTime);
        FieldDefs()->Add("Paid", ftBoolean);
        FieldDefs()->Add("Remark", ftString, 30);
        FieldDefs()->Add("VandrelID", ftInteger);
        Open();
        std::vector<TField*> f;
        for (int c = 0; c < Columns; ++c)
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
            BulkSet(slot, f[6], f[6]->ToCell(QDateTime(QDate(2024, 1, 1).addDays(r % 366), QTime(r % 24, 30))));
            BulkSet(slot, f[7], f[7]->ToCell(r % 2 == 0));
            BulkSet(slot, f[8], f[8]->ToCell(r % 10 == 0 ? QStringLiteral("客户说\"急\"") : QString()));
            BulkSet(slot, f[9], f[9]->ToCell(r % 5));
            added.push_back(slot);
        }
        BulkCommit(added);
        First();
    }
};

// The peer: the sheet written by hand on libxlsxwriter.
void plainXlsx(TQxDBGrid& grid, TDataSet& table, const QString& fileName)
{
    std::vector<TField*> fields;
    for (int c = 0; c < Columns; ++c)
        fields.push_back(table.Fields()->Fields(c));
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const QByteArray path = QFile::encodeName(fileName);
    lxw_workbook* book = workbook_new_opt(path.constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);

    lxw_format* head = workbook_add_format(book);
    format_set_bold(head);
    format_set_pattern(head, LXW_PATTERN_SOLID);
    format_set_bg_color(head, 0xC0C0C0);
    format_set_align(head, LXW_ALIGN_CENTER);
    format_set_border(head, LXW_BORDER_THIN);
    lxw_format* firstHead = workbook_add_format(book);
    format_set_bold(firstHead);
    format_set_pattern(firstHead, LXW_PATTERN_SOLID);
    format_set_bg_color(firstHead, 0xC0C0C0);
    format_set_align(firstHead, LXW_ALIGN_CENTER);
    format_set_border(firstHead, LXW_BORDER_THIN);
    format_set_font_size(firstHead, 12);
    // [column][look]: look 0 plain, 1 bold, 2 group.
    std::array<std::array<lxw_format*, 3>, Columns> data{};
    for (int c = 0; c < Columns; ++c) {
        for (int look = 0; look < 3; ++look) {
            lxw_format* f = workbook_add_format(book);
            switch (fields[std::size_t(c)]->DataType()) {
            case ftString: format_set_num_format(f, "@"); break;
            case ftFloat: format_set_num_format(f, "#,##0.00_ "); break;
            case ftDate:
            case ftDateTime: format_set_num_format(f, "yyyy-mm-dd"); break;
            default: break;
            }
            format_set_border(f, LXW_BORDER_THIN);
            if (look > 0)
                format_set_bold(f);
            if (look == 2) {
                format_set_pattern(f, LXW_PATTERN_SOLID);
                format_set_bg_color(f, 0xFFCC99);
                format_set_font_color(f, 0x0000FF);
            }
            data[std::size_t(c)][std::size_t(look)] = f;
        }
    }
    for (int c = 0; c < Columns; ++c) {
        TQxColumn* column = grid.Columns()->Items(c);
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), column->Width() / 6, nullptr);
        worksheet_write_string(sheet, 0, lxw_col_t(c), column->Title()->Caption().toUtf8().constData(),
                               c == 0 ? firstHead : head);
    }
    table.DisableControls();
    table.First();
    lxw_row_t row = 1;
    TField* vandrel = fields[9];
    while (!table.Eof()) {
        const int kind = vandrel->AsInteger();
        const std::size_t look = kind == 3 ? 2 : kind > 2 ? 1 : 0;
        for (int c = 0; c < Columns; ++c) {
            TField* f = fields[std::size_t(c)];
            lxw_format* format = data[std::size_t(c)][look];
            if (f->IsNull()) {
                worksheet_write_blank(sheet, row, lxw_col_t(c), format);
                continue;
            }
            switch (f->DataType()) {
            case ftInteger: worksheet_write_number(sheet, row, lxw_col_t(c), f->AsInteger(), format); break;
            case ftCurrency: worksheet_write_number(sheet, row, lxw_col_t(c), f->AsCurrency().toDouble(), format); break;
            case ftFloat: worksheet_write_number(sheet, row, lxw_col_t(c), f->AsFloat(), format); break;
            case ftDate:
            case ftDateTime: worksheet_write_number(sheet, row, lxw_col_t(c), f->AsDateTime().Val, format); break;
            case ftBoolean: worksheet_write_boolean(sheet, row, lxw_col_t(c), f->AsBoolean(), format); break;
            default: worksheet_write_string(sheet, row, lxw_col_t(c), f->AsString().toUtf8().constData(), format); break;
            }
        }
        ++row;
        table.Next();
    }
    table.First();
    table.EnableControls();
    if (workbook_close(book) != LXW_NO_ERROR)
        qFatal("the peer could not write %s", qPrintable(fileName));
}

} // namespace

int main(int argc, char** argv)
{
    qxbench::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    XlsxBenchTable table;
    table.fill();
    qxbench::ShownGrid shown(&table, QStringLiteral("xlsxbench"));
    TQxDBGrid& grid = shown.grid;

    QTemporaryDir dir;
    const QString peer = dir.filePath("peer.xlsx");
    qx::DesktopOpeningOff off;
    const qxbench::AlternateTimes times = qxbench::alternateBest(
        3,
        [&] {
            if (!ExportGridToExcel(QString(), QString(), &grid))
                qFatal("the export failed");
        },
        [&] { plainXlsx(grid, table, peer); });
    qint64 oursSize = 0, peerSize = 0;
    for (const QString& written : off.requested()) {
        oursSize = QFile(written).size();
        QFile::remove(written);
    }
    peerSize = QFile(peer).size();
    // The two files hold the same cells; only their styles' order and the time stamp differ.
    if (oursSize == 0 || qAbs(oursSize - peerSize) > peerSize / 50)
        qFatal("the files differ too much in size: %lld and %lld", oursSize, peerSize);
    qxbench::report(QStringLiteral("export.xlsx_100kx10"), times.ours, times.peer, 1.3);
    return 0;
}
