// Export filters: what a report's pages become besides paper.
//
// A filter is driven page by page: Start once (paper size in report units, the report's
// font), then for each page NewPage, TextOut for each piece of text, EndPage, and Finish at
// the end. Positions are in report units (0.1 mm) from the top left corner of the paper. A
// filter writes its file in Start..Finish and raises the system's exception when it cannot.
//
// Two runs drive filters: TQuickRep::ExportToFilter runs the report with "exporting" set, and
// each printable hands over its own text (so printables may shape what a filter receives);
// TQRPrinter::ExportToFilter replays stored pages and hands over every text drawn on them.
//
// The filter library lists the program's filters in registration order (a preview's save
// dialog offers them after the page file itself).
#pragma once

#include "platform/db/DB.h"
#include "platform/ui/Colors.h"

#include <QFont>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class TQRExportFilter
{
public:
    explicit TQRExportFilter(const QString& fileName);
    virtual ~TQRExportFilter();
    TQRExportFilter(const TQRExportFilter&) = delete;
    TQRExportFilter& operator=(const TQRExportFilter&) = delete;

    QString FileName() const { return m_fileName; }

    // What a file chooser shows, the file extension (without a dot) and the filter's name.
    virtual QString Description() const = 0;
    virtual QString Extension() const = 0;
    virtual QString FilterName() const = 0;

    virtual void Start(double PaperWidth, double PaperHeight, const QFont& Font);
    virtual void NewPage();
    virtual void TextOut(double X, double Y, const QFont& Font, TColor BackgroundColor,
                         TAlignment Alignment, const QString& Text);
    virtual void EndPage();
    virtual void Finish();

private:
    QString m_fileName;
};

using TQRExportFilterFactory = std::function<std::unique_ptr<TQRExportFilter>(const QString& fileName)>;

struct TQRExportFilterEntry
{
    QString Description;
    QString Extension;
    QString FilterName;
    TQRExportFilterFactory Create;
    // "Description (*.ext)", for a file chooser.
    QString FileFilter() const;
};

class TQRExportFilterLibrary
{
public:
    // Lists the filter the factory makes (its names read from one instance made for an empty
    // file name); a filter whose FilterName is listed already is not listed again.
    bool AddFilter(const TQRExportFilterFactory& factory);
    template <typename Filter>
    bool AddFilter()
    {
        return AddFilter([](const QString& fileName) { return std::make_unique<Filter>(fileName); });
    }
    const std::vector<TQRExportFilterEntry>& Filters() const { return m_filters; }
    // The file chooser's filter text: the page file first, then every filter.
    QString SaveFileFilter() const;

private:
    std::vector<TQRExportFilterEntry> m_filters;
};

// The process's filter library.
TQRExportFilterLibrary& QRExportFilterLibrary();

namespace qx::report {
// The page file's entry in a file chooser.
QString pageFileFilter();
} // namespace qx::report
