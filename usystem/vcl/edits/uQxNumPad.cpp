#include "usystem/vcl/edits/uQxNumPad.h"

#include "platform/rtl/SysUtils.h"
#include "platform/ui/Popup.h"
#include "usystem/vcl/edits/uQxTransControl.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

constexpr int Origin = 2;
constexpr int Cell = 20;

QChar decimalSeparator()
{
    return FormatSettings().DecimalSeparator;
}

QString keyLabel(int k)
{
    static const char* const labels[19] = {"7", "8", "9", "/", "4", "5", "6", "*", "1", "2",
                                           "3", "-", "0", ".", "\u00B1", "+", "C", "<-", "="};
    if (k == 13)
        return QString(decimalSeparator());
    return QString::fromUtf8(labels[k]);
}

} // namespace

TQxNumPad::TQxNumPad(QWidget* owner) : QWidget(owner)
{
    qx::makeNonActivatingPopup(this);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    QFont f(QStringLiteral("宋体"));
    f.setPointSize(9);
    f.setBold(true);
    setFont(f);
    resize(PadWidth, PadHeight);
    hide();
}

void TQxNumPad::SetColor(TColor value)
{
    if (value == m_color)
        return;
    m_color = value;
    update();
}

// ---- the calculator ------------------------------------------------------------------------

void TQxNumPad::SetDisplayText(const QString& Text)
{
    if (Text == DisplayText)
        return;
    DisplayText = Text;
    update();
    if (OnChange)
        OnChange(this);
}

double TQxNumPad::GetValue() const
{
    if (DisplayText.isEmpty() || State == 2)
        return 0;
    double v = 0;
    if (!TryStrToFloat(DisplayText.trimmed(), v))
        return 0;
    return v;
}

void TQxNumPad::ShowValue(double X)
{
    QString s = QString::asprintf("%31.16f", X);
    s.replace(QLatin1Char('.'), decimalSeparator());
    const QChar sep = decimalSeparator();
    // Trailing zeros only after a separator: an integer part keeps its own zeros.
    if (s.contains(sep)) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(sep))
            s.chop(1);
    }
    s = s.trimmed();
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    SetDisplayText(s);
}

void TQxNumPad::StartNumber()
{
    if (State != 0)
        return;
    State = 1;
    DisplayText = QStringLiteral("0");
}

void TQxNumPad::Clear()
{
    State = 0;
    SetDisplayText(QStringLiteral("0"));
    PendingOp = u'=';
}

void TQxNumPad::SetError()
{
    State = 2;
    SetDisplayText(QStringLiteral("Error"));
}

void TQxNumPad::Press(QChar Ch)
{
    Ch = Ch.toUpper();
    if (State == 2 && Ch != u'C')
        return;
    const QChar sep = decimalSeparator();
    if (Ch == sep) {
        StartNumber();
        if (!DisplayText.contains(sep))
            SetDisplayText(DisplayText + sep);
        return;
    }
    if (Ch == QChar(BackChar)) {
        StartNumber();
        const QString t = DisplayText;
        if (t.size() == 1 || (t.size() == 2 && t.startsWith(u'-')))
            SetDisplayText(QStringLiteral("0"));
        else
            SetDisplayText(t.left(t.size() - 1));
        return;
    }
    if (Ch >= u'0' && Ch <= u'9') {
        StartNumber();
        QString t = DisplayText;
        if (t == QLatin1String("0"))
            t.clear();
        // A number shown in exponent form takes no more digits.
        if (t.contains(u'E')) {
            SetDisplayText(t.isEmpty() ? QStringLiteral("0") : t);
            return;
        }
        SetDisplayText(t + Ch);
        return;
    }
    if (Ch == u'C') {
        Clear();
        return;
    }
    if (Ch == u'_') {
        ShowValue(-GetValue());
        return;
    }
    const bool isOperator = Ch == QChar(EnterChar) || Ch == u'%' || Ch == u'*' || Ch == u'+'
                            || Ch == u'-' || Ch == u'/' || Ch == u'=';
    if (!isOperator)
        return;
    if (State == 1) {
        State = 0;
        double v = GetValue();
        if (Ch == u'%') {
            if (PendingOp == u'*' || PendingOp == u'/')
                v = v / 100;
            else if (PendingOp == u'+' || PendingOp == u'-')
                v = Accumulator * v / 100;
        }
        if (PendingOp == u'*')
            ShowValue(Accumulator * v);
        else if (PendingOp == u'+')
            ShowValue(Accumulator + v);
        else if (PendingOp == u'-')
            ShowValue(Accumulator - v);
        else if (PendingOp == u'/') {
            if (v != 0)
                ShowValue(Accumulator / v);
            else
                SetError();
        }
    }
    PendingOp = Ch;
    Accumulator = GetValue();
    if (Ch == QChar(EnterChar) && State == 0)
        Accept();
}

