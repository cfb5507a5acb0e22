// The drop-down number pad: a small keypad with a four-function calculator that opens under a
// number edit. The program keeps one pad for all number edits; the edit that opens it binds
// its OnAccept, OnCancel and OnChange. The pad is a non-activating pop-up: the edit keeps the
// focus and hands the pad its keys (HandleKeyPress / HandleKeyRelease), while the mouse works
// on the pad itself.
#pragma once

#include "platform/ui/Colors.h"
#include "platform/ui/Events.h"

#include <QWidget>

#include <cstdint>

class QKeyEvent;

class TQxNumPad : public QWidget
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "Color=clBtnFace")
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(QFont Font READ font WRITE setFont)

public:
    static constexpr int PadWidth = 84;
    static constexpr int PadHeight = 104;
    static constexpr std::uint8_t NoKey = 19;
    // The character the Enter key and the "=" key hand to Press.
    static constexpr char16_t EnterChar = 13;
    static constexpr char16_t BackChar = 8;

    // owner: the edit that creates the pad; it is also the pad's first parent.
    explicit TQxNumPad(QWidget* owner);

    TColor Color() const { return m_color; }
    void SetColor(TColor value);

    void SetDisplayText(const QString& Text);
    // 0 for an empty display, in the error state, or for text that is not a number.
    double GetValue() const;
    void ShowValue(double X);
    // (X, Y) in the parent's client coordinates; the pad's right edge lands at X.
    void Popup(int X, int Y);
    void PlaceAt(int X, int Y);
    void Accept();
    void Cancel();
    void Clear();
    void SetError();
    void StartNumber();
    // One calculator step.
    void Press(QChar Ch);

    // Keys the edit passes on while the pad is open; true when the pad took the key.
    bool HandleKeyPress(QKeyEvent* event);
    void HandleKeyRelease(QKeyEvent* event);

    // Key k's cell in client coordinates (key 18 is two cells wide); the key under a point or
    // NoKey.
    static QRect KeyRect(int k);
    static int KeyAt(const QPoint& p);
    // The character a key sends to Press.
    static QChar KeyChar(int k);

    std::uint8_t HotKey = NoKey;
    std::uint8_t PressedKey = NoKey;
    bool PressDrawn = false;
    // 0 fresh (the next digit starts a new number), 1 entering a number, 2 error.
    std::uint8_t State = 0;
    QString DisplayText;
    QChar PendingOp = u'=';
    double Accumulator = 0;

    TNotifyEvent OnAccept;
    TNotifyEvent OnCancel;
    TNotifyEvent OnChange;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    static int keyOfChar(QChar ch);
    void setHotKey(int k);

    TColor m_color = clBtnFace;
};
