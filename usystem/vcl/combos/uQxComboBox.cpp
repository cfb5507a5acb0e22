#include "usystem/vcl/combos/uQxComboBox.h"

#include "platform/ui/DrawText.h"
#include "platform/ui/ImageList.h"
#include "usystem/vcl/controls/uQxGraphics.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QWheelEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QScopedValueRollback>
#include <QStyleOptionComboBox>

namespace {

// The width of the drop-down button: a scroll bar's width, as the platform draws it.
constexpr int kButtonWidth = 16;
// The platform's border around the face; the flat look paints over it.
constexpr int kBorder = 2;

QRect innerOf(const QRect& r)
{
    return r.adjusted(kBorder, kBorder, -kBorder, -kBorder);
}

// Gives the combo boxes the geometry they paint: the edit field and the drop-down button
// where the face draws them, so that clicks and the edit part line up with the picture.
class FlatComboStyle : public QProxyStyle
{
public:
    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                         const QWidget* widget) const override
    {
        const auto* combo = qobject_cast<const TQxCustomComboBox*>(widget);
        if (cc != CC_ComboBox || !combo)
            return QProxyStyle::subControlRect(cc, opt, sc, widget);
        const QRect inner = innerOf(opt->rect);
        const bool simple = combo->Style() == csSimple;
        const int buttonWidth = simple ? 0 : qMin(kButtonWidth, inner.width());
        switch (sc) {
        case SC_ComboBoxFrame:
        case SC_ComboBoxListBoxPopup:
            return opt->rect;
        case SC_ComboBoxArrow:
            if (simple)
                return QRect();
            return QRect(inner.right() - buttonWidth + 1, inner.top(), buttonWidth, inner.height());
        case SC_ComboBoxEditField: {
            QRect r(inner.left() + 1, inner.top(), inner.width() - buttonWidth - 1, inner.height());
            if (simple)
                r.setHeight(qMin(inner.height(), combo->ItemHeight() + 2));
            return r;
        }
        default:
            return QProxyStyle::subControlRect(cc, opt, sc, widget);
        }
    }

    int styleHint(StyleHint hint, const QStyleOption* opt, const QWidget* widget,
                  QStyleHintReturn* ret) const override
    {
        // The list drops down below the control, never over it.
        if (hint == SH_ComboBox_Popup && qobject_cast<const TQxCustomComboBox*>(widget))
            return 0;
        return QProxyStyle::styleHint(hint, opt, widget, ret);
    }
};

QStyle* flatComboStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new FlatComboStyle;
        style->setParent(qApp);
    }
    return style;
}

// Draws the list's items through the combo box's DrawItem and sizes them by its item heights.
class ComboItemDelegate : public QAbstractItemDelegate
{
public:
    explicit ComboItemDelegate(TQxCustomComboBox* combo) : QAbstractItemDelegate(combo), m_combo(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        TOwnerDrawState state;
        if (option.state & QStyle::State_Selected)
            state |= odSelected | odFocused;
        if (!m_combo->isEnabled())
            state |= odDisabled | odGrayed;
        m_combo->PaintItem(*painter, index.row(), option.rect, state);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(option.rect.width(), m_combo->ItemHeightOf(index.row()));
    }

private:
    TQxCustomComboBox* m_combo;
};

void drawArrow(QPainter& p, const QRect& r, const QColor& color)
{
    // A small filled triangle pointing down, centred in the button.
    const int cx = r.left() + r.width() / 2;
    const int cy = r.top() + r.height() / 2;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(color);
    for (int i = 0; i < 4; ++i)
        p.drawLine(cx - 3 + i, cy - 1 + i, cx + 3 - i, cy - 1 + i);
    p.restore();
}

// A line from (x1, y1) towards (x2, y2), its end point left out as the platform draws lines.
void lineTo(QPainter& p, int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2)
        return;
    const int ex = x2 == x1 ? x2 : (x2 > x1 ? x2 - 1 : x2 + 1);
    const int ey = y2 == y1 ? y2 : (y2 > y1 ? y2 - 1 : y2 + 1);
    p.drawLine(x1, y1, ex, ey);
}

} // namespace

void PaintFlatComboBorder(QWidget* Wnd, QPainter& Canvas, bool UseFace)
{
    if (!Wnd)
        return;
    const QRect r = Wnd->rect();
    const QColor c = toQColor(UseFace ? clBtnFace : clWindow);
    Canvas.fillRect(QRect(r.left(), r.top(), r.width(), kBorder), c);
    Canvas.fillRect(QRect(r.left(), r.top(), kBorder, r.height()), c);
    Canvas.fillRect(QRect(r.left(), r.bottom() - kBorder + 1, r.width(), kBorder), c);
    Canvas.fillRect(QRect(r.right() - kBorder + 1, r.top(), kBorder, r.height()), c);
}

