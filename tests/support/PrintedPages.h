// What a report printed, read back from its recorded pages, and the preview windows it opened.
#pragma once

#include "platform/report/QRPrinter.h"
#include "platform/report/RecordingDevice.h"
#include "usystem/vcl/preview/uQxRptPrev.h"

#include <QApplication>
#include <QStringList>

namespace qxtest {

// The texts of every page of a printer object, one entry per page, joined by spaces.
inline QStringList pageTexts(const TQRPrinter& printer)
{
    QStringList out;
    for (const QList<qx::report::RecordedItem>& page : qx::report::recordPages(printer)) {
        QStringList texts;
        for (const qx::report::RecordedItem& item : page)
            if (item.kind == qx::report::RecordedItem::Text)
                texts << item.text;
        out << texts.join(QLatin1Char(' '));
    }
    return out;
}

// The preview windows on the screen.
inline QList<TfrmNetScapePreview*> previewWindows()
{
    QList<TfrmNetScapePreview*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<TfrmNetScapePreview*>(w); p && p->isVisible())
            out << p;
    return out;
}

} // namespace qxtest
