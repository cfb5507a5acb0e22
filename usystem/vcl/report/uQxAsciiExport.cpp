#include "usystem/vcl/report/uQxAsciiExport.h"

#include "platform/report/ReportFonts.h"
#include "platform/rtl/Gbk.h"
#include "platform/rtl/SafeSave.h"
#include "platform/rtl/SysUtils.h"

#include <QFileInfo>

#include <cmath>

namespace {

// The box-drawing characters in GBK.
const QByteArray kCross("\xA9\xE0");     // ┼
const QByteArray kTeeDown("\xA9\xD0");   // ┬
const QByteArray kTeeUp("\xA9\xD8");     // ┴
const QByteArray kTeeRight("\xA9\xC0");  // ├
const QByteArray kCornerBL("\xA9\xB8");  // └
const QByteArray kCornerTL("\xA9\xB0");  // ┌
const QByteArray kTeeLeft("\xA9\xC8");   // ┤
const QByteArray kCornerTR("\xA9\xB4");  // ┐
const QByteArray kCornerBR("\xA9\xBC");  // ┘
const QByteArray kVertical("\xA9\xA6");  // │
const QByteArray kHorizontal("\xA9\xA4"); // ─

const QByteArray kCrLf("\r\n");

// The lines of a row or piece: each line runs to the next CR, and the CR and the byte after it
// are skipped. An empty text has no lines.
std::vector<QByteArray> splitLines(const QByteArray& text)
{
    std::vector<QByteArray> lines;
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype cr = text.indexOf('\r', i);
        if (cr < 0) {
            lines.push_back(text.mid(i));
            break;
        }
        lines.push_back(text.mid(i, cr - i));
        i = cr + 2;
    }
    return lines;
}

// The lines of a page while its frames are turned into box-drawing characters. Positions
// count from 1, as the rules for junctions are written.
class PageGrid
{
public:
    explicit PageGrid(std::vector<QByteArray> lines) : m_lines(std::move(lines)) {}

    int count() const { return int(m_lines.size()); }
    QByteArray& line(int i) { return m_lines[size_t(i)]; }
    std::vector<QByteArray> take() { return std::move(m_lines); }

    // Byte k of line i; 0 where the line or the byte does not exist.
    char at(int i, qsizetype k) const
    {
        if (i < 0 || i >= count() || k < 1 || k > m_lines[size_t(i)].size())
            return 0;
        return m_lines[size_t(i)].at(k - 1);
    }
    bool isDash(int i, qsizetype k) const { return at(i, k) == '-'; }
    // A bar: a '|' that is not the second byte of a double-byte character.
    bool isBar(int i, qsizetype k) const
    {
        return at(i, k) == '|' && isCharacterStart(m_lines[size_t(i)], k - 1);
    }

    // Inserts text before byte k of line i (at the end when the line is shorter).
    void insertAt(int i, qsizetype k, const QByteArray& text)
    {
        QByteArray& l = line(i);
        l.insert(std::min(std::max<qsizetype>(k - 1, 0), l.size()), text);
    }
    // Inserts a space at the nearest space at or left of byte k of line i; nothing when the
    // line has none there.
    void insertSpaceAtOrLeft(int i, qsizetype k)
    {
        QByteArray& l = line(i);
        for (qsizetype p = std::min(k, l.size()); p >= 1; --p) {
            if (l.at(p - 1) == ' ') {
                l.insert(p - 1, ' ');
                return;
            }
        }
    }

    static bool isCharacterStart(const QByteArray& l, qsizetype index)
    {
        qsizetype i = 0;
        while (i < index)
            i += qx::isGbkLeadByte(static_cast<unsigned char>(l.at(i))) ? 2 : 1;
        return i == index;
    }

private:
    std::vector<QByteArray> m_lines;
};

// Two bars that meet become one: the first of them a space.
QByteArray joinBars(QByteArray l)
{
    qsizetype at = 0;
    while ((at = l.indexOf("||", at)) >= 0) {
        if (PageGrid::isCharacterStart(l, at))
            l[at] = ' ';
        ++at;
    }
    return l;
}

// Rules meet the bars above and below them.
void placeJunctions(PageGrid& g)
{
    for (int b = 0; b < g.count(); ++b) {
        for (qsizetype e = g.line(b).size(); e >= 1; --e) {
            if (!g.isDash(b, e))
                continue;
            const bool barAbove = g.isBar(b - 1, e);
            const bool barBelow = g.isBar(b + 1, e);
            if (barAbove && barBelow) {
                g.line(b).replace(e - 1, 1, kCross);
            } else if (!barAbove && barBelow) {
                g.line(b).replace(e - 1, 1, kTeeDown);
            } else if (barAbove && !barBelow) {
                g.line(b).replace(e - 1, 1, kTeeUp);
                // The rule grew a byte; a rule further down is pushed along so the boxes below
                // keep meeting it.
                if (g.isDash(b + 2, e)) {
                    g.insertSpaceAtOrLeft(b + 1, e);
                    if (!g.isBar(b + 3, e)) {
                        g.insertAt(b + 2, e, "-");
                        if (g.isDash(b + 4, e)) {
                            g.insertSpaceAtOrLeft(b + 3, e);
                            g.insertAt(b + 4, e, "-");
                        }
                    }
                }
            }
        }
    }
}

