// The spreadsheet export of a grid and its helpers.
#include "usystem/vcl/export/uQxTranOut.h"

#include "platform/db/DataSet.h"
#include "platform/db/Fields.h"
#include "platform/env/DialogService.h"
#include "platform/office/DesktopOpen.h"
#include "platform/office/ExportFileName.h"
#include "platform/office/XlsxWriter.h"
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/export/ExportSupport.h"

#include <QDebug>

#include <array>
#include <cmath>

namespace {

using qx::XlsxStyle;
using qx::XlsxWriter;

// The styles a data cell can take: its number format, the "VandrelID" look of its row, and
// whether it lies in the boxed range.
enum class NumberKind { General, Money, Text, Date, Time };
enum class RowLook { Plain, Bold, Group };

constexpr int GreyFill = 0xC0C0C0;
constexpr int GroupFill = 0xFFCC99;
constexpr int GroupText = 0x0000FF;

QString numberFormat(NumberKind kind)
{
    switch (kind) {
    case NumberKind::Money: return QStringLiteral("#,##0.00_ ");
    case NumberKind::Text: return QStringLiteral("@");
    case NumberKind::Date: return QStringLiteral("yyyy-mm-dd");
    case NumberKind::Time: return QStringLiteral("hh:mm:ss");
    case NumberKind::General: break;
    }
    return QString();
}

NumberKind numberKind(const TField* field)
{
    if (!field)
        return NumberKind::General;
    switch (field->DataType()) {
    case ftFloat: return NumberKind::Money;
    case ftString:
    case ftFixedChar:
    case ftWideString: return NumberKind::Text;
    // A date is written as a date serial; it shows as a date, as a typed date does.
    case ftDate:
    case ftDateTime: return NumberKind::Date;
    case ftTime: return NumberKind::Time;
    default: return NumberKind::General;
    }
}

// Numbers a spreadsheet holds exactly: integers up to 2^53, decimals of 15 digits.
constexpr qint64 ExactInteger = qint64(1) << 53;
constexpr qint64 ExactMoneyUnits = 1000000000000000LL; // 15 digits of ten-thousandths

class StyleCache
{
public:
    explicit StyleCache(XlsxWriter& book) : m_book(book) {}

