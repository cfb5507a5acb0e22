// The page of the template designer: the page at a zoom with millimetre rulers and a grid, the bands as labelled
// strips one under the other, and their objects. The mouse selects objects (Ctrl adds to the
// selection), drags them, and places a new object where the chosen tool is clicked; the keys
// move the selection by one grid step (arrows), size it (Shift + arrows), delete it (Delete),
// copy and paste it (Ctrl+C, Ctrl+V) and undo and redo (Ctrl+Z, Ctrl+Y). A field dragged from
// the field list is placed where it is dropped on a band.
#pragma once

#include "platform/template/DesignerModel.h"

#include <QWidget>

class QPainter;

#include <functional>
#include <optional>

namespace qx::tpl {

class DesignerPage : public QWidget
{
    Q_OBJECT

public:
    // Height of the caption strip drawn above each band, in pixels.
    static constexpr int kCaptionHeight = 18;
    // The page's top left corner in the widget, in pixels.
    static constexpr int kOrigin = 20;

    DesignerPage(DesignerModel& model, QWidget* parent = nullptr);

    // In percent.
    int zoom() const { return m_zoom; }
    void setZoom(int percent);

    // The object kind the next click on a band places; none: clicks select.
    std::optional<ObjectKind> tool() const { return m_tool; }
    void setTool(std::optional<ObjectKind> kind) { m_tool = kind; }

    // The band clicked last (or -1).
    int currentBand() const { return m_currentBand; }
    void setCurrentBand(int band);

    // Pixels <-> report units at the zoom.
    double scale() const;
    // The widget rectangle of a band's content (below its caption), and of an object.
    QRect bandRect(int band) const;
    QRect objectRect(ObjectRef ref) const;
    // The band under a widget point (-1: none) and the point in the band's report units.
    int bandAt(QPoint pixel, QPoint* units = nullptr) const;

    QSize sizeHint() const override;

    // Asked before an object is placed with a tool; may fill it in (a picture's file) or
    // return false to place nothing.
    std::function<bool(TemplateObject&)> onPlacing;

    // Told after every change of the model made here (and of the selection).
    std::function<void()> onChanged;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void changed();
    void paintRulers(QPainter& p, const QRect& page);
    ObjectRef objectAt(QPoint pixel) const;
    // Accepts a drag that carries a field over a band.
    bool acceptsDrop(QDropEvent* event) const;
    int bandTop(int band) const;

    DesignerModel& m_model;
    int m_zoom = 100;
    std::optional<ObjectKind> m_tool;
    int m_currentBand = -1;
    bool m_dragging = false;
    QPoint m_dragStart;
    QPoint m_dragNow;
};

} // namespace qx::tpl
