#include "usystem/vcl/export/ExportSupport.h"

#include "usystem/vcl/dbgrid/uQxDBGrid.h"

namespace qx {

TDataSet* gridDataSet(const TQxCustomDBGrid& grid)
{
    TDataSource* source = grid.DataSource();
    return source ? source->DataSet() : nullptr;
}

std::vector<ExportColumn> exportColumns(const TQxCustomDBGrid& grid)
{
    std::vector<ExportColumn> result;
    TQxDBGridColumns* columns = grid.Columns();
    for (int i = 0; i < columns->Count(); ++i) {
        TQxColumn* column = columns->Items(i);
        if (column->Visible())
            result.push_back({column, column->Field()});
    }
    return result;
}

// The texts are written as GBK, whose second bytes start at 0x40: an ASCII quote byte in the
// file only ever comes from a quote character, so doubling characters doubles the bytes.
void appendQuoted(QString& out, QStringView text, QChar quote)
{
    out += quote;
    if (!text.contains(quote)) {
        out += text;
    } else {
        for (QChar c : text) {
            out += c;
            if (c == quote)
                out += c;
        }
    }
    out += quote;
}

bool hasFileExtension(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot >= 0 && dot > path.lastIndexOf(u'/');
}

} // namespace qx
