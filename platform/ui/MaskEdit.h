// TCustomMaskEdit: the single-line masked edit the library's edits and the grids' cell editors
// derive from. It is a QLineEdit with the masked edit's properties (Text, EditMask, MaxLength,
// ReadOnly, Color, SelStart/SelLength/SelText, Modified, CharCase, AutoSelect), its events as
// std::function members, and the protected hooks descendants override:
//
//   KeyDown(Key, Shift)  may zero Key: the key is then swallowed whole.
//   KeyPress(Key)        receives the typed character (control keys as their control
//                        character: #8 Backspace, #13 Enter, #22 Ctrl+V...) and may replace it
//                        or drop it (set it to 0).
//   FilterText(Text)     every text about to be inserted passes here: typed characters (after
//                        KeyPress), input-method commits, pasted and dropped text. A
//                        descendant that limits the characters overrides only this one.
//   DoEnter / DoExit     the focus entered or left the edit within its form (not window
//                        activation, not a popup opening).
//   Change               the text changed (by the user or by code).
//   ColorChanged         Color was set (also while the edit has the focus).
//
// Masks: see platform/ui/EditMask.h for the mask language.
#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/ui/Colors.h"
#include "platform/ui/EditMask.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Keys.h"

#include <QLineEdit>

#include <functional>

class QMenu;

// The text of a masked edit does not fill the mask's required positions.
QX_DECLARE_EXCEPTION(EDBEditError, Exception)

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomMaskEdit : public QLineEdit
{
    Q_OBJECT

public:
    using TNotifyEvent = std::function<void(QObject* Sender)>;
    using TKeyEvent = std::function<void(QObject* Sender, int& Key, TShiftState Shift)>;
    using TKeyPressEvent = std::function<void(QObject* Sender, QChar& Key)>;

    explicit TCustomMaskEdit(QWidget* parent = nullptr);
    ~TCustomMaskEdit() override;

    // The value: without a mask the edit's text; with one, the entered characters (unfilled
    // positions as spaces, trailing spaces cut) with the literals when the mask saves them.
    QString Text() const;
    void setText(const QString& text);
    // The text as shown, with literals and blank characters.
    QString EditText() const;

    QString EditMask() const { return m_editMask; }
    void setEditMask(const QString& mask);
    bool IsMasked() const { return !m_mask.isEmpty(); }

    // 0 = no limit.
    int MaxLength() const { return m_maxLength; }
    void setMaxLength(int length);

    bool ReadOnly() const { return isReadOnly(); }
    // QLineEdit::setReadOnly serves as the setter.

    TColor Color() const { return m_color; }
    void setColor(TColor color);

    int SelStart() const;
    void setSelStart(int start);
    int SelLength() const;
    void setSelLength(int length);
    QString SelText() const { return selectedText(); }
    void setSelText(const QString& text);
    void SelectAll() { selectAll(); }

    bool Modified() const { return isModified(); }
    // QLineEdit::setModified serves as the setter.

    TEditCharCase CharCase() const { return m_charCase; }
    void setCharCase(TEditCharCase charCase);

    bool AutoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool autoSelect) { m_autoSelect = autoSelect; }

    int Tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    // Raises EDBEditError when a mask's required positions are not all filled.
    void ValidateEdit() const;
    // Puts back the text the edit had when the focus entered it, when it was changed since
    // (Esc does this in a masked edit).
    void Reset();

    // Pastes the clipboard as the Paste shortcut and the context menu do: the first line only,
    // through FilterText. Does nothing on a read-only edit.
    void PasteFromClipboard();
    // The edit's context menu (the standard one, its Paste going through FilterText); the
    // caller owns it.
    QMenu* createContextMenu();

    TNotifyEvent OnChange;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

protected:
    virtual void KeyDown(int& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    virtual void KeyUp(int& Key, TShiftState Shift);
    virtual QString FilterText(const QString& text);
    virtual void DoEnter();
    virtual void DoExit();
    virtual void Change();
    virtual void Click();
    virtual void DblClick();
    virtual void ColorChanged() {}

    // Whether the focus arrived by a mouse click (the click places the caret, so entering
    // does not select the text).
    bool enteredByMouse() const { return m_focusReason == Qt::MouseFocusReason; }
    // Inserts text at the caret as if typed: through FilterText and CharCase.
    void insertFiltered(const QString& text);

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QString applyCharCase(const QString& text) const;
    QString prepareInsert(const QString& text);

    QString m_editMask;
    QString m_oldValue; // the text when the focus entered
    qx::EditMaskInfo m_mask;
    int m_maxLength = 0;
    TColor m_color = clWindow;
    TEditCharCase m_charCase = ecNormal;
    bool m_autoSelect = true;
    bool m_pressedInside = false;
    int m_tag = 0;
    Qt::FocusReason m_focusReason = Qt::OtherFocusReason;
    qx::FocusNotifier m_focusNotifier;
};
