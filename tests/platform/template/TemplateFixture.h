// Templates and tables the document-template tests share.
#pragma once

#include "platform/db/QxMemTable.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/QuickRep.h"
#include "platform/report/RecordingDevice.h"
#include "platform/report/Units.h"
#include "platform/template/Template.h"

#include <QBuffer>
#include <QImage>

#include <cmath>
#include <memory>

namespace tplt {

using namespace qx::tpl;

// A w x h PNG picture of one colour.
inline QByteArray pngBytes(int w = 4, int h = 3, QColor color = Qt::red)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

inline TemplateObject text(const QString& t, int left = 0, int top = 0, int width = 600)
{
    TemplateObject o;
    o.kind = ObjectKind::Text;
    o.text = t;
    o.left = left;
    o.top = top;
    o.width = width;
    o.height = 40;
    return o;
}

inline TemplateObject field(const QString& dataSet, const QString& name, int left = 0)
{
    TemplateObject o;
    o.kind = ObjectKind::Field;
    o.dataSet = dataSet;
    o.field = name;
    o.left = left;
    o.width = 400;
    o.height = 40;
    return o;
}

inline TemplateBand band(BandKind kind, QList<TemplateObject> objects, const QString& dataSet = QString(),
                         int height = 50)
{
    TemplateBand b;
    b.kind = kind;
    b.dataSet = dataSet;
    b.height = height;
    b.objects = std::move(objects);
    return b;
}

// Every band kind and every object kind, each look setting away from its default somewhere.
inline TemplateDocument everyKind()
{
    TemplateDocument doc;
    doc.page.paper = A5;
    doc.page.orientation = Orientation::Landscape;
    doc.page.width = 2100;
    doc.page.length = 1480;
    doc.page.leftMargin = 150;
    doc.page.topMargin = 120;
    doc.page.rightMargin = 80;
    doc.page.bottomMargin = 90;

    TemplateObject title = text(QStringLiteral("维修单 [[第一联] [Mstdataset.BillNo]"), 10, 20, 900);
    title.font = TemplateFont{QStringLiteral("黑体"), 16, true, true, true, clRed};
    title.fill = clYellow;
    title.frame = TemplateFrame{true, false, true, false, 2, clBlue};
    title.align = TextAlign::Center;
    title.wordWrap = true;
    title.stretch = true;
    TemplateObject amount = field(QStringLiteral("Mstdataset"), QStringLiteral("Amount"), 500);
    amount.format = QStringLiteral("#,##0.00");
    amount.align = TextAlign::Right;
    TemplateObject line;
    line.kind = ObjectKind::Line;
    line.width = 1800;
    line.height = 5;
    line.frame.width = 3;
    TemplateObject rect;
    rect.kind = ObjectKind::Rectangle;
    rect.left = 100;
    rect.width = 300;
    rect.height = 200;
    rect.fill = clSilver;
    rect.frame.color = clGreen;
    TemplateObject picture;
    picture.kind = ObjectKind::Picture;
    picture.left = 1500;
    picture.width = 120;
    picture.height = 90;
    picture.stretch = true;
    picture.png = pngBytes();

    TemplateBand groupHeader = band(BandKind::GroupHeader, {text(QStringLiteral("组 [Mstdataset.Grp]"))},
                                    QStringLiteral("Mstdataset"));
    groupHeader.group = QStringLiteral("按组");
    groupHeader.expression = QStringLiteral("Mstdataset.Grp");
    TemplateBand groupFooter = band(BandKind::GroupFooter, {text(QStringLiteral("组计 [COUNT]"))});
    groupFooter.group = QStringLiteral("按组");

    doc.bands = {
        band(BandKind::Title, {title, picture}, QString(), 200),
        band(BandKind::PageHeader, {text(QStringLiteral("页眉")), line}),
        groupHeader,
        band(BandKind::Master, {field(QStringLiteral("Mstdataset"), QStringLiteral("BillNo")), amount}, QStringLiteral("Mstdataset")),
        band(BandKind::DetailHeader, {text(QStringLiteral("项目"))}, QStringLiteral("DltDataset1")),
        band(BandKind::Detail, {field(QStringLiteral("DltDataset1"), QStringLiteral("Name"))}, QStringLiteral("DltDataset1")),
        band(BandKind::DetailFooter, {text(QStringLiteral("小计 [SUM(DltDataset1.Qty)]"))}, QStringLiteral("DltDataset1")),
        groupFooter,
        band(BandKind::Summary, {rect}, QString(), 220),
        band(BandKind::Child, {text(QStringLiteral("完"))}),
        band(BandKind::PageFooter, {text(QStringLiteral("页脚"))}),
    };
    return doc;
}

// Orders (BillNo, Customer, Grp, Amount), lines (Name, Qty) and parts (Part, Qty).
inline std::unique_ptr<TQxMemTable> orders()
{
    auto t = std::make_unique<TQxMemTable>();
    t->setObjectName(QStringLiteral("QryMain"));
    t->FieldDefs()->Add(QStringLiteral("BillNo"), ftString, 20);
    t->FieldDefs()->Add(QStringLiteral("Customer"), ftString, 20);
    t->FieldDefs()->Add(QStringLiteral("Grp"), ftString, 10);
    t->FieldDefs()->Add(QStringLiteral("Amount"), ftFloat);
    t->Open();
    const struct
    {
        const char16_t* bill;
        const char16_t* customer;
        const char16_t* grp;
        double amount;
    } rows[] = {{u"WX1", u"张三", u"A", 1234.5}, {u"WX2", u"李四", u"A", 20}, {u"WX3", u"王五", u"B", 0.25}};
    for (const auto& r : rows) {
        t->Append();
        t->FieldByName(QStringLiteral("BillNo"))->SetAsString(QString::fromUtf16(r.bill));
        t->FieldByName(QStringLiteral("Customer"))->SetAsString(QString::fromUtf16(r.customer));
        t->FieldByName(QStringLiteral("Grp"))->SetAsString(QString::fromUtf16(r.grp));
        t->FieldByName(QStringLiteral("Amount"))->SetAsFloat(r.amount);
        t->Post();
    }
    t->First();
    return t;
}

inline std::unique_ptr<TQxMemTable> lines(const QString& nameField, QList<QPair<QString, int>> rows)
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add(nameField, ftString, 20);
    t->FieldDefs()->Add(QStringLiteral("Qty"), ftInteger);
    t->Open();
    for (const auto& [name, qty] : rows) {
        t->Append();
        t->FieldByName(nameField)->SetAsString(name);
        t->FieldByName(QStringLiteral("Qty"))->SetAsInteger(qty);
        t->Post();
    }
    t->First();
    return t;
}