// ---- TQxCustomComboBox ---------------------------------------------------------------------

TQxCustomComboBox::TQxCustomComboBox(QWidget* parent)
    : QComboBox(parent), m_focus(this, [this] { DoEnter(); }, [this] { DoExit(); })
{
    setStyle(flatComboStyle());
    setItemDelegate(new ComboItemDelegate(this));
    setInsertPolicy(QComboBox::NoInsert);
    setFocusPolicy(Qt::StrongFocus);
    setMaxVisibleItems(8);
    connect(this, &QComboBox::activated, this, [this](int index) { userPicked(index); });
    applyStyle();
    applyPalette();
}

TQxCustomComboBox::~TQxCustomComboBox() = default;

void TQxCustomComboBox::SetStyle(TComboBoxStyle value)
{
    if (m_style == value)
        return;
    m_style = value;
    applyStyle();
}

void TQxCustomComboBox::applyStyle()
{
    const QString text = Text();
    QScopedValueRollback guard(m_settingByCode, true);
    const bool edit = HasEdit();
    if (edit != isEditable()) {
        setEditable(edit);
        if (edit) {
            // Typed text stays as typed: no completion, and Enter never adds an item.
            setCompleter(nullptr);
            setInsertPolicy(QComboBox::NoInsert);
            lineEdit()->setFrame(false);
            connect(lineEdit(), &QLineEdit::textEdited, this, [this] { userEdited(); });
        }
    }
    if (edit && !text.isEmpty() && lineEdit()->text() != text)
        lineEdit()->setText(text);
    if (m_style == csSimple) {
        if (!m_simpleList) {
            auto* list = new QListView(this);
            list->setModel(model());
            list->setItemDelegate(itemDelegate());
            list->setFocusPolicy(Qt::NoFocus);
            list->setFrameShape(QFrame::NoFrame);
            list->setEditTriggers(QAbstractItemView::NoEditTriggers);
            connect(list, &QListView::clicked, this, [this](const QModelIndex& index) {
                if (!index.isValid())
                    return;
                {
                    QScopedValueRollback g(m_settingByCode, true);
                    setCurrentIndex(index.row());
                }
                emit activated(index.row());
            });
            m_simpleList = list;
        }
        m_simpleList->show();
        placeSimpleList();
    } else if (m_simpleList) {
        delete m_simpleList.data();
    }
    if (edit)
        EditCreated();
    applyPalette();
    update();
}

void TQxCustomComboBox::placeSimpleList()
{
    if (!m_simpleList)
        return;
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    const QRect edit = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    const QRect inner = innerOf(rect());
    m_simpleList->setGeometry(inner.left(), edit.bottom() + 2, inner.width(),
                              qMax(0, inner.bottom() - edit.bottom() - 1));
    if (QListView* list = qobject_cast<QListView*>(m_simpleList.data()))
        list->setCurrentIndex(model()->index(currentIndex(), modelColumn()));
}

void TQxCustomComboBox::applyPalette()
{
    QPalette pal = palette();
    const QColor face = toQColor(m_color);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(g, QPalette::Base, face);
        pal.setColor(g, QPalette::Window, face);
        pal.setColor(g, QPalette::Highlight, toQColor(clHighlight));
        pal.setColor(g, QPalette::HighlightedText, toQColor(clHighlightText));
        pal.setColor(g, QPalette::Text, toQColor(g == QPalette::Disabled ? clGrayText : clWindowText));
        pal.setColor(g, QPalette::WindowText,
                     toQColor(g == QPalette::Disabled ? clGrayText : clWindowText));
    }
    setPalette(pal);
    if (QLineEdit* e = lineEdit())
        e->setPalette(pal);
    // The list keeps the window colour: only the face shows the focus colour.
    if (QAbstractItemView* v = view()) {
        QPalette lp = pal;
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            lp.setColor(g, QPalette::Base, toQColor(m_colorByFocus ? m_rememberedColor : m_color));
        v->setPalette(lp);
    }
}

void TQxCustomComboBox::SetColor(TColor value)
{
    m_color = value;
    applyPalette();
    update();
    ColorChanged();
}

