// Document templates against the same report built in code.
//
// render: a template of one master row and 10,000 detail rows (three fields and a computed
// text per row, a detail header, a footer with two sums, a title with a master field) built
// and made into pages; the peer builds the same bands and printables by hand on the report
// engine and makes the same pages. Both runs must give the same number of pages.
#include "bench/support/BenchReport.h"
#include "platform/db/DataSource.h"
#include "platform/db/QxMemTable.h"
#include "platform/report/QRBands.h"
#include "platform/report/QRLabels.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/QuickRep.h"
#include "platform/template/TemplateReport.h"

#include <QApplication>

#include <cstdio>
#include <memory>

using namespace qx::tpl;

namespace {

constexpr int kRows = 10000;

std::unique_ptr<TQxMemTable> makeMaster()
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add(QStringLiteral("BillNo"), ftString, 20);
    t->FieldDefs()->Add(QStringLiteral("Customer"), ftString, 20);
    t->Open();
    t->Append();
    t->FieldByName(QStringLiteral("BillNo"))->SetAsString(QStringLiteral("WX261211001"));
    t->FieldByName(QStringLiteral("Customer"))->SetAsString(QStringLiteral("张三"));
    t->Post();
    return t;
}

std::unique_ptr<TQxMemTable> makeDetail()
{
    auto t = std::make_unique<TQxMemTable>();
    t->FieldDefs()->Add(QStringLiteral("Name"), ftString, 30);
    t->FieldDefs()->Add(QStringLiteral("Qty"), ftInteger);
    t->FieldDefs()->Add(QStringLiteral("Price"), ftFloat);
    t->Open();
    for (int r = 0; r < kRows; ++r) {
        t->Append();
        t->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("配件%1").arg(r));
        t->FieldByName(QStringLiteral("Qty"))->SetAsInteger(r % 7 + 1);
        t->FieldByName(QStringLiteral("Price"))->SetAsFloat(12.5 + r % 100);
        t->Post();
    }
    return t;
}

TemplateObject object(ObjectKind kind, int left, int width)
{
    TemplateObject o;
    o.kind = kind;
    o.left = left;
    o.width = width;
    o.height = 45;
    return o;
}

TemplateObject fieldObject(const QString& dataSet, const QString& field, int left, const QString& format = QString())
{
    TemplateObject o = object(ObjectKind::Field, left, 400);
    o.dataSet = dataSet;
    o.field = field;
    o.format = format;
    return o;
}

TemplateObject textObject(const QString& text, int left, const QString& format = QString())
{
    TemplateObject o = object(ObjectKind::Text, left, 400);
    o.text = text;
    o.format = format;
    return o;
}

TemplateBand bandOf(BandKind kind, const QString& dataSet, QList<TemplateObject> objects)
{
    TemplateBand b;
    b.kind = kind;
    b.dataSet = dataSet;
    b.height = 50;
    b.objects = std::move(objects);
    return b;
}

TemplateDocument makeTemplate()
{
    const QString mst = QStringLiteral("Mstdataset");
    const QString dlt = QStringLiteral("DltDataset1");
    TemplateDocument doc;
    doc.bands = {
        bandOf(BandKind::Master, mst, {fieldObject(mst, QStringLiteral("BillNo"), 0), fieldObject(mst, QStringLiteral("Customer"), 500)}),
        bandOf(BandKind::DetailHeader, dlt, {textObject(QStringLiteral("配件"), 0), textObject(QStringLiteral("数量"), 500)}),
        bandOf(BandKind::Detail, dlt,
               {fieldObject(dlt, QStringLiteral("Name"), 0), fieldObject(dlt, QStringLiteral("Qty"), 500),
                fieldObject(dlt, QStringLiteral("Price"), 1000, QStringLiteral("0.00")),
                textObject(QStringLiteral("[DltDataset1.Qty * DltDataset1.Price]"), 1500, QStringLiteral("0.00"))}),
        bandOf(BandKind::DetailFooter, dlt,
               {textObject(QStringLiteral("[SUM(DltDataset1.Qty)]"), 500),
                textObject(QStringLiteral("[SUM(DltDataset1.Qty * DltDataset1.Price)]"), 1500, QStringLiteral("0.00"))}),
    };
    return doc;
}

