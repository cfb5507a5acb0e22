#include "usystem/vcl/uQxEdits.h"

#include "platform/ui/Focus.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/uQxTransControl.h"

#include <QKeyEvent>
#include <QPainter>

namespace {

qx::ImePadBinding& binding()
{
    static qx::ImePadBinding b;
    return b;
}

// The shared pop-up: the pad itself and a guard that tells when its window is gone.
TQxIMEPad* g_sharedPad = nullptr;
QPointer<QWidget> g_sharedPadWidget;

} // namespace

namespace qx {

void setImePadBinding(ImePadBinding b)
{
    binding() = std::move(b);
}

const ImePadBinding& imePadBinding()
{
    return binding();
}

} // namespace qx

TQxIMEPad* SharedImePad()
{
    return g_sharedPadWidget ? g_sharedPad : nullptr;
}

void SetSharedImePad(TQxIMEPad* pad)
{
    g_sharedPad = pad;
    g_sharedPadWidget = pad && binding().widget ? binding().widget(pad) : nullptr;
    if (!g_sharedPadWidget)
        g_sharedPad = nullptr;
}

void FreeSharedImePad()
{
    QWidget* w = g_sharedPadWidget;
    g_sharedPad = nullptr;
    g_sharedPadWidget = nullptr;
    if (w) {
        w->hide();
        // It may be in the middle of handling the click that moved the focus.
        w->deleteLater();
    }
}

// ---- TQxCustomEdit -------------------------------------------------------------------------

TQxCustomEdit::TQxCustomEdit(QWidget* parent) : TCustomMaskEdit(parent)
{
    QFont f(QStringLiteral("Times New Roman"));
    f.setPointSize(9);
    setFont(f);
    m_rememberedColor = Color();
}

TQxCustomEdit::~TQxCustomEdit() = default;

void TQxCustomEdit::SetPasswordChar(QChar value)
{
    m_passwordChar = value;
    setEchoMode(value.isNull() ? QLineEdit::Normal : QLineEdit::Password);
}

void TQxCustomEdit::SetCtl3D(bool value)
{
    if (value == m_ctl3D)
        return;
    m_ctl3D = value;
    UpdateEditRect();
    update();
}

void TQxCustomEdit::SetAlignment(TAlignment value)
{
    if (value == m_alignment)
        return;
    m_alignment = value;
    const Qt::Alignment h = value == taRightJustify ? Qt::AlignRight
                            : value == taCenter     ? Qt::AlignHCenter
                                                    : Qt::AlignLeft;
    setAlignment(h | Qt::AlignVCenter);
}

void TQxCustomEdit::SetFrameStyle(TFrameStyle value)
{
    if (value == m_frameStyle)
        return;
    m_frameStyle = value;
    update();
}

void TQxCustomEdit::SetLineColor(TColor value)
{
    if (value == m_lineColor)
        return;
    m_lineColor = value;
    update();
}

void TQxCustomEdit::SetBorderStyle(TBorderStyle value)
{
    if (value == m_borderStyle)
        return;
    m_borderStyle = value;
    setFrame(value == bsSingle);
    UpdateEditRect();
    update();
}

void TQxCustomEdit::GetEditRect(QRect& Rect) const
{
    Rect = rect();
}

void TQxCustomEdit::UpdateEditRect()
{
    QRect r;
    GetEditRect(r);
    const QRect client = rect();
    setTextMargins(qMax(0, r.left() - client.left()), qMax(0, r.top() - client.top()),
                   qMax(0, qx::rectRight(client) - qx::rectRight(r)),
                   qMax(0, qx::rectBottom(client) - qx::rectBottom(r)));
}

bool TQxCustomEdit::CanModify() const
{
    return !isReadOnly();
}

bool TQxCustomEdit::IsValidChar(QChar Key) const
{
    if (Key == QChar(13) || Key == QChar(27))
        return false;
    if (Key.unicode() < 32 || Key.unicode() == 127)
        return true;
    return m_validChars.isEmpty() || m_validChars.contains(Key);
}

void TQxCustomEdit::PaintFrame(QPainter& Canvas)
{
    DrawFrame(Canvas, rect());
}

void TQxCustomEdit::DrawFrame(QPainter& Canvas, const QRect& R)
{
    if (m_borderStyle == bsSingle)
        return;
    Canvas.save();
    Canvas.setRenderHint(QPainter::Antialiasing, false);
    Canvas.setPen(QPen(toQColor(m_lineColor), 0));
    const int left = R.x(), top = R.y();
    const int right = qx::rectRight(R) - 1, bottom = qx::rectBottom(R) - 1;
    if (m_frameStyle.testFlag(fsTop))
        qx::lineTo(Canvas, left, top, right, top);
    if (m_frameStyle.testFlag(fsBottom))
        qx::lineTo(Canvas, left, bottom, right, bottom);
    if (m_frameStyle.testFlag(fsLeft))
        qx::lineTo(Canvas, left, top, left, bottom);
    if (m_frameStyle.testFlag(fsRight))
        qx::lineTo(Canvas, right, top, right, bottom);
    Canvas.restore();
}

void TQxCustomEdit::paintEvent(QPaintEvent* event)
{
    TCustomMaskEdit::paintEvent(event);
    QPainter p(this);
    PaintFrame(p);
}

void TQxCustomEdit::resizeEvent(QResizeEvent* event)
{
    TCustomMaskEdit::resizeEvent(event);
    UpdateEditRect();
}

// ---- focus colour --------------------------------------------------------------------------

