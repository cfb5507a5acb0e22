#include "app/report/uAReportDialog.h"

#include "app/data/dmData.h"
#include "platform/db/DataSource.h"
#include "platform/db/Fields.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/template/TemplateReport.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/forms/QxFormKit.h"
#include "usystem/vcl/report/uQxQryexpr.h"

#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace {

// The names the caller's datasets carry in a template, master first.
const char* const kAdapterNames[] = {"Mstdataset", "DltDataset1", "DltDataset2", "DltDataset3", "DltDataset4"};

const QString kListSql = QStringLiteral("Select * from tRctReport where ReportClass = :ReportClass order by OrderID");

} // namespace

TFrmAReportDlg::TFrmAReportDlg(QWidget* parent)
    : TFrmBase(parent),
      PnlTool(qx::kit::toolBar(this, "PnlTool", QSize(60, 40))),
      SbnAdd(qx::kit::toolBarButton(PnlTool, "SbnAdd", QStringLiteral("增加"), QStringLiteral("增加报表"))),
      SptModify(qx::kit::toolBarButton(PnlTool, "SptModify", QStringLiteral("修改"), QStringLiteral("修改报表"))),
      SptDelete(qx::kit::toolBarButton(PnlTool, "SptDelete", QStringLiteral("删除"), QStringLiteral("删除报表"))),
      BtnDesign(qx::kit::toolBarButton(PnlTool, "BtnDesign", QStringLiteral("设计"), QStringLiteral("设计"))),
      BtnPreview(qx::kit::toolBarButton(PnlTool, "BtnPreview", QStringLiteral("打印预览"), QString())),
      BtnPrint(qx::kit::toolBarButton(PnlTool, "BtnPrint", QStringLiteral("打印"), QString())),
      BtnClose(qx::kit::toolBarButton(PnlTool, "BtnClose", QStringLiteral("退出"), QString())),
      BtnDesginState(qx::kit::toolBarButton(PnlTool, "BtnDesginState", QStringLiteral("编辑"), QString())),
      QXPanel1(qx::kit::strip(this, "QXPanel1", alBottom, 24)),
      TblReport(new TQxADOQuery(this)),
      DsReport(new TDataSource(this)),
      DBGReport(qx::kit::dbGrid(this, "DBGReport", DsReport)),
      DsMaster(new TDataSource(this)),
      DsDetail1(new TDataSource(this)),
      dsDetail2(new TDataSource(this)),
      dsDetail3(new TDataSource(this)),
      dsdetail4(new TDataSource(this))
{
    setObjectName(QStringLiteral("FrmAReportDlg"));
    SetCaption(QStringLiteral("打印窗体"));
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    resize(480, 360);
    SetKeyPreview(true);
    SetPosition(poDesktopCenter);

    TblReport->setObjectName(QStringLiteral("TblReport"));
    DsReport->setObjectName(QStringLiteral("DsReport"));
    DsReport->SetDataSet(TblReport);
    TblReport->SQL().SetText(kListSql);
    TblReport->BeforePost = [this](TDataSet* DataSet) { TblReportBeforePost(DataSet); };
    TblReport->OnNewRecord = [this](TDataSet* DataSet) { TblReportNewRecord(DataSet); };
    const std::pair<TDataSource*, const char*> sources[] = {{DsMaster, "DsMaster"},   {DsDetail1, "DsDetail1"},
                                                            {dsDetail2, "dsDetail2"}, {dsDetail3, "dsDetail3"},
                                                            {dsdetail4, "dsdetail4"}};
    for (const auto& [source, name] : sources)
        source->setObjectName(QLatin1String(name));

    qx::kit::column(DBGReport, QStringLiteral("orderID"), QStringLiteral("序号"), 34);
    qx::kit::column(DBGReport, QStringLiteral("ReportName"), QStringLiteral("报表名称"), 341);
    TQxColumn* type = qx::kit::column(DBGReport, QStringLiteral("ReportType"), QStringLiteral("类型"), 69);
    type->SetPickList({StandardType(), SlipType()});
    DBGReport->SetDefaultRowHeight(20);

    QXPanel1->SetCaption(QStringLiteral(" [ESC]退出 [F9]报表预览 [F10]打印"));
    QXPanel1->SetAlignment(taLeftJustify);

    for (QToolButton* editing : {SbnAdd, SptModify, SptDelete, BtnDesign})
        editing->setEnabled(false);
    const std::pair<QToolButton*, void (TFrmAReportDlg::*)(QObject*)> handlers[] = {
        {SbnAdd, &TFrmAReportDlg::SbnAddClick},         {SptModify, &TFrmAReportDlg::SptModifyClick},
        {SptDelete, &TFrmAReportDlg::SptDeleteClick},   {BtnDesign, &TFrmAReportDlg::BtnDesignClick},
        {BtnPreview, &TFrmAReportDlg::BtnPreviewClick}, {BtnPrint, &TFrmAReportDlg::BtnPrintClick},
        {BtnClose, &TFrmAReportDlg::BtnCloseClick},     {BtnDesginState, &TFrmAReportDlg::BtnDesginStateClick}};
    for (const auto& [button, handler] : handlers) {
        connect(button, &QToolButton::clicked, this,
                qx::guarded(this, [this, button = button, handler = handler](auto&&...) { (this->*handler)(button); }));
    }
    // A closed dialog is released. Its engine objects go at once: a report made right after
    // for the same form must not find this dialog's adapters among the form's children.
    OnClose = [this](QObject*, TCloseAction& Action) {
        FreeEngineObjects();
        Action = caFree;
    };
}

