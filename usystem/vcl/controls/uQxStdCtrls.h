// The library's thin variants of the standard controls: TQxLabel (raised, recessed or
// shadowed text, frame lines, a hyperlink look), TQxPanel (tiled background picture, optional
// sizing edge), TQxGroupBox and TQxCheckBox (the library's Enter and arrow focus keys),
// TQxBitBtn (a flat bitmap button) and TQxPopupMenu.
#pragma once

#include "platform/db/DB.h"
#include "platform/ui/Colors.h"
#include "platform/ui/ControlProps.h"
#include "platform/ui/Events.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Keys.h"
#include "platform/ui/VclTypes.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

#include <functional>


// ---------------------------------------------------------------------------------------------

class TQxLabel : public QWidget, public qx::ControlProps<TQxLabel>
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "ShadowColor=clBtnShadow;ShadowDepth=1;TextStyle=tsNone;"
                              "LinkControl=false;Transparent=false;ShowAccelChar=true;AutoSize=true")
    Q_CLASSINFO("QxIntegerKinds", "Color,ShadowColor=TColor")
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(int Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE SetShowAccelChar)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(int ShadowColor READ ShadowColor WRITE SetShadowColor)
    Q_PROPERTY(int ShadowDepth READ ShadowDepth WRITE SetShadowDepth)
    Q_PROPERTY(TTextStyle TextStyle READ TextStyle WRITE SetTextStyle)
    Q_PROPERTY(bool LinkControl READ LinkControl WRITE SetLinkControl)
    Q_PROPERTY(Vcl::TFrameStyle FrameStyle READ FrameStyle WRITE SetFrameStyle)

public:
    enum TTextStyle { tsNone, tsRaised, tsRecessed, tsShadow, tsFrame };
    Q_ENUM(TTextStyle)

    explicit TQxLabel(QWidget* parent = nullptr);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(int value);
    // The label takes the size of its one line of text (a right-justified label keeps its
    // right edge).
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // The font's colour (Font.Color).
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor value);
    int ShadowDepth() const { return FShadowDepth; }
    void SetShadowDepth(int value);
    TTextStyle TextStyle() const { return FTextStyle; }
    void SetTextStyle(TTextStyle value);
    bool LinkControl() const { return FLinkControl; }
    void SetLinkControl(bool value);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle value);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

protected:
    virtual void Click();
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void AdjustBounds();

    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    QString FCaption;
    TColor FColor = clBtnFace;
    TColor FFontColor = clWindowText;
    bool FShowAccelChar = true;
    bool FTransparent = false;
    TColor FShadowColor = clBtnShadow;
    int FShadowDepth = 1;
    TTextStyle FTextStyle = tsNone;
    bool FLinkControl = false;
    TFrameStyle FFrameStyle;
    bool FPressed = false;
};

// ---------------------------------------------------------------------------------------------

class TQxPanel : public QWidget, public qx::ControlProps<TQxPanel>
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "Alignment=2;BevelInner=bvNone;BevelOuter=bvRaised;BevelWidth=1;"
                              "BorderWidth=0;Color=clBtnFace;Splitter=false")
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(int Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(Vcl::TBevelCut BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(Vcl::TBevelCut BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(QImage Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(bool Splitter READ Splitter WRITE SetSplitter)
    Q_PROPERTY(QString ParentName READ ParentName WRITE SetParentName)

public:
    explicit TQxPanel(QWidget* parent = nullptr);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(int value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);
    QImage Picture() const { return FPicture; }
    void SetPicture(const QImage& value);
    bool Splitter() const { return FSplitter; }
    void SetSplitter(bool value);
    QString ParentName() const { return FParentName; }
    void SetParentName(const QString& value) { FParentName = value; }

    // The width of the strip along the sizing edge that the mouse drags (Splitter only).
    int SizingStripWidth() const { return FBorderWidth == 0 ? 3 : FBorderWidth + 2; }
    // Whether a point of the panel lies on its sizing edge.
    bool OnSizingEdge(const QPoint& pos) const;

    TNotifyEvent OnResize;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void updateMargins();
    // The panel whose picture shows through this one, and the tile offsets.
    const TQxPanel* pictureSource(int& x0, int& y0) const;

    TAlignment FAlignment = taCenter;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    QString FCaption;
    TColor FColor = clBtnFace;
    TColor FFontColor = clWindowText;
    QImage FPicture;
    bool FSplitter = false;
    QString FParentName;
    // Sizing by the mouse.
    bool FSizing = false;
    QPoint FSizeStart;
    QRect FGeometryAtStart;
};

// ---------------------------------------------------------------------------------------------

class TQxGroupBox : public QGroupBox, public qx::ControlProps<TQxGroupBox>
{
    Q_OBJECT
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    explicit TQxGroupBox(QWidget* parent = nullptr);

    QString Caption() const { return title(); }
    void SetCaption(const QString& value) { setTitle(value); }

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    qx::FocusNotifier FFocus;
};

// ---------------------------------------------------------------------------------------------

class TQxCheckBox : public QCheckBox, public qx::ControlProps<TQxCheckBox>
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "AllowGrayed=false;Checked=false;TabStop=true")
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool AllowGrayed READ AllowGrayed WRITE SetAllowGrayed)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(TCheckBoxState State READ State WRITE SetState)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
    Q_ENUM(TCheckBoxState)

    explicit TQxCheckBox(QWidget* parent = nullptr);

    bool AllowGrayed() const { return isTristate(); }
    void SetAllowGrayed(bool value) { setTristate(value); }
    QString Caption() const { return text(); }
    void SetCaption(const QString& value) { setText(value); }
    bool Checked() const { return checkState() == Qt::Checked; }
    void SetChecked(bool value) { setCheckState(value ? Qt::Checked : Qt::Unchecked); }
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TCheckBoxState State() const;
    void SetState(TCheckBoxState value);
    bool TabStop() const { return focusPolicy() & Qt::TabFocus; }
    void SetTabStop(bool value) { setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus); }

    TNotifyEvent OnClick;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;

protected:
    virtual void Click();
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    TColor FColor = clBtnFace;
    qx::FocusNotifier FFocus;
};

// ---------------------------------------------------------------------------------------------

class TQxBitBtn : public QPushButton, public qx::ControlProps<TQxBitBtn>
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "Default=false;ModalResult=0;Spacing=4;TabStop=true")
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QImage Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    explicit TQxBitBtn(QWidget* parent = nullptr);

    QString Caption() const { return text(); }
    void SetCaption(const QString& value);
    // The dialog's default button: Enter anywhere in the dialog clicks it. Only a button
    // made the default is; the focused button takes Enter itself.
    bool Default() const { return isDefault(); }
    void SetDefault(bool value) { setDefault(value); }
    QImage Glyph() const { return FGlyph; }
    void SetGlyph(const QImage& value);
    // Clicking a button with a modal result closes its dialog with that result.
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    bool TabStop() const { return focusPolicy() & Qt::TabFocus; }
    void SetTabStop(bool value) { setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus); }

    TNotifyEvent OnClick;

protected:
    virtual void Click();
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage FGlyph;
    int FModalResult = 0;
    int FSpacing = 4;
};

// ---------------------------------------------------------------------------------------------

class TQxPopupMenu : public QMenu
{
    Q_OBJECT
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)

public:
    explicit TQxPopupMenu(QWidget* parent = nullptr);

    // Opens the menu at a screen point and returns at once.
    void Popup(int X, int Y);
    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }

    TNotifyEvent OnPopup;

private:
    int FTag = 0;
};
