// The bar's layout and drawing. Mouse and scrolling are in uQxOutBarInput.cpp, the panels and
// buttons in uQxOutBarItems.cpp.
#include "usystem/vcl/bars/uQxOutBar.h"

#include "platform/env/ExceptionGuard.h"
#include "platform/stream/ClassRegistry.h"
#include "platform/ui/TextHook.h"
#include "usystem/vcl/bars/QxBarDrawing.h"
#include "usystem/vcl/controls/uQxFormLook.h"
#include "usystem/vcl/controls/uQxGraphics.h"

#include <QPainter>
#include <QPaintEvent>
#include <QResizeEvent>

#include <algorithm>

using qx::bars::bottom;
using qx::bars::fill;
using qx::bars::frame3D;
using qx::bars::ltrb;
using qx::bars::right;

namespace {

// The bar's fixed colours.
constexpr TColor kGround = clGray;
constexpr TColor kTab = clSilver;
constexpr TColor kTabText = clBlack;
constexpr TColor kButtonText = clWhite;

[[maybe_unused]] const bool outBarRegistered = [] {
    qx::registerClass<TQxOutBar>();
    // The look pass sends every panel's and button's text through the text hook.
    RegisterFormLookRule(flrOutBar, [](QObject* c) {
        auto* bar = qobject_cast<TQxOutBar*>(c);
        if (!bar)
            return false;
        TKyOutPanels* panels = bar->Panels();
        for (int i = 0; i < panels->Count(); ++i) {
            TKyOutPanel* panel = panels->Items(i);
            panel->SetText(qx::localizeText(panel->Text()));
            TKyOutButtons* buttons = panel->Buttons();
            for (int j = 0; j < buttons->Count(); ++j)
                buttons->Items(j)->SetText(qx::localizeText(buttons->Items(j)->Text()));
        }
        return true;
    });
    return true;
}();

} // namespace

TQxOutBar::TQxOutBar(QWidget* parent)
    : QWidget(parent)
{
    FPanels = new TKyOutPanels(this);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(150, height());
    SetAlign(alLeft);
}

TQxOutBar::~TQxOutBar()
{
    // The panels leave with the bar's children; nothing of theirs reaches the bar any more.
    FPanels->FBar = nullptr;
}

int TQxOutBar::laidOutCount() const
{
    return std::min(FPanels->Count(), MaxLaidOutPanels);
}

TKyOutPanel* TQxOutBar::OpenPanel() const
{
    return FPanelIndex >= 0 && FPanelIndex < laidOutCount() ? FPanels->Items(FPanelIndex) : nullptr;
}

TImageList* TQxOutBar::buttonImages(const TKyOutPanel* panel) const
{
    return panel->SmallImages() ? FSmallImages.data() : FImages.data();
}

void TQxOutBar::SetPanelIndex(int Value)
{
    FHotButton = -1;
    FHotTab = -1;
    if (Value != FPanelIndex) {
        FPanelIndex = Value;
        Layout(true);
    }
}

void TQxOutBar::SetTabHeight(int Value)
{
    if (Value != FTabHeight) {
        FTabHeight = Value;
        Layout(true);
    }
}

void TQxOutBar::refresh(const QRect& r)
{
    // A paint that lays the bar out must not ask for another.
    if (!FPainting)
        update(r);
}

// ---- layout ----------------------------------------------------------------------------------

void TQxOutBar::Layout(bool Full)
{
    const int W = width();
    const int H = height();
    if (W <= 0 || H <= 0)
        return;
    if (FCanvas.size() != size())
        FCanvas = QImage(size(), QImage::Format_RGB32);
    {
        QPainter p(&FCanvas);
        QRect client = rect();
        fill(p, client, kGround);
        frame3D(p, client, clBlack, clBtnHighlight, 1);
    }
    // Whatever stood in the open panel's area is gone with the ground.
    FUpArrowShown = false;
    FDownArrowShown = false;

    const int n = laidOutCount();
    if (Full && n > 0) {
        FOpenHeight = H - n * FTabHeight - 2;
        int y = 1;
        for (int i = 0; i < FPanels->Count(); ++i) {
            TKyOutPanel* panel = FPanels->Items(i);
            if (!panel) // still being made; it asks for a layout when it is whole
                continue;
            if (i >= n) {
                panel->FTabRect = QRect();
                continue;
            }
            panel->FTabRect = ltrb(1, y, W - 2, y + FTabHeight - 1);
            y += FTabHeight;
            if (i == FPanelIndex)
                y += FOpenHeight;
        }
        for (int i = 0; i < n; ++i)
            DrawTab(i, tsNormal);
        if (TKyOutPanel* open = OpenPanel()) {
            const int tabBottom = bottom(open->FTabRect);
            FButtonArea = ltrb(1, tabBottom + 1, W - 2, tabBottom + FOpenHeight);
            LayoutButtons(true);
        } else {
            FButtonArea = QRect();
        }
    }
    refresh(rect());
}

