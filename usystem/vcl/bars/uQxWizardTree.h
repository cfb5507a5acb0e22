// TQxWizardTree: the steps of a wizard as a small diagram. Each step is a coloured box with
// its caption; the first and the last step sit on a left-hand spine, the steps between are
// indented and joined by lines. The current step's box has its own colour and a bold caption.
// Clicking a step asks the program (OnChanging) and then makes it current (OnChange).
#pragma once

#include "platform/stream/Persistent.h"
#include "platform/ui/Colors.h"
#include "platform/ui/ControlProps.h"
#include "platform/ui/Events.h"
#include "platform/ui/VclTypes.h"

#include <QList>
#include <QRect>
#include <QStringList>
#include <QWidget>

#include <functional>

using TOnChanging = std::function<void(QObject* Sender, int NewItemIndex, bool& AllowChange)>;
using TOnChange = std::function<void(QObject* Sender)>;

class TQxWizardTree : public QWidget, public qx::ControlProps<TQxWizardTree>, public qx::Streamable
{
    Q_OBJECT
    Q_CLASSINFO("QxIntegerKinds", "Color,LineColor,SelectedBoxColor,BoxColor=TColor")
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_PROPERTY(int LineColor READ LineColor WRITE SetLineColor)
    Q_PROPERTY(int SelectedBoxColor READ SelectedBoxColor WRITE SetSelectedBoxColor)
    Q_PROPERTY(int BoxColor READ BoxColor WRITE SetBoxColor)
    Q_PROPERTY(int BoxHeight READ BoxHeight WRITE SetBoxHeight)
    Q_PROPERTY(int BoxWidth READ BoxWidth WRITE SetBoxWidth)
    Q_PROPERTY(int HorizontalSpace READ HorizontalSpace WRITE SetHorizontalSpace)
    Q_PROPERTY(int VerticalSpace READ VerticalSpace WRITE SetVerticalSpace)
    Q_PROPERTY(int TopMargin READ TopMargin WRITE SetTopMargin)
    Q_PROPERTY(int LeftMargin READ LeftMargin WRITE SetLeftMargin)

public:
    explicit TQxWizardTree(QWidget* parent = nullptr);
    ~TQxWizardTree() override;

    // The panel's own colour (the ground) and the captions' colour.
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);

    QStringList Items() const { return FItems; }
    // A list too short for the current step leaves no step current.
    void SetItems(const QStringList& value);
    // -1: no current step. Values below -1 and beyond the last step are ignored.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);

    TColor LineColor() const { return FLineColor; }
    void SetLineColor(TColor value);
    TColor SelectedBoxColor() const { return FSelectedBoxColor; }
    void SetSelectedBoxColor(TColor value);
    TColor BoxColor() const { return FBoxColor; }
    void SetBoxColor(TColor value);
    int BoxHeight() const { return FBoxHeight; }
    void SetBoxHeight(int value);
    int BoxWidth() const { return FBoxWidth; }
    void SetBoxWidth(int value);
    int HorizontalSpace() const { return FHorizontalSpace; }
    void SetHorizontalSpace(int value);
    int VerticalSpace() const { return FVerticalSpace; }
    void SetVerticalSpace(int value);
    int TopMargin() const { return FTopMargin; }
    void SetTopMargin(int value);
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int value);

    // One rectangle per step, its click area: the box and the caption's width in the font the
    // step is drawn in (bold for the current one).
    QList<QRect> ItemRects() const;
    // The step whose click area holds a point of the client area, or -1.
    int ItemAt(const QPoint& Pos) const;

    // The empty list of steps is stored as well: reading it back must not bring the four
    // steps a new tree starts with.
    std::optional<bool> isPropertyStored(const char* name) const override;

    TNotifyEvent OnClick;
    TOnChanging OnChanging;
    TOnChange OnChange;

protected:
    // The inherited click, then the step under the mouse becomes current if allowed.
    virtual void Click(const QPoint& Pos);
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Where step i starts (its left edge) for a step count.
    int itemLeft(int i, int n) const;
    QFont itemFont(bool current) const;
    void drawItem(QPainter& p, int i, const QRect& r) const;
    void setInt(int& field, int value);
    void setColour(TColor& field, TColor value);

    QStringList FItems;
    int FItemIndex = 0;
    TColor FLineColor = clRed;
    TColor FSelectedBoxColor = clLime;
    TColor FBoxColor = clYellow;
    int FBoxHeight = 17;
    int FBoxWidth = 16;
    int FHorizontalSpace = 4;
    int FVerticalSpace = 8;
    int FTopMargin = 4;
    int FLeftMargin = 4;
    TColor FColor = clTeal;
    TColor FFontColor = clWhite;
    bool FClicked = false;
};
