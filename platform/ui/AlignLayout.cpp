#include "platform/ui/AlignLayout.h"

#include <QChildEvent>
#include <QWidget>

#include <algorithm>

namespace qx {

namespace {

const char* const kAlignProperty = "qxAlign";

} // namespace

TAlign alignOf(const QWidget* widget)
{
    if (!widget)
        return alNone;
    const QVariant v = widget->property(kAlignProperty);
    return v.isValid() ? TAlign(v.toInt()) : alNone;
}

void realignParent(QWidget* widget)
{
    QWidget* parent = widget ? widget->parentWidget() : nullptr;
    if (!parent)
        return;
    if (auto* layout = qobject_cast<AlignLayout*>(parent->layout()))
        layout->realign();
}

void setAlign(QWidget* widget, TAlign align)
{
    if (!widget || alignOf(widget) == align)
        return;
    widget->setProperty(kAlignProperty, int(align));
    realignParent(widget);
}

void alignChildren(QWidget* parent, const QRect& area)
{
    if (!parent)
        return;
    QList<QWidget*> groups[6];
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || w->isHidden())
            continue;
        const TAlign a = alignOf(w);
        if (a != alNone)
            groups[a].append(w);
    }
    // Within a group the control nearer its edge comes first; ties keep creation order.
    std::stable_sort(groups[alTop].begin(), groups[alTop].end(),
                     [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    std::stable_sort(groups[alBottom].begin(), groups[alBottom].end(),
                     [](QWidget* a, QWidget* b) { return a->y() + a->height() > b->y() + b->height(); });
    std::stable_sort(groups[alLeft].begin(), groups[alLeft].end(),
                     [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
    std::stable_sort(groups[alRight].begin(), groups[alRight].end(),
                     [](QWidget* a, QWidget* b) { return a->x() + a->width() > b->x() + b->width(); });

    QRect r = area;
    for (QWidget* w : groups[alTop]) {
        const int h = qMax(0, qMin(w->height(), r.height()));
        w->setGeometry(r.left(), r.top(), qMax(0, r.width()), w->height());
        r.setTop(r.top() + h);
    }
    for (QWidget* w : groups[alBottom]) {
        const int h = qMax(0, qMin(w->height(), r.height()));
        w->setGeometry(r.left(), r.bottom() + 1 - w->height(), qMax(0, r.width()), w->height());
        r.setBottom(r.bottom() - h);
    }
    for (QWidget* w : groups[alLeft]) {
        const int wd = qMax(0, qMin(w->width(), r.width()));
        w->setGeometry(r.left(), r.top(), w->width(), qMax(0, r.height()));
        r.setLeft(r.left() + wd);
    }
    for (QWidget* w : groups[alRight]) {
        const int wd = qMax(0, qMin(w->width(), r.width()));
        w->setGeometry(r.right() + 1 - w->width(), r.top(), w->width(), qMax(0, r.height()));
        r.setRight(r.right() - wd);
    }
    for (QWidget* w : groups[alClient])
        w->setGeometry(r.left(), r.top(), qMax(0, r.width()), qMax(0, r.height()));
}

AlignLayout::AlignLayout(QWidget* parent) : QLayout(parent)
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
    setSizeConstraint(QLayout::SetNoConstraint);
    // Children that come, go, show, hide or change size make the parent lay out again, as
    // the platform's controls ask their parent to realign when their bounds change.
    parent->installEventFilter(this);
    for (QObject* o : parent->children())
        if (o->isWidgetType())
            o->installEventFilter(this);
}

bool AlignLayout::eventFilter(QObject* watched, QEvent* event)
{
    QWidget* parent = parentWidget();
    if (!parent)
        return false;
    if (watched == parent) {
        if (event->type() == QEvent::ChildAdded) {
            QObject* child = static_cast<QChildEvent*>(event)->child();
            if (child->isWidgetType())
                child->installEventFilter(this);
        } else if (event->type() == QEvent::ChildRemoved) {
            realign();
        }
        return false;
    }
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::Hide:
        if (alignOf(static_cast<QWidget*>(watched)) != alNone)
            realign();
        break;
    default:
        break;
    }
    return false;
}

void AlignLayout::realign()
{
    // Setting the children's geometry sends them move and resize events: one pass at a time.
    if (m_aligning)
        return;
    QWidget* parent = parentWidget();
    if (!parent)
        return;
    m_aligning = true;
    alignChildren(parent, parent->contentsRect());
    m_aligning = false;
}

void AlignLayout::addItem(QLayoutItem* item)
{
    // Children are found through the parent; an item handed in is not kept.
    delete item;
}

QLayoutItem* AlignLayout::itemAt(int) const { return nullptr; }
QLayoutItem* AlignLayout::takeAt(int) { return nullptr; }
int AlignLayout::count() const { return 0; }
QSize AlignLayout::sizeHint() const { return QSize(); }
QSize AlignLayout::minimumSize() const { return QSize(0, 0); }

void AlignLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    realign();
}

} // namespace qx
