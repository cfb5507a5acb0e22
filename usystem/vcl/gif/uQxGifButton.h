// tQxGifButton: a windowless image button. It shows its up image and, while the mouse is over
// it, fades smoothly into its active image, one tenth per tick of its timer; it shows its down
// image, when it has one, while pressed; it can play a sound when the mouse comes over it and
// when it is clicked. The caption is for the application to read; the button does not draw it.
#pragma once

#include "platform/ui/Events.h"
#include "usystem/vcl/gif/uQxGifVclBase.h"
#include "usystem/vcl/gif/uQxGifWavctrl.h"

#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QString>

class QTimer;

class tQxGifButton : public TEffectGControl
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "Color=clWindow;Enabled=true;Visible=true;ParentFont=true")
    Q_CLASSINFO("QxIntegerKinds", "Color=TColor")
    Q_PROPERTY(TepWavePlayer* ClickSound READ ClickSound WRITE SetClickSound)
    Q_PROPERTY(TepWavePlayer* ActiveSound READ ActiveSound WRITE SetActiveSound)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(QImage UpGlyph READ UpGlyph WRITE SetUpGlyph)
    Q_PROPERTY(QImage DownGlyph READ DownGlyph WRITE SetDownGlyph)
    Q_PROPERTY(QImage ActiveGlyph READ ActiveGlyph WRITE SetActiveGlyph)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(QMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(bool GlyphsTransparent READ GlyphsTransparent WRITE SetGlyphsTransparent)
    Q_PROPERTY(uint Interval READ Interval WRITE SetInterval)
    Q_PROPERTY(QString caption READ caption WRITE SetCaption)

public:
    // Ticks of a whole fade, from the up image to the active one.
    static constexpr int kFadeSteps = 10;

    explicit tQxGifButton(QWidget* parent = nullptr);
    ~tQxGifButton() override;

    // Not owned; a player that goes away leaves the reference empty.
    TepWavePlayer* ClickSound() const { return FClickSound; }
    void SetClickSound(TepWavePlayer* value) { FClickSound = value; }
    TepWavePlayer* ActiveSound() const { return FActiveSound; }
    void SetActiveSound(TepWavePlayer* value) { FActiveSound = value; }

    // The glyph setters copy the picture.
    QImage UpGlyph() const { return FUpGlyph; }
    void SetUpGlyph(const QImage& value);
    QImage DownGlyph() const { return FDownGlyph; }
    void SetDownGlyph(const QImage& value);
    QImage ActiveGlyph() const { return FActiveGlyph; }
    void SetActiveGlyph(const QImage& value);

    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* value) { FPopupMenu = value; }
    // The font follows the parent's while set.
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    // The pictures are drawn with the colour of their bottom-left pixel left out.
    bool GlyphsTransparent() const { return FGlyphsTransparent; }
    void SetGlyphsTransparent(bool value);
    // Milliseconds between two fade steps.
    uint Interval() const;
    void SetInterval(uint value);
    QString caption() const { return Fcaption; }
    void SetCaption(const QString& value) { Fcaption = value; }

    // 0 shows the up image, 1 the active image.
    double FadeLevel() const { return double(FFadeStep) / kFadeSteps; }
    int FadeStep() const { return FFadeStep; }
    // The timer that runs a fade; it is active only while a fade is in progress.
    QTimer* FadeTimer() const { return FFadeTimer; }
    // Whether the timer runs the fade-in step (else the fade-out step).
    bool FadingIn() const { return FFadingIn; }
    // What the timer does on each tick: the fade-in or the fade-out step.
    void FadeTick();
    bool MouseInside() const { return FMouseInside; }
    bool MouseDown() const { return FMouseDown; }

    TNotifyEvent OnClick;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

protected:
    void PaintEffect() override;

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void MouseEnter();
    void MouseLeave();
    // Follows the mouse while the button holds it: the platform tells a held button too when
    // the mouse leaves and comes back.
    void FollowMouse(const QPoint& pos);
    void StartFade(bool fadeIn);
    void FadeInTimer();
    void FadeOutTimer();
    void ShowLevel(int step);

    int FFadeStep = 0;
    QTimer* FFadeTimer;
    bool FFadingIn = true;
    QImage FDownGlyph;
    QImage FUpGlyph;
    QImage FActiveGlyph;
    bool FMouseInside = false;
    bool FMouseDown = false;
    QPointer<TepWavePlayer> FClickSound;
    QPointer<TepWavePlayer> FActiveSound;
    bool FGlyphsTransparent = false;
    QString Fcaption;
    QPointer<QMenu> FPopupMenu;
    bool FParentFont = true;
};