// The ends of rules become corners, bars │, pairs of dashes ─.
QByteArray drawCornersAndRules(QByteArray l)
{
    if (l.startsWith(kCross))
        l.replace(0, 2, kTeeRight);
    else if (l.startsWith(kTeeUp))
        l.replace(0, 2, kCornerBL);
    else if (l.startsWith(kTeeDown))
        l.replace(0, 2, kCornerTL);
    if (l.endsWith(kCross + '-'))
        l.replace(l.size() - 3, 3, kTeeLeft);
    else if (l.endsWith(kTeeDown + '-'))
        l.replace(l.size() - 3, 3, kCornerTR);
    else if (l.endsWith(kTeeUp + '-'))
        l.replace(l.size() - 3, 3, kCornerBR);

    // Character starts are found from the front once; replacing from the back keeps the
    // positions in front valid.
    std::vector<bool> starts(size_t(l.size()), false);
    for (qsizetype i = 0; i < l.size(); i += qx::isGbkLeadByte(static_cast<unsigned char>(l.at(i))) ? 2 : 1)
        starts[size_t(i)] = true;
    for (qsizetype k = l.size() - 1; k >= 0; --k) {
        if (!starts[size_t(k)])
            continue;
        if (l.at(k) == '|') {
            l.replace(k, 1, kVertical);
        } else if (l.at(k) == '-' && k >= 1 && l.at(k - 1) == '-') {
            l.replace(k - 1, 2, kHorizontal);
            --k;
        }
    }
    return l;
}

QString gbkNameMessage(const char* head, const QString& fileName)
{
    return QString::fromUtf8(head) + fileName + QStringLiteral("出错！");
}

} // namespace

TsQRAsciiExportFilter::TsQRAsciiExportFilter(const QString& fileName) : TQRExportFilter(fileName) {}

TsQRAsciiExportFilter::~TsQRAsciiExportFilter() = default;

QString TsQRAsciiExportFilter::Description() const
{
    return QStringLiteral("文本输出过滤");
}

QString TsQRAsciiExportFilter::Extension() const
{
    return QStringLiteral("TXT");
}

QString TsQRAsciiExportFilter::FilterName() const
{
    return QStringLiteral("文本文件");
}

void TsQRAsciiExportFilter::Start(double PaperWidth, double PaperHeight, const QFont& Font)
{
    TQRExportFilter::Start(PaperWidth, PaperHeight, Font);
    const bool exists = QFileInfo::exists(FileName());
    try {
        m_file = std::make_unique<qx::SafeSave>(FileName());
    } catch (const EInOutError&) {
        throw EInOutError(gbkNameMessage(exists ? "打开文件:" : "生成文件:", FileName()));
    }
    // One character is as wide and as high as the font's size in report units.
    m_lineHeight = m_charWidth = qx::report::fontPointSize(Font) * 254.0 / 72.0;
    m_linesPerPage = m_lineHeight > 0 ? int(Round(PaperHeight / m_lineHeight)) : 0;
    m_pageRows.clear();
}

void TsQRAsciiExportFilter::NewPage()
{
    m_pageRows.clear();
}

void TsQRAsciiExportFilter::TextOut(double X, double Y, const QFont&, TColor, TAlignment Alignment,
                                    const QString& Text)
{
    const QByteArray text = qx::toGbk(Text);
    double c = m_charWidth != 0 ? X / m_charWidth * 1.7 : 0;
    const qint64 r = m_lineHeight != 0 ? std::max<qint64>(Round(Y / m_lineHeight), 0) : 0;
    if (Alignment == taRightJustify)
        c -= double(text.size());
    const qint64 column = Round(c);

    if (qint64(m_pageRows.size()) <= r)
        m_pageRows.resize(size_t(r) + 1);
    const std::vector<QByteArray> slotLines = splitLines(m_pageRows[size_t(r)]);
    const std::vector<QByteArray> textLines = splitLines(text);
    QByteArray joined;
    for (size_t i = 0; i < std::max(slotLines.size(), textLines.size()); ++i) {
        QByteArray l = i < slotLines.size() ? slotLines[i] : QByteArray();
        const QByteArray t = i < textLines.size() ? textLines[i] : QByteArray();
        if (c > double(l.size()))
            l.append(QByteArray(qsizetype(column - l.size()), ' '));
        if (column >= 1)
            l.replace(qsizetype(column - 1), std::min(t.size(), l.size() - qsizetype(column - 1)), t);
        else
            l.prepend(t);
        if (i > 0)
            joined += kCrLf;
        joined += l;
    }
    m_pageRows[size_t(r)] = joined;
}

std::vector<QByteArray> TsQRAsciiExportFilter::PageLines(const std::vector<QByteArray>& rows)
{
    std::vector<QByteArray> lines;
    for (const QByteArray& row : rows) {
        for (const QByteArray& l : splitLines(row))
            lines.push_back(joinBars(l));
    }
    PageGrid grid(std::move(lines));
    placeJunctions(grid);
    lines = grid.take();
    for (QByteArray& l : lines)
        l = drawCornersAndRules(std::move(l));
    return lines;
}

void TsQRAsciiExportFilter::EndPage()
{
    // Rows below the paper hold no text, so every row there is makes the page.
    bool wrote = false;
    for (const QByteArray& l : PageLines(m_pageRows)) {
        if (l.isEmpty())
            continue;
        WriteTextLine(l);
        wrote = true;
    }
    if (wrote) {
        WriteTextLine(" ");
        WriteTextLine(" ");
    }
}

void TsQRAsciiExportFilter::Finish()
{
    if (!m_file)
        return;
    try {
        m_file->commit();
    } catch (const EInOutError&) {
        m_file.reset();
        raiseWriteError();
    }
    m_file.reset();
}

void TsQRAsciiExportFilter::WriteTextLine(const QByteArray& S)
{
    if (!m_file || m_file->write(S + kCrLf) != S.size() + 2)
        raiseWriteError();
}

void TsQRAsciiExportFilter::raiseWriteError() const
{
    throw EInOutError(gbkNameMessage("生成文件:", FileName()));
}
