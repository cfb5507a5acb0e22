#include "platform/ui/DrawText.h"

#include <QFontMetrics>
#include <QPainter>

namespace qx {

QString displayedText(const QString& text, unsigned format)
{
    QString t = text;
    if (format & DT_SINGLELINE) {
        t.remove(u'\r');
        t.remove(u'\n');
    }
    if (!(format & DT_EXPANDTABS))
        t.replace(u'\t', u' ');
    return t;
}

int drawText(QPainter& painter, QRect& rect, const QString& text, unsigned format)
{
    QString t = displayedText(text, format);
    int flags = 0;
    if (format & DT_CENTER)
        flags |= Qt::AlignHCenter;
    else if (format & DT_RIGHT)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    // Vertical placement applies to single lines only, as on the platform.
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
        flags |= Qt::AlignVCenter;
    else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;
    if (format & DT_SINGLELINE)
        flags |= Qt::TextSingleLine;
    else if (format & DT_WORDBREAK)
        flags |= Qt::TextWordWrap;
    if (format & DT_EXPANDTABS)
        flags |= Qt::TextExpandTabs;
    if (!(format & DT_NOPREFIX))
        flags |= Qt::TextShowMnemonic;
    if ((format & DT_END_ELLIPSIS) && (format & DT_SINGLELINE)) {
        const QFontMetrics fm(painter.font());
        t = fm.elidedText(t, Qt::ElideRight, rect.width(), flags & Qt::TextShowMnemonic);
    }

    if (format & DT_CALCRECT) {
        const QFontMetrics fm(painter.font());
        const int width = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE) ? rect.width() : 1 << 20;
        const QRect bound = fm.boundingRect(QRect(rect.left(), rect.top(), width, 1 << 20), flags, t);
        rect.setWidth(bound.width());
        rect.setHeight(bound.height());
        return bound.height();
    }
    QRect bound;
    painter.save();
    if (!(format & DT_NOCLIP))
        painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(rect, flags, t, &bound);
    painter.restore();
    return bound.height();
}

} // namespace qx
