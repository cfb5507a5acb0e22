#include "usystem/vcl/controls/uQxStdCtrls.h"

#include "platform/env/ExceptionGuard.h"
#include "platform/ui/DrawText.h"
#include "platform/ui/Fonts.h"

#include <QDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOption>

namespace {

unsigned alignmentFlags(TAlignment a)
{
    switch (a) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    case taLeftJustify: break;
    }
    return DT_LEFT;
}

// The platform's Frame3D: Width rings, the upper colour on top and left, the lower one on
// bottom and right (taking the two far corners); each ring narrows the rectangle.
void frame3D(QPainter& p, QRect& r, const QColor& upper, const QColor& lower, int width)
{
    for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), upper);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), upper);
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), lower);
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), lower);
        r.adjust(1, 1, -1, -1);
    }
}

// Frame lines as the edits draw them: each line stops one pixel short of its end point.
void drawFrameLines(QPainter& p, const QRect& r, TFrameStyle style, const QColor& color)
{
    const int w = r.width() - 1;  // move-to/line-to leave the last pixel unset
    const int h = r.height() - 1;
    if (w <= 0 || h <= 0)
        return;
    if (style & fsTop)
        p.fillRect(QRect(r.left(), r.top(), w, 1), color);
    if (style & fsBottom)
        p.fillRect(QRect(r.left(), r.top() + h, w, 1), color);
    if (style & fsLeft)
        p.fillRect(QRect(r.left(), r.top(), 1, h), color);
    if (style & fsRight)
        p.fillRect(QRect(r.left() + w, r.top(), 1, h), color);
}

// Truncating modulo, as the platform's mod (the result takes the dividend's sign).
int truncMod(int a, int b)
{
    return b == 0 ? 0 : a % b;
}

QDialog* dialogOf(QWidget* w)
{
    return qobject_cast<QDialog*>(w ? w->window() : nullptr);
}

} // namespace

// ---- TQxLabel --------------------------------------------------------------------------------

TQxLabel::TQxLabel(QWidget* parent) : QWidget(parent)
{
    setFont(qx::libraryFont(9));
    resize(65, 17);
}

void TQxLabel::SetAutoSize(bool value)
{
    if (FAutoSize != value) {
        FAutoSize = value;
        AdjustBounds();
    }
}

void TQxLabel::AdjustBounds()
{
    if (!FAutoSize)
        return;
    const QFontMetrics fm(font());
    QString shown = qx::displayedText(FCaption, DT_SINGLELINE | DT_EXPANDTABS);
    if (FShowAccelChar)
        shown.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    const int w = fm.horizontalAdvance(shown);
    const int h = fm.height();
    // An aligned label fits the caption across its strip (the width of a side strip, the
    // height of a top or bottom one) and has its parent lay the strips out again; the other
    // side is the parent's. A right-justified free label keeps its right edge.
    if (Align() != alNone) {
        if (Align() == alLeft || Align() == alRight)
            resize(w, height());
        else if (Align() == alTop || Align() == alBottom)
            resize(width(), h);
        qx::realignParent(this);
        update();
        return;
    }
    const int x = FAlignment == taRightJustify ? this->x() + width() - w : this->x();
    setGeometry(x, y(), w, h);
    update();
}

void TQxLabel::SetAlignment(int value)
{
    if (FAlignment != TAlignment(value)) {
        FAlignment = TAlignment(value);
        update();
    }
}

void TQxLabel::SetCaption(const QString& value)
{
    if (FCaption != value) {
        FCaption = value;
        AdjustBounds();
        update();
    }
}

void TQxLabel::SetColor(TColor value)
{
    if (FColor != value) {
        FColor = value;
        update();
    }
}

void TQxLabel::SetFontColor(TColor value)
{
    if (FFontColor != value) {
        FFontColor = value;
        update();
    }
}

void TQxLabel::SetShowAccelChar(bool value)
{
    if (FShowAccelChar != value) {
        FShowAccelChar = value;
        update();
    }
}

void TQxLabel::SetTransparent(bool value)
{
    if (FTransparent != value) {
        FTransparent = value;
        update();
    }
}