// The same report by hand.
int buildAndPrepareByHand(TDataSet* master, TDataSet* detail)
{
    TQuickRep report;
    report.SetShowProgress(false);
    report.SetDataSet(master);
    report.AddDataSet(master);
    report.SetDataSetName(master, QStringLiteral("Mstdataset"));
    report.AddDataSet(detail);
    report.SetDataSetName(detail, QStringLiteral("DltDataset1"));
    auto place = [](TQRPrintable* p, int left) {
        p->Size() = TQRUnitRect{double(left), 0, 400, 45};
        p->SetTransparent(true);
    };
    auto dbText = [&place](TQRCustomBand* band, TDataSet* ds, const QString& field, int left, const QString& mask = QString()) {
        auto* t = new TQRDBText(band);
        place(t, left);
        t->SetWordWrap(false);
        t->SetDataSet(ds);
        t->SetDataField(field);
        t->SetMask(mask);
    };
    auto expr = [&place](TQRCustomBand* band, const QString& e, int left, QObject* master, bool reset, const QString& mask = QString()) {
        auto* t = new TQRExpr(band);
        place(t, left);
        t->SetWordWrap(false);
        t->SetExpression(e);
        t->SetMask(mask);
        if (auto* sub = qobject_cast<TQRSubDetail*>(master))
            t->SetMaster(sub);
        t->SetResetAfterPrint(reset);
    };
    auto* masterBand = new TQRBand(&report, rbDetail);
    masterBand->SetHeightUnits(50);
    dbText(masterBand, master, QStringLiteral("BillNo"), 0);
    dbText(masterBand, master, QStringLiteral("Customer"), 500);
    auto* sub = new TQRSubDetail(&report);
    sub->SetMaster(&report);
    sub->SetDataSet(detail);
    sub->SetHeightUnits(50);
    sub->Bands().SetHasHeader(true);
    sub->Bands().SetHasFooter(true);
    TQRBand* header = sub->Bands().HeaderBand();
    header->SetHeightUnits(50);
    auto* l1 = new TQRLabel(header);
    place(l1, 0);
    l1->SetCaption(QStringLiteral("配件"));
    auto* l2 = new TQRLabel(header);
    place(l2, 500);
    l2->SetCaption(QStringLiteral("数量"));
    dbText(sub, detail, QStringLiteral("Name"), 0);
    dbText(sub, detail, QStringLiteral("Qty"), 500);
    dbText(sub, detail, QStringLiteral("Price"), 1000, QStringLiteral("0.00"));
    expr(sub, QStringLiteral("DltDataset1.Qty * DltDataset1.Price"), 1500, sub, false, QStringLiteral("0.00"));
    TQRBand* footer = sub->Bands().FooterBand();
    footer->SetHeightUnits(50);
    expr(footer, QStringLiteral("SUM(DltDataset1.Qty)"), 500, sub, true);
    expr(footer, QStringLiteral("SUM(DltDataset1.Qty * DltDataset1.Price)"), 1500, sub, true, QStringLiteral("0.00"));
    report.Prepare();
    return report.QRPrinter() ? report.QRPrinter()->PageCount() : 0;
}

} // namespace

int main(int argc, char** argv)
{
    qxbench::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    auto master = makeMaster();
    auto detail = makeDetail();
    TDataSource masterSource, detailSource;
    masterSource.SetDataSet(master.get());
    detailSource.SetDataSet(detail.get());
    QObject form;
    auto* mst = new TemplateDataSet(&form);
    mst->setObjectName(QStringLiteral("Mstdataset"));
    mst->SetDataSource(&masterSource);
    auto* dlt = new TemplateDataSet(&form);
    dlt->setObjectName(QStringLiteral("DltDataset1"));
    dlt->SetDataSource(&detailSource);
    const TemplateDocument doc = makeTemplate();

    int ourPages = 0, peerPages = 0;
    // Interleaved repeats, so that both sides meet the same machine load.
    double ours = 1e9, peer = 1e9;
    for (int round = 0; round < 3; ++round) {
        ours = std::min(ours, qxbench::timeBest([&] {
            TemplateReport report(&form);
            report.Document() = doc;
            report.PrepareReport();
            ourPages = report.PageCount();
        }, 1));
        peer = std::min(peer, qxbench::timeBest([&] { peerPages = buildAndPrepareByHand(master.get(), detail.get()); }, 1));
    }
    if (ourPages != peerPages || ourPages == 0) {
        std::fprintf(stderr, "page counts differ: template %d, by hand %d\n", ourPages, peerPages);
        return 1;
    }
    std::printf("pages: %d\n", ourPages);
    qxbench::report(QStringLiteral("template_render_10k_rows_s"), ours, peer, 1.2);
    return 0;
}
