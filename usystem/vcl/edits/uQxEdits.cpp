#include "usystem/vcl/edits/uQxEdits.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Glyphs.h"
#include "platform/ui/Keys.h"
#include "platform/ui/Messages.h"
#include "platform/env/MissingBinding.h"
#include "usystem/vcl/edits/uQxDatePad.h"
#include "usystem/vcl/edits/uQxIMEPad.h"
#include "usystem/vcl/edits/uQxNumPad.h"
#include "usystem/vcl/edits/uQxTransControl.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

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

// ---- shared pads ---------------------------------------------------------------------------

namespace {

const QString kButtonHint = QStringLiteral(" [+键]: 弹出对话框选择 ");

qx::EditLookupBinding& lookupBinding()
{
    static qx::EditLookupBinding b;
    return b;
}

// One pad of each kind for the whole process, with the edit that made (and owns) it. The
// QPointers tell when a pad is gone with the edit it was parented to.
QPointer<TQxNumPad> g_numPad;
QPointer<QWidget> g_numPadOwner;
QPointer<TQxDatePad> g_datePad;
QPointer<QWidget> g_datePadOwner;

// Makes the edit the pad's parent window; the pad stays a non-activating pop-up.
void adopt(QWidget* pad, QWidget* edit)
{
    if (pad->parentWidget() != edit)
        pad->setParent(edit, pad->windowFlags());
}

void forget(QPointer<QWidget>& owner, QWidget* pad)
{
    owner = nullptr;
    if (pad) {
        pad->hide();
        pad->deleteLater();
    }
}

} // namespace

namespace qx {

void setEditLookupBinding(EditLookupBinding b)
{
    lookupBinding() = std::move(b);
}

const EditLookupBinding& editLookupBinding()
{
    return lookupBinding();
}

} // namespace qx

TQxNumPad* SharedNumPad()
{
    return g_numPad;
}

TQxDatePad* SharedDatePad()
{
    return g_datePad;
}

// ---- TQxCustomLinkEdit ---------------------------------------------------------------------

TQxCustomLinkEdit::TQxCustomLinkEdit(QWidget* parent)
    : TQxCustomEdit(parent), m_button(new TQxEditButton(this))
{
    qx::installImePadBinding();
    m_button->SetHint(kButtonHint);
    m_button->SetVisible(false);
    setMouseTracking(true);
}

TQxCustomLinkEdit::~TQxCustomLinkEdit() = default;

bool TQxCustomLinkEdit::overButton(const QPoint& pos) const
{
    QRect r;
    m_button->GetButtonRect(r);
    return r.contains(pos);
}

void TQxCustomLinkEdit::GetEditRect(QRect& Rect) const
{
    Rect = rect();
    if (isEnabled() && m_button->Visible()) {
        QRect b;
        m_button->GetButtonRect(b);
        if (!b.isEmpty())
            Rect.setRight(Rect.right() - (b.width() - 1));
    }
    if (BorderStyle() != bsSingle)
        Rect.adjust(2, 3, -1, 0);
    if (Align() == TAlign::alClient)
        Rect.adjust(0, 2, 0, 0);
}

void TQxCustomLinkEdit::PaintFrame(QPainter& Canvas)
{
    TQxCustomEdit::PaintFrame(Canvas);
    m_button->Paint(Canvas);
}

bool TQxCustomLinkEdit::HandleButtonKey(int& Key)
{
    if (Key != m_button->HotKey || !m_button->Visible())
        return false;
    ButtonClick();
    Key = 0;
    return true;
}

void TQxCustomLinkEdit::DoHotKeyHint(const QString& Text)
{
    if (OnHotKeyHint)
        OnHotKeyHint(this, Text);
}

void TQxCustomLinkEdit::AcceptPopup()
{
    StateFlags &= ~PopupShown;
}

void TQxCustomLinkEdit::CancelPopup()
{
    StateFlags &= ~PopupShown;
}

void TQxCustomLinkEdit::KeyDown(int& Key, TShiftState Shift)
{
    if (HandleButtonKey(Key))
        return;
    TQxCustomEdit::KeyDown(Key, Shift);
}