void TQxCustomEdit::DoEnter()
{
    TCustomMaskEdit::DoEnter();
    UpdateEditRect();
    if (Color() != clInfoBk)
        m_rememberedColor = Color();
    setColor(clInfoBk);
    selectAll();
    update();
}

void TQxCustomEdit::DoExit()
{
    TCustomMaskEdit::DoExit();
    setColor(m_rememberedColor);
    FreeSharedImePad();
}

void TQxCustomEdit::ColorChanged()
{
    // A colour set by code while the edit has the focus is the one it returns to.
    if (Color() != clInfoBk)
        m_rememberedColor = Color();
}

// ---- keys ----------------------------------------------------------------------------------

void TQxCustomEdit::keyPressEvent(QKeyEvent* event)
{
    // Esc is never text: after the key handlers it goes on to the form (which closes on it).
    if (event->key() == Qt::Key_Escape) {
        int key = VK_ESCAPE;
        KeyDown(key, qx::shiftState(event));
        if (key == 0)
            event->accept();
        else
            event->ignore();
        return;
    }
    TCustomMaskEdit::keyPressEvent(event);
}

void TQxCustomEdit::KeyDown(int& Key, TShiftState Shift)
{
    if (Key == VK_DOWN || Key == VK_RETURN) {
        if (Key == VK_RETURN && m_imePadVisible && OnImeCode) {
            QString code;
            OnImeCode(this, Text(), code);
            if (!code.isEmpty())
                setText(code);
        }
        Key = 0;
        qx::selectNextControl(this, true);
        return;
    }
    if (Key == VK_UP) {
        Key = 0;
        qx::selectNextControl(this, false);
        return;
    }
    TCustomMaskEdit::KeyDown(Key, Shift);
}

void TQxCustomEdit::KeyPress(QChar& Key)
{
    if (!IsValidChar(Key)) {
        Key = QChar();
        return;
    }
    TCustomMaskEdit::KeyPress(Key);
}

QString TQxCustomEdit::FilterText(const QString& text)
{
    // Pasted, dropped and input-method text keeps to the same characters as typing; control
    // characters are keys, never text.
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() >= 32 && c.unicode() != 127 && IsValidChar(c))
            kept += c;
    }
    return TCustomMaskEdit::FilterText(kept);
}

void TQxCustomEdit::KeyUp(int& Key, TShiftState Shift)
{
    TCustomMaskEdit::KeyUp(Key, Shift);
    if (Key == 0 || Key == VK_RETURN || !m_imePadVisible || Text().isEmpty())
        return;
    showImePad();
}

void TQxCustomEdit::showImePad()
{
    const qx::ImePadBinding& b = binding();
    // The handler fills the pop-up, so it gets one to fill, also on the first key.
    if (!SharedImePad() && b.create)
        SetSharedImePad(b.create(this));
    TQxIMEPad* pad = SharedImePad();
    if (OnImeTextChange)
        OnImeTextChange(this, Text(), pad);
    if (pad != SharedImePad())
        SetSharedImePad(pad);
    if (!SharedImePad() && b.create)
        SetSharedImePad(b.create(this));
    if (SharedImePad() && b.popupUnder)
        b.popupUnder(SharedImePad(), this);
}

// ---- TQxEditButton -------------------------------------------------------------------------

TQxEditButton::TQxEditButton(TQxCustomEdit* owner)
    : QObject(owner), HotKey(VK_ADD), m_owner(owner), m_hint(QStringLiteral(" [+键]: 弹出对话框选择 "))
{
    setObjectName(QStringLiteral("Button"));
}

void TQxEditButton::SetGlyph(const QPixmap& value)
{
    m_glyph = value;
    Changed();
}

void TQxEditButton::SetVisible(bool value)
{
    if (value == m_visible)
        return;
    m_visible = value;
    Changed();
}

void TQxEditButton::SetDown(bool value)
{
    if (value == m_down)
        return;
    m_down = value;
    if (m_owner)
        m_owner->update(); // the edit paints the button with its frame
}

void TQxEditButton::GetButtonRect(QRect& Rect) const
{
    if (!m_visible || m_glyph.isNull() || !m_owner) {
        Rect = QRect();
        return;
    }
    QRect r = m_owner->rect();
    if (!m_owner->Ctl3D())
        r.adjust(0, 1, 0, -1);
    const int right = qx::rectRight(r);
    Rect = qx::rectLTRB(right - m_glyph.width() - 3, r.y(), right, qx::rectBottom(r));
}

void TQxEditButton::Paint(QPainter& Canvas)
{
    if (!m_owner || !m_visible)
        return;
    QRect r;
    GetButtonRect(r);
    if (r.isEmpty())
        return;
    // The raised (or, pressed, sunken) face of a button with a one-pixel inner edge.
    Canvas.fillRect(r, toQColor(clBtnFace));
    qx::drawEdge(Canvas, r, m_down ? qx::BdrSunkenInner : qx::BdrRaisedInner, qx::BfRect);
    if (!m_glyph.isNull()) {
        const int x = r.x() + r.width() / 2 - m_glyph.width() / 2;
        const int y = r.y() + r.height() / 2 - m_glyph.height() / 2;
        Canvas.drawPixmap(x, y, m_glyph);
    }
}

void TQxEditButton::InvalidateButton()
{
    if (m_owner)
        m_owner->update();
}

void TQxEditButton::Changed()
{
    if (m_owner)
        m_owner->UpdateEditRect();
    InvalidateButton();
}
