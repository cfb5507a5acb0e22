// The RTF export of the grid printer: the grid's visible columns as RTF tables, split into
// span parts by the paper width, with the head and foot lines around every page block.
#include "usystem/vcl/printgrid/uQxPrintGridRtf.h"

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/office/SaveFile.h"
#include "platform/report/QREvaluator.h"
#include "platform/report/ReportFonts.h"
#include "platform/report/Units.h"
#include "platform/rtl/Gbk.h"
#include "usystem/vcl/printgrid/uQxPrintGrid.h"
#include "usystem/vcl/printgrid/uQxPrintGridState.h"

#include <QFontDatabase>

#include <algorithm>
#include <cmath>

// ---- pieces ----------------------------------------------------------------------------------

QByteArray RtfFamilyName(int FamilyBits)
{
    static const char* const names[] = {"\\fnil",  "\\froman", "\\fswiss", "\\fmodern",
                                        "\\fscript", "\\fdecor", "\\ftech", "\\fbidi"};
    if (FamilyBits < 0 || FamilyBits > 7)
        return QByteArrayLiteral("\\fnil");
    return QByteArray(names[FamilyBits]);
}

const QList<TColor>& RtfColorTable()
{
    static const QList<TColor> table = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                        0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF,
                                        0xFF0000, 0xFF00FF, 0xFFFF00, 0xC0C0C0, 0x808080, 0xFFFFFF};
    return table;
}