// ---- opening and closing -------------------------------------------------------------------

void TQxNumPad::Popup(int X, int Y)
{
    // Every opening starts a fresh calculation: an operator left pending by an earlier,
    // cancelled calculation must not reach into this edit's value.
    State = 0;
    PendingOp = u'=';
    Accumulator = 0;
    PressedKey = NoKey;
    PressDrawn = false;
    HotKey = NoKey;
    PlaceAt(X, Y);
    show();
    raise();
    if (parentWidget() && !parentWidget()->hasFocus())
        parentWidget()->setFocus(Qt::OtherFocusReason);
}

void TQxNumPad::PlaceAt(int X, int Y)
{
    QWidget* parent = parentWidget();
    const QPoint s = parent ? parent->mapToGlobal(QPoint(X, Y)) : QPoint(X, Y);
    QRect r(s.x() - PadWidth + 1, s.y() + 1, PadWidth, PadHeight);
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->geometry();
        if (qx::rectBottom(r) > qx::rectBottom(area))
            r.moveTop(qx::rectBottom(area) - PadHeight);
        if (qx::rectRight(r) > qx::rectRight(area))
            r.moveLeft(qx::rectRight(area) - PadWidth);
    }
    setGeometry(r);
}

void TQxNumPad::Accept()
{
    hide();
    if (parentWidget())
        parentWidget()->setFocus(Qt::OtherFocusReason);
    if (OnAccept)
        OnAccept(this);
}

void TQxNumPad::Cancel()
{
    // The edit kept the focus while the pad was open (or the pad closes because the focus
    // left it), so nothing is focused here. The pad stays a child window of the edit that
    // opened it: here the parent also owns it, and the next edit that opens it takes it over.
    hide();
    if (OnCancel)
        OnCancel(this);
}

// ---- keys ----------------------------------------------------------------------------------

int TQxNumPad::keyOfChar(QChar ch)
{
    switch (ch.unicode()) {
    case u'7': return 0;
    case u'8': return 1;
    case u'9': return 2;
    case u'/': return 3;
    case u'4': return 4;
    case u'5': return 5;
    case u'6': return 6;
    case u'*': return 7;
    case u'1': return 8;
    case u'2': return 9;
    case u'3': return 10;
    case u'-': return 11;
    case u'0': return 12;
    case u'.':
    case u',': return 13;
    case u'_': return 14;
    case u'+': return 15;
    case u'C':
    case u'c': return 16;
    case BackChar: return 17;
    default: return NoKey;
    }
}

QChar TQxNumPad::KeyChar(int k)
{
    static const char16_t chars[19] = {u'7', u'8', u'9', u'/', u'4', u'5', u'6', u'*', u'1', u'2',
                                       u'3', u'-', u'0', 0,    u'_', u'+', u'C', BackChar, EnterChar};
    if (k < 0 || k > 18)
        return QChar();
    if (k == 13)
        return decimalSeparator();
    return QChar(chars[k]);
}