void TQxCustomComboBox::ColorChanged()
{
    // A colour set by code while the control has the focus is the one it returns to.
    if (m_color != clInfoBk)
        m_rememberedColor = m_color;
}

void TQxCustomComboBox::SetCtl3D(bool value)
{
    if (m_ctl3D != value) {
        m_ctl3D = value;
        update();
    }
}

void TQxCustomComboBox::SetItemHeight(int value)
{
    if (value > 0 && m_itemHeight != value) {
        m_itemHeight = value;
        if (QAbstractItemView* v = view())
            v->doItemsLayout();
        placeSimpleList();
        update();
    }
}

QStringList TQxCustomComboBox::Items() const
{
    QStringList items;
    items.reserve(count());
    for (int i = 0; i < count(); ++i)
        items.append(itemText(i));
    return items;
}

void TQxCustomComboBox::SetItems(const QStringList& value)
{
    QScopedValueRollback guard(m_settingByCode, true);
    clear();
    addItems(value);
    setCurrentIndex(-1);
    update();
}

void TQxCustomComboBox::SetItemIndex(int value)
{
    QScopedValueRollback guard(m_settingByCode, true);
    setCurrentIndex(value >= 0 && value < count() ? value : -1);
    placeSimpleList();
    update();
}

QString TQxCustomComboBox::Text() const
{
    if (HasEdit() && lineEdit())
        return lineEdit()->text();
    const int i = currentIndex();
    return i >= 0 ? itemText(i) : QString();
}

void TQxCustomComboBox::SetText(const QString& value)
{
    QScopedValueRollback guard(m_settingByCode, true);
    if (HasEdit() && lineEdit()) {
        lineEdit()->setText(value);
    } else {
        // Items are looked up without regard to case, as the platform's lists do.
        setCurrentIndex(value.isEmpty() ? -1 : findText(value, Qt::MatchFixedString));
    }
    update();
}

void TQxCustomComboBox::SetFrameStyle(TFrameStyle value)
{
    m_frameStyle = value;
    update();
}

void TQxCustomComboBox::SetLineColor(TColor value)
{
    if (m_lineColor != value) {
        m_lineColor = value;
        update();
    }
}

void TQxCustomComboBox::SelectAll()
{
    if (QLineEdit* e = lineEdit())
        e->selectAll();
}

// ---- list ----------------------------------------------------------------------------------

bool TQxCustomComboBox::DroppedDown() const
{
    if (m_style == csSimple)
        return false;
    QAbstractItemView* v = view();
    QWidget* popup = v ? v->window() : nullptr;
    return popup && popup != window() && popup->isVisible();
}

void TQxCustomComboBox::SetDroppedDown(bool value)
{
    if (value == DroppedDown())
        return;
    if (value)
        showPopup();
    else
        hidePopup();
}

void TQxCustomComboBox::showPopup()
{
    if (m_style == csSimple)
        return;
    DropDown();
    watchPopup();
    QComboBox::showPopup();
    update();
}

void TQxCustomComboBox::hidePopup()
{
    const bool was = DroppedDown();
    QComboBox::hidePopup();
    if (was)
        CloseUp();
    update();
}

void TQxCustomComboBox::watchPopup()
{
    if (m_popupWatched)
        return;
    if (QAbstractItemView* v = view()) {
        // The list has the keyboard while it is open: the action key closes it from there.
        v->installEventFilter(this);
        m_popupWatched = true;
    }
}

bool TQxCustomComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view() && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (qx::isKeypadPlus(key)) {
            hidePopup();
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void TQxCustomComboBox::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TQxCustomComboBox::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}

void TQxCustomComboBox::userPicked(int index)
{
    Q_UNUSED(index);
    if (m_settingByCode)
        return;
    if (!AcceptUserPick()) {
        if (DroppedDown())
            hidePopup();
        placeSimpleList();
        update();
        return;
    }
    placeSimpleList();
    update();
    Click();
    Select();
}

void TQxCustomComboBox::userEdited()
{
    if (!m_settingByCode)
        Change();
}

void TQxCustomComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

void TQxCustomComboBox::Click()
{
    if (OnClick)
        OnClick(this);
}

void TQxCustomComboBox::Select()
{
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

// ---- items ---------------------------------------------------------------------------------

int TQxCustomComboBox::ItemHeightOf(int Index)
{
    int h = m_itemHeight;
    if (m_style == csOwnerDrawVariable)
        MeasureItem(Index, h);
    return qMax(1, h);
}

void TQxCustomComboBox::MeasureItem(int Index, int& Height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, Index, Height);
}

