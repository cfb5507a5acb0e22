#include "platform/report/ReportRun.h"

#include "platform/db/DataSet.h"
#include "platform/report/QRBands.h"
#include "platform/report/QREvaluator.h"
#include "platform/report/QRExport.h"
#include "platform/report/QRPrintable.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/QuickRep.h"

#include <algorithm>
#include <memory>

namespace qx::report {

struct ReportRun::GroupState
{
    TQRGroup* group = nullptr;
    std::unique_ptr<TQREvaluator> evaluator;
    TQREvResult value;
};

ReportRun::ReportRun(TQuickRep& report, TQRPrinter& printer, TQRExportFilter* filter)
    : m_report(report), m_printer(printer), m_filter(filter)
{}

ReportRun::~ReportRun()
{
    // Also when a handler raised: every printable lets go of what it prepared.
    for (const QPointer<TQRPrintable>& p : m_prepared) {
        if (p)
            p->Unprepare();
    }
}

// ---- structure ---------------------------------------------------------------------------

QList<TQRGroup*> ReportRun::groupsOf(const QObject* master) const
{
    QList<TQRGroup*> out;
    for (TQRCustomBand* band : m_bands) {
        auto* group = qobject_cast<TQRGroup*>(band);
        if (group && group->Master() == master)
            out.append(group);
    }
    return out;
}

QList<TQRSubDetail*> ReportRun::subDetailsOf(const QObject* master) const
{
    QList<TQRSubDetail*> out;
    for (TQRCustomBand* band : m_bands) {
        auto* sub = qobject_cast<TQRSubDetail*>(band);
        if (sub && sub != master && sub->Master() == master)
            out.append(sub);
    }
    return out;
}

QList<TQRChildBand*> ReportRun::childrenOf(const TQRCustomBand* band) const
{
    QList<TQRChildBand*> out;
    for (TQRCustomBand* b : m_bands) {
        auto* child = qobject_cast<TQRChildBand*>(b);
        if (child && child != band && child->ParentBand() == band)
            out.append(child);
    }
    return out;
}

double ReportRun::chainHeight(TQRCustomBand* band) const
{
    if (!band || !band->Enabled())
        return 0;
    double h = band->HeightUnits();
    for (TQRChildBand* child : childrenOf(band))
        h += chainHeight(child);
    return h;
}

// ---- pages -------------------------------------------------------------------------------

bool ReportRun::stopped() const
{
    return m_printer.Cancelled();
}

double ReportRun::bottomLimit() const
{
    return m_pageBottom - chainHeight(m_report.Bands().PageFooterBand());
}

void ReportRun::startPage()
{
    m_printer.NewPage();
    m_pageOpen = true;
    if (m_filter)
        m_filter->NewPage();
    m_y = m_top;
    m_bodyOnPage = false;
    printBand(m_report.Bands().PageHeaderBand(), Kind::Furniture);
    if (!m_firstPage)
        printBand(m_report.Bands().ColumnHeaderBand(), Kind::Furniture);
}

void ReportRun::printPageFooter()
{
    TQRCustomBand* footer = m_report.Bands().PageFooterBand();
    if (!footer)
        return;
    m_y = m_pageBottom - chainHeight(footer);
    printBand(footer, Kind::Furniture);
}

void ReportRun::endPage(bool withFooter)
{
    if (!m_pageOpen)
        return;
    if (withFooter)
        printPageFooter();
    if (m_filter)
        m_filter->EndPage();
    m_pageOpen = false;
    m_firstPage = false;
    m_printer.EndPage();
}

void ReportRun::breakPage()
{
    endPage(true);
    startPage();
}

// ---- bands -------------------------------------------------------------------------------

bool ReportRun::printBand(TQRCustomBand* band, Kind kind, const std::function<void()>& beforeDraw)
{
    if (!band || !band->Enabled()) {
        if (beforeDraw)
            beforeDraw();
        return false;
    }
    bool print = true;
    if (band->BeforePrint)
        band->BeforePrint(band, print);
    if (print) {
        if (kind == Kind::Body) {
            if (m_report.m_newPageRequested) {
                m_report.m_newPageRequested = false;
                if (m_bodyOnPage)
                    breakPage();
            }
            if (band->HeightUnits() > space() + 1e-6 && m_bodyOnPage)
                breakPage();
        }
        if (beforeDraw)
            beforeDraw();
        drawBand(band, kind);
    } else if (beforeDraw) {
        beforeDraw();
    }
    if (band->AfterPrint)
        band->AfterPrint(band, print);
    for (TQRChildBand* child : childrenOf(band))
        printBand(child, kind);
    return print;
}

void ReportRun::drawBand(TQRCustomBand* band, Kind kind)
{
    const QList<TQRPrintable*> printables = band->Printables();
    std::vector<TQRPrintable*> stretching;
    double height = band->HeightUnits();
    if (kind == Kind::Body) {
        for (TQRPrintable* p : printables) {
            if (p->Enabled() && p->AutoStretch()) {
                stretching.push_back(p);
                height = std::max(height, p->Size().Top + p->StretchHeight());
            }
        }
        if (!stretching.empty())
            height = std::min(height, std::max(band->HeightUnits(), space()));
    }
    double top = m_y;
    for (TQRPrintable* p : printables) {
        if (!p->Enabled())
            continue;
        p->ApplyAlignToBand();
        p->SetAvailableHeight(top + height - (top + p->Size().Top));
        p->Print(m_left, top);
    }
    m_y = top + height;
    if (kind == Kind::Body && height > 0)
        m_bodyOnPage = true;
    if (kind == Kind::Furniture) {
        // Page furniture does not go on over pages: what did not fit is dropped.
        for (TQRPrintable* p : printables) {
            if (p->Enabled() && !p->Finished())
                p->ResetStretch();
        }
        return;
    }

    // Stretching printables that could not show everything go on on the following pages.
    double lastNeed = -1;
    while (!stopped()) {
        std::vector<TQRPrintable*> unfinished;
        double need = 0;
        for (TQRPrintable* p : stretching) {
            if (p && !p->Finished()) {
                unfinished.push_back(p);
                need = std::max(need, p->StretchHeight());
            }
        }
        if (unfinished.empty())
            break;
        if (lastNeed >= 0 && need >= lastNeed) {
            // A printable that makes no progress would fill pages for ever.
            for (TQRPrintable* p : unfinished)
                p->ResetStretch();
            break;
        }
        lastNeed = need;
        breakPage();
        top = m_y;
        const double piece = std::max(0.0, std::min(need, space()));
        for (TQRPrintable* p : unfinished) {
            p->SetAvailableHeight(piece);
            p->Print(m_left, top - p->Size().Top);
        }
        m_y = top + piece;
        m_bodyOnPage = true;
    }
}

// ---- records -----------------------------------------------------------------------------

void ReportRun::printGroupHeaders(std::vector<GroupState>& groups, std::size_t from)
{
    for (std::size_t i = from; i < groups.size(); ++i) {
        groups[i].value = groups[i].evaluator->Value();
        printBand(groups[i].group, Kind::Body);
    }
}

void ReportRun::printGroupFooters(std::vector<GroupState>& groups, std::size_t from)
{
    for (std::size_t i = groups.size(); i > from; --i)
        printBand(groups[i - 1].group->FooterBand(), Kind::Body);
}

int ReportRun::firstChangedGroup(std::vector<GroupState>& groups)
{
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (!groups[i].evaluator->Value().SameValue(groups[i].value))
            return int(i);
    }
    return -1;
}