TFrmAReportDlg::~TFrmAReportDlg()
{
    FreeEngineObjects();
}

void TFrmAReportDlg::FreeEngineObjects()
{
    // The report and the adapters belong to the calling form, which may outlive the dialog
    // or already be gone; QPointer tells which.
    if (FReport)
        delete FReport.data();
    for (const QPointer<qx::tpl::TemplateDataSet>& adapter : FAdapters) {
        if (adapter)
            delete adapter.data();
    }
    FAdapters.clear();
}

QObject* TFrmAReportDlg::EngineOwner() const
{
    return FOwner ? FOwner.data() : const_cast<TFrmAReportDlg*>(this);
}

QList<qx::tpl::TemplateDataSet*> TFrmAReportDlg::Adapters() const
{
    QList<qx::tpl::TemplateDataSet*> out;
    for (const QPointer<qx::tpl::TemplateDataSet>& adapter : FAdapters) {
        if (adapter)
            out << adapter.data();
    }
    return out;
}

void TFrmAReportDlg::BindDataSets(QObject* Owner, TDataSet* Master, TDataSet* Detail1, TDataSet* Detail2,
                                  TDataSet* Detail3, TDataSet* Detail4)
{
    FOwner = Owner;
    TDataSet* const dataSets[] = {Master, Detail1, Detail2, Detail3, Detail4};
    TDataSource* const sources[] = {DsMaster, DsDetail1, dsDetail2, dsDetail3, dsdetail4};
    for (int i = 0; i < 5; ++i) {
        if (!dataSets[i])
            continue;
        sources[i]->SetDataSet(dataSets[i]);
        auto* adapter = new qx::tpl::TemplateDataSet(EngineOwner());
        adapter->setObjectName(QLatin1String(kAdapterNames[i]));
        adapter->SetDataSource(sources[i]);
        FAdapters << adapter;
    }
}

void TFrmAReportDlg::OpenTemplates(const QString& ReportClass, TADOConnection* Connection)
{
    FReportClass = ReportClass;
    TblReport->SetConnection(Connection);
    TblReport->Close();
    TblReport->ParamByName(QStringLiteral("ReportClass"))->setValue(ReportClass);
    TblReport->Open();
}

bool TFrmAReportDlg::CurrentIsStandard() const
{
    if (!TblReport->Active() || TblReport->IsEmpty())
        return false;
    return TblReport->FieldByName(QStringLiteral("ReportType"))->AsString() == StandardType();
}

void TFrmAReportDlg::LoadCurrentTemplate()
{
    if (FReport)
        delete FReport.data();
    auto* report = new qx::tpl::TemplateReport(EngineOwner());
    FReport = report;
    // The adapters are found among the owner's children; those added make sure of it when the
    // dialog itself holds them.
    for (qx::tpl::TemplateDataSet* adapter : Adapters())
        report->AddDataSet(adapter);
    report->LoadFromBlob(TblReport);
    report->SetTitle(TblReport->FieldByName(QStringLiteral("ReportName"))->AsString());
}