void TQxCustomComboBox::PaintItem(QPainter& Painter, int Index, const QRect& Rect, TOwnerDrawState State)
{
    Painter.save();
    Painter.setFont(font());
    const bool selected = State.testFlag(odSelected);
    Painter.setBrush(toQColor(selected ? clHighlight : (State.testFlag(odComboBoxEdit) ? m_color
                                                       : m_colorByFocus ? m_rememberedColor
                                                                        : m_color)));
    // A disabled control still shows its value, in the grey of disabled text.
    const TColor text = selected ? clHighlightText
                        : State.testFlag(odDisabled) ? clGrayText
                                                     : clWindowText;
    Painter.setPen(toQColor(text));
    QPainter* previous = m_canvas;
    m_canvas = &Painter;
    try {
        if (Index >= 0 && Index < count())
            DrawItem(Index, Rect, State);
        else
            Painter.fillRect(Rect, Painter.brush());
    } catch (...) {
        m_canvas = previous;
        Painter.restore();
        throw;
    }
    m_canvas = previous;
    if (State.testFlag(odFocused) && State.testFlag(odComboBoxEdit)) {
        Painter.setBrush(Qt::NoBrush);
        QPen dotted(toQColor(clHighlightText), 0, Qt::DotLine);
        Painter.setPen(dotted);
        Painter.drawRect(Rect.adjusted(0, 0, -1, -1));
    }
    Painter.restore();
}

void TQxCustomComboBox::DrawItem(int Index, const QRect& Rect, TOwnerDrawState State)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    QPainter& p = *m_canvas;
    p.fillRect(Rect, p.brush());
    QRect r = Rect.adjusted(2, 0, 0, 0);
    qx::drawText(p, r, itemText(Index), DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

// ---- painting ------------------------------------------------------------------------------

QRect TQxCustomComboBox::InnerRect() const
{
    return innerOf(rect());
}

QRect TQxCustomComboBox::ButtonRect() const
{
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    return style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, this);
}

QRect TQxCustomComboBox::FaceRect() const
{
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    return style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
}

void TQxCustomComboBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    paintFace(p);
    PaintFrame(p);
}

void TQxCustomComboBox::paintFace(QPainter& p)
{
    const QRect r = rect();
    p.fillRect(r, toQColor(m_color));
    // The platform's sunken 3-D border.
    p.setPen(toQColor(clBtnShadow));
    p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
    p.setPen(toQColor(clBtnHighlight));
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    p.setPen(toQColor(cl3DDkShadow));
    p.drawLine(r.left() + 1, r.top() + 1, r.right() - 2, r.top() + 1);
    p.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom() - 2);
    p.setPen(toQColor(cl3DLight));
    p.drawLine(r.left() + 1, r.bottom() - 1, r.right() - 1, r.bottom() - 1);
    p.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);

    if (m_style != csSimple) {
        const QRect b = ButtonRect();
        if (b.isValid()) {
            DrawButtonFrame(p, b, DroppedDown());
            drawArrow(p, DroppedDown() ? b.translated(1, 1) : b,
                      toQColor(isEnabled() ? clBtnText : clGrayText));
        }
    }
    if (!HasEdit())
        drawFaceItem(p, FaceRect());
}

void TQxCustomComboBox::drawFaceItem(QPainter& p, const QRect& r)
{
    TOwnerDrawState state = odComboBoxEdit;
    if (!isEnabled())
        state |= odDisabled | odGrayed;
    else if (hasFocus() && !DroppedDown())
        state |= odSelected | odFocused;
    PaintItem(p, currentIndex(), r.adjusted(0, 1, 0, -1), state);
}

void TQxCustomComboBox::PaintFrame(QPainter& Canvas)
{
    if (m_ctl3D)
        return;
    Canvas.save();
    Canvas.setRenderHint(QPainter::Antialiasing, false);
    PaintFlatComboBorder(this, Canvas, m_color != clWhite);
    // The lines of FrameStyle around the control, right and bottom one pixel in.
    Canvas.setPen(QPen(toQColor(m_lineColor), 0));
    const int left = 0, top = 0;
    const int right = width() - 1 - 1, bottom = height() - 1 - 1;
    if (m_frameStyle.testFlag(fsTop))
        lineTo(Canvas, left, top, right, top);
    if (m_frameStyle.testFlag(fsBottom))
        lineTo(Canvas, left, bottom, right, bottom);
    if (m_frameStyle.testFlag(fsLeft))
        lineTo(Canvas, left, top, left, bottom);
    if (m_frameStyle.testFlag(fsRight))
        lineTo(Canvas, right, top, right, bottom);
    Canvas.restore();
}

