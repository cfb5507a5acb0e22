// The library's flat tool button: a glyph and/or a caption with no border until the mouse is
// over it, then a thin raised frame, a sunken one while pressed. ButtonStyle can add a narrow
// drop-down part at the right edge that opens the button's popup menu.
#pragma once

#include "platform/ui/Colors.h"
#include "platform/ui/ControlProps.h"
#include "platform/ui/Events.h"

#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QWidget>

class TQxCustomButton : public QWidget, public qx::ControlProps<TQxCustomButton>
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "ButtonStyle=sbsNormal;Layout=GlyphTop;Width=32;Height=22")
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(QImage Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(TQxButtonStyle ButtonStyle READ ButtonStyle WRITE SetButtonStyle)
    Q_PROPERTY(TKyLayOut Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(QMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)

public:
    enum TQxButtonStyle { sbsRightButton, sbsNormal, sbsButtonMenu };
    Q_ENUM(TQxButtonStyle)
    enum TKyLayOut { GlyphTop, GlyphBottom, GlyphLeft, GlyphRight };
    Q_ENUM(TKyLayOut)

    explicit TQxCustomButton(QWidget* parent = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);
    QImage Glyph() const { return FGlyph; }
    void SetGlyph(const QImage& value);
    TQxButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TQxButtonStyle value);
    TKyLayOut Layout() const { return FLayout; }
    void SetLayout(TKyLayOut value);
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* value) { FPopupMenu = value; }

    // The form designer's view: always raised.
    bool Designing() const { return FDesigning; }
    void SetDesigning(bool value);

    // The width of the drop-down part: 0 for sbsNormal, 9 otherwise.
    int ArrowWidth() const { return FArrowWidth; }
    bool Hot() const { return FHot; }
    bool Pressed() const { return FPressed; }

    // The embossed picture of a disabled glyph.
    static QImage DisabledGlyph(const QImage& glyph);

    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

protected:
    virtual void Click();
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void PaintState(QPainter& p, int state);
    void DropMenu();

    QString FCaption;
    TColor FColor = clBtnFace;
    TColor FFontColor = clBtnText;
    QImage FGlyph;
    TQxButtonStyle FButtonStyle = sbsNormal;
    TKyLayOut FLayout = GlyphTop;
    QPointer<QMenu> FPopupMenu;
    bool FDesigning = false;
    int FArrowWidth = 0;
    bool FHot = false;
    bool FPressed = false;
    bool FPressedInCaption = true;
};

// The published flat button of tool bars and dialogs.
class TQxButton : public TQxCustomButton
{
    Q_OBJECT

public:
    explicit TQxButton(QWidget* parent = nullptr) : TQxCustomButton(parent) {}
};
