// The platform's align layout: children aligned alTop, alBottom, alLeft or alRight take
// strips off the parent's client area in that order, each group in the order of its
// position (top-most top strip first, bottom-most bottom strip first...), and alClient
// children fill what is left. Children aligned alNone keep their place. Hidden children take
// no room.
//
// A container installs an AlignLayout on itself; a child's alignment is set with setAlign
// (controls with an Align property call it from their setter). The area laid out is the
// parent's contentsRect(): a panel puts its bevels and border width into its contents margins.
#pragma once

#include "platform/ui/VclTypes.h"

#include <QLayout>

namespace qx {

// The alignment of a widget (alNone unless set).
TAlign alignOf(const QWidget* widget);
// Sets a widget's alignment and asks its parent to lay its children out again.
void setAlign(QWidget* widget, TAlign align);
// Lays the children of parent out in rect now.
void alignChildren(QWidget* parent, const QRect& rect);
// Asks the parent of widget to lay its children out (at once when it has an AlignLayout).
void realignParent(QWidget* widget);

class AlignLayout : public QLayout
{
    Q_OBJECT

public:
    explicit AlignLayout(QWidget* parent);

    // The layout works on the parent's children directly; it holds no items.
    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;
    // Lays the parent's children out now.
    void realign();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_aligning = false;
};

} // namespace qx
