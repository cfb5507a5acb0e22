#include "usystem/vcl/edits/uQxIMEPad.h"

#include "platform/ui/Colors.h"
#include "platform/ui/Popup.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/controls/uQxGraphics.h"
#include "usystem/vcl/edits/uQxTransControl.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

TQxIMEPad::TQxIMEPad(QWidget* owner) : QWidget(owner)
{
    qx::makeNonActivatingPopup(this);
    setMouseTracking(true);
    QFont f(QStringLiteral("宋体"));
    f.setPointSize(9);
    setFont(f);
    resize(200, 190);
    hide();
}

TQxIMEPad::~TQxIMEPad() = default;

void TQxIMEPad::SetCaption(const QString& value)
{
    if (value == m_caption)
        return;
    m_caption = value;
    update();
}

void TQxIMEPad::SetLines(const QStringList& lines)
{
    m_lines = lines;
    updateLastIndex();
    update();
}

void TQxIMEPad::SetMarkedLine(int value)
{
    if (value == m_markedLine)
        return;
    m_markedLine = value;
    update();
}

void TQxIMEPad::updateLastIndex()
{
    m_lastIndex = m_lines.size() > 8 ? 7 : int(m_lines.size()) - 1;
}

void TQxIMEPad::AutoWidth()
{
    if (m_lines.isEmpty())
        return;
    // Measured as the lines are drawn: the font of the lines, character by character.
    QPixmap scratch(1, 1);
    QPainter p(&scratch);
    p.setFont(font());
    int widest = 0;
    for (const QString& line : m_lines)
        widest = qMax(widest, DbcsTextWidth(p, line));
    resize(widest + 50, height());
}

void TQxIMEPad::Popup(int X, int Y)
{
    AutoWidth();
    if (isVisible())
        return;
    if (m_lines.isEmpty()) {
        hide();
        return;
    }
    PlaceAt(QPoint(X, Y));
    show();
    raise();
}

void TQxIMEPad::PlaceAt(const QPoint& Point)
{
    QWidget* parent = parentWidget();
    QPoint s = parent ? parent->mapToGlobal(Point) : Point;
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->geometry();
        // No room below the edit: the pop-up goes above it.
        if (qx::rectBottom(area) - s.y() - height() < 0)
            s.ry() -= (m_editControl ? m_editControl->height() : 0) + height();
        if (qx::rectRight(area) - s.x() - width() < 0)
            s.setX(qx::rectRight(area) - width());
    }
    move(s);
}

void TQxIMEPad::paintEvent(QPaintEvent*)
{
    updateLastIndex();
    QPainter p(this);
    const int a = m_margin + 2;
    p.fillRect(rect(), toQColor(clBtnFace));
    qx::drawEdge(p, rect(), qx::EdgeRaised, qx::BfRect);
    qx::drawEdge(p, rect().adjusted(2, 2, -2, -2), qx::EdgeEtched, qx::BfRect);

    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(Qt::black);
    const QRect captionRect = qx::rectLTRB(a, a, width() - a, a + LineHeight);
    p.drawText(captionRect, Qt::AlignCenter | Qt::TextSingleLine, m_caption);
    qx::drawEdge(p, captionRect, qx::EdgeEtched, qx::BfBottom);

    p.setFont(font());
    const QFontMetrics fm(font());
    int top = qx::rectBottom(captionRect);
    for (int i = 1; i <= m_lastIndex + 1; ++i) {
        const QRect r = qx::rectLTRB(a, top, width() - a, top + LineHeight);
        const QString text = QStringLiteral("\u00B7") + QString::number(i) + QStringLiteral(": ")
                             + m_lines.at(i - 1);
        p.setPen(toQColor(i == m_markedLine ? clRed : clBlack));
        qx::drawEdge(p, r, qx::EdgeEtched, qx::BfBottom);
        p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   fm.elidedText(text, Qt::ElideRight, r.width()));
        top += LineHeight;
    }
}

void TQxIMEPad::mouseMoveEvent(QMouseEvent* event)
{
    const int y = int(event->position().y());
    if (y <= (m_lastIndex + 2) * LineHeight && y / LineHeight != m_markedLine) {
        m_markedLine = y / LineHeight;
        repaint();
    }
}

void TQxIMEPad::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    hide();
}

namespace qx {

void installImePadBinding()
{
    if (imePadBinding().create)
        return;
    ImePadBinding b;
    b.create = [](TQxCustomEdit* owner) { return new TQxIMEPad(owner); };
    b.widget = [](TQxIMEPad* pad) -> QWidget* { return pad; };
    b.popupUnder = [](TQxIMEPad* pad, TQxCustomEdit* edit) {
        if (pad->parentWidget() != edit)
            pad->setParent(edit, pad->windowFlags());
        pad->SetEditControl(edit);
        pad->Popup(0, edit->height());
    };
    setImePadBinding(std::move(b));
}

} // namespace qx