void TQxCustomLinkEdit::KeyPress(QChar& Key)
{
    // The plus key is the button's: it never becomes text while there is a button.
    if (m_button->Visible() && Key == u'+') {
        Key = QChar();
        return;
    }
    TQxCustomEdit::KeyPress(Key);
}

void TQxCustomLinkEdit::DoEnter()
{
    TQxCustomEdit::DoEnter();
    DoHotKeyHint(m_button->Visible() ? kButtonHint : QString());
}

void TQxCustomLinkEdit::DoExit()
{
    TQxCustomEdit::DoExit();
    DoHotKeyHint(QString());
}

bool TQxCustomLinkEdit::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        auto* he = static_cast<QHelpEvent*>(e);
        if (overButton(he->pos())) {
            if (m_button->ShowHint())
                QToolTip::showText(he->globalPos(), m_button->Hint(), this);
            return true;
        }
    }
    return TQxCustomEdit::event(e);
}

void TQxCustomLinkEdit::mouseMoveEvent(QMouseEvent* event)
{
    const bool over = overButton(event->position().toPoint());
    if (over != bool(StateFlags & MouseOverButton)) {
        StateFlags = over ? (StateFlags | MouseOverButton) : (StateFlags & ~MouseOverButton);
        if (over)
            setCursor(m_button->Cursor() == TQxEditButton::crHandPoint ? Qt::PointingHandCursor
                                                                       : Qt::ArrowCursor);
        else {
            unsetCursor();
            QToolTip::hideText();
        }
    }
    TQxCustomEdit::mouseMoveEvent(event);
}

void TQxCustomLinkEdit::mousePressEvent(QMouseEvent* event)
{
    TQxCustomEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && overButton(event->position().toPoint()))
        m_button->SetDown(true);
}

void TQxCustomLinkEdit::mouseReleaseEvent(QMouseEvent* event)
{
    TQxCustomEdit::mouseReleaseEvent(event);
    const bool wasDown = m_button->Down();
    m_button->SetDown(false);
    if (event->button() == Qt::LeftButton && wasDown && overButton(event->position().toPoint()))
        ButtonClick();
}

void TQxCustomLinkEdit::enterEvent(QEnterEvent* event)
{
    TQxCustomEdit::enterEvent(event);
    if (!(StateFlags & MouseInside) && isEnabled()) {
        StateFlags |= MouseInside;
        qx::broadcastMouseEntered(this);
    }
}

void TQxCustomLinkEdit::leaveEvent(QEvent* event)
{
    TQxCustomEdit::leaveEvent(event);
    if ((StateFlags & MouseInside) && isEnabled()) {
        StateFlags &= ~MouseInside;
        qx::broadcastMouseLeft(this);
    }
}

void TQxCustomLinkEdit::changeEvent(QEvent* event)
{
    TQxCustomEdit::changeEvent(event);
    // Only the edit's own Enabled counts: a form or panel that is disabled and enabled again
    // leaves the button as it was.
    if (event->type() == QEvent::EnabledChange) {
        const bool own = !testAttribute(Qt::WA_ForceDisabled);
        if (own != m_ownEnabled) {
            m_ownEnabled = own;
            m_button->SetVisible(own);
        }
    }
}

// ---- TQxEdit -------------------------------------------------------------------------------

TQxEdit::TQxEdit(QWidget* parent) : TQxCustomLinkEdit(parent)
{
}

TQxEdit::~TQxEdit()
{
    // A pad goes with the edit that made it; the next edit that needs one makes a new one.
    if (g_numPadOwner == this)
        forget(g_numPadOwner, g_numPad);
    if (g_datePadOwner == this)
        forget(g_datePadOwner, g_datePad);
}

