#include "platform/ui/MaskEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QRegularExpression>

namespace {

// QLineEdit's own limit, which stands for "no limit".
constexpr int kNoLimit = 32767;

} // namespace

TCustomMaskEdit::TCustomMaskEdit(QWidget* parent)
    : QLineEdit(parent),
      m_focusNotifier(this, [this] { DoEnter(); }, [this] { DoExit(); })
{
    setColor(clWindow);
    connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
}

TCustomMaskEdit::~TCustomMaskEdit() = default;

// ---- value and mask ------------------------------------------------------------------------

QString TCustomMaskEdit::Text() const
{
    if (!IsMasked())
        return QLineEdit::text();
    const QString shown = echoMode() == QLineEdit::Normal ? displayText() : QString();
    if (shown.size() != m_mask.literalAt.size())
        return QLineEdit::text(); // hidden text: Qt's own reading (literals, no blanks)
    QString value;
    bool anyEntered = false;
    for (int i = 0; i < shown.size(); ++i) {
        if (m_mask.literalAt.at(i)) {
            if (m_mask.saveLiterals)
                value += shown.at(i);
        } else if (shown.at(i) == m_mask.blank) {
            value += u' ';
        } else {
            value += shown.at(i);
            anyEntered = true;
        }
    }
    if (!anyEntered)
        return QString();
    while (value.endsWith(u' '))
        value.chop(1);
    return value;
}

void TCustomMaskEdit::setText(const QString& text)
{
    if (!IsMasked()) {
        QLineEdit::setText(applyCharCase(text));
        return;
    }
    // Lay the value into the mask's positions: a value without literals fills the input
    // positions in turn; a value with literals is read position by position.
    const QString value = applyCharCase(text);
    const int count = int(m_mask.literalAt.size());
    QString shown;
    shown.reserve(count);
    int k = 0;
    for (int i = 0; i < count; ++i) {
        const bool literal = m_mask.literalAt.at(i);
        if (literal) {
            // The literal itself comes from the mask; skip it in a value that carries it.
            if (m_mask.saveLiterals && k < value.size())
                ++k;
            shown += QChar(u' '); // placeholder, Qt puts the mask's literal here
            continue;
        }
        QChar c = k < value.size() ? value.at(k++) : m_mask.blank;
        if (c == u' ')
            c = m_mask.blank;
        shown += c;
    }
    // Qt matches separators by value; hand it the literal characters in place.
    const QString qtMask = m_mask.qtMask;
    int pos = 0;
    QString withLiterals = shown;
    for (int i = 0; i < qtMask.size() && pos < count; ++i) {
        const QChar c = qtMask.at(i);
        if (c == u';')
            break;
        if (c == u'>' || c == u'<' || c == u'!')
            continue;
        if (c == u'\\' && i + 1 < qtMask.size()) {
            withLiterals[pos++] = qtMask.at(++i);
            continue;
        }
        if (m_mask.literalAt.at(pos))
            withLiterals[pos] = c;
        ++pos;
    }
    QLineEdit::setText(withLiterals);
}

QString TCustomMaskEdit::EditText() const
{
    return displayText();
}

void TCustomMaskEdit::setEditMask(const QString& mask)
{
    if (mask == m_editMask)
        return;
    const QString value = Text();
    m_editMask = mask;
    m_mask = qx::parseEditMask(mask);
    setInputMask(m_mask.qtMask);
    if (!IsMasked())
        QLineEdit::setMaxLength(m_maxLength > 0 ? m_maxLength : kNoLimit);
    setText(value);
}

void TCustomMaskEdit::setMaxLength(int length)
{
    m_maxLength = qMax(0, length);
    // A mask fixes the length itself.
    if (!IsMasked())
        QLineEdit::setMaxLength(m_maxLength > 0 ? m_maxLength : kNoLimit);
}

void TCustomMaskEdit::ValidateEdit() const
{
    if (IsMasked() && !hasAcceptableInput())
        throw EDBEditError(QStringLiteral("Invalid input value.  Use escape key to abandon changes"));
}

