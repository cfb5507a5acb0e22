// TFrmAReportDlg: the print window every print button of the application goes through. It lists
// the stored templates of one document class (rows of tRctReport), previews or prints the
// caller's data with the chosen one, and after "编辑" lets the operator add, rename, delete and
// design templates.
//
// The caller's datasets reach a template under fixed names: the master as "Mstdataset", the
// details as "DltDataset1" to "DltDataset4". The report object and the dataset adapters are
// made owned by the calling form and are freed with the dialog. Rows of type "小票式" can be
// chosen, but design, preview and print leave them alone.
#pragma once

#include "platform/template/TemplateReport.h"
#include "usystem/vcl/controls/uBase.h"

#include <QList>
#include <QPointer>
#include <QString>

class QToolBar;
class QToolButton;
class TADOConnection;
class TDataSet;
class TDataSource;
class TQxADOQuery;
class TQxDBGrid;
class TQxPanel;

class TFrmAReportDlg : public TFrmBase
{
    Q_OBJECT

public:
    explicit TFrmAReportDlg(QWidget* parent = nullptr);
    ~TFrmAReportDlg() override;

    // The template types of the list.
    static QString StandardType() { return QStringLiteral("标准式"); }
    static QString SlipType() { return QStringLiteral("小票式"); }

    QToolBar* const PnlTool;
    QToolButton* const SbnAdd;
    QToolButton* const SptModify;
    QToolButton* const SptDelete;
    QToolButton* const BtnDesign;
    QToolButton* const BtnPreview;
    QToolButton* const BtnPrint;
    QToolButton* const BtnClose;
    QToolButton* const BtnDesginState;
    TQxPanel* const QXPanel1;
    TQxADOQuery* const TblReport;
    TDataSource* const DsReport;
    TQxDBGrid* const DBGReport;
    TDataSource* const DsMaster;
    TDataSource* const DsDetail1;
    TDataSource* const dsDetail2;
    TDataSource* const dsDetail3;
    TDataSource* const dsdetail4;

    // The document class whose templates are listed; every posted row takes it.
    QString ReportClass() const { return FReportClass; }
    // The form the report object and the adapters belong to (the dialog itself when none).
    QObject* EngineOwner() const;
    // The report object of the last design, preview or print (nullptr before one).
    qx::tpl::TemplateReport* Report() const { return FReport; }
    // The adapters made for the caller's datasets, in the order master, details 1 to 4.
    QList<qx::tpl::TemplateDataSet*> Adapters() const;

    // Binds the caller's datasets (any may be null) and remembers the owner of the engine
    // objects; see ShowReportDialog.
    void BindDataSets(QObject* Owner, TDataSet* Master, TDataSet* Detail1, TDataSet* Detail2, TDataSet* Detail3,
                      TDataSet* Detail4);
    // Reads the templates of the class, in list order, from connection.
    void OpenTemplates(const QString& ReportClass, TADOConnection* Connection);

    void SbnAddClick(QObject* Sender);
    void SptModifyClick(QObject* Sender);
    void SptDeleteClick(QObject* Sender);
    void BtnDesignClick(QObject* Sender);
    void BtnPreviewClick(QObject* Sender);
    void BtnPrintClick(QObject* Sender);
    void BtnCloseClick(QObject* Sender);
    void BtnDesginStateClick(QObject* Sender);
    void TblReportBeforePost(TDataSet* DataSet);
    void TblReportNewRecord(TDataSet* DataSet);
    // Esc closes, F9 previews, F10 prints.
    void FormKeyDown(QObject* Sender, int& Key, TShiftState Shift) override;

private:
    // True when the current row is a "标准式" template of a list that is not empty.
    bool CurrentIsStandard() const;
    // Frees the current report object and makes a new one holding the current row's template
    // and title.
    void LoadCurrentTemplate();
    void FreeEngineObjects();

    QString FReportClass;
    QPointer<QObject> FOwner;
    QPointer<qx::tpl::TemplateReport> FReport;
    QList<QPointer<qx::tpl::TemplateDataSet>> FAdapters;
};

// Opens the print window over the templates of ReportClass with the caller's datasets (any
// may be null) and shows it modally; it frees itself and its engine objects when it closes.
// The template list is read through the data module's connection (Connection when there is
// no data module).
void ShowReportDialog(const QString& ReportClass, QWidget* Owner, TADOConnection* Connection, TDataSet* Master,
                      TDataSet* Detail1, TDataSet* Detail2, TDataSet* Detail3, TDataSet* Detail4);