int ReportRun::runMaster(QObject* master)
{
    auto* sub = qobject_cast<TQRSubDetail*>(master);
    TQRCustomBand* detail = sub ? static_cast<TQRCustomBand*>(sub) : m_report.Bands().DetailBand();
    TDataSet* ds = sub ? sub->DataSet() : m_report.DataSet();
    TQRNotifyList& notify = sub ? sub->NotifyList() : m_report.NotifyList();
    const QList<TQRSubDetail*> subs = subDetailsOf(master);

    std::vector<GroupState> groups;
    for (TQRGroup* g : groupsOf(master)) {
        GroupState state;
        state.group = g;
        state.evaluator = std::make_unique<TQREvaluator>();
        state.evaluator->SetDataSets(m_report.AllDataSets(), m_report.DataSetNames());
        state.evaluator->Prepare(g->Expression());
        groups.push_back(std::move(state));
    }

    auto record = [&] {
        printBand(detail, Kind::Body, [&] { notify.Notify(); });
        for (TQRSubDetail* s : subs) {
            if (stopped())
                break;
            runMaster(s);
        }
    };
    auto opening = [&] {
        if (sub)
            printBand(sub->Bands().HeaderBand(), Kind::Body);
        printGroupHeaders(groups, 0);
    };
    auto closing = [&] {
        printGroupFooters(groups, 0);
        if (sub)
            printBand(sub->Bands().FooterBand(), Kind::Body);
    };

    int count = 0;
    if (ds) {
        if (!ds->Active())
            return 0;
        ds->First();
        while (!ds->Eof() && !stopped()) {
            if (count == 0)
                opening();
            ++count;
            record();
            if (!sub && m_recordTotal > 0)
                m_printer.SetProgress(std::min(99, ++m_recordsDone * 100 / m_recordTotal));
            ds->Next();
            if (ds->Eof() || stopped())
                break;
            const int changed = firstChangedGroup(groups);
            if (changed >= 0) {
                // The footers still see the last record of their group.
                ds->Prior();
                printGroupFooters(groups, std::size_t(changed));
                ds->Next();
                printGroupHeaders(groups, std::size_t(changed));
            }
        }
    } else if (sub) {
        while (!stopped()) {
            bool more = false;
            if (sub->OnNeedData)
                sub->OnNeedData(sub, more);
            if (!more)
                break;
            if (count == 0) {
                opening();
            } else {
                const int changed = firstChangedGroup(groups);
                if (changed >= 0) {
                    printGroupFooters(groups, std::size_t(changed));
                    printGroupHeaders(groups, std::size_t(changed));
                }
            }
            ++count;
            record();
        }
    } else {
        opening();
        count = 1;
        record();
    }
    if (count > 0)
        closing();
    return count;
}