// ---- appearance and selection --------------------------------------------------------------

void TCustomMaskEdit::setColor(TColor color)
{
    m_color = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, toQColor(color));
    setPalette(pal);
    ColorChanged();
}

int TCustomMaskEdit::SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TCustomMaskEdit::setSelStart(int start)
{
    setCursorPosition(qBound(0, start, int(QLineEdit::text().size())));
}

int TCustomMaskEdit::SelLength() const
{
    return selectionLength();
}

void TCustomMaskEdit::setSelLength(int length)
{
    setSelection(SelStart(), qMax(0, length));
}

void TCustomMaskEdit::setSelText(const QString& text)
{
    insert(text);
}

void TCustomMaskEdit::setCharCase(TEditCharCase charCase)
{
    if (m_charCase == charCase)
        return;
    m_charCase = charCase;
    if (charCase != ecNormal) {
        const int pos = cursorPosition();
        setText(Text());
        setCursorPosition(pos);
    }
}

QString TCustomMaskEdit::applyCharCase(const QString& text) const
{
    switch (m_charCase) {
    case ecUpperCase: return text.toUpper();
    case ecLowerCase: return text.toLower();
    case ecNormal: break;
    }
    return text;
}

QString TCustomMaskEdit::prepareInsert(const QString& text)
{
    return applyCharCase(FilterText(text));
}

void TCustomMaskEdit::insertFiltered(const QString& text)
{
    const QString t = prepareInsert(text);
    if (!t.isEmpty())
        insert(t);
}

// ---- hooks ---------------------------------------------------------------------------------