    XlsxWriter::Style data(NumberKind kind, RowLook look, bool boxed, int fontSize)
    {
        const int key = ((int(kind) * 3 + int(look)) * 2 + int(boxed)) * 2 + int(fontSize > 0);
        XlsxWriter::Style& slot = m_data[std::size_t(key)];
        if (slot < 0) {
            XlsxStyle s;
            s.numberFormat = numberFormat(kind);
            s.bold = look != RowLook::Plain;
            if (look == RowLook::Group) {
                s.fillColor = GroupFill;
                s.fontColor = GroupText;
            }
            s.thinBorders = boxed;
            s.fontSize = fontSize;
            slot = m_book.addStyle(s);
        }
        return slot;
    }

private:
    XlsxWriter& m_book;
    std::array<XlsxWriter::Style, 5 * 3 * 2 * 2> m_data{[] {
        std::array<XlsxWriter::Style, 5 * 3 * 2 * 2> a{};
        a.fill(-1);
        return a;
    }()};
};

// One value into its cell, typed as the field is: numbers as numbers, dates and times as
// serials, Booleans as Booleans, everything else as text. A number a cell would round goes in
// as its text.
void writeValue(XlsxWriter& book, int row, int column, const TField* field, XlsxWriter::Style style)
{
    if (!field || field->IsNull()) {
        book.writeBlank(row, column, style);
        return;
    }
    switch (field->DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        book.writeNumber(row, column, field->AsInteger(), style);
        return;
    case ftLargeint: {
        const qint64 v = static_cast<const TLargeintField*>(field)->AsLargeInt();
        if (v >= -ExactInteger && v <= ExactInteger)
            book.writeNumber(row, column, double(v), style);
        else
            book.writeText(row, column, field->AsString(), style);
        return;
    }
    case ftCurrency:
    case ftBCD: {
        const Currency v = field->AsCurrency();
        if (v.raw() >= -ExactMoneyUnits && v.raw() <= ExactMoneyUnits)
            book.writeNumber(row, column, v.toDouble(), style);
        else
            book.writeText(row, column, field->AsString(), style);
        return;
    }
    case ftFloat:
        book.writeNumber(row, column, field->AsFloat(), style);
        return;
    case ftDate:
    case ftTime:
    case ftDateTime:
        // The system's date numbers count days from 1899-12-30, as spreadsheet serials do.
        book.writeNumber(row, column, field->AsDateTime().Val, style);
        return;
    case ftBoolean:
        book.writeBoolean(row, column, field->AsBoolean(), style);
        return;
    default:
        book.writeText(row, column, field->AsString(), style);
        return;
    }
}

// The parts of a cell reference "AB12": column and row from 0; false for anything else.
bool parseCell(const QString& ref, int& row, int& column)
{
    qsizetype i = 0;
    int col = 0;
    while (i < ref.size() && ref[i].toUpper() >= u'A' && ref[i].toUpper() <= u'Z' && col <= XlsxWriter::MaxColumns) {
        col = col * 26 + (ref[i].toUpper().unicode() - u'A' + 1);
        ++i;
    }
    if (i == 0 || i == ref.size() || col > XlsxWriter::MaxColumns)
        return false;
    bool ok = false;
    const int r = ref.mid(i).toInt(&ok);
    if (!ok || r < 1 || r > XlsxWriter::MaxRows || !ref[i].isDigit())
        return false;
    row = r - 1;
    column = col - 1;
    return true;
}

// Writes the sheet. Raises on any failure; the caller restores the dataset.
void writeSheet(XlsxWriter& book, const QString& title, const QString& foot,
                const std::vector<qx::ExportColumn>& columns, TDataSet* dataSet)
{
    const int n = int(columns.size());
    const bool hasTitle = !title.isEmpty();
    const int headerRow = hasTitle ? 1 : 0;
    const int recordCount = dataSet && dataSet->Active() ? dataSet->RecordCount() : 0;
    const QString last = ExcelColumnName(n);
    const ExcelRangeBorders box = SetExcelRangeBorders(
        QStringLiteral("A%1").arg(headerRow + 1), last + QString::number(recordCount + headerRow + 1), 12);

    if (hasTitle) {
        XlsxStyle s;
        s.bold = true;
        s.fontSize = 18;
        s.hAlign = XlsxStyle::HAlign::Center;
        s.vAlign = XlsxStyle::VAlign::Bottom;
        // The title lies in the merged range's first cell, which is the one a merge shows.
        book.mergeText(0, 0, 0, n - 1, title, book.addStyle(s));
    }

    XlsxStyle head;
    head.bold = true;
    head.fillColor = GreyFill;
    head.hAlign = XlsxStyle::HAlign::Center;
    head.thinBorders = true;
    const XlsxWriter::Style headStyle = book.addStyle(head);
    head.fontSize = box.FontSize;
    const XlsxWriter::Style firstHeadStyle = book.addStyle(head);
    for (int c = 0; c < n; ++c) {
        TQxColumn* column = columns[std::size_t(c)].column;
        book.setColumnWidth(c, column->Width() / 6);
        book.writeText(headerRow, c, column->Title()->Caption(), box.IsFirst(headerRow, c) ? firstHeadStyle : headStyle);
    }

    StyleCache styles(book);
    std::vector<NumberKind> kinds;
    for (const qx::ExportColumn& c : columns)
        kinds.push_back(numberKind(c.field));
    int row = headerRow + 1;
    if (dataSet && dataSet->Active()) {
        TField* vandrel = dataSet->FindField(QStringLiteral("VandrelID"));
        dataSet->First();
        while (!dataSet->Eof()) {
            RowLook look = RowLook::Plain;
            if (vandrel) {
                const int kind = vandrel->IsNull() ? 0 : vandrel->AsInteger();
                look = kind == 3 ? RowLook::Group : kind > 2 ? RowLook::Bold : RowLook::Plain;
            }
            for (int c = 0; c < n; ++c) {
                const bool boxed = box.Contains(row, c);
                writeValue(book, row, c, columns[std::size_t(c)].field,
                           styles.data(kinds[std::size_t(c)], look, boxed, 0));
            }
            ++row;
            dataSet->Next();
        }
    }

    if (!foot.isEmpty()) {
        XlsxStyle s;
        s.wrap = true;
        book.setRowHeight(row, TextLineCount(foot) * 14);
        book.mergeText(row, 0, row, n - 1, foot, book.addStyle(s));
    }
}

} // namespace