void TQxEdit::SetDataType(TEditDataType value)
{
    m_dataType = value;
    switch (value) {
    case edtText: Button()->SetVisible(false); break;
    case edtNumber:
        Button()->SetVisible(true);
        Button()->SetGlyph(qx::libraryGlyph(qx::LibraryGlyph::Calculator));
        break;
    case edtDate:
        Button()->SetVisible(true);
        Button()->SetGlyph(qx::libraryGlyph(qx::LibraryGlyph::Calendar));
        break;
    case edtFind:
        Button()->SetVisible(true);
        Button()->SetGlyph(qx::libraryGlyph(qx::LibraryGlyph::Ellipsis));
        break;
    case edtPickList: break;
    }
}

bool TQxEdit::PopupOpen() const
{
    if (!(StateFlags & PopupShown))
        return false;
    if (m_dataType == edtNumber)
        return g_numPad && g_numPad->isVisible() && g_numPad->parentWidget() == this;
    if (m_dataType == edtDate)
        return g_datePad && g_datePad->isVisible() && g_datePad->parentWidget() == this;
    return false;
}

void TQxEdit::ButtonClick()
{
    if (!CanModify())
        return;
    if (OnButtonClick) {
        OnButtonClick(this);
        return;
    }
    switch (m_dataType) {
    case edtNumber:
        try {
            openNumPad();
        } catch (...) {
            // A pad that failed is forgotten; the next click makes a new one.
            forget(g_numPadOwner, g_numPad);
            g_numPad = nullptr;
        }
        break;
    case edtDate:
        try {
            openDatePad();
        } catch (...) {
            forget(g_datePadOwner, g_datePad);
            g_datePad = nullptr;
        }
        break;
    case edtFind:
        try {
            runFind();
        } catch (...) {
            // A failed lookup leaves the edit as it was.
        }
        break;
    case edtText:
    case edtPickList: break;
    }
}

void TQxEdit::openNumPad()
{
    // A second click while the pad is open closes it with the text it had before opening;
    // the text is remembered only when the pad opens.
    if (PopupOpen()) {
        ShowPopup(false);
        return;
    }
    m_savedText = Text();
    if (!g_numPad) {
        g_numPad = new TQxNumPad(this);
        g_numPadOwner = this;
    }
    TQxNumPad* pad = g_numPad;
    adopt(pad, this);
    pad->setFont(font());
    pad->OnAccept = [this](QObject*) { AcceptPopup(); };
    pad->OnCancel = [this](QObject*) { CancelPopup(); };
    pad->OnChange = [this](QObject*) { PadValueChanged(); };
    ShowPopup(true);
}

void TQxEdit::openDatePad()
{
    if (PopupOpen()) {
        ShowPopup(false);
        return;
    }
    m_savedText = Text();
    if (!g_datePad) {
        g_datePad = new TQxDatePad(this);
        g_datePadOwner = this;
    }
    TQxDatePad* pad = g_datePad;
    adopt(pad, this);
    pad->SetCaller(this);
    // The pad opens on this edit's date, or today when the text holds none, never on a date
    // picked in another edit. Seeded before the callbacks are bound, so the text stays as
    // typed until the user moves in the pad.
    pad->OnAccept = nullptr;
    pad->OnCancel = nullptr;
    pad->OnValueChange = nullptr;
    TDateTime d;
    if (Text().trimmed().isEmpty() || !TryStrToDate(Text().trimmed(), d))
        d = Date();
    pad->CalendarDate()->SetDateTime(d);
    pad->OnAccept = [this](QObject*) { AcceptPopup(); };
    pad->OnCancel = [this](QObject*) { CancelPopup(); };
    pad->OnValueChange = [this](QObject*) { PadValueChanged(); };
    ShowPopup(true);
}

void TQxEdit::runFind()
{
    if (InPutType().isEmpty() || InPutField().isEmpty())
        return;
    const qx::EditLookupBinding& b = lookupBinding();
    QString value;
    if (InPutType().compare(QLatin1String("BPYWB"), Qt::CaseInsensitive) != 0) {
        if (!b.selectValueByStructure) {
            qx::reportMissingBinding(this, QStringLiteral("SelectValueByStructure"));
            return;
        }
        // A closed picker chose nothing: the text the user had stays.
        if (b.selectValueByStructure(InPutField(), InPutType(), value))
            setText(value);
    } else {
        if (!b.showImeDialog) {
            qx::reportMissingBinding(this, QStringLiteral("ShowImeDialog"));
            return;
        }
        if (b.showImeDialog(QStringLiteral("I") + InPutField(), value) && !value.isEmpty())
            setText(value);
    }
}

