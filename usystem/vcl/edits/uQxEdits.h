// The library's edits. TQxCustomEdit is the single-line edit under all of them: the masked edit
// drawn flat (thin frame lines on the edges FrameStyle names instead of a 3-D border), turning
// clInfoBk while it has the focus, moving the focus with Enter and the arrow keys, keeping to
// its ValidChars whether text is typed, pasted or committed by an input method, and offering a
// candidate pop-up that an event handler fills while the user types an input code.
// TQxEditButton is the small button a link edit draws inside its right end.
#pragma once

#include "platform/ui/AlignLayout.h"
#include "platform/ui/Colors.h"
#include "platform/ui/MaskEdit.h"
#include "platform/ui/VclTypes.h"

#include <QPixmap>
#include <QPointer>

#include <functional>

// TFrameStyle (fsTop, fsBottom, fsLeft, fsRight) is the platform's shared set in VclTypes.h:
// the combo boxes and the label draw the same frame lines.

class QPainter;
class TQxCustomEdit;
// The candidate pop-up, a window of its own unit; the edits reach it through ImePadBinding.
class TQxIMEPad;

using TIMETextChangeEvent = std::function<void(QObject* Sender, const QString& Text, TQxIMEPad*& ImePad)>;
using TImeCodeEvent = std::function<void(QObject* Sender, const QString& ImeCode, QString& Code)>;

namespace qx {

// How the edits create and show the candidate pop-up. The pop-up's unit installs it once, so
// that this unit does not depend on that one.
struct ImePadBinding
{
    // A new pop-up owned by the edit.
    std::function<TQxIMEPad*(TQxCustomEdit* owner)> create;
    // The pop-up as a widget: tells whether its window still exists and lets the edit free it.
    std::function<QWidget*(TQxIMEPad* pad)> widget;
    // Parent and EditControl := the edit; then pops up at (0, ClientHeight) of the edit.
    std::function<void(TQxIMEPad* pad, TQxCustomEdit* edit)> popupUnder;
};
void setImePadBinding(ImePadBinding binding);
const ImePadBinding& imePadBinding();

} // namespace qx

// The one candidate pop-up of all library edits of the process; null when there is none or its
// window is gone.
TQxIMEPad* SharedImePad();
void SetSharedImePad(TQxIMEPad* pad);
// Frees the shared pop-up (when it exists) and clears the reference.
void FreeSharedImePad();

class TQxCustomEdit : public TCustomMaskEdit
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "Align=alNone;Alignment=taLeftJustify;ImePadVisible=false;"
                              "FrameStyle=[fsTop,fsBottom,fsLeft,fsRight];LineColor=clBlack")
    Q_CLASSINFO("QxIntegerKinds", "LineColor=TColor")

public:
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)
    enum TBorderStyle { bsNone, bsSingle };
    Q_ENUM(TBorderStyle)

private:
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(QChar PasswordChar READ PasswordChar WRITE SetPasswordChar)
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool ImePadVisible READ ImePadVisible WRITE SetImePadVisible)
    Q_PROPERTY(QString ImeText READ ImeText WRITE SetImeText)
    Q_PROPERTY(Vcl::TFrameStyle FrameStyle READ FrameStyle WRITE SetFrameStyle)
    Q_PROPERTY(int LineColor READ LineColor WRITE SetLineColor)
    Q_PROPERTY(QString ValidChars READ ValidChars WRITE SetValidChars)
    Q_PROPERTY(QString InPutType READ InPutType WRITE SetInPutType)
    Q_PROPERTY(QString InPutField READ InPutField WRITE SetInPutField)