bool TQxNumPad::HandleKeyPress(QKeyEvent* event)
{
    const int key = event->key();
    // Tab leaves the edit, and the pad closes with the focus move.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return false;
    QChar ch;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        ch = QChar(EnterChar);
    else if (key == Qt::Key_Backspace)
        ch = QChar(BackChar);
    else if (key == Qt::Key_Escape) {
        if (State != 0)
            Press(u'C');
        else
            Cancel();
        return true;
    } else if (!event->text().isEmpty())
        ch = event->text().at(0);
    if (ch.isNull())
        return true;
    const int k = keyOfChar(ch);
    if (k != NoKey && !event->isAutoRepeat()) {
        PressedKey = std::uint8_t(k);
        PressDrawn = true;
        update();
    }
    static const QString passed = QStringLiteral("%*+-/0123456789=Cc_");
    if (ch == QChar(EnterChar) || ch == QChar(BackChar) || passed.contains(ch))
        Press(ch);
    else if (ch == u'.' || ch == u',')
        Press(decimalSeparator());
    return true;
}

void TQxNumPad::HandleKeyRelease(QKeyEvent* event)
{
    if (event->isAutoRepeat() || PressedKey == NoKey)
        return;
    PressedKey = NoKey;
    PressDrawn = false;
    update();
}

// ---- mouse ---------------------------------------------------------------------------------

QRect TQxNumPad::KeyRect(int k)
{
    if (k < 0 || k > 18)
        return QRect();
    const int x = Origin + (k % 4) * Cell;
    const int y = Origin + (k / 4) * Cell;
    return QRect(x, y, k == 18 ? 2 * Cell : Cell, Cell);
}

int TQxNumPad::KeyAt(const QPoint& p)
{
    if (p.x() < Origin || p.x() >= 80 || p.y() < Origin || p.y() >= 100)
        return NoKey;
    const int k = ((p.y() - Origin) / Cell) * 4 + (p.x() - Origin) / Cell;
    if (k == 19)
        return 18;
    return k >= 20 ? NoKey : k;
}

void TQxNumPad::setHotKey(int k)
{
    if (k == HotKey)
        return;
    HotKey = std::uint8_t(k);
    update();
}

void TQxNumPad::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int k = KeyAt(event->position().toPoint());
    if (k == NoKey)
        return;
    PressedKey = std::uint8_t(k);
    PressDrawn = true;
    update();
}

void TQxNumPad::mouseMoveEvent(QMouseEvent* event)
{
    const int k = KeyAt(event->position().toPoint());
    if (PressedKey != NoKey) {
        const bool inside = k == PressedKey;
        if (inside != PressDrawn) {
            PressDrawn = inside;
            update();
        }
        return;
    }
    setHotKey(k);
}

void TQxNumPad::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || PressedKey == NoKey)
        return;
    const int pressed = PressedKey;
    const int k = KeyAt(event->position().toPoint());
    PressedKey = NoKey;
    PressDrawn = false;
    HotKey = std::uint8_t(k);
    update();
    if (k == pressed)
        Press(KeyChar(k));
}

void TQxNumPad::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    setHotKey(NoKey);
}

// ---- drawing -------------------------------------------------------------------------------

void TQxNumPad::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor face = toQColor(m_color);
    p.fillRect(rect(), face);
    qx::drawEdge(p, rect(), qx::EdgeRaised, qx::BfRect);
    p.setFont(font());
    for (int k = 0; k < 19; ++k) {
        const QRect r = KeyRect(k);
        p.fillRect(r, face);
        const bool sunken = k == PressedKey && PressDrawn;
        const bool raised = !sunken && (k == HotKey || k == PressedKey);
        if (sunken || raised) {
            qx::drawEdge(p, r, sunken ? qx::EdgeSunken : qx::EdgeRaised, qx::BfRect);
            qx::frameRect(p, r.adjusted(2, 2, -2, -2), face);
        }
        p.setPen(toQColor(clBtnText));
        p.drawText(sunken ? r.translated(1, 1) : r, Qt::AlignCenter, keyLabel(k));
    }
}