void TQxLabel::SetShadowColor(TColor value)
{
    if (FShadowColor != value) {
        FShadowColor = value;
        update();
    }
}

void TQxLabel::SetShadowDepth(int value)
{
    if (FShadowDepth != value) {
        FShadowDepth = value;
        update();
    }
}

void TQxLabel::SetTextStyle(TTextStyle value)
{
    if (FTextStyle != value) {
        FTextStyle = value;
        update();
    }
}

void TQxLabel::SetLinkControl(bool value)
{
    if (FLinkControl != value) {
        FLinkControl = value;
        update();
    }
}

void TQxLabel::SetFrameStyle(TFrameStyle value)
{
    FFrameStyle = value;
    update();
}

void TQxLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    if (!FTransparent)
        p.fillRect(r, toQColor(FColor));

    // One line, centred vertically, whatever the label's height or the caption's breaks.
    unsigned flags = alignmentFlags(FAlignment) | DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE;
    if (!FShowAccelChar)
        flags |= DT_NOPREFIX;
    p.setFont(font());
    auto textAt = [&](int dx, int dy, TColor color) {
        QRect tr = r.translated(dx, dy);
        p.setPen(toQColor(color));
        qx::drawText(p, tr, FCaption, flags | DT_NOCLIP);
    };
    const int d = FShadowDepth;
    switch (FTextStyle) {
    case tsRaised:
        textAt(d, d, clBtnShadow);
        textAt(-d, -d, clBtnHighlight);
        break;
    case tsRecessed:
        textAt(d, d, clBtnHighlight);
        textAt(-d, -d, clBtnShadow);
        break;
    case tsShadow:
        textAt(d, d, FShadowColor);
        break;
    case tsNone:
    case tsFrame:
        break;
    }
    const TColor textColor = isEnabled() ? FFontColor : clGrayText;
    textAt(0, 0, textColor);
    drawFrameLines(p, r, FFrameStyle, toQColor(FFontColor));
}

void TQxLabel::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (FLinkControl) {
        QFont f = font();
        f.setBold(true);
        f.setUnderline(true);
        setFont(f);
        SetTextStyle(tsRaised);
    }
}

void TQxLabel::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (FLinkControl) {
        QFont f = font();
        f.setBold(false);
        f.setUnderline(false);
        setFont(f);
        SetTextStyle(tsNone);
    }
}

void TQxLabel::mousePressEvent(QMouseEvent* event)
{
    FPressed = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void TQxLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = FPressed && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    FPressed = false;
    QWidget::mouseReleaseEvent(event);
    if (click)
        Click();
}

void TQxLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    QWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && OnDblClick)
        qx::guard(this, [&] { OnDblClick(this); });
}

void TQxLabel::Click()
{
    if (OnClick)
        qx::guard(this, [&] { OnClick(this); });
    if (FLinkControl)
        SetTextStyle(tsRecessed);
}

void TQxLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        AdjustBounds();
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
    QWidget::changeEvent(event);
}

// ---- TQxPanel --------------------------------------------------------------------------------

TQxPanel::TQxPanel(QWidget* parent) : QWidget(parent)
{
    setFont(qx::libraryFont(9));
    new qx::AlignLayout(this);
    resize(185, 41);
    updateMargins();
}

void TQxPanel::SetAlignment(int value)
{
    if (FAlignment != TAlignment(value)) {
        FAlignment = TAlignment(value);
        update();
    }
}

void TQxPanel::SetBevelInner(TBevelCut value)
{
    if (FBevelInner != value) {
        FBevelInner = value;
        updateMargins();
    }
}

void TQxPanel::SetBevelOuter(TBevelCut value)
{
    if (FBevelOuter != value) {
        FBevelOuter = value;
        updateMargins();
    }
}

void TQxPanel::SetBevelWidth(int value)
{
    if (value >= 1 && FBevelWidth != value) {
        FBevelWidth = value;
        updateMargins();
    }
}

