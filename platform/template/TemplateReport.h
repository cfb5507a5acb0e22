// The document-template report as a form uses it: a report object owned by a form, dataset
// adapters that offer the form's datasets to templates under names, loading and saving the
// template (the blob field ReportData of a dataset's current row, or a file), the title, the
// designer, preparing, previewing and printing.
//
// A report finds its adapters among the children of its owner (the form that made both) and
// among those added to it; an adapter without a dataset is left out, so a template that
// needs it ends in an error naming it.
#pragma once

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/template/Template.h"
#include "platform/template/TemplateRenderer.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QWidget;
class TQuickRep;

namespace qx::tpl {

class TemplateReport;

// A dataset offered to templates under the adapter's object name ("Mstdataset"...).
class TemplateDataSet : public QObject
{
    Q_OBJECT

public:
    explicit TemplateDataSet(QObject* owner = nullptr);
    TDataSource* DataSource() const { return m_source; }
    void SetDataSource(TDataSource* source) { m_source = source; }
    // The data source's dataset, nullptr when there is none.
    TDataSet* DataSet() const;

private:
    QPointer<TDataSource> m_source;
};

// Opens the designer on report, modally; true when the operator took the changes (the
// report's Document() then holds them).
using TemplateDesigner = std::function<bool(TemplateReport& report, QWidget* parent)>;
// Replaces the designer (the designer window of TemplateDesignerWindow.h unless one is
// installed); returns the one installed before.
TemplateDesigner setTemplateDesigner(TemplateDesigner designer);

class TemplateReport : public QObject
{
    Q_OBJECT

public:
    // The field that holds a template in a row of the template table.
    static QString blobFieldName() { return QStringLiteral("ReportData"); }

    explicit TemplateReport(QObject* owner = nullptr);
    ~TemplateReport() override;

    TemplateDocument& Document() { return m_doc; }
    const TemplateDocument& Document() const { return m_doc; }

    // Loading replaces the template only when the stored one reads whole; an empty blob is an
    // empty template. Raises ETemplateError, EInOutError, or EDatabaseError for a dataset
    // without the field.
    void LoadFromBlob(TDataSet* dataSet);
    // Writes into the field of the current row (the dataset must be editing it).
    void SaveToBlob(TDataSet* dataSet);
    void LoadFromFile(const QString& fileName);
    // Atomic: an old file stays whole when the new one cannot be written whole.
    void SaveToFile(const QString& fileName);

    QString Title() const { return m_title; }
    void SetTitle(const QString& title) { m_title = title; }

    // The designer, modally; true when the operator took the changes into Document().
    bool DesignReport(QWidget* parent = nullptr);

    void AddDataSet(TemplateDataSet* adapter);
    // The adapters' names and datasets: those of the owner's children, then those added.
    QList<OfferedDataSet> OfferedDataSets() const;

    // Builds the report from the template and makes its pages; true when there is at least
    // one. Raises ETemplateError (nothing is kept then).
    bool PrepareReport();
    int PageCount() const;
    // The report of the last PrepareReport (nullptr before one).
    TQuickRep* Report() const { return m_report.get(); }
    // Shows the prepared pages in the preview window and returns when it is closed.
    void ShowPreparedReport();
    // The print dialog (through the dialog service), then the chosen pages to the chosen
    // printer; false when there are no pages or the dialog was cancelled.
    bool PrintPreparedReport(QWidget* parent = nullptr);

private:
    TemplateDocument m_doc;
    QString m_title;
    QList<QPointer<TemplateDataSet>> m_added;
    std::unique_ptr<TQuickRep> m_report;
};

} // namespace qx::tpl
