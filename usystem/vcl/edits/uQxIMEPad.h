// The candidate pop-up: a small borderless window listing up to eight candidate lines under
// an edit while the user types an input code, with a bold caption on top and the line under
// the mouse in red. It looks nothing up itself: its owner fills the lines and the caption,
// pops it up and reads back the marked line. The library edits share one (SharedImePad in
// uQxEdits.h); the grids' cell editors keep their own. Like the pads it never takes the focus,
// so the user goes on typing in the edit.
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class TQxIMEPad : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QLineEdit* EditControl READ EditControl WRITE SetEditControl)

public:
    static constexpr int LineHeight = 20;

    explicit TQxIMEPad(QWidget* owner = nullptr);
    ~TQxIMEPad() override;

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& value);
    QLineEdit* EditControl() const { return m_editControl; }
    void SetEditControl(QLineEdit* value) { m_editControl = value; }

    // The candidate lines, in display order; the owner fills them.
    QStringList& Lines() { return m_lines; }
    const QStringList& Lines() const { return m_lines; }
    void SetLines(const QStringList& lines);
    // 1-based number of the marked line; 0 or a number past the lines marks none.
    int MarkedLine() const { return m_markedLine; }
    void SetMarkedLine(int value);
    // Index of the last line drawn: at most eight lines are shown.
    int LastIndex() const { return m_lastIndex; }
    int Margin() const { return m_margin; }

    // (X, Y) in the client coordinates of the parent widget.
    void Popup(int X, int Y);
    void AutoWidth();
    void PlaceAt(const QPoint& Point);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void updateLastIndex();

    QString m_caption;
    QPointer<QLineEdit> m_editControl;
    QStringList m_lines;
    int m_markedLine = 1;
    int m_lastIndex = 7;
    int m_margin = 3;
};

namespace qx {

// Lets the library edits create and show the shared pop-up (see ImePadBinding in uQxEdits.h).
// The link edits install it when the first one is made; calling it again changes nothing.
void installImePadBinding();

} // namespace qx