public:
    explicit TQxCustomEdit(QWidget* parent = nullptr);
    ~TQxCustomEdit() override;

    TAlign Align() const { return qx::alignOf(this); }
    void SetAlign(TAlign value) { qx::setAlign(this, value); }
    QChar PasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(QChar value);
    bool Ctl3D() const { return m_ctl3D; }
    void SetCtl3D(bool value);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    bool ImePadVisible() const { return m_imePadVisible; }
    void SetImePadVisible(bool value) { m_imePadVisible = value; }
    QString ImeText() const { return m_imeText; }
    void SetImeText(const QString& value) { m_imeText = value; }
    TFrameStyle FrameStyle() const { return m_frameStyle; }
    void SetFrameStyle(TFrameStyle value);
    TColor LineColor() const { return m_lineColor; }
    void SetLineColor(TColor value);
    QString ValidChars() const { return m_validChars; }
    void SetValidChars(const QString& value) { m_validChars = value; }
    QString InPutType() const { return m_inPutType; }
    void SetInPutType(const QString& value) { m_inPutType = value; }
    QString InPutField() const { return m_inPutField; }
    void SetInPutField(const QString& value) { m_inPutField = value; }

    // bsSingle: the platform's own sunken border and no frame lines; bsNone: flat, with the
    // frame lines of FrameStyle.
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);

    // The colour the edit returns to when the focus leaves it.
    TColor RememberedColor() const { return m_rememberedColor; }

    // Keeps the text out of the area GetEditRect leaves outside (a link edit's button).
    virtual void UpdateEditRect();
    virtual bool CanModify() const;
    // #13 and #27 are never text; other control characters are editing keys and always pass
    // (Backspace, Ctrl+C/V/X/A); printable characters must be in ValidChars unless it is empty.
    virtual bool IsValidChar(QChar Key) const;

    // The rectangle the text may use, in client coordinates.
    virtual void GetEditRect(QRect& Rect) const;
    virtual void PaintFrame(QPainter& Canvas);
    void DrawFrame(QPainter& Canvas, const QRect& R);

    TIMETextChangeEvent OnImeTextChange;
    TImeCodeEvent OnImeCode;

    // State flags of the edit: bit 0 a link edit's pad is shown, bit 2 the mouse is over the
    // button, bit 3 the mouse is inside the edit.
    enum StateFlag { PopupShown = 0x1, MouseOverButton = 0x4, MouseInside = 0x8 };
    int StateFlags = 0;

protected:
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void KeyUp(int& Key, TShiftState Shift) override;
    QString FilterText(const QString& text) override;
    void DoEnter() override;
    void DoExit() override;
    void ColorChanged() override;

    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showImePad();

    QChar m_passwordChar;
    bool m_ctl3D = true;
    TAlignment m_alignment = taLeftJustify;
    bool m_imePadVisible = false;
    QString m_imeText;
    TFrameStyle m_frameStyle = kAllFrameEdges;
    TColor m_lineColor = clBlack;
    QString m_validChars;
    QString m_inPutType;
    QString m_inPutField;
    TBorderStyle m_borderStyle = bsSingle;
    TColor m_rememberedColor = clWindow;
};

// The button a link edit draws inside its right end; the edit paints it on its own window and
// keeps its text clear of it.
class TQxEditButton : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "Cursor=-2;ShowHint=true")
    Q_PROPERTY(int Cursor READ Cursor WRITE SetCursor)
    Q_PROPERTY(QPixmap Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    // The platform's cursor numbers the form files store.
    static constexpr int crArrow = -2;
    static constexpr int crHandPoint = -21;

    explicit TQxEditButton(TQxCustomEdit* owner);

    int Cursor() const { return m_cursor; }
    void SetCursor(int value) { m_cursor = value; }
    QPixmap Glyph() const { return m_glyph; }
    void SetGlyph(const QPixmap& value);
    QString Hint() const { return m_hint; }
    void SetHint(const QString& value) { m_hint = value; }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool value) { m_showHint = value; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    bool Down() const { return m_down; }
    void SetDown(bool value);

    // Empty when the button is hidden or has no glyph; else a strip at the right end of the
    // edit, 3 pixels wider than the glyph.
    void GetButtonRect(QRect& Rect) const;
    void Paint(QPainter& Canvas);
    void InvalidateButton();
    virtual void Changed();

    TQxCustomEdit* Owner() const { return m_owner; }
    // The key that clicks the button: the numeric keypad's plus.
    int HotKey;

private:
    TQxCustomEdit* m_owner = nullptr;
    int m_cursor = crHandPoint;
    QPixmap m_glyph;
    QString m_hint;
    bool m_showHint = true;
    bool m_visible = true;
    bool m_down = false;
};