QString ExcelColumnName(int N)
{
    if (N < 1 || N > XlsxWriter::MaxColumns)
        return QString();
    QString name;
    while (N > 0) {
        const int digit = (N - 1) % 26;
        name.prepend(QChar(u'A' + digit));
        N = (N - 1) / 26;
    }
    return name;
}

ExcelRangeBorders SetExcelRangeBorders(const QString& FirstCell, const QString& LastCell, int FontSize)
{
    ExcelRangeBorders range;
    range.FontSize = FontSize;
    int r1 = 0, c1 = 0, r2 = 0, c2 = 0;
    if (!parseCell(FirstCell, r1, c1) || !parseCell(LastCell, r2, c2))
        return range;
    range.FirstRow = qMin(r1, r2);
    range.LastRow = qMax(r1, r2);
    range.FirstColumn = qMin(c1, c2);
    range.LastColumn = qMax(c1, c2);
    return range;
}

int TextLineCount(const QString& Text)
{
    int lines = 0;
    const qsizetype n = Text.size();
    qsizetype i = 0;
    while (i < n) {
        // One line: up to its break, which is CR LF, CR or LF.
        while (i < n && Text[i] != u'\r' && Text[i] != u'\n')
            ++i;
        ++lines;
        if (i < n && Text[i] == u'\r')
            ++i;
        if (i < n && Text[i] == u'\n')
            ++i;
    }
    return lines;
}

bool ExportGridToExcel(const QString& Title, const QString& Foot, TQxCustomDBGrid* Grid)
{
    if (!Grid)
        throw Exception(QStringLiteral("网格参数不存在"));
    const std::vector<qx::ExportColumn> columns = qx::exportColumns(*Grid);
    if (int(columns.size()) > XlsxWriter::MaxColumns) {
        qx::showMessage(QStringLiteral("可见列有%1列，Excel文件最多只能容纳%2列，无法导出！")
                            .arg(columns.size())
                            .arg(XlsxWriter::MaxColumns),
                        Grid);
        return false;
    }
    TDataSet* dataSet = qx::gridDataSet(*Grid);
    bool done = false;
    {
        // The grid is not redrawn for every record passed; it is on its first record afterwards.
        qx::ControlsGuard quiet(dataSet);
        struct BackToFirst
        {
            TDataSet* dataSet;
            ~BackToFirst()
            {
                if (dataSet && dataSet->Active()) {
                    try {
                        dataSet->First();
                    } catch (...) {
                        qWarning() << "The dataset could not go back to its first record";
                    }
                }
            }
        } backToFirst{dataSet};
        try {
            if (columns.empty())
                throw Exception(QStringLiteral("没有可导出的列"));
            XlsxWriter book;
            writeSheet(book, Title, Foot, columns, dataSet);
            const QWidget* owner = Grid->window();
            qx::ClaimedExportFile file(owner ? owner->windowTitle() : QString(), QStringLiteral("xlsx"));
            book.save(file.name());
            file.keep();
            done = qx::openWithDesktop(file.name());
            if (!done)
                qWarning() << "The desktop could not open" << file.name();
        } catch (const Exception& e) {
            qWarning() << "Spreadsheet export failed:" << e.Message();
        }
    }
    if (!done)
        qx::showMessage(QStringLiteral("没有发现Excel!"), Grid);
    return done;
}
