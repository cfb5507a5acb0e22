// Small reports and tables the report engine tests share, and the layout of a run as text.
#pragma once

#include "platform/db/DataSet.h"
#include "platform/db/QxMemTable.h"
#include "platform/report/QRBands.h"
#include "platform/report/QRLabels.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/QuickRep.h"
#include "platform/report/RecordingDevice.h"
#include "platform/report/Units.h"

#include "tests/platform/rtl/QtPrinters.h"

#include <QStringList>

#include <cmath>
#include <memory>

namespace rpt {

// A table named name with the string fields Grp and Name and the integer field Qty.
inline std::unique_ptr<TQxMemTable> table(const QString& name)
{
    auto t = std::make_unique<TQxMemTable>();
    t->setObjectName(name);
    t->FieldDefs()->Add(QStringLiteral("Grp"), ftString, 10);
    t->FieldDefs()->Add(QStringLiteral("Name"), ftString, 20);
    t->FieldDefs()->Add(QStringLiteral("Qty"), ftInteger);
    t->Open();
    return t;
}

inline void add(TDataSet& t, const QString& grp, const QString& name, int qty)
{
    t.Append();
    t.FieldByName(QStringLiteral("Grp"))->SetAsString(grp);
    t.FieldByName(QStringLiteral("Name"))->SetAsString(name);
    t.FieldByName(QStringLiteral("Qty"))->SetAsInteger(qty);
    t.Post();
}

// A label at the top left of a band.
inline TQRLabel* label(TQRCustomBand* band, const QString& caption, int width = 300)
{
    auto* l = new TQRLabel(band);
    l->SetCaption(caption);
    l->SetWidth(width);
    l->SetHeight(16);
    return l;
}

// An expression at the top left of a band.
inline TQRExpr* expr(TQRCustomBand* band, const QString& expression, int width = 300)
{
    auto* e = new TQRExpr(band);
    e->SetExpression(expression);
    e->SetWidth(width);
    e->SetHeight(16);
    return e;
}

// A band of the given height with one label.
inline TQRBand* band(TQuickRep& report, TQRBandType type, const QString& caption, int height = 20)
{
    auto* b = new TQRBand(&report, type);
    b->SetHeight(height);
    label(b, caption);
    return b;
}

// The texts of every page with their top edge in whole pixels from the page's top margin:
// "1 T@0" is the text T on page 1 at the top of the printable area.
inline QStringList textLayout(const TQuickRep& report)
{
    QStringList out;
    const TQRPrinter* printer = report.QRPrinter();
    if (!printer)
        return out;
    const double top = report.Page().TopMarginUnits();
    const QList<QList<qx::report::RecordedItem>> pages = qx::report::recordPages(*printer);
    for (qsizetype p = 0; p < pages.size(); ++p) {
        for (const qx::report::RecordedItem& item : pages[p]) {
            if (item.kind != qx::report::RecordedItem::Text)
                continue;
            const long y = std::lround(qx::report::unitsToPixels(item.box.top() - top));
            out << QStringLiteral("%1 %2@%3").arg(p + 1).arg(item.text).arg(y);
        }
    }
    return out;
}

// Only the texts, "page text".
inline QStringList texts(const TQuickRep& report)
{
    QStringList out;
    for (const QString& line : textLayout(report))
        out << line.section(u'@', 0, 0);
    return out;
}

} // namespace rpt
