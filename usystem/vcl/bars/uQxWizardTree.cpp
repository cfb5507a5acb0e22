#include "usystem/vcl/bars/uQxWizardTree.h"

#include "platform/env/ExceptionGuard.h"
#include "platform/stream/ClassRegistry.h"
#include "platform/ui/TextHook.h"
#include "usystem/vcl/bars/QxBarDrawing.h"
#include "usystem/vcl/controls/uQxFormLook.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

using qx::bars::bottom;
using qx::bars::fill;
using qx::bars::lineTo;
using qx::bars::ltrb;
using qx::bars::right;

namespace {

[[maybe_unused]] const bool wizardTreeRegistered = [] {
    qx::registerClass<TQxWizardTree>();
    // The look pass sends every step's caption through the text hook.
    RegisterFormLookRule(flrWizardTree, [](QObject* c) {
        auto* tree = qobject_cast<TQxWizardTree*>(c);
        if (!tree)
            return false;
        QStringList items = tree->Items();
        for (QString& item : items)
            item = qx::localizeText(item);
        tree->SetItems(items);
        return true;
    });
    return true;
}();

} // namespace

TQxWizardTree::TQxWizardTree(QWidget* parent)
    : QWidget(parent)
    , FItems{QStringLiteral("Start"), QStringLiteral("First Page"), QStringLiteral("Second Page"),
             QStringLiteral("Finish")}
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(133, 140);
}

TQxWizardTree::~TQxWizardTree() = default;

// ---- properties ------------------------------------------------------------------------------

void TQxWizardTree::setInt(int& field, int value)
{
    if (field != value) {
        field = value;
        update();
    }
}

void TQxWizardTree::setColour(TColor& field, TColor value)
{
    if (field != value) {
        field = value;
        update();
    }
}

void TQxWizardTree::SetColor(TColor value) { setColour(FColor, value); }
void TQxWizardTree::SetFontColor(TColor value) { setColour(FFontColor, value); }
void TQxWizardTree::SetLineColor(TColor value) { setColour(FLineColor, value); }
void TQxWizardTree::SetSelectedBoxColor(TColor value) { setColour(FSelectedBoxColor, value); }
void TQxWizardTree::SetBoxColor(TColor value) { setColour(FBoxColor, value); }
void TQxWizardTree::SetBoxHeight(int value) { setInt(FBoxHeight, value); }
void TQxWizardTree::SetBoxWidth(int value) { setInt(FBoxWidth, value); }
void TQxWizardTree::SetHorizontalSpace(int value) { setInt(FHorizontalSpace, value); }
void TQxWizardTree::SetVerticalSpace(int value) { setInt(FVerticalSpace, value); }
void TQxWizardTree::SetTopMargin(int value) { setInt(FTopMargin, value); }
void TQxWizardTree::SetLeftMargin(int value) { setInt(FLeftMargin, value); }

void TQxWizardTree::SetItems(const QStringList& value)
{
    FItems = value;
    // The current step must be one of the steps: a caller reading ItemIndex indexes Items.
    if (FItemIndex >= FItems.size())
        FItemIndex = -1;
    update();
}

void TQxWizardTree::SetItemIndex(int value)
{
    if (value < -1 || value >= FItems.size() || value == FItemIndex)
        return;
    FItemIndex = value;
    update();
}

std::optional<bool> TQxWizardTree::isPropertyStored(const char* name) const
{
    if (qstrcmp(name, "Items") == 0)
        return true;
    return std::nullopt;
}

// ---- geometry --------------------------------------------------------------------------------

int TQxWizardTree::itemLeft(int i, int n) const
{
    // The first and the last step sit on the spine, the others are indented.
    const bool onSpine = i == 0 || i == n - 1;
    return FLeftMargin + (onSpine ? FHorizontalSpace : FBoxWidth + 2 * FHorizontalSpace);
}

QFont TQxWizardTree::itemFont(bool current) const
{
    QFont f = font();
    if (current)
        f.setBold(true);
    return f;
}

