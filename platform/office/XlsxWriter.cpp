#include "platform/office/XlsxWriter.h"

#include "platform/office/SaveFile.h"
#include "platform/office/Utf8Append.h"

#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <string>
#include <utility>
#include <vector>

namespace qx {

namespace {

[[noreturn]] void raise(const char* what, lxw_error error)
{
    throw EXlsxError(QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromUtf8(lxw_strerror(error))));
}

void check(const char* what, lxw_error error)
{
    if (error != LXW_NO_ERROR)
        raise(what, error);
}

// Appends text to out as UTF-8. A spreadsheet reads "_xHHHH_" in a cell's text as the escape
// of character HHHH, so an underscore that starts such a run is written as the escape of an
// underscore ("_x005F_"): the text reads back as it was. NUL, which neither the library nor
// the file can carry, becomes U+FFFD.
void appendCellText(std::string& out, QStringView text)
{
    const qsizetype n = text.size();
    const char16_t* s = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = s[i];
        if (c < 0x80) {
            if (c == 0) {
                out += "\xEF\xBF\xBD";
                continue;
            }
            if (c == u'_' && i + 6 < n && s[i + 1] == u'x' && s[i + 6] == u'_') {
                bool hex = true;
                for (int k = 2; k < 6; ++k) {
                    const char16_t h = s[i + k];
                    hex = hex && ((h >= u'0' && h <= u'9') || (h >= u'a' && h <= u'f') || (h >= u'A' && h <= u'F'));
                }
                if (hex) {
                    out += "_x005F_";
                    continue;
                }
            }
            out += char(c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            c = QChar::surrogateToUcs4(char16_t(c), s[i + 1]);
            ++i;
        } else if (QChar::isSurrogate(c)) {
            c = 0xFFFD; // a lone half of a pair is no character
        }
        office::appendUtf8(out, c);
    }
}

lxw_color_t rgb(int color)
{
    return lxw_color_t(color) & 0xFFFFFFu;
}

} // namespace

struct XlsxWriter::Impl
{
    QTemporaryDir folder;
    QString fileName;
    lxw_workbook* book = nullptr;
    lxw_worksheet* sheet = nullptr;
    // Handle h is styles[h - 1].
    std::vector<std::pair<XlsxStyle, lxw_format*>> styles;
    std::string text; // the UTF-8 of the cell being written, reused
    int lastRow = 0;

    lxw_format* format(Style style) const
    {
        if (style <= 0 || style > int(styles.size()))
            return nullptr;
        return styles[std::size_t(style - 1)].second;
    }

    void checkOpen() const
    {
        if (!book)
            throw EXlsxError(QStringLiteral("The workbook is already finished"));
    }

    void checkBounds(int row, int column) const
    {
        checkOpen();
        if (row < 0 || row >= MaxRows || column < 0 || column >= MaxColumns)
            throw EXlsxLimit(QStringLiteral("Cell (%1, %2) lies outside the sheet").arg(row).arg(column));
    }

    // Rows go out in order: a row above the last written one is gone already.
    void checkCell(int row, int column)
    {
        checkBounds(row, column);
        if (row < lastRow)
            throw EXlsxError(QStringLiteral("Row %1 comes after row %2").arg(row).arg(lastRow));
        lastRow = row;
    }

    const char* utf8(QStringView value)
    {
        if (value.size() > MaxTextLength)
            throw EXlsxLimit(QStringLiteral("A text of %1 characters is longer than a cell holds (%2)")
                                 .arg(value.size())
                                 .arg(MaxTextLength));
        text.clear();
        appendCellText(text, value);
        return text.c_str();
    }
};

XlsxWriter::XlsxWriter() : d(std::make_unique<Impl>())
{
    if (!d->folder.isValid())
        throw EXlsxError(QStringLiteral("Cannot create a temporary folder for the workbook: %1")
                             .arg(d->folder.errorString()));
    d->fileName = d->folder.filePath(QStringLiteral("book.xlsx"));
    const QByteArray path = QFile::encodeName(d->fileName);
    QByteArray tmp = QFile::encodeName(d->folder.path());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmp.data();
    d->book = workbook_new_opt(path.constData(), &options);
    if (!d->book)
        throw EXlsxError(QStringLiteral("Cannot create the workbook"));
    d->sheet = workbook_add_worksheet(d->book, nullptr);
    if (!d->sheet) {
        lxw_workbook_free(d->book);
        d->book = nullptr;
        throw EXlsxError(QStringLiteral("Cannot add a sheet to the workbook"));
    }
}

XlsxWriter::~XlsxWriter()
{
    // A workbook left unfinished is dropped without writing; its folder goes with d.
    if (d->book)
        lxw_workbook_free(d->book);
}

