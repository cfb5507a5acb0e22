// The bar's panels and buttons and how their changes reach the bar.
#include "usystem/vcl/bars/uQxOutBar.h"

// ---- TKyOutButton ----------------------------------------------------------------------------

TKyOutButton::TKyOutButton(qx::Collection* collection)
    : qx::CollectionItem(collection)
{
    // The collection heard of the item while it was still being made; now it is whole.
    changed(true);
}

TKyOutButton::~TKyOutButton() = default;

TKyOutButtons* TKyOutButton::Buttons() const
{
    return qobject_cast<TKyOutButtons*>(collection());
}

void TKyOutButton::SetText(const QString& value)
{
    if (FText != value) {
        FText = value;
        changed(false);
    }
}

void TKyOutButton::SetImageIndex(int value)
{
    if (FImageIndex != value) {
        FImageIndex = value;
        changed(false);
    }
}

QString TKyOutButton::DisplayName() const
{
    return FText.isEmpty() ? QString::fromLatin1(metaObject()->className()) : FText;
}

void TKyOutButton::Assign(const TKyOutButton* Source)
{
    if (!Source || Source == this)
        return;
    SetText(Source->FText);
    SetImageIndex(Source->FImageIndex);
    onClick = Source->onClick;
}

// ---- TKyOutButtons ---------------------------------------------------------------------------

TKyOutButtons::TKyOutButtons(TKyOutPanel* panel)
    : qx::Collection([](qx::Collection* c) { return new TKyOutButton(c); }, panel)
    , FPanel(panel)
{}

TKyOutButtons::~TKyOutButtons() = default;

TKyOutButton* TKyOutButtons::Items(int index) const
{
    return index >= 0 && index < count() ? qobject_cast<TKyOutButton*>(item(index)) : nullptr;
}

TKyOutButton* TKyOutButtons::Add()
{
    return qobject_cast<TKyOutButton*>(add());
}

void TKyOutButtons::update(qx::CollectionItem*)
{
    if (FPanel)
        FPanel->changed(false);
}

// ---- TKyOutPanel -----------------------------------------------------------------------------

TKyOutPanel::TKyOutPanel(qx::Collection* collection)
    : qx::CollectionItem(collection)
{
    FButtons = new TKyOutButtons(this);
    changed(true);
}

TKyOutPanel::~TKyOutPanel() = default;

TKyOutPanels* TKyOutPanel::Panels() const
{
    return qobject_cast<TKyOutPanels*>(collection());
}

void TKyOutPanel::SetText(const QString& value)
{
    if (FText != value) {
        FText = value;
        changed(false);
    }
}

void TKyOutPanel::SetSmallImages(bool value)
{
    if (FSmallImages != value) {
        FSmallImages = value;
        changed(true);
    }
}

QString TKyOutPanel::DisplayName() const
{
    return FText.isEmpty() ? QString::fromLatin1(metaObject()->className()) : FText;
}

void TKyOutPanel::Assign(const TKyOutPanel* Source)
{
    if (Source && Source != this)
        SetText(Source->FText);
}

// ---- TKyOutPanels ----------------------------------------------------------------------------

TKyOutPanels::TKyOutPanels(TQxOutBar* bar)
    : qx::Collection([](qx::Collection* c) { return new TKyOutPanel(c); }, bar)
    , FBar(bar)
{}

TKyOutPanels::~TKyOutPanels() = default;

TKyOutPanel* TKyOutPanels::Items(int index) const
{
    return index >= 0 && index < count() ? qobject_cast<TKyOutPanel*>(item(index)) : nullptr;
}

TKyOutPanel* TKyOutPanels::Add()
{
    return qobject_cast<TKyOutPanel*>(add());
}

void TKyOutPanels::update(qx::CollectionItem* item)
{
    if (!FBar)
        return;
    if (auto* panel = qobject_cast<TKyOutPanel*>(item))
        FBar->panelChanged(panel);
    else
        FBar->Layout(true);
}
