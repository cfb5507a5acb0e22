#include "platform/report/QRBands.h"

#include "platform/db/DataSet.h"

#include "platform/report/QRPrintable.h"
#include "platform/report/QuickRep.h"
#include "platform/report/Units.h"

#include <algorithm>

using namespace qx::report;

// ---- TQRNotifyList -----------------------------------------------------------------------

void TQRNotifyList::Add(QObject* client, std::function<void()> onRecord)
{
    Remove(client);
    m_clients.push_back({client, std::move(onRecord)});
}

void TQRNotifyList::Remove(QObject* client)
{
    std::erase_if(m_clients, [client](const Client& c) { return !c.object || c.object == client; });
}

void TQRNotifyList::Notify()
{
    // A client may go away while others are told; work on a copy.
    const std::vector<Client> clients = m_clients;
    for (const Client& c : clients) {
        if (c.object && c.onRecord)
            c.onRecord();
    }
}

// ---- TQRCustomBand -----------------------------------------------------------------------

TQRCustomBand::TQRCustomBand(TQuickRep* report, TQRBandType type) : QObject(report), m_type(type)
{
    if (report)
        report->addBand(this);
}

TQRCustomBand::~TQRCustomBand() = default;

TQuickRep* TQRCustomBand::ParentReport() const
{
    return qobject_cast<TQuickRep*>(parent());
}

int TQRCustomBand::Height() const
{
    return unitsToWholePixels(m_height);
}

void TQRCustomBand::SetHeight(int pixels)
{
    m_height = pixelsToUnits(pixels);
}

void TQRCustomBand::SetHeightUnits(double units)
{
    m_height = units;
}

double TQRCustomBand::WidthUnits() const
{
    const TQuickRep* report = ParentReport();
    return report ? report->Page().PrintableWidthUnits() : 0.0;
}

int TQRCustomBand::Width() const
{
    return unitsToWholePixels(WidthUnits());
}

QList<TQRPrintable*> TQRCustomBand::Printables() const
{
    QList<TQRPrintable*> out;
    for (const QPointer<TQRPrintable>& p : m_printables) {
        if (p && p->parent() == this)
            out.append(p.data());
    }
    return out;
}

TQRChildBand* TQRCustomBand::ChildBand() const
{
    const TQuickRep* report = ParentReport();
    if (!report)
        return nullptr;
    for (TQRCustomBand* band : report->BandList()) {
        auto* child = qobject_cast<TQRChildBand*>(band);
        if (child && child->ParentBand() == this)
            return child;
    }
    return nullptr;
}

void TQRCustomBand::addPrintable(TQRPrintable* p)
{
    removePrintable(p);
    m_printables.emplace_back(p);
}

void TQRCustomBand::removePrintable(TQRPrintable* p)
{
    std::erase_if(m_printables, [p](const QPointer<TQRPrintable>& q) { return !q || q == p; });
}

void TQRCustomBand::moveToBack(TQRPrintable* p)
{
    removePrintable(p);
    m_printables.insert(m_printables.begin(), p);
}

void TQRCustomBand::moveToFront(TQRPrintable* p)
{
    addPrintable(p);
}

// ---- TQRBand -----------------------------------------------------------------------------

TQRBand::TQRBand(TQuickRep* report, TQRBandType type) : TQRCustomBand(report, type)
{
    SetBandType(type);
}

void TQRBand::SetBandType(TQRBandType type)
{
    setBandType(type);
    TQuickRep* report = ParentReport();
    if (!report)
        return;
    if (TQuickRepBands::Slot* slot = report->Bands().slotOf(type)) {
        if (!slot->band) {
            slot->band = this;
            slot->on = true;
        }
    }
}

// ---- TQRChildBand ------------------------------------------------------------------------

TQRChildBand::TQRChildBand(TQuickRep* report) : TQRCustomBand(report, rbChild) {}

// ---- TQRSubDetail ------------------------------------------------------------------------

void TQRSubDetailBands::SetHasHeader(bool on)
{
    m_hasHeader = on;
    if (on && !m_header)
        m_header = new TQRBand(m_owner->ParentReport(), rbGroupHeader);
}

void TQRSubDetailBands::SetHasFooter(bool on)
{
    m_hasFooter = on;
    if (on && !m_footer)
        m_footer = new TQRBand(m_owner->ParentReport(), rbGroupFooter);
}

TQRSubDetail::TQRSubDetail(TQuickRep* report) : TQRCustomBand(report, rbSubDetail), m_master(report), m_bands(this) {}

TQRSubDetail::~TQRSubDetail() = default;

QObject* TQRSubDetail::Master() const
{
    return m_master ? m_master.data() : static_cast<QObject*>(ParentReport());
}

void TQRSubDetail::SetMaster(TQuickRep* report)
{
    m_master = report;
}

void TQRSubDetail::SetMaster(TQRSubDetail* subDetail)
{
    m_master = subDetail;
}

TDataSet* TQRSubDetail::DataSet() const
{
    return m_dataSet;
}

void TQRSubDetail::SetDataSet(TDataSet* dataSet)
{
    m_dataSet = dataSet;
}

// ---- TQRGroup ----------------------------------------------------------------------------

TQRGroup::TQRGroup(TQuickRep* report) : TQRCustomBand(report, rbGroupHeader), m_master(report) {}

TQRGroup::~TQRGroup() = default;

QObject* TQRGroup::Master() const
{
    return m_master ? m_master.data() : static_cast<QObject*>(ParentReport());
}

void TQRGroup::SetMaster(TQuickRep* report)
{
    m_master = report;
}

void TQRGroup::SetMaster(TQRSubDetail* subDetail)
{
    m_master = subDetail;
}
