// One run of a report: walks its bands, records and pages as QRBands.h describes and draws
// the pages into the printer object. Used by TQuickRep only.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class TDataSet;
class TQRChildBand;
class TQRCustomBand;
class TQRExportFilter;
class TQRGroup;
class TQRPrinter;
class TQRPrintable;
class TQRSubDetail;
class TQREvaluator;
struct TQREvResult;
class TQuickRep;

namespace qx::report {

class ReportRun
{
public:
    ReportRun(TQuickRep& report, TQRPrinter& printer, TQRExportFilter* filter);
    ~ReportRun();
    ReportRun(const ReportRun&) = delete;
    ReportRun& operator=(const ReportRun&) = delete;

    void execute();

private:
    enum class Kind { Body, Furniture };
    struct GroupState;

    // structure
    QList<TQRGroup*> groupsOf(const QObject* master) const;
    QList<TQRSubDetail*> subDetailsOf(const QObject* master) const;
    QList<TQRChildBand*> childrenOf(const TQRCustomBand* band) const;
    double chainHeight(TQRCustomBand* band) const;

    // pages
    void startPage();
    void endPage(bool withFooter);
    void breakPage();
    void printPageFooter();
    double bottomLimit() const;
    double space() const { return bottomLimit() - m_y; }
    bool stopped() const;

    // bands
    bool printBand(TQRCustomBand* band, Kind kind, const std::function<void()>& beforeDraw = {});
    void drawBand(TQRCustomBand* band, Kind kind);

    // records
    int runMaster(QObject* master);
    void printGroupHeaders(std::vector<GroupState>& groups, std::size_t from);
    void printGroupFooters(std::vector<GroupState>& groups, std::size_t from);
    int firstChangedGroup(std::vector<GroupState>& groups);

    TQuickRep& m_report;
    TQRPrinter& m_printer;
    TQRExportFilter* m_filter;
    QList<TQRCustomBand*> m_bands;
    QList<QPointer<TQRPrintable>> m_prepared;

    double m_left = 0;        // left margin (report units)
    double m_top = 0;         // top margin
    double m_pageBottom = 0;  // paper length less the bottom margin
    double m_y = 0;           // where the next band goes
    bool m_pageOpen = false;
    bool m_firstPage = true;
    bool m_bodyOnPage = false;
    int m_recordTotal = 0;
    int m_recordsDone = 0;
};

} // namespace qx::report
