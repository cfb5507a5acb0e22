#include "usystem/vcl/grids/CellTextLayouts.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRect>
#include <QTextLayout>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <memory>

namespace qx {

// One laid-out text and the measures that place it in a box.
struct CellTextLayouts::Line
{
    QTextLayout layout;
    std::vector<qreal> advances; // per line, which align it
    qreal width = 0;  // the widest natural width, which decides whether the text fits its box
    qreal height = 0; // from the first line's top to the last line's bottom, which centres it
};

CellTextLayouts::CellTextLayouts(int capacity) : m_lines(std::max(1, capacity)) {}

CellTextLayouts::~CellTextLayouts() = default;

void CellTextLayouts::clear()
{
    m_lines.clear();
    m_fonts.clear();
}

bool CellTextLayouts::takes(const QPainter& painter, int flags, const QString& text)
{
    constexpr int kPassedOn = Qt::TextShowMnemonic | Qt::TextHideMnemonic | Qt::TextExpandTabs
                              | Qt::TextJustificationForced | Qt::AlignJustify | Qt::TextForceRightToLeft
                              | Qt::TextForceLeftToRight | Qt::TextIncludeTrailingSpaces | Qt::TextDontPrint
                              | Qt::TextLongestVariant;
    if (flags & kPassedOn)
        return false;
    if (painter.layoutDirection() != Qt::LeftToRight)
        return false;
    const QFont& font = painter.font();
    if (font.underline() || font.overline() || font.strikeOut())
        return false;
    for (const QChar c : text)
        if (c == QChar(0x9c)) // several length variants
            return false;
    return true;
}

int CellTextLayouts::fontSlot(const QPainter& painter)
{
    const QFont& font = painter.font();
    const QPaintDevice* device = painter.device();
    const int dpiX = device ? device->logicalDpiX() : 0;
    const int dpiY = device ? device->logicalDpiY() : 0;
    auto found = std::find_if(m_fonts.begin(), m_fonts.end(), [&](const FontSlot& s) {
        return s.dpiX == dpiX && s.dpiY == dpiY && s.font == font;
    });
    if (found != m_fonts.end()) {
        std::rotate(m_fonts.begin(), found, found + 1);
        return m_fonts.front().id;
    }
    if (m_fonts.size() >= kFonts) {
        // The lines of the font drawn with least recently go with it.
        const int gone = m_fonts.back().id;
        m_fonts.pop_back();
        const QList<Key> keys = m_lines.keys();
        for (const Key& key : keys)
            if (key.font == gone)
                m_lines.remove(key);
    }
    m_fonts.insert(m_fonts.begin(), FontSlot{m_nextFont++, font, dpiX, dpiY});
    return m_fonts.front().id;
}

const CellTextLayouts::Line* CellTextLayouts::layoutOf(const QPainter& painter, const QRect& rect, int flags,
                                                        const QString& text)
{
    const bool singleLine = flags & Qt::TextSingleLine;
    const bool wrap = flags & (Qt::TextWordWrap | Qt::TextWrapAnywhere);
    bool separators = false;
    for (const QChar c : text)
        if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator || (!singleLine && c == u'\n'))
            separators = true;
    // Wrapped lines break at the box's width; several lines may stop at its height.
    const bool dontClip = flags & Qt::TextDontClip;
    Key key{text, fontSlot(painter), flags & (Qt::TextSingleLine | Qt::TextWordWrap | Qt::TextWrapAnywhere | Qt::TextDontClip),
            wrap ? std::max(0, rect.width()) : -1, (wrap || separators) && !dontClip ? rect.height() : -1};
    if (const Line* kept = m_lines.object(key)) {
        ++m_reused;
        return kept;
    }
    // Laid out as QPainter lays out a text in a box: returns and tabs read as spaces, and new
    // lines too in a single line; aligned left (the box aligns each line), in the painter's
    // font; lines placed on whole pixels, the leading between them.
    QString shown = text;
    for (QChar& c : shown) {
        if (c == u'\r' || c == u'\t' || (singleLine && c == u'\n'))
            c = u' ';
        else if (c == u'\n')
            c = QChar::LineSeparator;
    }
    auto laid = std::make_unique<Line>();
    QTextLayout& layout = laid->layout;
    layout.setText(shown);
    layout.setFont(painter.font());
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft);
    if (flags & Qt::TextWrapAnywhere)
        option.setWrapMode(QTextOption::WrapAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    const qreal lineWidth = wrap ? std::max<qreal>(0, rect.width()) : qreal(0x01000000);
    const qreal leading = QFontMetricsF(painter.font()).leading();
    qreal height = -leading;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(lineWidth);
        height += leading;
        height = std::ceil(height);
        line.setPosition(QPointF(0, height));
        height += line.ascent() + line.descent();
        laid->width = std::max(laid->width, line.naturalTextWidth());
        laid->advances.push_back(line.horizontalAdvance());
        if (!dontClip && height >= rect.height())
            break;
    }
    layout.endLayout();
    laid->height = height;
    ++m_laidOut;
    const Line* kept = laid.get();
    m_lines.insert(std::move(key), laid.release());
    return kept;
}

void CellTextLayouts::draw(QPainter& painter, const QRect& rect, int flags, const QString& text)
{
    if (text.isEmpty() || painter.pen().style() == Qt::NoPen)
        return; // drawText draws nothing either
    const Line* laid = takes(painter, flags, text) ? layoutOf(painter, rect, flags, text) : nullptr;
    if (!laid) {
        ++m_passedOn;
        painter.drawText(rect, flags, text);
        return;
    }
    const QRectF r(rect);
    qreal yoff = 0;
    if (flags & Qt::AlignBottom)
        yoff = r.height() - laid->height;
    else if (flags & Qt::AlignVCenter)
        yoff = (r.height() - laid->height) / 2;
    qreal xoff = 0;
    if (flags & Qt::AlignRight)
        xoff = r.width() - laid->width;
    else if (flags & Qt::AlignHCenter)
        xoff = (r.width() - laid->width) / 2;
    // Clipped to the box only where the text leaves it.
    const QRectF bounds(r.x() + xoff, r.y() + yoff, laid->width, laid->height);
    const bool clip = !(flags & Qt::TextDontClip) && !r.contains(bounds);
    if (clip) {
        painter.save();
        painter.setClipRect(r, Qt::IntersectClip);
    }
    for (int i = 0; i < laid->layout.lineCount(); ++i) {
        const qreal advance = laid->advances[std::size_t(i)];
        qreal x = 0;
        if (flags & Qt::AlignRight)
            x = r.width() - advance;
        else if (flags & Qt::AlignHCenter)
            x = (r.width() - advance) / 2;
        laid->layout.lineAt(i).draw(&painter, QPointF(r.x() + x, r.y() + yoff));
    }
    if (clip)
        painter.restore();
}

} // namespace qx
