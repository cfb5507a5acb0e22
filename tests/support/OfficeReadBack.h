// Reading written office files back in tests: the entries of a zip archive (libzip), the cells,
// merges, widths and heights of a spreadsheet's first sheet with each cell's style resolved,
// and the paragraphs and tables of a word-processor body. Link PkgConfig::LIBZIP.
//
//     const auto sheet = qx::test::readSheet(bytes);
//     EXPECT_EQ(sheet.cells.at("A1").text, u"名称");
//     EXPECT_TRUE(sheet.cells.at("A1").style.bold);
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <zip.h>

#include <map>
#include <vector>

namespace qx::test {

// Every entry of the archive by name; empty when the bytes are no zip archive.
inline QMap<QString, QByteArray> unzipEntries(const QByteArray& bytes)
{
    QMap<QString, QByteArray> out;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error) : nullptr;
    zip_error_fini(&error);
    if (!archive) {
        if (source)
            zip_source_free(source);
        return out;
    }
    const zip_int64_t n = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &st) != 0)
            continue;
        zip_file_t* file = zip_fopen_index(archive, zip_uint64_t(i), 0);
        if (!file)
            continue;
        QByteArray content(qsizetype(st.size), '\0');
        if (zip_fread(file, content.data(), st.size) == zip_int64_t(st.size))
            out.insert(QString::fromUtf8(st.name), content);
        zip_fclose(file);
    }
    zip_close(archive); // frees the source
    return out;
}

struct CellStyle
{
    QString numberFormat; // the code; empty for the general format
    bool bold = false;
    double fontSize = 0;
    QString fontColor;    // "FF0000FF" as the file has it; empty for the default
    QString fill;         // the solid fill's colour; empty for none
    QString hAlign, vAlign;
    QStringList borders;  // the edges with a thin line: "left", "right", "top", "bottom"
    bool wrap = false;
};

struct SheetCell
{
    QString type;  // "s", "inlineStr", "str", "b", "n" (a number; also written as no type)
    QString text;  // the text of a text cell ("_xHHHH_" escapes undone), the value otherwise
    CellStyle style;
};

struct Sheet
{
    std::map<QString, SheetCell> cells;     // by reference ("A1")
    QStringList merges;                     // "A1:C1"
    std::map<int, double> columnWidths;     // first column of a <col> (from 1) to its width
    std::map<int, double> rowHeights;       // row (from 1) to a custom height
    QStringList entries;                    // the archive's entry names
};

namespace detail {

// A cell text as a spreadsheet reads it: "_xHHHH_" is the character HHHH.
inline QString decodeCellText(const QString& raw)
{
    QString out;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'_' && i + 6 < raw.size() && raw[i + 1] == u'x' && raw[i + 6] == u'_') {
            bool ok = false;
            const ushort code = raw.mid(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 6;
                continue;
            }
        }
        out += raw[i];
    }
    return out;
}

inline QString attr(const QXmlStreamReader& x, const char* name)
{
    return x.attributes().value(QLatin1String(name)).toString();
}

inline std::vector<CellStyle> readStyles(const QByteArray& xml)
{
    struct Font { bool bold = false; double size = 0; QString color; };
    struct Xf { int numFmt = 0, font = 0, fill = 0, border = 0; QString h, v; bool wrap = false; };
    std::map<int, QString> numFmts;
    std::vector<Font> fonts;
    std::vector<QString> fills;
    std::vector<QStringList> borders;
    std::vector<Xf> xfs;
    QXmlStreamReader x(xml);
    QString section;
    QString borderEdge;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isEndElement() && (x.name() == u"fonts" || x.name() == u"fills" || x.name() == u"borders"
                                 || x.name() == u"cellXfs" || x.name() == u"cellStyleXfs"))
            section.clear();
        if (!x.isStartElement())
            continue;
        const auto n = x.name();
        if (n == u"fonts" || n == u"fills" || n == u"borders" || n == u"cellXfs" || n == u"cellStyleXfs")
            section = n.toString();
        else if (n == u"numFmt")
            numFmts[attr(x, "numFmtId").toInt()] = attr(x, "formatCode");
        else if (section == u"fonts" && n == u"font")
            fonts.emplace_back();
        else if (section == u"fonts" && n == u"b" && !fonts.empty())
            fonts.back().bold = true;
        else if (section == u"fonts" && n == u"sz" && !fonts.empty())
            fonts.back().size = attr(x, "val").toDouble();
        else if (section == u"fonts" && n == u"color" && !fonts.empty())
            fonts.back().color = attr(x, "rgb");
        else if (section == u"fills" && n == u"fill")
            fills.emplace_back();
        else if (section == u"fills" && n == u"fgColor" && !fills.empty())
            fills.back() = attr(x, "rgb");
        else if (section == u"borders" && n == u"border")
            borders.emplace_back();
        else if (section == u"borders" && !borders.empty()
                 && (n == u"left" || n == u"right" || n == u"top" || n == u"bottom")) {
            if (attr(x, "style") == u"thin")
                borders.back() << n.toString();
        } else if (section == u"cellXfs" && n == u"xf") {
            Xf xf;
            xf.numFmt = attr(x, "numFmtId").toInt();
            xf.font = attr(x, "fontId").toInt();
            xf.fill = attr(x, "fillId").toInt();
            xf.border = attr(x, "borderId").toInt();
            xfs.push_back(xf);
        } else if (section == u"cellXfs" && n == u"alignment" && !xfs.empty()) {
            xfs.back().h = attr(x, "horizontal");
            xfs.back().v = attr(x, "vertical");
            xfs.back().wrap = attr(x, "wrapText") == u"1";
        }
    }
    std::vector<CellStyle> out;
    for (const Xf& xf : xfs) {
        CellStyle s;
        if (xf.numFmt == 49)
            s.numberFormat = QStringLiteral("@");
        else if (numFmts.count(xf.numFmt))
            s.numberFormat = numFmts[xf.numFmt];
        if (xf.font >= 0 && std::size_t(xf.font) < fonts.size()) {
            s.bold = fonts[std::size_t(xf.font)].bold;
            s.fontSize = fonts[std::size_t(xf.font)].size;
            s.fontColor = fonts[std::size_t(xf.font)].color;
        }
        if (xf.fill >= 0 && std::size_t(xf.fill) < fills.size())
            s.fill = fills[std::size_t(xf.fill)];
        if (xf.border >= 0 && std::size_t(xf.border) < borders.size())
            s.borders = borders[std::size_t(xf.border)];
        s.hAlign = xf.h;
        s.vAlign = xf.v;
        s.wrap = xf.wrap;
        out.push_back(s);
    }
    return out;
}

} // namespace detail

