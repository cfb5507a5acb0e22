#include "usystem/vcl/grids/CellTextLayouts.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRect>
#include <QTextLayout>

#include <algorithm>

namespace qx {

// One laid-out line and the measures that place it in a box.
struct CellTextLayouts::Line
{
    QTextLayout layout;
    qreal width = 0;   // the natural width, which decides whether the line fits its box
    qreal advance = 0; // the advance, which aligns it
    qreal height = 0;  // ascent and descent, which centre it
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
    constexpr int kPassedOn = Qt::TextWordWrap | Qt::TextWrapAnywhere | Qt::TextShowMnemonic
                              | Qt::TextHideMnemonic | Qt::TextExpandTabs | Qt::TextJustificationForced
                              | Qt::AlignJustify | Qt::TextForceRightToLeft | Qt::TextForceLeftToRight
                              | Qt::TextIncludeTrailingSpaces | Qt::TextDontPrint | Qt::TextLongestVariant;
    if ((flags & kPassedOn) || !(flags & Qt::TextSingleLine))
        return false;
    if (painter.layoutDirection() != Qt::LeftToRight)
        return false;
    const QFont& font = painter.font();
    if (font.underline() || font.overline() || font.strikeOut())
        return false;
    // Several length variants, or line and paragraph separators: more than one line.
    for (const QChar c : text)
        if (c == QChar(0x9c) || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
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

const CellTextLayouts::Line* CellTextLayouts::lineOf(const QPainter& painter, const QString& text)
{
    Key key{text, fontSlot(painter)};
    if (const Line* kept = m_lines.object(key)) {
        ++m_reused;
        return kept;
    }
    // Laid out as QPainter lays out a single line: returns and tabs read as spaces, no width to
    // break at, aligned left (the box aligns it), in the painter's font.
    QString shown = text;
    for (QChar& c : shown)
        if (c == u'\r' || c == u'\n' || c == u'\t')
            c = u' ';
    auto line = std::make_unique<Line>();
    line->layout.setText(shown);
    line->layout.setFont(painter.font());
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft);
    line->layout.setTextOption(option);
    line->layout.setCacheEnabled(true);
    line->layout.beginLayout();
    QTextLine first = line->layout.createLine();
    if (first.isValid()) {
        first.setLineWidth(0x01000000);
        first.setPosition(QPointF(0, 0));
    }
    const bool one = first.isValid() && !line->layout.createLine().isValid();
    line->layout.endLayout();
    if (!one)
        return nullptr;
    const QTextLine laid = line->layout.lineAt(0);
    line->width = laid.naturalTextWidth();
    line->advance = laid.horizontalAdvance();
    line->height = laid.ascent() + laid.descent();
    ++m_laidOut;
    const Line* kept = line.get();
    m_lines.insert(std::move(key), line.release());
    return kept;
}

void CellTextLayouts::draw(QPainter& painter, const QRect& rect, int flags, const QString& text)
{
    if (text.isEmpty() || painter.pen().style() == Qt::NoPen)
        return; // drawText draws nothing either
    const Line* line = takes(painter, flags, text) ? lineOf(painter, text) : nullptr;
    if (!line) {
        ++m_passedOn;
        painter.drawText(rect, flags, text);
        return;
    }
    const QRectF r(rect);
    qreal yoff = 0;
    if (flags & Qt::AlignBottom)
        yoff = r.height() - line->height;
    else if (flags & Qt::AlignVCenter)
        yoff = (r.height() - line->height) / 2;
    qreal boundsX = 0;
    qreal x = 0;
    if (flags & Qt::AlignRight) {
        boundsX = r.width() - line->width;
        x = r.width() - line->advance;
    } else if (flags & Qt::AlignHCenter) {
        boundsX = (r.width() - line->width) / 2;
        x = (r.width() - line->advance) / 2;
    }
    // Clipped to the box only where the line leaves it.
    const QRectF bounds(r.x() + boundsX, r.y() + yoff, line->width, line->height);
    const bool clip = !(flags & Qt::TextDontClip) && !r.contains(bounds);
    if (clip) {
        painter.save();
        painter.setClipRect(r, Qt::IntersectClip);
    }
    line->layout.lineAt(0).draw(&painter, QPointF(r.x() + x, r.y() + yoff));
    if (clip)
        painter.restore();
}

} // namespace qx
