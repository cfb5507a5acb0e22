// TEffectGControl: the base of the library's effect controls. It paints through an off-screen
// bitmap, so an effect that draws in several steps never flickers on the screen: the bitmap
// is filled with the control's colour or, when Transparent, with what lies beneath the
// control, then the content hook PaintEffect draws into it, then the whole bitmap is set onto
// the control at once.
#pragma once

#include "platform/ui/Colors.h"
#include "platform/ui/ControlProps.h"

#include <QImage>
#include <QWidget>

class QPainter;

class TEffectGControl : public QWidget, public qx::ControlProps<TEffectGControl>
{
    Q_OBJECT
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

public:
    explicit TEffectGControl(QWidget* parent = nullptr);
    ~TEffectGControl() override;

    bool Transparent() const { return FTransparent; }
    // Without its opaque flag the control lets the parent paint beneath it first.
    void SetTransparent(bool value);

    // The control's own colour, the background of an opaque control.
    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    // Repaints at once without letting the parent paint beneath first: the off-screen bitmap
    // already holds the background, and the parent's pass would show as a flash.
    void RepaintNoErase();

protected:
    // Builds the off-screen bitmap, runs PaintEffect, sets the bitmap onto painter.
    virtual void Paint(QPainter& painter);
    // The content hook; draws into BufferCanvas. Empty here.
    virtual void PaintEffect();

    // The off-screen bitmap, (Width + 1) x (Height + 1), and its painter (with the control's
    // font); both exist only while Paint runs, null otherwise.
    QImage* Buffer() const { return FBuffer; }
    QPainter* BufferCanvas() const { return FBufferCanvas; }

    void paintEvent(QPaintEvent* event) override;
    // A transparent control shows its parent: moved, it must paint what lies under it now.
    void moveEvent(QMoveEvent* event) override;

private:
    bool FTransparent = false;
    TColor FColor = clBtnFace;
    QImage* FBuffer = nullptr;
    QPainter* FBufferCanvas = nullptr;
};