// A table of stored templates with the blob field ReportData.
inline std::unique_ptr<TQxMemTable> templateTable()
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add(QStringLiteral("ReportName"), ftString, 50);
    t->FieldDefs()->Add(QStringLiteral("ReportData"), ftBlob);
    t->Open();
    return t;
}

// The lines of text of every page as "page text@top", top in whole pixels from the top
// margin. The painter may draw one line in several runs (Chinese and Latin letters in
// different fonts); runs that continue one another on the same line are joined.
inline QStringList pageLines(const TQuickRep& report)
{
    QStringList out;
    const TQRPrinter* printer = report.QRPrinter();
    if (!printer)
        return out;
    const double margin = report.Page().TopMarginUnits();
    const QList<QList<qx::report::RecordedItem>> pages = qx::report::recordPages(*printer);
    for (qsizetype p = 0; p < pages.size(); ++p) {
        QString text;
        QRectF last;
        auto flush = [&] {
            if (!text.isEmpty())
                out << QStringLiteral("%1 %2@%3").arg(p + 1).arg(text).arg(std::lround(qx::report::unitsToPixels(last.top() - margin)));
            text.clear();
        };
        for (const qx::report::RecordedItem& item : pages[p]) {
            if (item.kind != qx::report::RecordedItem::Text)
                continue;
            const bool continues = !text.isEmpty() && std::abs(item.box.top() - last.top()) < 0.5 &&
                                   std::abs(item.box.left() - last.right()) < 0.5;
            if (!continues)
                flush();
            text += item.text;
            last = continues ? QRectF(last.topLeft(), QPointF(item.box.right(), last.bottom())) : item.box;
        }
        flush();
    }
    return out;
}

// Only the texts, "page text".
inline QStringList pageTexts(const TQuickRep& report)
{
    QStringList out;
    for (const QString& line : pageLines(report))
        out << line.section(u'@', 0, 0);
    return out;
}

} // namespace tplt
