// A report whose layout depends on text measures: fonts given in points and pixels, labels
// that size themselves to their text, wrapped text, frames and shapes. The layout test and
// its helper program lay it out under different screen settings.
#pragma once

#include "ReportFixture.h"

#include "platform/report/QRShapes.h"

namespace rpt {

struct SampleReport
{
    SampleReport() : data(table(QStringLiteral("Data")))
    {
        const QStringList names{QStringLiteral("螺丝刀"), QStringLiteral("Screen 屏幕 总成"), QStringLiteral("电池"),
                                QStringLiteral("A very long part name that has to wrap over several lines")};
        for (int i = 0; i < 24; ++i)
            add(*data, QStringLiteral("G%1").arg(i / 8), names[i % names.size()], i * 7);
        report.SetDataSet(data.get());
        report.Page().SetPaperSize(A4);
        QFont font(QStringLiteral("宋体"));
        font.setPointSize(10);
        report.SetFont(font);

        auto* header = new TQRBand(&report, rbPageHeader);
        header->SetHeight(40);
        auto* title = label(header, QStringLiteral("配件清单 Parts"));
        QFont big(QStringLiteral("宋体"));
        big.setPointSize(16);
        big.setBold(true);
        title->SetFont(big);
        title->SetAutoSize(true);
        title->SetAlignToBand(true);
        title->SetAlignment(taCenter);

        auto* group = new TQRGroup(&report);
        group->SetExpression(QStringLiteral("Grp"));
        group->SetHeight(24);
        auto* heading = expr(group, QStringLiteral("'组 '+Grp"));
        heading->SetAutoSize(true);
        heading->SetAlignment(taRightJustify);
        heading->SetLeft(600);

        auto* detail = new TQRBand(&report, rbDetail);
        detail->SetHeight(20);
        auto* name = expr(detail, QStringLiteral("Name"), 160);
        name->SetAutoStretch(true);
        name->Frame().DrawLeft = name->Frame().DrawRight = name->Frame().DrawBottom = true;
        auto* qty = expr(detail, QStringLiteral("Qty"), 80);
        qty->SetLeft(170);
        qty->SetAlignment(taRightJustify);
        qty->SetMask(QStringLiteral("#,##0.00"));
        QFont small(QStringLiteral("SimSun"));
        small.setPixelSize(11);
        qty->SetFont(small);
        auto* rule = new TQRShape(detail);
        rule->SetShape(qrsHorLine);
        rule->SetLeft(260);
        rule->SetWidth(200);
        rule->SetHeight(3);

        auto* footer = new TQRBand(&report, rbGroupFooter);
        footer->SetHeight(20);
        group->SetFooterBand(footer);
        auto* sum = expr(footer, QStringLiteral("'小计 '+STR(SUM(Qty))"));
        sum->SetAutoSize(true);
        sum->SetResetAfterPrint(true);

        auto* pageFooter = new TQRBand(&report, rbPageFooter);
        pageFooter->SetHeight(20);
        auto* circle = new TQRShape(pageFooter);
        circle->SetShape(qrsCircle);
        circle->SetWidth(12);
        circle->SetHeight(12);
    }

    std::unique_ptr<TQxMemTable> data;
    TQuickRep report;
};

} // namespace rpt