XlsxWriter::Style XlsxWriter::addStyle(const XlsxStyle& style)
{
    d->checkOpen();
    for (std::size_t i = 0; i < d->styles.size(); ++i) {
        if (d->styles[i].first == style)
            return Style(i + 1);
    }
    lxw_format* f = workbook_add_format(d->book);
    if (!f)
        throw EXlsxError(QStringLiteral("Cannot add a style to the workbook"));
    if (!style.numberFormat.isEmpty())
        format_set_num_format(f, style.numberFormat.toUtf8().constData());
    if (style.bold)
        format_set_bold(f);
    if (style.fontSize > 0)
        format_set_font_size(f, style.fontSize);
    if (style.fontColor >= 0)
        format_set_font_color(f, rgb(style.fontColor));
    if (style.fillColor >= 0) {
        format_set_pattern(f, LXW_PATTERN_SOLID);
        format_set_bg_color(f, rgb(style.fillColor));
    }
    if (style.hAlign == XlsxStyle::HAlign::Center)
        format_set_align(f, LXW_ALIGN_CENTER);
    if (style.vAlign == XlsxStyle::VAlign::Bottom)
        format_set_align(f, LXW_ALIGN_VERTICAL_BOTTOM);
    if (style.thinBorders)
        format_set_border(f, LXW_BORDER_THIN);
    if (style.wrap)
        format_set_text_wrap(f);
    d->styles.emplace_back(style, f);
    return Style(d->styles.size());
}

void XlsxWriter::setColumnWidth(int column, double width)
{
    d->checkOpen();
    if (column < 0 || column >= MaxColumns)
        throw EXlsxLimit(QStringLiteral("Column %1 lies outside the sheet").arg(column));
    check("Cannot set a column's width",
          worksheet_set_column(d->sheet, lxw_col_t(column), lxw_col_t(column),
                               qBound(0.0, width, MaxColumnWidth), nullptr));
}

void XlsxWriter::setRowHeight(int row, double points)
{
    d->checkCell(row, 0);
    check("Cannot set a row's height",
          worksheet_set_row(d->sheet, lxw_row_t(row), qBound(0.0, points, MaxRowHeight), nullptr));
}

void XlsxWriter::writeText(int row, int column, QStringView text, Style style)
{
    d->checkCell(row, column);
    if (text.isEmpty()) {
        writeBlank(row, column, style);
        return;
    }
    check("Cannot write a text cell",
          worksheet_write_string(d->sheet, lxw_row_t(row), lxw_col_t(column), d->utf8(text), d->format(style)));
}

void XlsxWriter::writeNumber(int row, int column, double value, Style style)
{
    d->checkCell(row, column);
    check("Cannot write a number cell",
          worksheet_write_number(d->sheet, lxw_row_t(row), lxw_col_t(column), value, d->format(style)));
}

void XlsxWriter::writeBoolean(int row, int column, bool value, Style style)
{
    d->checkCell(row, column);
    check("Cannot write a Boolean cell",
          worksheet_write_boolean(d->sheet, lxw_row_t(row), lxw_col_t(column), value ? 1 : 0, d->format(style)));
}

void XlsxWriter::writeBlank(int row, int column, Style style)
{
    d->checkCell(row, column);
    // A blank cell without a style is no cell at all.
    if (style == 0)
        return;
    check("Cannot write a blank cell",
          worksheet_write_blank(d->sheet, lxw_row_t(row), lxw_col_t(column), d->format(style)));
}

void XlsxWriter::mergeText(int firstRow, int firstColumn, int lastRow, int lastColumn,
                           QStringView text, Style style)
{
    if (firstRow == lastRow && firstColumn == lastColumn) {
        writeText(firstRow, firstColumn, text, style);
        return;
    }
    d->checkBounds(lastRow, lastColumn);
    if (lastRow < firstRow || lastColumn < firstColumn)
        throw EXlsxError(QStringLiteral("An empty range cannot be merged"));
    d->checkCell(firstRow, firstColumn);
    check("Cannot merge cells",
          worksheet_merge_range(d->sheet, lxw_row_t(firstRow), lxw_col_t(firstColumn), lxw_row_t(lastRow),
                                lxw_col_t(lastColumn), d->utf8(text), d->format(style)));
    d->lastRow = lastRow;
}

QByteArray XlsxWriter::finish()
{
    d->checkOpen();
    // workbook_close frees the workbook whatever it returns.
    lxw_workbook* book = std::exchange(d->book, nullptr);
    d->sheet = nullptr;
    check("Cannot write the workbook", workbook_close(book));
    QFile file(d->fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EXlsxError(QStringLiteral("Cannot read the workbook: %1").arg(file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() != file.size())
        throw EXlsxError(QStringLiteral("Cannot read the workbook: %1").arg(file.errorString()));
    return bytes;
}

void XlsxWriter::save(const QString& fileName)
{
    saveFileBytes(fileName, finish());
}

} // namespace qx
