// Laid-out lines of cell text, kept for the next paintings. A grid draws the same values over
// and over (a search list runs again on every keystroke and shows many of the values it showed
// before, a page scrolled by a row shows all but one of its rows again), and laying a text out
// (splitting it by script, shaping it, breaking the line) costs more than drawing its glyphs.
//
// draw() puts a text where QPainter::drawText with a rectangle and single-line flags puts it,
// pixel for pixel, and clips it the same way: only where the line does not fit its rectangle.
// A line is kept per text, painter font and resolution; the box, the alignment and the pen are
// applied at each drawing, so they are not part of the key. The least recently drawn lines go
// first when the cache is full, and a font that has not been drawn with for a while takes its
// lines with it. Texts the cache does not take go straight to QPainter::drawText: word wrap,
// expanded tabs, mnemonics, justification, right-to-left painting, fonts with underline,
// overline or strike-out, and texts that break into several lines.
#pragma once

#include <QCache>
#include <QFont>
#include <QString>

#include <vector>

class QPainter;
class QRect;

namespace qx {

class CellTextLayouts
{
public:
    explicit CellTextLayouts(int capacity = 512);
    ~CellTextLayouts();
    CellTextLayouts(const CellTextLayouts&) = delete;
    CellTextLayouts& operator=(const CellTextLayouts&) = delete;

    // Draws Text in Rect with Flags as painter.drawText(Rect, Flags, Text) does.
    void draw(QPainter& painter, const QRect& rect, int flags, const QString& text);
    // Forgets every kept line (a grid's font changed).
    void clear();

    int capacity() const { return m_lines.maxCost(); }
    int size() const { return int(m_lines.size()); }
    // Lines laid out, lines drawn again from the cache, and texts handed to QPainter::drawText.
    int laidOut() const { return m_laidOut; }
    int reused() const { return m_reused; }
    int passedOn() const { return m_passedOn; }

private:
    struct Line;
    struct Key
    {
        QString text;
        int font = 0;
        bool operator==(const Key& other) const { return font == other.font && text == other.text; }
        friend size_t qHash(const Key& key, size_t seed = 0) { return qHashMulti(seed, key.text, key.font); }
    };
    struct FontSlot
    {
        int id = 0;
        QFont font;
        int dpiX = 0;
        int dpiY = 0;
    };

    static bool takes(const QPainter& painter, int flags, const QString& text);
    int fontSlot(const QPainter& painter);
    const Line* lineOf(const QPainter& painter, const QString& text);

    QCache<Key, Line> m_lines;
    static constexpr std::size_t kFonts = 8;
    std::vector<FontSlot> m_fonts; // most recently used first
    int m_nextFont = 1;
    int m_laidOut = 0;
    int m_reused = 0;
    int m_passedOn = 0;
};

} // namespace qx
