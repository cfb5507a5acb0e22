// TQxDataSetToHTML: the grid's records as an HTML table in a GBK page.
#include "usystem/vcl/export/uQxdbTrans.h"

#include "platform/office/SaveFile.h"
#include "platform/rtl/Gbk.h"
#include "platform/rtl/SysUtils.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/export/ExportSupport.h"

namespace {

// The page head when Header is empty. It names the page's character set: a browser given GBK
// bytes without it shows the Chinese texts garbled.
QStringList defaultHeader()
{
    return {QStringLiteral("<html>"),
            QStringLiteral("<head> <meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">"
                           " <title> DataSet </title> </head>"),
            QStringLiteral("<body>")};
}

QStringList defaultFooter()
{
    return {QStringLiteral("</body>"), QStringLiteral("</html>")};
}

// Money as the shop's currency text: the symbol, a minus sign after it, thousands separators
// and two decimals ("￥1,234.50", "￥-3.00").
QString currencyText(Currency value)
{
    const bool negative = value < Currency(0);
    return FormatSettings().CurrencyString + (negative ? QStringLiteral("-") : QString())
        + FormatCurr(QStringLiteral("#,##0.00"), negative ? -value : value);
}

QString cellText(const TField* field)
{
    if (!field)
        return QString();
    if (field->DataType() == ftCurrency && !field->IsNull())
        return currencyText(field->AsCurrency());
    return field->AsString();
}

QString fieldNameOf(const qx::ExportColumn& c)
{
    return c.field ? c.field->FieldName() : c.column->FieldName();
}

} // namespace

TQxDataSetToHTML::TQxDataSetToHTML(QObject* Owner) : QObject(Owner) {}

void TQxDataSetToHTML::ExportGrid(TQxCustomDBGrid* Grid, const QString& FileName)
{
    if (!Grid)
        throw Exception(QStringLiteral("网格参数不存在"));
    TDataSet* dataSet = qx::gridDataSet(*Grid);
    if (!dataSet || !dataSet->Active())
        DatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));

    const std::vector<qx::ExportColumn> columns = qx::exportColumns(*Grid);
    QString page;
    auto line = [&page](const QString& text) {
        page += text;
        page += QLatin1String("\r\n");
    };
    for (const QString& s : FHeader.isEmpty() ? defaultHeader() : FHeader)
        line(s);
    line(QStringLiteral("<table border = \"1\" rows = \"%1\" bordercolor=\"#000000\" cellspacing=\"0\" "
                        "cellpadding=\"2\">")
             .arg(dataSet->RecordCount()));

    // Texts are escaped before the handler sees them: data holding '<', '&' or '"' stays text,
    // and markup the handler adds stays markup.
    line(QStringLiteral("<tr>"));
    int number = 0;
    for (const qx::ExportColumn& c : columns) {
        ++number;
        QString attrs;
        QString data = c.column->Title()->Caption().toHtmlEscaped();
        if (OnFormatCell)
            OnFormatCell(this, 1, number, fieldNameOf(c), attrs, data);
        line(QStringLiteral("<th ") + attrs + QStringLiteral(" >") + data + QStringLiteral(" </th>"));
    }
    line(QStringLiteral("</tr>"));

    {
        // The grid is not redrawn for every record passed; it shows the last one afterwards.
        qx::ControlsGuard quiet(dataSet);
        int row = 2;
        dataSet->First();
        while (!dataSet->Eof()) {
            line(QStringLiteral("<tr>"));
            number = 0;
            for (const qx::ExportColumn& c : columns) {
                ++number;
                QString attrs;
                QString data = cellText(c.field).toHtmlEscaped();
                if (data.isEmpty())
                    data = QStringLiteral("&nbsp");
                if (OnFormatCell)
                    OnFormatCell(this, row, number, fieldNameOf(c), attrs, data);
                line(QStringLiteral("<td nowrap ") + attrs + QStringLiteral(" >") + data + QStringLiteral(" </td>"));
            }
            line(QStringLiteral("</tr>"));
            ++row;
            dataSet->Next();
        }
    }

    line(QStringLiteral("</table>"));
    for (const QString& s : FFooter.isEmpty() ? defaultFooter() : FFooter)
        line(s);
    qx::saveFileBytes(FileName, qx::toGbk(page));
}