void TQxPanel::SetBorderWidth(int value)
{
    if (value >= 0 && FBorderWidth != value) {
        FBorderWidth = value;
        updateMargins();
    }
}

void TQxPanel::SetCaption(const QString& value)
{
    if (FCaption != value) {
        FCaption = value;
        update();
    }
}

void TQxPanel::SetColor(TColor value)
{
    if (FColor != value) {
        FColor = value;
        update();
    }
}

void TQxPanel::SetFontColor(TColor value)
{
    if (FFontColor != value) {
        FFontColor = value;
        update();
    }
}

void TQxPanel::SetPicture(const QImage& value)
{
    FPicture = value;
    update();
    // Panels inside show the tiles through.
    for (TQxPanel* child : findChildren<TQxPanel*>())
        child->update();
}

void TQxPanel::SetSplitter(bool value)
{
    if (FSplitter != value) {
        FSplitter = value;
        updateMargins();
        setMouseTracking(value);
    }
}

void TQxPanel::updateMargins()
{
    int m = FBorderWidth;
    if (FBevelOuter != bvNone)
        m += FBevelWidth;
    if (FBevelInner != bvNone)
        m += FBevelWidth;
    int left = m, top = m, right = m, bottom = m;
    if (FSplitter) {
        // One pixel at the sizing edge for every part drawn there as a line instead.
        const int absent = (FBevelInner == bvNone) + (FBorderWidth == 0) + (FBevelOuter == bvNone);
        switch (Align()) {
        case alTop: bottom += absent; break;
        case alBottom: top += absent; break;
        case alLeft: right += absent; break;
        case alRight: left += absent; break;
        default: break;
        }
    }
    setContentsMargins(left, top, right, bottom);
    if (auto* layout = qobject_cast<qx::AlignLayout*>(this->layout()))
        layout->realign();
    update();
}

const TQxPanel* TQxPanel::pictureSource(int& x0, int& y0) const
{
    const int start = -(FBorderWidth + (FBevelInner != bvNone ? 1 : 0) + (FBevelOuter != bvNone ? 1 : 0));
    x0 = start;
    y0 = start;
    const QWidget* w = this;
    while (const auto* panel = qobject_cast<const TQxPanel*>(w)) {
        if (panel->FPicture.width() > 0)
            return panel;
        x0 += panel->x();
        y0 += panel->y();
        w = panel->parentWidget();
    }
    return nullptr;
}

bool TQxPanel::OnSizingEdge(const QPoint& pos) const
{
    if (!FSplitter)
        return false;
    const int s = SizingStripWidth();
    switch (Align()) {
    case alTop: return pos.y() >= height() - s;
    case alBottom: return pos.y() < s;
    case alLeft: return pos.x() >= width() - s;
    case alRight: return pos.x() < s;
    default: return false;
    }
}

void TQxPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QRect r = rect();

    int x0 = 0, y0 = 0;
    const TQxPanel* source = pictureSource(x0, y0);
    if (source && source->FPicture.width() > 0 && source->FPicture.height() > 0) {
        const QImage& pic = source->FPicture;
        const int pw = pic.width(), ph = pic.height();
        for (int y = -truncMod(y0, ph); y < r.bottom() + 1; y += ph)
            for (int x = -truncMod(x0, pw); x < r.right() + 1; x += pw)
                p.drawImage(x, y, pic);
    } else {
        // Without a picture the face is always the button face; Color shows in the border.
        p.fillRect(r, toQColor(clBtnFace));
    }

    const QColor hi = toQColor(clBtnHighlight), sh = toQColor(clBtnShadow);
    auto upper = [&](TBevelCut cut) { return cut == bvLowered ? sh : hi; };
    auto lower = [&](TBevelCut cut) { return cut == bvLowered ? hi : sh; };
    const TAlign align = Align();
    // A part drawn as one line along the sizing edge (Splitter).
    auto edgeLine = [&](const QColor& up, const QColor& low) {
        switch (align) {
        case alTop: p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), up); break;
        case alBottom:
            p.fillRect(QRect(r.left(), r.top(), r.width(), 1), low);
            r.setTop(r.top() + 1);
            break;
        case alLeft: p.fillRect(QRect(r.right(), r.top(), 1, r.height()), up); break;
        case alRight:
            p.fillRect(QRect(r.left(), r.top(), 1, r.height()), low);
            r.setLeft(r.left() + 1);
            break;
        default: break;
        }
    };

    if (FBevelOuter != bvNone)
        frame3D(p, r, upper(FBevelOuter), lower(FBevelOuter), FBevelWidth);
    else if (FSplitter) {
        const TBevelCut look = FBevelInner == bvRaised ? bvRaised : bvLowered;
        edgeLine(upper(look), lower(look));
    }
    if (FBorderWidth > 0)
        frame3D(p, r, toQColor(FColor), toQColor(FColor), FBorderWidth);
    else if (FSplitter)
        edgeLine(toQColor(clBtnFace), toQColor(clBtnFace));
    if (FBevelInner != bvNone)
        frame3D(p, r, upper(FBevelInner), lower(FBevelInner), FBevelWidth);
    else if (FSplitter) {
        const TBevelCut look = FBevelOuter == bvLowered ? bvLowered : bvRaised;
        edgeLine(upper(look), lower(look));
    }

    if (!FCaption.isEmpty()) {
        p.setFont(font());
        p.setPen(toQColor(isEnabled() ? FFontColor : clGrayText));
        const int th = QFontMetrics(font()).height();
        QRect tr(r.left(), r.top() + (r.height() - th) / 2, r.width(), th);
        qx::drawText(p, tr, FCaption,
                     alignmentFlags(FAlignment) | DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE);
    }
}

void TQxPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (OnResize)
        qx::guard(this, [&] { OnResize(this); });
}

void TQxPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && OnSizingEdge(event->position().toPoint())) {
        FSizing = true;
        FSizeStart = event->globalPosition().toPoint();
        FGeometryAtStart = geometry();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void TQxPanel::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (!FSizing) {
        if (OnSizingEdge(pos))
            setCursor(Align() == alTop || Align() == alBottom ? Qt::SizeVerCursor : Qt::SizeHorCursor);
        else if (FSplitter)
            unsetCursor();
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint d = event->globalPosition().toPoint() - FSizeStart;
    QRect g = FGeometryAtStart;
    switch (Align()) {
    case alTop: g.setHeight(qMax(0, g.height() + d.y())); break;
    case alBottom: g.setTop(qMin(g.bottom() + 1, g.top() + d.y())); break;
    case alLeft: g.setWidth(qMax(0, g.width() + d.x())); break;
    case alRight: g.setLeft(qMin(g.right() + 1, g.left() + d.x())); break;
    default: break;
    }
    setGeometry(g);
    qx::realignParent(this);
    event->accept();
}

void TQxPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (FSizing && event->button() == Qt::LeftButton) {
        FSizing = false;
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

// ---- TQxGroupBox -----------------------------------------------------------------------------

TQxGroupBox::TQxGroupBox(QWidget* parent)
    : QGroupBox(parent),
      FFocus(this, [this] { if (OnEnter) qx::guard(this, [&] { OnEnter(this); }); },
             [this] { if (OnExit) qx::guard(this, [&] { OnExit(this); }); })
{
    setFont(qx::libraryFont(9));
    // A group box takes the focus when clicked or given it, and is no tab stop of its own.
    setFocusPolicy(Qt::ClickFocus);
    resize(185, 105);
}

void TQxGroupBox::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Right:
        qx::selectNextControl(this, true);
        event->accept();
        return;
    case Qt::Key_Left:
        qx::selectNextControl(this, false);
        event->accept();
        return;
    default:
        QGroupBox::keyPressEvent(event);
    }
}

void TQxGroupBox::focusInEvent(QFocusEvent* event)
{
    QGroupBox::focusInEvent(event);
    FFocus.focusIn(event);
}

void TQxGroupBox::focusOutEvent(QFocusEvent* event)
{
    QGroupBox::focusOutEvent(event);
    FFocus.focusOut(event);
}

// ---- TQxCheckBox -----------------------------------------------------------------------------

