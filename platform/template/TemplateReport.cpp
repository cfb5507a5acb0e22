#include "platform/template/TemplateReport.h"

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/env/DialogService.h"
#include "platform/report/PrintTarget.h"
#include "platform/report/QRPreviewInterface.h"
#include "platform/report/QRPrinter.h"
#include "platform/report/QuickRep.h"
#include "platform/template/TemplateDesignerWindow.h"
#include "platform/template/TemplateFormat.h"

#include <QPrinter>

#include <utility>

namespace qx::tpl {

namespace {

TemplateDesigner& installedDesigner()
{
    static TemplateDesigner designer;
    return designer;
}

} // namespace

TemplateDesigner setTemplateDesigner(TemplateDesigner designer)
{
    return std::exchange(installedDesigner(), std::move(designer));
}

// ---- TemplateDataSet ---------------------------------------------------------------------

TemplateDataSet::TemplateDataSet(QObject* owner) : QObject(owner) {}

TDataSet* TemplateDataSet::DataSet() const
{
    return m_source ? m_source->DataSet() : nullptr;
}

// ---- TemplateReport ----------------------------------------------------------------------

TemplateReport::TemplateReport(QObject* owner) : QObject(owner) {}

TemplateReport::~TemplateReport() = default;

void TemplateReport::LoadFromBlob(TDataSet* dataSet)
{
    TField* field = dataSet->FieldByName(blobFieldName());
    m_doc = readTemplate(field->IsNull() ? QByteArray() : field->AsBytes());
}

void TemplateReport::SaveToBlob(TDataSet* dataSet)
{
    dataSet->FieldByName(blobFieldName())->SetAsBytes(writeTemplate(m_doc));
}

void TemplateReport::LoadFromFile(const QString& fileName)
{
    m_doc = readTemplate(readTemplateFile(fileName));
}

void TemplateReport::SaveToFile(const QString& fileName)
{
    writeTemplateFile(fileName, m_doc);
}

bool TemplateReport::DesignReport(QWidget* parent)
{
    if (const TemplateDesigner& designer = installedDesigner())
        return designer(*this, parent);
    return TemplateDesignerWindow::design(*this, parent);
}

void TemplateReport::AddDataSet(TemplateDataSet* adapter)
{
    if (adapter && !m_added.contains(adapter))
        m_added.append(adapter);
}

QList<OfferedDataSet> TemplateReport::OfferedDataSets() const
{
    QList<OfferedDataSet> out;
    auto offer = [&out](const TemplateDataSet* a) {
        if (!a || !a->DataSet())
            return;
        for (const OfferedDataSet& o : out) {
            if (o.dataSet == a->DataSet() && o.name.compare(a->objectName(), Qt::CaseInsensitive) == 0)
                return;
        }
        out.append({a->objectName(), a->DataSet()});
    };
    if (QObject* owner = parent()) {
        for (const TemplateDataSet* a : owner->findChildren<TemplateDataSet*>(Qt::FindDirectChildrenOnly))
            offer(a);
    }
    for (const QPointer<TemplateDataSet>& a : m_added)
        offer(a);
    return out;
}

bool TemplateReport::PrepareReport()
{
    m_report.reset();
    auto report = std::make_unique<TQuickRep>();
    report->SetReportTitle(m_title);
    report->SetShowProgress(false);
    buildReport(*report, m_doc, OfferedDataSets());
    report->Prepare();
    m_report = std::move(report);
    return PageCount() > 0;
}

int TemplateReport::PageCount() const
{
    const TQRPrinter* printer = m_report ? m_report->QRPrinter() : nullptr;
    return printer ? printer->PageCount() : 0;
}

void TemplateReport::ShowPreparedReport()
{
    if (!m_report || !m_report->QRPrinter())
        return;
    CreatePreviewInterface()->ShowModal(m_report->QRPrinter());
}

bool TemplateReport::PrintPreparedReport(QWidget* parent)
{
    TQRPrinter* pages = m_report ? m_report->QRPrinter() : nullptr;
    if (!pages || pages->PageCount() == 0)
        return false;
    std::unique_ptr<QPrinter> target = qx::report::makePrinter(m_report->PrinterSettings().PrinterIndex);
    qx::report::PrintChoice choice;
    if (!qx::report::choosePrinter(*target, pages->PageCount(), choice, parent))
        return false;
    target->setDocName(m_title);
    pages->Print(*target, choice.fromPage, choice.toPage, choice.copies);
    return true;
}

} // namespace qx::tpl