// ---- link edit and typed edit --------------------------------------------------------------

class TQxNumPad;
class TQxDatePad;

namespace QxEditTypes {
Q_NAMESPACE
enum TEditDataType { edtText, edtNumber, edtDate, edtPickList, edtFind };
Q_ENUM_NS(TEditDataType)
} // namespace QxEditTypes
using QxEditTypes::TEditDataType;
using enum QxEditTypes::TEditDataType;

using THotKeyHintEvent = std::function<void(QObject* Sender, const QString& lHint)>;

namespace qx {

// The record picker, the input-code dialog and the field picker that the library's edits and
// data controls open. They need the document structures and the library's data module, which
// sit above the controls, so the picker unit installs them; without them these buttons do
// nothing. The two finders return true only when the user confirmed a value.
struct EditLookupBinding
{
    // The picker over a document structure: Value := the chosen record's ResultField.
    std::function<bool(const QString& ResultField, const QString& StructureCode, QString& Value)>
        selectValueByStructure;
    // The input-code dialog for an input type ("I" + field name): Result := the chosen text.
    std::function<bool(const QString& InputType, QString& Result)> showImeDialog;
    // The picker named by the field definition behind a data control (a data edit, a data
    // grid or a record grid), for buttons that have no handler of their own. It does nothing
    // for a control whose dataset is not a document structure.
    std::function<void(QWidget* Control)> pickFieldValue;
};
void setEditLookupBinding(EditLookupBinding binding);
const EditLookupBinding& editLookupBinding();

} // namespace qx

// The pads all library edits of the process share; null when there is none or it is gone.
TQxNumPad* SharedNumPad();
TQxDatePad* SharedDatePad();

// An edit with a button inside its right end that the user clicks, or triggers with the
// numeric keypad's plus key, to pick a value.
class TQxCustomLinkEdit : public TQxCustomEdit
{
    Q_OBJECT

public:
    explicit TQxCustomLinkEdit(QWidget* parent = nullptr);
    ~TQxCustomLinkEdit() override;

    TQxEditButton* Button() const { return m_button; }

    void GetEditRect(QRect& Rect) const override;
    void PaintFrame(QPainter& Canvas) override;
    // The button's hot key clicks a visible button: true when the key was taken (Key := 0).
    bool HandleButtonKey(int& Key);
    void DoHotKeyHint(const QString& Text);

    virtual void AcceptPopup();
    virtual void CancelPopup();
    virtual void ButtonClick() = 0;
    virtual void ShowPopup(bool Show) = 0;

    THotKeyHintEvent OnHotKeyHint;

protected:
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void DoEnter() override;
    void DoExit() override;

    bool event(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

    bool overButton(const QPoint& pos) const;

private:
    TQxEditButton* m_button = nullptr;
    bool m_ownEnabled = true;
};

class TQxEdit : public TQxCustomLinkEdit
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "DataType=edtText")
    Q_PROPERTY(QxEditTypes::TEditDataType DataType READ DataType WRITE SetDataType)
    Q_PROPERTY(TQxEditButton* Button READ Button)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE setAutoSelect)
    Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(int Color READ Color WRITE setColor)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE setMaxLength)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)

public:
    explicit TQxEdit(QWidget* parent = nullptr);
    ~TQxEdit() override;

    TEditDataType DataType() const { return m_dataType; }
    void SetDataType(TEditDataType value);

    void ButtonClick() override;
    void ShowPopup(bool Show) override;
    void AcceptPopup() override;
    void CancelPopup() override;
    // The pads' change callback: the edit shows the value the pad holds while it is open.
    void PadValueChanged();
    // Whether a pad is open for this edit.
    bool PopupOpen() const;
    // The text the edit had when its pad opened; put back on cancel.
    QString SavedText() const { return m_savedText; }

    TNotifyEvent OnButtonClick;

protected:
    void DblClick() override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // A pad open for this edit is cancelled when the focus leaves the edit.
    void ClosePadOnFocusOut(QFocusEvent* event);

private:
    void openNumPad();
    void openDatePad();
    void runFind();

    TEditDataType m_dataType = edtText;
    QString m_savedText;
};
