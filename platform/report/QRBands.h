// The bands of a report.
//
// A band is a horizontal strip of a page holding printables. Every band belongs to a report
// (its QObject parent) and has a Height in pixels at 100 % (Size().Height in report units),
// the width of the printable area of the page, a Tag, Enabled, and two events:
//   BeforePrint(Sender, PrintBand)   before the band prints; PrintBand := false skips it, and
//                                    the handler may change Height (read after it returns)
//   AfterPrint(Sender, BandPrinted)  after it was considered, with whether it printed
// A disabled band is not considered at all (no events, no child bands).
//
// TQRBand        a band of a given BandType: the report's title, page header and footer,
//                column header, detail and summary (see TQuickRepBands), or a group footer
//                that a TQRGroup names as its FooterBand.
// TQRChildBand   prints right after its ParentBand (also when the parent's BeforePrint said
//                not to print it), before the parent's next sibling; children chain.
// TQRSubDetail   a detail band of its own under a Master (the report or another sub-detail):
//                for each record of the master it runs through its records (below) and prints
//                once per record, with a header and a footer band (Bands()).
// TQRGroup       a group header under a Master: it prints before the master's first record and
//                whenever the value of Expression changes; its FooterBand prints before each
//                change and after the master's last record.
//
// Records of a sub-detail: with a DataSet, from its first record to its end, for each record
// of the master; without one, OnNeedData(Sender, MoreData) is asked before each record and
// the run ends when it leaves MoreData false.
//
// RULE: a sub-detail's header and footer print only when it produced at least one record.
// (The paged grid layout relies on this: its page-sum footer must not print after a row that
// did not fill the page.)
//
// Bands under one master run in their creation order: for each record of a master, its detail
// band prints (the report's detail band, or the sub-detail itself), then each of its
// sub-details runs. Group headers print before the record they open (outermost group first),
// group footers after the last record of their group (innermost first), with the master's
// dataset still on that last record. Aggregates of a master's expressions take in each record
// just before its detail band prints, after any page break that band caused.
//
// Pages: a band that does not fit the rest of the page moves to a new page: the page footer
// prints at the bottom of the page, a new page starts with the page header (and its child
// bands) and the column header. A band taller than a whole page prints anyway. NewPage called
// in a band's BeforePrint starts a new page for that band; called in AfterPrint, the next band
// that prints starts one. A page on which nothing but page furniture printed is never ended
// by NewPage.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class TDataSet;
class TQREvaluator;
class TQRPrintable;
class TQuickRep;
class TQRCustomBand;
class TQRSubDetail;

enum TQRBandType {
    rbTitle,
    rbPageHeader,
    rbDetail,
    rbPageFooter,
    rbSummary,
    rbGroupHeader,
    rbGroupFooter,
    rbSubDetail,
    rbColumnHeader,
    rbChild
};

using TQRBandBeforePrintEvent = std::function<void(TQRCustomBand* Sender, bool& PrintBand)>;
using TQRBandAfterPrintEvent = std::function<void(TQRCustomBand* Sender, bool BandPrinted)>;
using TQROnNeedDataEvent = std::function<void(QObject* Sender, bool& MoreData)>;

// The clients a master tells about each new record (aggregating expressions).
class TQRNotifyList
{
public:
    void Add(QObject* client, std::function<void()> onRecord);
    void Remove(QObject* client);
    void Notify();
    bool IsEmpty() const { return m_clients.empty(); }

private:
    struct Client
    {
        QPointer<QObject> object;
        std::function<void()> onRecord;
    };
    std::vector<Client> m_clients;
};

class TQRCustomBand : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)

public:
    ~TQRCustomBand() override;

    TQuickRep* ParentReport() const;
    TQRBandType BandType() const { return m_type; }

    int Height() const;
    void SetHeight(int pixels);
    // The band's height and width in report units (the width is the page's printable width).
    double HeightUnits() const { return m_height; }
    void SetHeightUnits(double units);
    double WidthUnits() const;
    // The printable width of the page in pixels at 100 %.
    int Width() const;

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on) { m_enabled = on; }
    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    // The printables on the band, back to front.
    QList<TQRPrintable*> Printables() const;
    // The first child band chained to this one, nullptr when none.
    class TQRChildBand* ChildBand() const;
    bool HasChild() const { return ChildBand() != nullptr; }

    TQRBandBeforePrintEvent BeforePrint;
    TQRBandAfterPrintEvent AfterPrint;

