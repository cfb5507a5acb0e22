// The properties every control of the library publishes (Left, Top, Width, Height, Visible,
// Enabled, Hint, ShowHint, Tag, Align), as a mix-in of the control class: the class declares
// the Q_PROPERTYs in its own order and these members serve them.
//
//     class TQxLabel : public QWidget, public qx::ControlProps<TQxLabel> { ... };
#pragma once

#include "platform/ui/AlignLayout.h"
#include "platform/ui/VclTypes.h"

#include <QString>
#include <QWidget>

namespace qx {

template <class W>
class ControlProps
{
public:
    int Left() const { return self()->x(); }
    void SetLeft(int v) { self()->move(v, self()->y()); }
    int Top() const { return self()->y(); }
    void SetTop(int v) { self()->move(self()->x(), v); }
    int Width() const { return self()->width(); }
    void SetWidth(int v) { self()->resize(qMax(0, v), self()->height()); }
    int Height() const { return self()->height(); }
    void SetHeight(int v) { self()->resize(self()->width(), qMax(0, v)); }
    void SetBounds(int left, int top, int width, int height)
    {
        self()->setGeometry(left, top, qMax(0, width), qMax(0, height));
    }

    // The control's own flag, not whether its parent is enabled too.
    bool Enabled() const { return !self()->testAttribute(Qt::WA_ForceDisabled); }
    void SetEnabled(bool v) { self()->setEnabled(v); }
    // The control's own flag, as the platform's Visible.
    bool Visible() const { return !self()->isHidden(); }
    void SetVisible(bool v) { self()->setVisible(v); }

    QString Hint() const { return m_hint; }
    void SetHint(const QString& v)
    {
        m_hint = v;
        applyHint();
    }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool v)
    {
        m_showHint = v;
        applyHint();
    }

    int Tag() const { return m_tag; }
    void SetTag(int v) { m_tag = v; }

    TAlign Align() const { return alignOf(self()); }
    void SetAlign(TAlign v) { setAlign(self(), v); }

private:
    W* self() { return static_cast<W*>(this); }
    const W* self() const { return static_cast<const W*>(this); }
    void applyHint() { self()->setToolTip(m_showHint ? m_hint : QString()); }

    QString m_hint;
    bool m_showHint = true;
    int m_tag = 0;
};

} // namespace qx
