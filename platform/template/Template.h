// A document template held in memory: the page, the bands and the objects on them.
//
// Lengths are whole report units (0.1 mm). Colours are plain RGB TColor values (BGR integers,
// never system colours); a fill of kNoFill leaves an object transparent. A band over data
// names the dataset it runs over ("Mstdataset", "DltDataset1"...); names compare without case.
// How the bands fit together (which detail a header belongs to, which band a child follows)
// is written in FORMAT.md; the renderer (TemplateRenderer.h) checks it.
#pragma once

#include "platform/report/Paper.h"
#include "platform/ui/Colors.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace qx::tpl {

// The format version this build writes and the newest it reads.
inline constexpr int kFormatVersion = 1;
// The fill of a transparent object.
inline constexpr TColor kNoFill = -1;
// The largest length in a template (a 10 m strip), and the largest font and line width.
inline constexpr int kMaxLength = 100000;
inline constexpr int kMaxFontSize = 500;
inline constexpr int kMaxLineWidth = 100;

enum class Orientation { Portrait, Landscape };

struct TemplatePage
{
    // A table paper size (A4, Letter...) or Custom; Width and Length are the sheet as laid
    // out (swapped for landscape).
    TQRPaperSize paper = A4;
    Orientation orientation = Orientation::Portrait;
    int width = 2100;
    int length = 2970;
    int leftMargin = 100;
    int topMargin = 100;
    int rightMargin = 100;
    int bottomMargin = 100;

    bool operator==(const TemplatePage&) const = default;
};

struct TemplateFont
{
    QString name = QStringLiteral("宋体");
    int size = 9; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    TColor color = clBlack;

    bool operator==(const TemplateFont&) const = default;
};

// The lines drawn along an object's edges; width in points. Lines and rectangles draw
// themselves with the frame's width and colour.
struct TemplateFrame
{
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
    int width = 1;
    TColor color = clBlack;

    bool operator==(const TemplateFrame&) const = default;
};

enum class ObjectKind { Text, Field, Line, Rectangle, Picture };
enum class TextAlign { Left, Center, Right };

struct TemplateObject
{
    ObjectKind kind = ObjectKind::Text;
    int left = 0;
    int top = 0;
    int width = 300;
    int height = 50;
    // Text: literal text with expressions in square brackets ("合计 [SUM(Qty)] 件"; "[[" is a
    // literal "["). Field: unused.
    QString text;
    // Field: the dataset and the field shown.
    QString dataSet;
    QString field;
    // A number format (numbers of a text's expressions, numeric fields) or a date format
    // (date fields); empty: the usual text.
    QString format;
    TemplateFont font;
    TColor fill = kNoFill;
    TemplateFrame frame;
    TextAlign align = TextAlign::Left;
    bool wordWrap = false;
    // Texts and fields: grow downwards to show everything. Pictures: stretched over the area
    // (otherwise drawn at their size from the top left corner).
    bool stretch = false;
    // Picture: the PNG file's bytes as they were given.
    QByteArray png;

    bool operator==(const TemplateObject&) const = default;
};

enum class BandKind {
    Title,
    PageHeader,
    PageFooter,
    Master,       // once per record of its dataset (Mstdataset)
    DetailHeader, // before the records of its detail, for each master record
    Detail,       // once per record of its dataset (DltDataset1..4), for each master record
    DetailFooter, // after the records of its detail
    GroupHeader,  // whenever its expression changes over the records of its dataset
    GroupFooter,  // after the last record of a group of its group header
    Summary,
    Child         // right after the band listed before it
};

struct TemplateBand
{
    BandKind kind = BandKind::Title;
    int height = 100;
    // Master, Detail, DetailHeader, DetailFooter, GroupHeader: the dataset.
    QString dataSet;
    // GroupHeader and GroupFooter: the name that pairs a footer with its header.
    QString group;
    // GroupHeader: the expression whose value makes the groups.
    QString expression;
    QList<TemplateObject> objects;

    bool operator==(const TemplateBand&) const = default;
};

struct TemplateDocument
{
    TemplatePage page;
    QList<TemplateBand> bands;

    bool operator==(const TemplateDocument&) const = default;
    // An empty template: one page, no bands.
    bool isEmpty() const { return bands.isEmpty(); }
};

// The names the format writes for kinds and alignments, and back (false: unknown name).
QString bandKindName(BandKind kind);
bool bandKindFromName(const QString& name, BandKind& out);
QString objectKindName(ObjectKind kind);
bool objectKindFromName(const QString& name, ObjectKind& out);
QString alignName(TextAlign align);
bool alignFromName(const QString& name, TextAlign& out);

// The offered dataset names of the documents of this system.
QString masterDataSetName();
QString detailDataSetName(int n); // n from 1 to 4

} // namespace qx::tpl