// ---- the run -----------------------------------------------------------------------------

void ReportRun::execute()
{
    m_report.m_newPageRequested = false;
    const TQRPage& page = m_report.Page();
    m_left = page.LeftMarginUnits();
    m_top = page.TopMarginUnits();
    m_pageBottom = page.LengthUnits() - page.BottomMarginUnits();
    m_printer.BeginDoc(page.WidthUnits(), page.LengthUnits(), m_report.Font());
    m_printer.SetTitle(m_report.ReportTitle());

    bool printReport = true;
    if (m_report.BeforePrint)
        m_report.BeforePrint(&m_report, printReport);
    if (!printReport)
        return;

    m_bands = m_report.BandList();
    if (m_report.DataSet())
        m_report.AddDataSet(m_report.DataSet());
    for (TQRCustomBand* band : m_bands) {
        if (auto* sub = qobject_cast<TQRSubDetail*>(band); sub && sub->DataSet())
            m_report.AddDataSet(sub->DataSet());
    }
    for (TQRCustomBand* band : m_bands) {
        for (TQRPrintable* p : band->Printables()) {
            m_prepared.append(p);
            p->Prepare();
        }
    }
    if (TDataSet* ds = m_report.DataSet(); ds && ds->Active())
        m_recordTotal = ds->RecordCount();

    if (m_filter)
        m_filter->Start(page.WidthUnits(), page.LengthUnits(), m_report.Font());
    startPage();
    printBand(m_report.Bands().TitleBand(), Kind::Body);
    printBand(m_report.Bands().ColumnHeaderBand(), Kind::Furniture);
    runMaster(&m_report);
    if (!stopped())
        printBand(m_report.Bands().SummaryBand(), Kind::Body);
    endPage(m_report.Options().testFlag(LastPageFooter));
    if (m_filter)
        m_filter->Finish();
}

} // namespace qx::report