TQxCheckBox::TQxCheckBox(QWidget* parent)
    : QCheckBox(parent),
      FFocus(this, [this] { if (OnEnter) qx::guard(this, [&] { OnEnter(this); }); },
             [this] { if (OnExit) qx::guard(this, [&] { OnExit(this); }); })
{
    setFont(qx::libraryFont(9));
    setFocusPolicy(Qt::StrongFocus);
    resize(97, 17);
    // The platform's check box clicks whenever its state changes, by the user or by code.
    connect(this, &QCheckBox::stateChanged, this, [this] { Click(); });
}

void TQxCheckBox::SetColor(TColor value)
{
    if (FColor != value) {
        FColor = value;
        update();
    }
}

TQxCheckBox::TCheckBoxState TQxCheckBox::State() const
{
    switch (checkState()) {
    case Qt::Checked: return cbChecked;
    case Qt::PartiallyChecked: return cbGrayed;
    case Qt::Unchecked: break;
    }
    return cbUnchecked;
}

void TQxCheckBox::SetState(TCheckBoxState value)
{
    if (value == cbGrayed && !isTristate())
        setTristate(true);
    setCheckState(value == cbChecked ? Qt::Checked
                  : value == cbGrayed ? Qt::PartiallyChecked
                                      : Qt::Unchecked);
}

void TQxCheckBox::Click()
{
    if (OnClick)
        qx::guard(this, [&] { OnClick(this); });
}

void TQxCheckBox::keyPressEvent(QKeyEvent* event)
{
    int key = qx::vkFromKeyEvent(event);
    if (OnKeyDown && key != 0) {
        qx::guard(this, [&] { OnKeyDown(this, key, qx::shiftState(event)); });
        if (key == 0) {
            event->accept();
            return;
        }
    }
    switch (key) {
    case VK_DOWN:
    case VK_RETURN:
        qx::selectNextControl(this, true);
        event->accept();
        return;
    case VK_UP:
        qx::selectNextControl(this, false);
        event->accept();
        return;
    default:
        break;
    }
    // The keypad's '+' flips the box. Ctrl flips nothing: it starts shortcuts (Ctrl+C,
    // Ctrl+S) and repeats while held, which would change the box behind the user's back.
    if (qx::isKeypadPlus(event)) {
        if (isEnabled())
            SetChecked(!Checked());
        event->accept();
        return;
    }
    QCheckBox::keyPressEvent(event);
}

void TQxCheckBox::focusInEvent(QFocusEvent* event)
{
    QCheckBox::focusInEvent(event);
    FFocus.focusIn(event);
}

void TQxCheckBox::focusOutEvent(QFocusEvent* event)
{
    QCheckBox::focusOutEvent(event);
    FFocus.focusOut(event);
}

bool TQxCheckBox::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