void TCustomMaskEdit::KeyDown(int& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TCustomMaskEdit::KeyPress(QChar& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TCustomMaskEdit::KeyUp(int& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

QString TCustomMaskEdit::FilterText(const QString& text)
{
    return text;
}

void TCustomMaskEdit::DoEnter()
{
    if (m_autoSelect && !enteredByMouse())
        selectAll();
    if (OnEnter)
        OnEnter(this);
}

void TCustomMaskEdit::DoExit()
{
    if (OnExit)
        OnExit(this);
}

void TCustomMaskEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomMaskEdit::Click()
{
    if (OnClick)
        OnClick(this);
}

void TCustomMaskEdit::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

// ---- events --------------------------------------------------------------------------------

void TCustomMaskEdit::keyPressEvent(QKeyEvent* event)
{
    int key = qx::vkFromKeyEvent(event);
    if (key != 0) {
        KeyDown(key, qx::shiftState(event));
        if (key == 0) {
            event->accept();
            return;
        }
    }
    // Esc in a changed masked edit puts back the text it had when the focus came.
    if (key == VK_ESCAPE && IsMasked() && isModified()) {
        Reset();
        event->accept();
        return;
    }

    const QChar typed = qx::keyPressChar(event);
    if (!typed.isNull()) {
        QChar ch = typed;
        KeyPress(ch);
        if (ch.isNull()) {
            event->accept();
            return;
        }
        if (ch.isPrint()) {
            if (isReadOnly()) {
                event->accept();
                return;
            }
            const QString text = prepareInsert(QString(ch));
            if (text.isEmpty()) {
                event->accept();
                return;
            }
            if (text != event->text()) {
                // Replaced or case-changed: type the new text instead, so the mask's typing
                // rules (overwrite, skipping literals) still apply.
                QKeyEvent replaced(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
                QLineEdit::keyPressEvent(&replaced);
                event->setAccepted(replaced.isAccepted());
                return;
            }
        } else if (ch != typed) {
            // A control character put in place of another: hand it on as its key.
            const int qtKey = ch == QChar(8) ? Qt::Key_Backspace
                              : ch == QChar(13) ? Qt::Key_Return
                              : ch == QChar(27) ? Qt::Key_Escape
                                                : 0;
            if (qtKey) {
                QKeyEvent replaced(QEvent::KeyPress, qtKey, Qt::NoModifier, QString(ch));
                QLineEdit::keyPressEvent(&replaced);
            }
            event->accept();
            return;
        }
    }

    // The paste shortcuts (Ctrl+V, Shift+Insert) go through the filter like everything else.
    if (event->matches(QKeySequence::Paste)) {
        PasteFromClipboard();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TCustomMaskEdit::keyReleaseEvent(QKeyEvent* event)
{
    int key = qx::vkFromKeyEvent(event);
    if (key != 0) {
        KeyUp(key, qx::shiftState(event));
        if (key == 0) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyReleaseEvent(event);
}

void TCustomMaskEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = event->commitString();
    if (commit.isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // The input method delivers its characters one by one to KeyPress, as typed keys are.
    QString passed;
    for (QChar c : commit) {
        KeyPress(c);
        if (!c.isNull())
            passed += c;
    }
    const QString text = isReadOnly() ? QString() : prepareInsert(passed);
    if (text == commit) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(text, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    event->setAccepted(filtered.isAccepted());
}

void TCustomMaskEdit::PasteFromClipboard()
{
    if (isReadOnly())
        return;
    QString text = QGuiApplication::clipboard()->text();
    // A single-line edit takes the first line of the clipboard.
    const int eol = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    if (eol >= 0)
        text.truncate(eol);
    const QString filtered = prepareInsert(text);
    if (!filtered.isEmpty() || hasSelectedText())
        insert(filtered);
}

QMenu* TCustomMaskEdit::createContextMenu()
{
    QMenu* menu = createStandardContextMenu();
    // Qt names the action only in later versions; its caption is the same in all.
    const QString pasteCaption = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")
            || action->text().section(u'\t', 0, 0) == pasteCaption) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, [this] { PasteFromClipboard(); });
        }
    }
    return menu;
}

void TCustomMaskEdit::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(createContextMenu());
    menu->exec(event->globalPos());
}

void TCustomMaskEdit::dropEvent(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (!data || !data->hasText() || isReadOnly()) {
        QLineEdit::dropEvent(event);
        return;
    }
    QMimeData filtered;
    filtered.setText(prepareInsert(data->text()));
    QDropEvent replaced(event->position(), event->possibleActions(), &filtered, event->buttons(),
                        event->modifiers());
    QLineEdit::dropEvent(&replaced);
    event->setDropAction(replaced.dropAction());
    event->setAccepted(replaced.isAccepted());
}

void TCustomMaskEdit::Reset()
{
    if (!isModified())
        return;
    QLineEdit::setText(m_oldValue);
    setModified(false);
}

void TCustomMaskEdit::focusInEvent(QFocusEvent* event)
{
    m_focusReason = event->reason();
    if (!m_focusNotifier.entered())
        m_oldValue = QLineEdit::text();
    const bool hadSelection = hasSelectedText();
    QLineEdit::focusInEvent(event);
    // Qt selects the text on Tab by itself; without AutoSelect the edit keeps the caret.
    if (!m_autoSelect && !hadSelection && hasSelectedText()
        && (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason))
        deselect();
    m_focusNotifier.focusIn(event);
}

void TCustomMaskEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    m_focusNotifier.focusOut(event);
}

void TCustomMaskEdit::mousePressEvent(QMouseEvent* event)
{
    m_pressedInside = event->button() == Qt::LeftButton;
    QLineEdit::mousePressEvent(event);
}

void TCustomMaskEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        // The selection paste of X11 goes through the filter too.
        if (!isReadOnly()) {
            QString text = QGuiApplication::clipboard()->text(QClipboard::Selection);
            const int eol = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
            if (eol >= 0)
                text.truncate(eol);
            setCursorPosition(cursorPositionAt(event->position().toPoint()));
            insertFiltered(text);
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && m_pressedInside
        && rect().contains(event->position().toPoint()))
        Click();
    m_pressedInside = false;
}

void TCustomMaskEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        DblClick();
}