void TQxCustomComboBox::changeEvent(QEvent* event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
}

void TQxCustomComboBox::resizeEvent(QResizeEvent* event)
{
    QComboBox::resizeEvent(event);
    placeSimpleList();
}

void TQxCustomComboBox::wheelEvent(QWheelEvent* event)
{
    // The wheel turns the focused control only, as on the platform: scrolling a form with the
    // mouse over a combo box must not change its value.
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

// ---- focus ---------------------------------------------------------------------------------

void TQxCustomComboBox::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    m_focus.focusIn(event);
    update();
}

void TQxCustomComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    m_focus.focusOut(event);
    update();
}

void TQxCustomComboBox::DoEnter()
{
    if (m_color != clInfoBk)
        m_rememberedColor = m_color;
    m_colorByFocus = true;
    SetColor(clInfoBk);
    if (OnEnter)
        OnEnter(this);
}

void TQxCustomComboBox::DoExit()
{
    m_colorByFocus = false;
    SetColor(m_rememberedColor);
    if (OnExit)
        OnExit(this);
}

// ---- keys ----------------------------------------------------------------------------------

void TQxCustomComboBox::KeyDown(int& Key, TShiftState Shift)
{
    if (Key == VK_RETURN)
        qx::selectNextControl(this, true);
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
    if (Key == VK_ADD) {
        SetDroppedDown(!DroppedDown());
        Key = 0;
    }
}

void TQxCustomComboBox::KeyPress(QChar& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TQxCustomComboBox::KeyUp(int& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TQxCustomComboBox::keyPressEvent(QKeyEvent* event)
{
    QPointer<TQxCustomComboBox> self(this);
    int key = qx::vkFromKeyEvent(event);
    if (key != 0) {
        KeyDown(key, qx::shiftState(event));
        if (!self)
            return;
        if (key == 0) {
            event->accept();
            return;
        }
    }
    const QChar typed = qx::keyPressChar(event);
    if (!typed.isNull()) {
        QChar ch = typed;
        KeyPress(ch);
        if (!self)
            return;
        if (ch.isNull()) {
            event->accept();
            return;
        }
        if (ch != typed && ch.isPrint()) {
            QKeyEvent replaced(QEvent::KeyPress, 0, event->modifiers(), QString(ch));
            QComboBox::keyPressEvent(&replaced);
            event->setAccepted(replaced.isAccepted());
            return;
        }
    }
    // Enter has moved the focus on; a combo box does nothing more with it (handing it on
    // would press the form's default button).
    if (key == VK_RETURN) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
    update();
}

void TQxCustomComboBox::keyReleaseEvent(QKeyEvent* event)
{
    int key = qx::vkFromKeyEvent(event);
    if (key != 0) {
        KeyUp(key, qx::shiftState(event));
        if (key == 0) {
            event->accept();
            return;
        }
    }
    QComboBox::keyReleaseEvent(event);
}

// ---- TQxComboBox ---------------------------------------------------------------------------

TQxComboBox::TQxComboBox(QWidget* parent) : TQxCustomComboBox(parent)
{
    // Forms that ask for the declared default (a drop-down with an edit) get drawn items.
    SetStyle(csOwnerDrawFixed);
}

void TQxComboBox::SetImageList(TImageList* value)
{
    m_imageList = value;
    update();
}

void TQxComboBox::DrawItem(int Index, const QRect& Rect, TOwnerDrawState State)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    QPainter& p = *Canvas();
    p.fillRect(Rect, p.brush());
    int imageWidth = 0;
    if (m_imageList) {
        // The side list of image indexes is never filled by the library: every item shows
        // the first picture unless a form fills it.
        const int image = Index < m_imageIndexes.size() ? m_imageIndexes.at(Index).toInt() : 0;
        m_imageList->Draw(p, Rect.left(), Rect.top() + (ItemHeight() - m_imageList->Height()) / 2,
                          image, !State.testFlag(odDisabled));
        imageWidth = m_imageList->Width();
    }
    QRect r(Rect.left() + imageWidth + 6, Rect.top(), qMax(0, Rect.width() - imageWidth - 6),
            Rect.height());
    qx::drawText(p, r, itemText(Index), DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TQxComboBox::KeyPress(QChar& Key)
{
    // '+' is the library's action key, never an item's text.
    if (Key == u'+')
        Key = QChar();
    TQxCustomComboBox::KeyPress(Key);
}