void TQxEdit::ShowPopup(bool Show)
{
    if (!Show) {
        CancelPopup();
        if (m_dataType == edtNumber && g_numPad)
            g_numPad->hide();
        if (m_dataType == edtDate && g_datePad)
            g_datePad->hide();
        setFocus(Qt::OtherFocusReason);
        return;
    }
    if (m_dataType == edtNumber && g_numPad) {
        g_numPad->SetDisplayText(Text());
        g_numPad->Popup(width() - 3, height());
    } else if (m_dataType == edtDate && g_datePad) {
        g_datePad->Popup(-3, height());
    }
    StateFlags |= PopupShown;
}

void TQxEdit::AcceptPopup()
{
    if (m_dataType == edtNumber && g_numPad) {
        const QString text = FloatToStr(g_numPad->GetValue());
        if (text == QLineEdit::text())
            Change(); // the live text already showed it: the change is still told
        else
            setText(text);
    } else if (m_dataType == edtDate && g_datePad) {
        setText(DateToStr(g_datePad->CalendarDate()->AsDateTime()));
    }
    TQxCustomLinkEdit::AcceptPopup();
}

void TQxEdit::CancelPopup()
{
    setText(m_savedText);
    TQxCustomLinkEdit::CancelPopup();
}

void TQxEdit::PadValueChanged()
{
    if (m_dataType == edtNumber && g_numPad)
        setText(g_numPad->DisplayText);
    else if (m_dataType == edtDate && g_datePad)
        setText(g_datePad->CalendarDate()->AsText());
}

void TQxEdit::DblClick()
{
    TQxCustomLinkEdit::DblClick();
    ButtonClick();
}

void TQxEdit::keyPressEvent(QKeyEvent* event)
{
    // While a pad is open the keys are the pad's, the keypad's plus included (the number
    // pad's "+").
    if (PopupOpen()) {
        const bool taken = m_dataType == edtNumber ? g_numPad->HandleKeyPress(event)
                                                   : g_datePad->HandleKeyPress(event);
        if (taken) {
            event->accept();
            return;
        }
    }
    TQxCustomLinkEdit::keyPressEvent(event);
}

void TQxEdit::keyReleaseEvent(QKeyEvent* event)
{
    if (m_dataType == edtNumber && g_numPad && g_numPad->parentWidget() == this
        && g_numPad->PressedKey != TQxNumPad::NoKey) {
        g_numPad->HandleKeyRelease(event);
        event->accept();
        return;
    }
    TQxCustomLinkEdit::keyReleaseEvent(event);
}

void TQxEdit::ClosePadOnFocusOut(QFocusEvent* event)
{
    // Some window systems activate a tool window when it is shown, although the pad asks not
    // to be: that is no move of the focus away from the edit either.
    QWidget* pad = m_dataType == edtNumber ? static_cast<QWidget*>(g_numPad.data())
                                           : static_cast<QWidget*>(g_datePad.data());
    const bool toOwnPad = event->reason() == Qt::ActiveWindowFocusReason && pad
                          && QApplication::activeWindow() == pad;
    // The pad closes with cancel when the focus goes anywhere else; a menu of the pad (the
    // calendar's month menu) takes the focus only for a moment.
    if (PopupOpen() && event->reason() != Qt::PopupFocusReason && !toOwnPad) {
        if (m_dataType == edtNumber)
            g_numPad->Cancel();
        else
            g_datePad->DoCancel();
    }
}

void TQxEdit::focusOutEvent(QFocusEvent* event)
{
    ClosePadOnFocusOut(event);
    TQxCustomLinkEdit::focusOutEvent(event);
}