void TQxOutBar::LayoutButtons(bool ResetTop)
{
    TKyOutPanel* panel = OpenPanel();
    if (!panel || FCanvas.isNull())
        return;
    const int L = FButtonArea.x();
    const int T = FButtonArea.y();
    const int R = right(FButtonArea);
    const int B = bottom(FButtonArea);
    {
        QPainter p(&FCanvas);
        fill(p, FButtonArea, kGround);
    }
    refresh(FButtonArea);
    FUpArrowRect = ltrb(R - 25, T + 5, R - 6, T + 24);
    FDownArrowRect = ltrb(R - 25, B - 25, R - 6, B - 6);
    FUpArrowShown = false;
    FDownArrowShown = false;

    TKyOutButtons* buttons = panel->Buttons();
    const int count = buttons->Count();
    // Only the buttons placed below are shown (and can be hit).
    for (int i = 0; i < count; ++i) {
        if (TKyOutButton* button = buttons->Items(i)) {
            button->FButtonRect = QRect();
            button->FImageRect = QRect();
        }
    }
    if (count == 0)
        return;
    TImageList* images = buttonImages(panel);
    if (!images)
        return;
    const int w = images->Width();
    const int h = images->Height();
    const bool small = panel->SmallImages();
    const int step = small ? h + 9 : h + 28;

    if (ResetTop)
        FTopButton = 0;
    FLastButton = std::min((B - T + 1) / step + FTopButton - 1, count - 1);

    int top = T + 2;
    for (int i = FTopButton; i <= FLastButton; ++i, top += step) {
        TKyOutButton* button = buttons->Items(i);
        if (!button) // still being made; it asks for a layout when it is whole
            continue;
        button->FButtonRect = ltrb(L + 2, top, R - 2, top + step - 1);
        const int left = button->FButtonRect.x();
        if (small) {
            button->FImageRect = ltrb(left + 2, top + 2, left + w + 6, top + h + 6);
        } else {
            const int x = left + (R - L - w - 10) / 2;
            button->FImageRect = ltrb(x, top + 4, x + w + 10, top + h + 12);
        }
        DrawButton(i, bsFlat);
    }

    FUpArrowShown = FTopButton > 0;
    if (FUpArrowShown)
        drawArrow(true);
    FDownArrowShown = FLastButton < count - 1;
    if (FDownArrowShown)
        drawArrow(false);
}

// ---- drawing ---------------------------------------------------------------------------------