protected:
    TQRCustomBand(TQuickRep* report, TQRBandType type);
    void setBandType(TQRBandType type) { m_type = type; }

private:
    friend class TQRPrintable;
    void addPrintable(TQRPrintable* p);
    void removePrintable(TQRPrintable* p);
    void moveToBack(TQRPrintable* p);
    void moveToFront(TQRPrintable* p);

    TQRBandType m_type;
    double m_height = 0;
    bool m_enabled = true;
    int m_tag = 0;
    std::vector<QPointer<TQRPrintable>> m_printables;
};

class TQRBand : public TQRCustomBand
{
    Q_OBJECT

public:
    // A band of the report of the given type. A title, page header, page footer, column
    // header, detail or summary band becomes that band of the report when it has none yet.
    TQRBand(TQuickRep* report, TQRBandType type = rbDetail);
    void SetBandType(TQRBandType type);
};

class TQRChildBand : public TQRCustomBand
{
    Q_OBJECT

public:
    explicit TQRChildBand(TQuickRep* report);
    TQRCustomBand* ParentBand() const { return m_parentBand; }
    void SetParentBand(TQRCustomBand* band) { m_parentBand = band; }

private:
    QPointer<TQRCustomBand> m_parentBand;
};

// The header and footer band of a sub-detail, created when first asked for.
class TQRSubDetailBands
{
public:
    bool HasHeader() const { return m_header && m_hasHeader; }
    void SetHasHeader(bool on);
    bool HasFooter() const { return m_footer && m_hasFooter; }
    void SetHasFooter(bool on);
    // nullptr while Has... is false.
    TQRBand* HeaderBand() const { return HasHeader() ? m_header.data() : nullptr; }
    TQRBand* FooterBand() const { return HasFooter() ? m_footer.data() : nullptr; }

private:
    friend class TQRSubDetail;
    explicit TQRSubDetailBands(TQRSubDetail* owner) : m_owner(owner) {}
    TQRSubDetail* m_owner;
    QPointer<TQRBand> m_header;
    QPointer<TQRBand> m_footer;
    bool m_hasHeader = false;
    bool m_hasFooter = false;
};

class TQRSubDetail : public TQRCustomBand
{
    Q_OBJECT

public:
    explicit TQRSubDetail(TQuickRep* report);
    ~TQRSubDetail() override;

    // The report or another sub-detail (the report when none was set).
    QObject* Master() const;
    void SetMaster(TQuickRep* report);
    void SetMaster(TQRSubDetail* subDetail);
    TDataSet* DataSet() const;
    void SetDataSet(TDataSet* dataSet);
    TQRSubDetailBands& Bands() { return m_bands; }
    const TQRSubDetailBands& Bands() const { return m_bands; }

    TQROnNeedDataEvent OnNeedData;

    // Expressions whose master this is take in each record through these.
    void AddNotifyClient(QObject* client, std::function<void()> onRecord) { m_notify.Add(client, std::move(onRecord)); }
    void RemoveNotifyClient(QObject* client) { m_notify.Remove(client); }
    TQRNotifyList& NotifyList() { return m_notify; }

private:
    QPointer<QObject> m_master;
    QPointer<TDataSet> m_dataSet;
    TQRSubDetailBands m_bands;
    TQRNotifyList m_notify;
};

class TQRGroup : public TQRCustomBand
{
    Q_OBJECT

public:
    explicit TQRGroup(TQuickRep* report);
    ~TQRGroup() override;

    // The report or a sub-detail (the report when none was set).
    QObject* Master() const;
    void SetMaster(TQuickRep* report);
    void SetMaster(TQRSubDetail* subDetail);
    QString Expression() const { return m_expression; }
    void SetExpression(const QString& expression) { m_expression = expression; }
    // A band of type rbGroupFooter (or nullptr).
    TQRBand* FooterBand() const { return m_footer; }
    void SetFooterBand(TQRBand* band) { m_footer = band; }

private:
    QPointer<QObject> m_master;
    QString m_expression;
    QPointer<TQRBand> m_footer;
};
