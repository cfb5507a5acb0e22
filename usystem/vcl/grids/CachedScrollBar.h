// A scroll bar that keeps the images of its last few paintings and draws one again when nothing
// that shapes the picture differs: size, range, position, page and single step, orientation,
// state, palette, style and pixel ratio. A grid repaints often with its bars as they were (a search
// list re-runs on every keystroke), and a styled bar with gradients costs more to draw than the
// rows it scrolls. Under the mouse or while pressed the bar draws straight through the style,
// since its hovered and pressed parts are not part of the key.
#pragma once

#include <QImage>
#include <QScrollBar>

#include <vector>

namespace qx {

class CachedScrollBar : public QScrollBar
{
    Q_OBJECT

public:
    explicit CachedScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    // Paintings drawn through the style, and paintings taken from the kept image (for tests).
    int styledPaints() const { return m_styledPaints; }
    int keptPaints() const { return m_keptPaints; }
    // Forgets the kept images (they go anyway when the bar is hovered or pressed).
    void forgetImages() { m_kept.clear(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Key
    {
        QSize size;
        qreal ratio = 0;
        int state = 0;
        int minimum = 0, maximum = 0, position = 0, value = 0, pageStep = 0, singleStep = 0;
        int orientation = 0;
        bool upsideDown = false;
        int direction = 0;
        qint64 palette = 0;
        const void* style = nullptr;
        bool operator==(const Key&) const = default;
    };

    struct Kept
    {
        Key key;
        QImage image;
    };
    static constexpr std::size_t kKept = 4;
    std::vector<Kept> m_kept; // most recently drawn first
    int m_styledPaints = 0;
    int m_keptPaints = 0;
};

} // namespace qx