void TQxCheckBox::paintEvent(QPaintEvent*)
{
    // The flat check box: a 13-pixel box with a one-pixel frame, the caption beside it.
    QPainter p(this);
    p.fillRect(rect(), toQColor(FColor));
    const int box = 13;
    const QRect b(0, (height() - box) / 2, box, box);
    const bool enabled = isEnabled();
    p.fillRect(b, toQColor(enabled && !isDown() ? clWindow : clBtnFace));
    p.setPen(toQColor(clBtnShadow));
    p.drawRect(b.adjusted(0, 0, -1, -1));
    const Qt::CheckState state = checkState();
    if (state != Qt::Unchecked) {
        const QColor mark = toQColor(!enabled || state == Qt::PartiallyChecked ? clGrayText : clWindowText);
        // The classic 7 x 7 tick, three pixels thick.
        const int x = b.left() + 3, y = b.top() + 5;
        static const int tick[7] = {2, 3, 4, 3, 2, 1, 0};
        for (int i = 0; i < 7; ++i)
            p.fillRect(QRect(x + i, y + tick[i] - 2, 1, 3), mark);
    }
    QRect tr(box + 4, 0, width() - box - 4, height());
    p.setFont(font());
    p.setPen(toQColor(enabled ? clWindowText : clGrayText));
    QRect calc = tr;
    qx::drawText(p, calc, text(), DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_CALCRECT);
    qx::drawText(p, tr, text(), DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    if (hasFocus() && !text().isEmpty()) {
        QRect fr(tr.left() - 1, (height() - calc.height()) / 2 - 1, calc.width() + 2, calc.height() + 2);
        QStyleOptionFocusRect opt;
        opt.initFrom(this);
        opt.rect = fr.intersected(rect());
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
    }
}

// ---- TQxBitBtn -------------------------------------------------------------------------------

TQxBitBtn::TQxBitBtn(QWidget* parent) : QPushButton(parent)
{
    setFont(qx::libraryFont(9));
    setFocusPolicy(Qt::StrongFocus);
    // Enter in an edit of the dialog does not click the first button it finds: only the
    // button made Default answers Enter for the whole dialog.
    setAutoDefault(false);
    resize(75, 25);
    connect(this, &QPushButton::clicked, this, [this] { Click(); });
}

void TQxBitBtn::SetCaption(const QString& value)
{
    // The caption is shown as given; the button keeps no text-change side effects.
    setText(value);
}

void TQxBitBtn::SetGlyph(const QImage& value)
{
    FGlyph = value;
    update();
}

void TQxBitBtn::SetSpacing(int value)
{
    if (FSpacing != value) {
        FSpacing = value;
        update();
    }
}

void TQxBitBtn::Click()
{
    if (OnClick)
        qx::guard(this, [&] { OnClick(this); });
    if (FModalResult != 0)
        if (QDialog* dialog = dialogOf(this))
            dialog->done(FModalResult);
}

void TQxBitBtn::keyPressEvent(QKeyEvent* event)
{
    // Enter clicks the focused button, as in the platform's dialogs.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->modifiers()) {
        click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void TQxBitBtn::paintEvent(QPaintEvent*)
{
    // Flat: the face, a one-pixel frame (dark when focused or pressed) and the content moved
    // one pixel right and down while pressed.
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, toQColor(clBtnFace));
    const bool down = isDown();
    const bool focused = hasFocus();
    p.setPen(toQColor(focused || down ? clWindowFrame : clBtnShadow));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    const int shift = down ? 1 : 0;

    p.setFont(font());
    const QFontMetrics fm(font());
    const QString caption = qx::displayedText(text(), DT_SINGLELINE);
    const int textWidth = fm.horizontalAdvance(QString(caption).remove(u'&'));
    const int glyphWidth = FGlyph.isNull() ? 0 : FGlyph.width();
    const int gap = (glyphWidth > 0 && !caption.isEmpty()) ? FSpacing : 0;
    const int total = glyphWidth + gap + textWidth;
    int x = (r.width() - total) / 2 + shift;
    if (!FGlyph.isNull()) {
        QImage g = FGlyph;
        if (!isEnabled()) {
            QStyleOption opt;
            opt.initFrom(this);
            g = style()->generatedIconPixmap(QIcon::Disabled, QPixmap::fromImage(g), &opt).toImage();
        }
        p.drawImage(x, (r.height() - g.height()) / 2 + shift, g);
        x += glyphWidth + gap;
    }
    if (!caption.isEmpty()) {
        QRect tr(x, shift, textWidth + 2, r.height());
        p.setPen(toQColor(isEnabled() ? clBtnText : clGrayText));
        qx::drawText(p, tr, caption, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    }
    if (focused) {
        QStyleOptionFocusRect opt;
        opt.initFrom(this);
        opt.rect = r.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
    }
}

// ---- TQxPopupMenu ----------------------------------------------------------------------------

TQxPopupMenu::TQxPopupMenu(QWidget* parent) : QMenu(parent)
{
    setFont(qx::libraryFont(9));
    connect(this, &QMenu::aboutToShow, this, [this] {
        if (OnPopup)
            qx::guard(this, [&] { OnPopup(this); });
    });
}

void TQxPopupMenu::Popup(int X, int Y)
{
    popup(QPoint(X, Y));
}