QList<QRect> TQxWizardTree::ItemRects() const
{
    QList<QRect> rects;
    const int n = int(FItems.size());
    rects.reserve(n);
    int y = FTopMargin + FVerticalSpace;
    for (int i = 0; i < n; ++i) {
        const int x = itemLeft(i, n);
        const int textWidth = QFontMetrics(itemFont(i == FItemIndex)).horizontalAdvance(FItems.at(i));
        rects.append(ltrb(x, y, x + textWidth + FBoxWidth + FHorizontalSpace, y + FBoxHeight));
        y += 2 * FVerticalSpace + FBoxHeight;
    }
    return rects;
}

int TQxWizardTree::ItemAt(const QPoint& Pos) const
{
    const QList<QRect> rects = ItemRects();
    for (int i = 0; i < rects.size(); ++i)
        if (rects.at(i).contains(Pos))
            return i;
    return -1;
}

// ---- painting --------------------------------------------------------------------------------

void TQxWizardTree::drawItem(QPainter& p, int i, const QRect& r) const
{
    const int n = int(FItems.size());
    const bool current = i == FItemIndex;
    fill(p, ltrb(r.x(), r.y(), r.x() + FBoxWidth, bottom(r)), current ? FSelectedBoxColor : FBoxColor);

    int captionLeft = r.x() + FBoxWidth + FHorizontalSpace;
    if (i == 0 || i == n - 1)
        captionLeft += FBoxWidth / 2 + FHorizontalSpace;
    const QFont f = itemFont(current);
    const QFontMetrics fm(f);
    fill(p, ltrb(captionLeft, r.y(), right(r), bottom(r)), FColor);
    p.setFont(f);
    p.setPen(toQColor(FFontColor));
    const int textTop = r.y() + (FBoxHeight - fm.height()) / 2;
    p.drawText(captionLeft, textTop + fm.ascent(), FItems.at(i));
}

void TQxWizardTree::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    fill(p, rect(), FColor);

    const int H = FHorizontalSpace;
    const int V = FVerticalSpace;
    const int BW = FBoxWidth;
    const int BH = FBoxHeight;
    const int n = int(FItems.size());
    const QList<QRect> rects = ItemRects();
    int y = FTopMargin + V;
    for (int i = 0; i < n; ++i) {
        const int x = rects.at(i).x();
        drawItem(p, i, rects.at(i));
        y += 2 * V + BH;
        // The lines lead from a step to the next one; a single step has none.
        if (i == n - 1)
            continue;
        if (i == 0) {
            const int turnX = x + H + BW + BW / 2;
            lineTo(p, x + BW, y - V - BH, turnX, y - V - BH, FLineColor);
            lineTo(p, turnX, y - V - BH, turnX, y + V, FLineColor);
        } else if (i == n - 2) {
            const int midX = x + BW / 2;
            lineTo(p, midX, y - 2 * V, midX, y + V, FLineColor);
            lineTo(p, midX, y + V, x - BW - 1, y + V, FLineColor);
        } else {
            lineTo(p, x + BW / 2, y - 2 * V, x + BW / 2, y, FLineColor);
        }
    }
    // The spine from the first step's box down to the last one's.
    if (n >= 2) {
        const int spineX = FLeftMargin + H + BW / 2;
        const int spineTop = FTopMargin + V + BH;
        lineTo(p, spineX, spineTop, spineX, spineTop + (n - 2) * BH + 4 * V + 2 * V * (n - 3),
               FLineColor);
    }
}

void TQxWizardTree::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        update();
}

// ---- mouse -----------------------------------------------------------------------------------

void TQxWizardTree::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        FClicked = true;
    QWidget::mousePressEvent(event);
}

void TQxWizardTree::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && FClicked) {
        FClicked = false;
        if (rect().contains(pos))
            Click(pos);
    }
}

void TQxWizardTree::Click(const QPoint& Pos)
{
    QPointer<TQxWizardTree> self(this);
    if (OnClick)
        qx::guard(this, [&] { OnClick(this); });
    if (!self)
        return;
    const QList<QRect> rects = ItemRects();
    for (int i = 0; i < rects.size(); ++i) {
        if (i == FItemIndex || !rects.at(i).contains(Pos))
            continue;
        bool allow = true;
        if (OnChanging && !qx::guard(this, [&] { OnChanging(this, i, allow); }))
            return;
        // The handler may have taken the step away.
        if (!self || !allow || i >= FItems.size())
            return;
        FItemIndex = i;
        update();
        if (OnChange)
            qx::guard(this, [&] { OnChange(this); });
        return;
    }
}