QByteArray RtfText(const QString& Text)
{
    static const char hex[] = "0123456789abcdef";
    const QByteArray gbk = qx::toGbk(Text);
    QByteArray out;
    out.reserve(gbk.size());
    for (const char c : gbk) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\\' || b == '{' || b == '}') {
            out += '\\';
            out += c;
        } else if (b > 0x7F) {
            out += "\\'";
            out += hex[b >> 4];
            out += hex[b & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray RtfColorRef(TColor Color)
{
    const QList<TColor>& table = RtfColorTable();
    for (int k = 1; k <= 17; ++k) {
        if (table.at(k) == Color)
            return "\\cf" + QByteArray::number(k) + ' ';
    }
    return {};
}

QByteArray RtfColorEntry(TColor Color)
{
    const int red = Color & 0xFF;
    const int green = (Color >> 8) & 0xFF;
    const int blue = (Color >> 16) & 0xFF;
    return "\\red" + QByteArray::number(red) + "\\green" + QByteArray::number(green) + "\\blue" +
           QByteArray::number(blue) + ';';
}

namespace {

int rtfFontIndex(const RtfFontList& fonts, const QString& face)
{
    for (int i = 0; i < fonts.size(); ++i) {
        if (fonts.at(i).first.compare(face, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

QByteArray RtfFontSpec(const QFont& Font, const RtfFontList& FontList, TColor Color)
{
    const int index = std::max(0, rtfFontIndex(FontList, Font.family()));
    QByteArray words = "\\f" + QByteArray::number(index) + "\\fs" +
                      QByteArray::number(2 * qx::report::fontPointSize(Font));
    if (Font.bold())
        words += "\\b";
    if (Font.italic())
        words += "\\i";
    if (Font.underline())
        words += "\\ul";
    if (Font.strikeOut())
        words += "\\strike";
    return words + RtfColorRef(Color);
}

QString PadAligned(const QString& Text, int Width, TAlignment Alignment, int CharWidth)
{
    const int chars = Width / (CharWidth + 1);
    const int length = qx::gbkLength(Text);
    if (length >= chars)
        return Text;
    int blanks = 0;
    if (Alignment == taRightJustify)
        blanks = chars - length - 1;
    else if (Alignment == taCenter)
        blanks = (chars - length) / 2;
    return blanks >= 1 ? QString(blanks, QLatin1Char(' ')) + Text : Text;
}

void RtfDocument::Line(const QByteArray& Bytes)
{
    m_bytes += Bytes;
    m_bytes += "\r\n";
}

void RtfDocument::WriteRtfParagraph(const QString& Text, const QFont& Font, const RtfFontList& FontList)
{
    if (Text.isEmpty())
        return;
    Line("\\pard\\nowidctlpar\\cf0\\i0\\b0\\ul0\\strike0" + RtfFontSpec(Font, FontList) + ' ' + RtfText(Text) +
         "\\f0\\par");
}

void RtfDocument::WriteRtfLines(const QStringList& Lines, const QFont& Font, const RtfFontList& FontList)
{
    if (Lines.isEmpty())
        return;
    Line("\\pard\\nowidctlpar\\cf0\\i0\\b0\\ul0\\strike0" + RtfFontSpec(Font, FontList));
    for (const QString& line : Lines)
        Line(' ' + RtfText(line) + "\\par");
}

// ---- the printer's RTF operations --------------------------------------------------------------

namespace {

using qx::report::kPixelsPerInch;

// Halves to the even neighbour, as every measure of the grid printer rounds.
int roundEven(double value)
{
    return int(std::nearbyint(value));
}

int mmToPixels(double mm)
{
    return roundEven(mm / 25.4 * kPixelsPerInch);
}

int mmToTwips(double mm)
{
    return roundEven(mm / 25.4 * 1440.0);
}

// The portrait paper of the page in millimetres: a table size from the engine's table;
// Default and Custom, which the table lacks, from the page's own Width and Length, which hold
// the paper as laid out (so turned back for landscape).
qx::report::PaperDimensions portraitPaper(const TPGPage& page)
{
    qx::report::PaperDimensions paper;
    if (qx::report::paperDimensions(page.PaperSize(), paper))
        return paper;
    const bool landscape = page.Orientation() == poLandscape;
    paper.widthMm = landscape ? page.Length() : page.Width();
    paper.lengthMm = landscape ? page.Width() : page.Length();
    return paper;
}

int textHeight(const QFont& font)
{
    return MeasureTextHeight(QStringLiteral("Wg"), font);
}

// One table of the document: the grid columns it shows and its row definition.
struct RtfPart
{
    QList<int> columns;
    QList<int> widths; // the cell widths in pixels as placed
    QByteArray cells;  // the cell definitions
    int left = 0;

    void add(int column, int width)
    {
        columns.append(column);
        widths.append(width);
        left += width;
        cells += "\\clbrdrt\\brdrw15\\brdrs\\clbrdrl\\brdrw15\\brdrs\\clbrdrb\\brdrw15\\brdrs\\clbrdrr\\brdrw15"
                 "\\brdrs\\cellx" +
                 QByteArray::number(roundEven(left / kPixelsPerInch * 1440.0));
    }
    QByteArray rowDefinition() const { return "\\trowd\\trgaph108\\trleft-108\r\n" + cells; }
};

// Scaled width: the step of a scalable column at the part's zoom.
int scaledWidth(int width, double zoom)
{
    return roundEven(width * zoom - 0.49);
}

// Splits the visible columns into parts no wider than the page. Fixed columns repeat at the
// left of every part at their natural widths; the others are scaled by the part's zoom.
QList<RtfPart> splitColumns(const TQxDBGridColumns& columns, int fixedCols, int pageWidth)
{
    const int count = columns.Count();
    auto widthOf = [&](int i) { return columns.Items(i)->Width(); };

    // The zoom of the first part, over all grid columns.
    int fixedWidth = 0;
    double zoom = 1.0;
    {
        int sum = 0;
        int scalable = 0;
        for (int i = 0; i < count; ++i) {
            sum += widthOf(i);
            if (sum > pageWidth) {
                const int base = scalable > 0 ? scalable : widthOf(i);
                if (base > 0)
                    zoom = double(pageWidth - fixedWidth) / base;
                break;
            }
            if (i < fixedCols)
                fixedWidth += widthOf(i);
            else
                scalable += widthOf(i);
        }
    }

    QList<RtfPart> parts;
    RtfPart part;
    for (int i = 0; i < count; ++i) {
        if (!columns.Items(i)->Visible())
            continue;
        const bool fixed = i < fixedCols;
        if (part.left + widthOf(i) > pageWidth && !part.columns.isEmpty()) {
            parts.append(part);
            // The zoom of the rest, from this column on.
            zoom = 1.0;
            int total = 0;
            for (int j = i; j < count; ++j) {
                if (widthOf(j) + total + fixedWidth > pageWidth) {
                    const int base = total > 0 ? total : widthOf(j);
                    if (base > 0)
                        zoom = double(pageWidth - fixedWidth) / base;
                    break;
                }
                total += widthOf(j);
            }
            part = RtfPart();
            // Hidden columns stay hidden in every part.
            for (int f = 0; f < fixedCols && f < count; ++f) {
                if (columns.Items(f)->Visible())
                    part.add(f, widthOf(f));
            }
            part.add(i, fixed ? widthOf(i) : scaledWidth(widthOf(i), zoom));
        } else {
            part.add(i, fixed ? widthOf(i) : scaledWidth(widthOf(i), zoom));
        }
    }
    if (!part.columns.isEmpty())
        parts.append(part);
    return parts;
}

// Evaluates head and foot lines for the document: each part of a line (split at its markers)
// is a report expression; the parts that evaluate are joined by a blank, the others are left
// out, and a line none of whose parts evaluates is left out.
QStringList evaluatedLines(const QStringList& lines, TDataSet* dataSet)
{
    TQREvaluator evaluator;
    if (dataSet)
        evaluator.SetDataSets({QPointer<TDataSet>(dataSet)});
    QStringList out;
    for (const QString& line : lines) {
        SplitAlignedLine(line);
        const QxGridPrintState& state = gridPrintState();
        QStringList texts;
        bool any = false;
        for (const QString& part : {state.LeftPart, state.CenterPart, state.RightPart}) {
            if (part.isEmpty())
                continue;
            const TQREvResult value = evaluator.Calculate(part);
            if (value.IsError())
                continue;
            any = true;
            const QString text = value.AsText();
            if (!text.trimmed().isEmpty())
                texts.append(text);
        }
        if (any)
            out.append(texts.join(QLatin1Char(' ')));
    }
    return out;
}

// Makes sure every face the document uses is in the font table, in its sorted place.
void addFace(RtfFontList& fonts, const QString& face)
{
    if (face.isEmpty() || rtfFontIndex(fonts, face) >= 0)
        return;
    auto at = std::lower_bound(fonts.begin(), fonts.end(), face, [](const QPair<QString, int>& entry, const QString& name) {
        return entry.first.compare(name, Qt::CaseInsensitive) < 0;
    });
    fonts.insert(at, qMakePair(face, 0));
}

} // namespace

int TQxPrintGrid::EstimateRowsPerPage() const
{
    const TPGPage& page = *Page();
    const qx::report::PaperDimensions paper = portraitPaper(page);
    auto lineHeight = [](const QFont& font, double factor) { return roundEven(factor * textHeight(font)); };
    int used = int(PageHeadExpr().size()) * lineHeight(PageHeadFont(), 1.25) +
               int(PageFootExpr().size()) * lineHeight(PageFootFont(), 1.25);
    if (!PageTitle1().trimmed().isEmpty())
        used += lineHeight(PageTitle1Font(), 1.25);
    if (!PageTitle2().trimmed().isEmpty())
        used += lineHeight(PageTitle2Font(), 1.25);
    used += int(GridHeadExpr().size()) * lineHeight(GridHeadExprFont(), 1.5) +
            int(GridFootExpr().size()) * lineHeight(GridFootExprFont(), 1.5);
    const int room = mmToPixels(paper.lengthMm) - used - lineHeight(GridHeadFont(), 1.5) -
                     mmToPixels(page.TopMargin()) - mmToPixels(page.BottomMargin());
    const int rowHeight = std::max(1, lineHeight(DataFont(), 1.8));
    return room / rowHeight;
}

void TQxPrintGrid::BuildFontList()
{
    FFontList.clear();
    QStringList families = QFontDatabase::families();
    std::stable_sort(families.begin(), families.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    for (const QString& family : families) {
        if (!FFontList.isEmpty() && FFontList.last().first.compare(family, Qt::CaseInsensitive) == 0)
            continue;
        // Fixed-pitch faces are "modern"; the font database tells nothing finer.
        FFontList.append(qMakePair(family, QFontDatabase::isFixedPitch(family) ? 3 : 0));
    }
}

void TQxPrintGrid::ExportRtf(const QString& FileName)
{
    TQxDBGrid* grid = DBGrid();
    if (!grid)
        return;
    TDataSet* data = PrintedDataSet();
    if (!data || !data->Active())
        return;
    const TQxDBGridColumns& columns = *grid->Columns();
    if (columns.Count() < FixedCols())
        SetFixedCols(0);

    const TPGPage& page = *Page();
    const int rowsPerPage = EstimateRowsPerPage();
    const qx::report::PaperDimensions paper = portraitPaper(page);
    const int pageWidth = mmToPixels(paper.widthMm) - mmToPixels(page.LeftMargin() + 1) -
                          mmToPixels(page.RightMargin() + 1);
    BuildFontList();
    for (const QFont& font : {PageHeadFont(), PageFootFont(), PageTitle1Font(), PageTitle2Font(), GridHeadExprFont(),
                              GridFootExprFont(), GridHeadFont(), DataFont()})
        addFace(FFontList, font.family());
    const RtfFontList& fonts = FontList();

    RtfDocument doc;
    {
        QByteArray head = "{\\rtf1\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052\\deftab720";
        if (mmToTwips(paper.lengthMm) > 0) {
            // The sheet as it lies: long side across for landscape.
            const bool landscape = page.Orientation() == poLandscape;
            const int length = mmToTwips(landscape ? paper.widthMm : paper.lengthMm);
            const int width = mmToTwips(landscape ? paper.lengthMm : paper.widthMm);
            head += "\\paperh" + QByteArray::number(length) + "\\paperw" + QByteArray::number(width) + "\\psz" +
                    QByteArray::number(int(page.PaperSize()));
        }
        head += "\\margl" + QByteArray::number(mmToTwips(page.LeftMargin())) + "\\margr" +
                QByteArray::number(mmToTwips(page.RightMargin())) + "\\margt" +
                QByteArray::number(mmToTwips(page.TopMargin())) + "\\margb" +
                QByteArray::number(mmToTwips(page.BottomMargin()));
        if (page.Orientation() == poLandscape)
            head += "\\landscape";
        head += "{\\fonttbl";
        for (int i = 0; i < fonts.size(); ++i)
            head += "{\\f" + QByteArray::number(i) + RtfFamilyName(fonts.at(i).second) + ' ' +
                    RtfText(fonts.at(i).first) + ";}";
        head += '}';
        doc.Line(head);
    }
    {
        QByteArray colors = "{\\colortbl";
        for (TColor color : RtfColorTable())
            colors += RtfColorEntry(color);
        doc.Line(colors + '}');
    }
    doc.Line("\\deflang2052");
    doc.Line("\\viewkind4\\uc1");

    const QList<RtfPart> parts = splitColumns(columns, FixedCols(), pageWidth);
    if (!parts.isEmpty()) {
        // Panel texts are plain text; expression lines are evaluated.
        const bool headIsPanel = GridHeadPanel() != nullptr;
        const bool footIsPanel = GridFootPanel() != nullptr;
        GridHeadPanelText();
        GridFootPanelText();

        // The page counters the expression lines see while the document is written.
        const QxGridPrintStateScope keepState;
        QxGridPrintState& state = gridPrintState();
        const int records = data->RecordCount();
        const int pagesPerPart = rowsPerPage > 0 ? std::max(1, (records + rowsPerPage - 1) / rowsPerPage) : 1;
        state.CurrentReport = nullptr;
        state.SpanCount = int(parts.size()) - 1;
        state.TotalPages = pagesPerPart * int(parts.size());

        const qx::ControlsGuard controls(data);
        const int headCharWidth = MeasureTextWidth(QStringLiteral("X"), GridHeadFont());
        const int dataCharWidth = MeasureTextWidth(QStringLiteral("X"), DataFont());

        auto cell = [](const QString& padded) -> QByteArray {
            if (padded.trimmed().isEmpty())
                return "\\cell";
            return ' ' + RtfText(padded) + "\\cell";
        };
        auto pageHead = [&] {
            for (const QString& line : evaluatedLines(PageHeadExpr(), data))
                doc.WriteRtfParagraph(line, PageHeadFont(), fonts);
        };
        auto pageFoot = [&] {
            for (const QString& line : evaluatedLines(PageFootExpr(), data))
                doc.WriteRtfParagraph(line, PageFootFont(), fonts);
        };
        auto titleBlock = [&] {
            doc.WriteRtfParagraph(PageTitle1().trimmed().isEmpty() ? QString() : PageTitle1(), PageTitle1Font(), fonts);
            doc.WriteRtfParagraph(PageTitle2().trimmed().isEmpty() ? QString() : PageTitle2(), PageTitle2Font(), fonts);
            if (!GridHeadExpr().isEmpty())
                doc.WriteRtfLines(headIsPanel ? GridHeadExpr() : evaluatedLines(GridHeadExpr(), data),
                                  GridHeadExprFont(), fonts);
        };
        auto gridFoot = [&] {
            if (!GridFootExpr().isEmpty())
                doc.WriteRtfLines(footIsPanel ? GridFootExpr() : evaluatedLines(GridFootExpr(), data),
                                  GridFootExprFont(), fonts);
        };
        auto titleRow = [&](const RtfPart& part, bool resetStyle) {
            QByteArray row = "\\pard\\nowidctlpar\\cf0\\lang2052";
            if (resetStyle)
                row += "\\i0\\b0\\ul0\\strike0";
            row += RtfFontSpec(GridHeadFont(), fonts) + "\\intbl";
            for (int k = 0; k < part.columns.size(); ++k) {
                const TQxColumn* column = columns.Items(part.columns.at(k));
                row += cell(PadAligned(column->Title()->Caption(), column->Width(), column->Title()->Alignment(),
                                       headCharWidth));
            }
            doc.Line(row + "\\row");
        };
        const QByteArray dataFontLine = "\\i0\\b0\\ul0\\strike0" + RtfFontSpec(DataFont(), fonts);

        for (int p = 0; p < parts.size(); ++p) {
            const RtfPart& part = parts.at(p);
            state.CurrentSpan = p;
            state.SpanPageNo = 1;
            pageHead();
            titleBlock();
            doc.Line(part.rowDefinition());
            data->First();
            titleRow(part, true);
            doc.Line(dataFontLine);
            int rowsOnPage = 0;
            while (!data->Eof()) {
                QByteArray row = "\\intbl";
                for (int k = 0; k < part.columns.size(); ++k) {
                    const TQxColumn* column = columns.Items(part.columns.at(k));
                    const TField* field = data->FindField(column->FieldName());
                    const QString text = field ? field->DisplayText() : QString();
                    row += cell(PadAligned(text, column->Width(), column->Alignment(), dataCharWidth));
                }
                doc.Line(row + "\\row");
                data->Next();
                // A page break only between rows: no page of titles without rows after the last.
                if (rowsPerPage > 0 && ++rowsOnPage == rowsPerPage && !data->Eof()) {
                    rowsOnPage = 0;
                    gridFoot();
                    pageFoot();
                    doc.Line("{\\page}");
                    ++state.SpanPageNo;
                    pageHead();
                    titleBlock();
                    doc.Line(part.rowDefinition());
                    titleRow(part, false);
                    doc.Line(dataFontLine);
                }
            }
            gridFoot();
            doc.Line("{\\page}");
        }
        data->First();
    }
    doc.Line("}");
    qx::saveFileBytes(FileName, doc.Bytes());
}
