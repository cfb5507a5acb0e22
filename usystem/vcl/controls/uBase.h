// TFrmBase: the base of every library dialog. It gives the library's font, Esc to close (the
// form previews keys), hints, and on every show the look pass between two hooks that
// descendants override. Closing runs OnCloseQuery and OnClose; an OnClose that answers caFree
// releases the form after the caller has read its result (a deferred delete), so a form that
// frees itself must be created with new.
#pragma once

#include "platform/ui/Colors.h"
#include "platform/ui/Events.h"

#include <QDialog>

class TFrmBase : public QDialog
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "KeyPreview=true;ShowHint=true;Color=clBtnFace")
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(bool KeyPreview READ KeyPreview WRITE SetKeyPreview)
    Q_PROPERTY(TPosition Position READ Position WRITE SetPosition)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)

public:
    enum TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter };
    Q_ENUM(TPosition)

    explicit TFrmBase(QWidget* parent = nullptr);
    ~TFrmBase() override;

    int Left() const { return x(); }
    void SetLeft(int v) { move(v, y()); }
    int Top() const { return y(); }
    void SetTop(int v) { move(x(), v); }
    int Width() const { return width(); }
    void SetWidth(int v) { resize(v, height()); }
    int Height() const { return height(); }
    void SetHeight(int v) { resize(width(), v); }
    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& v) { setWindowTitle(v); }
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool v) { FKeyPreview = v; }
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition v) { FPosition = v; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v) { FShowHint = v; }
    int Tag() const { return FTag; }
    void SetTag(int v) { FTag = v; }

    // The form's close: OnCloseQuery, OnClose, then hidden (a modal form answers mrCancel) or
    // released, as OnClose's Action says.
    void Close();
    // The result a modal run ends with (mrNone while it runs).
    int ModalResult() const { return result(); }

    // The form's events, wired to the handlers below by the constructor; a descendant may
    // assign its own and call the base handler from it.
    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TKeyEvent OnKeyDown;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    // Esc closes the form; other keys pass on unchanged.
    virtual void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift);
    // BeforeFormLook, the look pass, AfterFormLook.
    virtual void FormShow(QObject* Sender);
    virtual void FormCreate(QObject* Sender);

    void done(int r) override;
    void reject() override;

protected:
    // Empty; a descendant that builds content at show time does it in BeforeFormLook so the
    // pass sees the new components.
    virtual void BeforeFormLook() {}
    virtual void AfterFormLook() {}

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void watchKeys(QObject* object);
    // Runs OnCloseQuery and OnClose; false when the form may not close.
    bool QueryClose(TCloseAction& action);

    TColor FColor = clBtnFace;
    bool FKeyPreview = true;
    TPosition FPosition = poDesigned;
    bool FShowHint = true;
    int FTag = 0;
    bool FClosing = false;
};
