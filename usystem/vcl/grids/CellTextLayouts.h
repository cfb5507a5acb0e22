// Laid-out cell texts, kept for the next paintings. A grid draws the same values over and over
// (a search list runs again on every keystroke and shows many of the values it showed before, a
// page scrolled by a row shows all but one of its rows again, the column titles stay), and
// laying a text out (splitting it by script, shaping it, breaking the lines) costs more than
// drawing its glyphs.
//
// draw() puts a text where QPainter::drawText with a rectangle and flags puts it, pixel for
// pixel, and clips it the same way: only where the text does not fit its rectangle. A layout is
// kept per text, painter font and resolution, and for wrapped or several-line texts per box
// size too (the box decides where lines break and which lines are laid out at all); the place
// in the box, the alignment and the pen are applied at each drawing. The least recently drawn
// layouts go first when the cache is full, and a font that has not been drawn with for a while
// takes its layouts with it. Texts the cache does not take go straight to QPainter::drawText:
// expanded tabs, mnemonics, justification, right-to-left painting, fonts with underline,
// overline or strike-out, and texts with several length variants.
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
    // Texts laid out, texts drawn again from the cache, and texts handed to QPainter::drawText.
    int laidOut() const { return m_laidOut; }
    int reused() const { return m_reused; }
    int passedOn() const { return m_passedOn; }

private:
    struct Line;
    struct Key
    {
        QString text;
        int font = 0;
        int flags = 0;   // the flags that shape the layout
        int width = -1;  // the box's width where lines wrap
        int height = -1; // the box's height where lines may stop before the text's end
        bool operator==(const Key& other) const
        {
            return font == other.font && flags == other.flags && width == other.width
                   && height == other.height && text == other.text;
        }
        friend size_t qHash(const Key& key, size_t seed = 0)
        {
            return qHashMulti(seed, key.text, key.font, key.flags, key.width, key.height);
        }
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
    const Line* layoutOf(const QPainter& painter, const QRect& rect, int flags, const QString& text);

    QCache<Key, Line> m_lines;
    static constexpr std::size_t kFonts = 8;
    std::vector<FontSlot> m_fonts; // most recently used first
    int m_nextFont = 1;
    int m_laidOut = 0;
    int m_reused = 0;
    int m_passedOn = 0;
};

} // namespace qx