// The first sheet of a spreadsheet file; shared strings are resolved.
inline Sheet readSheet(const QByteArray& bytes)
{
    Sheet sheet;
    const auto entries = unzipEntries(bytes);
    sheet.entries = entries.keys();
    const auto styles = detail::readStyles(entries.value(QStringLiteral("xl/styles.xml")));
    QStringList shared;
    {
        QXmlStreamReader x(entries.value(QStringLiteral("xl/sharedStrings.xml")));
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == u"si")
                shared << QString();
            else if (x.isStartElement() && x.name() == u"t" && !shared.isEmpty())
                shared.back() += detail::decodeCellText(x.readElementText());
        }
    }
    QXmlStreamReader x(entries.value(QStringLiteral("xl/worksheets/sheet1.xml")));
    QString ref;
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement())
            continue;
        const auto n = x.name();
        if (n == u"col") {
            if (!detail::attr(x, "width").isEmpty())
                sheet.columnWidths[detail::attr(x, "min").toInt()] = detail::attr(x, "width").toDouble();
        } else if (n == u"row") {
            if (detail::attr(x, "customHeight") == u"1")
                sheet.rowHeights[detail::attr(x, "r").toInt()] = detail::attr(x, "ht").toDouble();
        } else if (n == u"c") {
            ref = detail::attr(x, "r");
            SheetCell cell;
            cell.type = detail::attr(x, "t");
            if (cell.type.isEmpty())
                cell.type = QStringLiteral("n");
            const int s = detail::attr(x, "s").toInt();
            if (s >= 0 && std::size_t(s) < styles.size())
                cell.style = styles[std::size_t(s)];
            sheet.cells[ref] = cell;
        } else if (n == u"v" && !ref.isEmpty()) {
            SheetCell& cell = sheet.cells[ref];
            cell.text = x.readElementText();
            if (cell.type == u"s")
                cell.text = shared.value(cell.text.toInt());
        } else if (n == u"t" && !ref.isEmpty()) {
            sheet.cells[ref].text += detail::decodeCellText(x.readElementText());
        } else if (n == u"f" && !ref.isEmpty()) {
            sheet.cells[ref].type = QStringLiteral("formula");
        } else if (n == u"mergeCell") {
            sheet.merges << detail::attr(x, "ref");
        }
    }
    return sheet;
}

struct DocBody
{
    // The body's blocks in order: a paragraph is one entry of a single cell's text; a table is
    // its rows of cells. Line breaks in a run read as '\n', tabs as '\t'.
    struct Block
    {
        bool table = false;
        QString paragraph;
        std::vector<QStringList> rows;
    };
    std::vector<Block> blocks;
    QStringList entries;
};

// The body of a word-processor file's main part.
inline DocBody readDocument(const QByteArray& bytes)
{
    DocBody body;
    const auto entries = unzipEntries(bytes);
    body.entries = entries.keys();
    QXmlStreamReader x(entries.value(QStringLiteral("word/document.xml")));
    int tableDepth = 0;
    QString* text = nullptr;
    QString cell;
    bool cellHasParagraph = false;
    while (!x.atEnd()) {
        x.readNext();
        const auto n = x.name();
        if (x.isStartElement()) {
            if (n == u"tbl") {
                if (tableDepth++ == 0) {
                    body.blocks.emplace_back();
                    body.blocks.back().table = true;
                }
            } else if (n == u"tr" && tableDepth == 1) {
                body.blocks.back().rows.emplace_back();
            } else if (n == u"tc" && tableDepth == 1) {
                cell.clear();
                cellHasParagraph = false;
                text = &cell;
            } else if (n == u"p") {
                if (tableDepth == 0) {
                    body.blocks.emplace_back();
                    text = &body.blocks.back().paragraph;
                } else if (text) {
                    if (cellHasParagraph)
                        *text += u'\n';
                    cellHasParagraph = true;
                }
            } else if (n == u"t" && text) {
                *text += x.readElementText();
            } else if (n == u"br" && text) {
                *text += u'\n';
            } else if (n == u"tab" && text) {
                *text += u'\t';
            }
        } else if (x.isEndElement()) {
            if (n == u"tbl")
                --tableDepth;
            else if (n == u"tc" && tableDepth == 1) {
                body.blocks.back().rows.back() << cell;
                text = nullptr;
            } else if (n == u"p" && tableDepth == 0)
                text = nullptr;
        }
    }
    return body;
}

} // namespace qx::test