void TFrmAReportDlg::SbnAddClick(QObject*)
{
    TblReport->Append();
    DBGReport->setFocus();
    DBGReport->SetSelectedIndex(0);
}

void TFrmAReportDlg::SptModifyClick(QObject*)
{
    TblReport->Edit();
    DBGReport->setFocus();
    DBGReport->SetSelectedIndex(1); // ReportName
}

void TFrmAReportDlg::SptDeleteClick(QObject*)
{
    const int answer = qx::messageBox(this, QStringLiteral("是否要删除该报表？"), QStringLiteral("操作提示"),
                                      qx::MessageIcon::Question, {qx::mrYes, qx::mrNo}, qx::mrNo);
    if (answer == qx::mrYes)
        TblReport->Delete();
}

void TFrmAReportDlg::BtnDesignClick(QObject*)
{
    // A new row that is still being typed counts: its template starts empty.
    if (!TblReport->Active() || TblReport->IsEmpty() ||
        TblReport->FieldByName(QStringLiteral("ReportType"))->AsString() != StandardType())
        return;
    LoadCurrentTemplate();
    FReport->DesignReport(this);
    if (TblReport->State() != dsInsert && TblReport->State() != dsEdit)
        TblReport->Edit();
    FReport->SaveToBlob(TblReport);
    TblReport->Post();
}

void TFrmAReportDlg::BtnPreviewClick(QObject*)
{
    if (!CurrentIsStandard())
        return;
    LoadCurrentTemplate();
    FReport->PrepareReport();
    FReport->ShowPreparedReport();
}

void TFrmAReportDlg::BtnPrintClick(QObject*)
{
    if (!CurrentIsStandard())
        return;
    LoadCurrentTemplate();
    if (FReport->PrepareReport())
        FReport->PrintPreparedReport(this);
}

void TFrmAReportDlg::BtnCloseClick(QObject*)
{
    Close();
}

void TFrmAReportDlg::BtnDesginStateClick(QObject*)
{
    // The editing buttons need no right.
    for (QToolButton* editing : {SbnAdd, SptModify, BtnDesign, SptDelete})
        editing->setEnabled(true);
}

void TFrmAReportDlg::TblReportBeforePost(TDataSet* DataSet)
{
    DataSet->FieldByName(QStringLiteral("ReportClass"))->SetAsString(FReportClass);
}

void TFrmAReportDlg::TblReportNewRecord(TDataSet* DataSet)
{
    DataSet->FieldByName(QStringLiteral("OrderID"))->SetAsInteger(DataSet->RecordCount() + 1);
    DataSet->FieldByName(QStringLiteral("ReportType"))->SetAsString(StandardType());
}

void TFrmAReportDlg::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    // A key taken here goes no further (Key := 0), so the grid does not see it again.
    if (Key == VK_F9) {
        Key = 0;
        qx::guard(this, [&] { BtnPreviewClick(Sender); });
    } else if (Key == VK_F10) {
        Key = 0;
        qx::guard(this, [&] { BtnPrintClick(Sender); });
    } else {
        TFrmBase::FormKeyDown(Sender, Key, Shift); // Esc closes
    }
}

void ShowReportDialog(const QString& ReportClass, QWidget* Owner, TADOConnection* Connection, TDataSet* Master,
                      TDataSet* Detail1, TDataSet* Detail2, TDataSet* Detail3, TDataSet* Detail4)
{
    // Templates may use the library's report functions (RMBDX, the amount in capitals...).
    registerLibraryExpressionFunctions();
    auto dialog = std::make_unique<TFrmAReportDlg>(Owner);
    dialog->BindDataSets(Owner, Master, Detail1, Detail2, Detail3, Detail4);
    TADOConnection* connection = dmdataUnit ? dmdataUnit->ADOConnection : Connection;
    try {
        dialog->OpenTemplates(ReportClass, connection);
    } catch (...) {
        qx::showCurrentException(Owner);
        return;
    }
    // From here the dialog frees itself when it closes.
    qx::DialogService::instance().execDialog(*dialog.release());
}