void TQxOutBar::DrawTab(int Index, int State)
{
    if (Index < 0 || Index >= laidOutCount() || FCanvas.isNull())
        return;
    TKyOutPanel* panel = FPanels->Items(Index);
    if (!panel)
        return;
    const QRect tab = panel->FTabRect;
    if (tab.width() <= 0 || tab.height() <= 0)
        return;
    QPainter p(&FCanvas);
    fill(p, tab, kTab);
    QRect edge = tab;
    switch (State) {
    case tsHot: frame3D(p, edge, clBtnHighlight, clBlack, 1); break;
    case tsPressed: frame3D(p, edge, clBtnShadow, clBtnHighlight, 2); break;
    default: frame3D(p, edge, cl3DLight, clBtnShadow, 1); break;
    }
    p.setFont(font());
    p.setPen(toQColor(kTabText));
    QRect textRect = tab;
    DrawCanvasText(p, panel->Text(), -1, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    refresh(tab);
}

void TQxOutBar::DrawButton(int Index, int State)
{
    TKyOutPanel* panel = OpenPanel();
    if (!panel || FCanvas.isNull())
        return;
    TKyOutButton* button = panel->Buttons()->Items(Index);
    if (!button || button->FImageRect.isEmpty())
        return;
    const QRect frame = button->FImageRect;
    const QRect area = button->FButtonRect;
    QPainter p(&FCanvas);
    p.setClipRect(FButtonArea);

    QRect inner = frame;
    switch (State) {
    case bsHot: frame3D(p, inner, clSilver, clBlack, 1); break;
    case bsPressed: frame3D(p, inner, clBlack, clSilver, 1); break;
    default: frame3D(p, inner, kGround, kGround, 1); break;
    }
    // The picture sits on the ground, one pixel right and down while pressed; drawing it
    // again over itself must not thicken its soft edges.
    fill(p, inner, kGround);
    if (TImageList* images = buttonImages(panel)) {
        const int shift = State == bsPressed ? 1 : 0;
        const int x = frame.x() + (frame.width() - images->Width()) / 2 + shift;
        const int y = frame.y() + (frame.height() - images->Height()) / 2 + shift;
        p.setClipRect(inner.intersected(FButtonArea));
        images->Draw(p, x, y, button->ImageIndex(), true);
        p.setClipRect(FButtonArea);
    }

    // The caption on one line, on the ground (opaque, so a redraw leaves it as it was).
    p.setFont(font());
    QRect textRect;
    unsigned format = DT_SINGLELINE | DT_TOP;
    if (panel->SmallImages()) {
        textRect = ltrb(right(frame) + 4, area.y(), right(area), bottom(area));
        format |= DT_LEFT;
    } else {
        textRect = ltrb(area.x(), bottom(frame) + 2, right(area), bottom(area));
        format |= DT_CENTER;
    }
    QRect extent = textRect;
    DrawCanvasText(p, button->Text(), -1, extent, format | DT_CALCRECT);
    const int textWidth = extent.width();
    extent = QRect(textRect.x(), textRect.y(), textWidth, extent.height());
    if (format & DT_CENTER)
        extent.moveLeft(textRect.x() + (textRect.width() - textWidth) / 2);
    fill(p, extent.intersected(textRect), kGround);
    p.setPen(toQColor(kButtonText));
    DrawCanvasText(p, button->Text(), -1, textRect, format);
    refresh(area);
}

void TQxOutBar::drawArrow(bool up)
{
    if (FCanvas.isNull())
        return;
    const QRect box = up ? FUpArrowRect : FDownArrowRect;
    const bool pressed = up ? FUpArrowPressed : FDownArrowPressed;
    QPainter p(&FCanvas);
    fill(p, box, clSilver);
    QRect edge = box;
    if (pressed) {
        frame3D(p, edge, clBlack, cl3DLight, 1);
        frame3D(p, edge, clGray, clSilver, 1);
    } else {
        frame3D(p, edge, cl3DLight, clBlack, 1);
        frame3D(p, edge, clWhite, clGray, 1);
    }
    // Five rows, one pixel narrower on each side per row, towards the point.
    const QColor black = toQColor(clBlack);
    const int L = box.x();
    const int T = box.y();
    for (int k = 0; k < 5; ++k) {
        const int row = up ? T + 11 - k : T + 8 + k;
        p.fillRect(QRect(L + 5 + k, row, 9 - 2 * k, 1), black);
    }
    refresh(box);
}

// ---- painting and sizing ---------------------------------------------------------------------

void TQxOutBar::paintEvent(QPaintEvent* event)
{
    if (FCanvas.size() != size()) {
        FPainting = true;
        Layout(true);
        FPainting = false;
    }
    QPainter p(this);
    if (FCanvas.isNull())
        return;
    p.drawImage(event->rect(), FCanvas, event->rect());
}

void TQxOutBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    QPointer<TQxOutBar> self(this);
    if (OnResize)
        qx::guard(this, [&] { OnResize(this); });
    if (self)
        Layout(true);
}

void TQxOutBar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The tabs and captions are drawn in the bar's font.
    if (event->type() == QEvent::FontChange)
        Layout(true);
}

void TQxOutBar::panelChanged(TKyOutPanel* panel)
{
    const int index = panel->index();
    DrawTab(index, index == FHotTab ? tsHot : tsNormal);
    // The open panel's buttons may be what changed.
    if (panel == OpenPanel())
        LayoutButtons(true);
}
