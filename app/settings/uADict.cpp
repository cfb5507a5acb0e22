#include "app/settings/uADict.h"

#include "platform/db/DataSet.h"
#include "app/data/dmData.h"
#include "app/settings/InputCodes.h"
#include "app/shell/ColorPanel.h"
#include "platform/db/DataSource.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/env/DialogService.h"
#include "platform/ui/AlignLayout.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/forms/QxFormKit.h"
#include "usystem/vcl/foundation/ImeDictionary.h"
#include "usystem/vcl/foundation/uQxFuncs.h"

#include <QTabWidget>

#include <exception>

namespace {

const QString kIncFile = QStringLiteral("INC.ini");
const QString kHomeSection = QStringLiteral("主界面");
const QString kHomeKey = QStringLiteral("主页");

} // namespace

TFrmSystemSetup::TFrmSystemSetup(QWidget* parent)
    : TFrmABase(parent),
      dsTitle(new TDataSource(this)),
      PageControl1(new QTabWidget(this)),
      TabSystem(new QWidget),
      TabReport(new QWidget),
      cbxStock(qx::kit::checkBox(TabSystem, "cbxStock", QStringLiteral("启用库存管理"),
                                 {32, 28, 240, 20})),
      CbxBackup(qx::kit::checkBox(TabSystem, "CbxBackup", QStringLiteral("系统退出时提示备份"),
                                  {32, 60, 240, 20})),
      LblHomepage(qx::kit::label(TabSystem, "LblHomepage", QStringLiteral("主页："), 32, 100)),
      EdtHomepage(qx::kit::edit(TabSystem, "EdtHomepage", {80, 96, 420, 22})),
      BtnMakeCodes(qx::kit::button(TabSystem, "BtnMakeCodes", QStringLiteral("生成拼音五笔码"),
                                   {32, 144, 150, 28})),
      LblCorpName(qx::kit::label(TabReport, "LblCorpName", QStringLiteral("公司名称："), 32, 32)),
      EdtCorpName(qx::kit::dbEdit(TabReport, "EdtCorpName", {112, 28, 480, 22}, dsTitle,
                                  QStringLiteral("CorpName"))),
      LblCorpTel(qx::kit::label(TabReport, "LblCorpTel", QStringLiteral("电话："), 32, 64)),
      EdtCorpTel(qx::kit::dbEdit(TabReport, "EdtCorpTel", {112, 60, 240, 22}, dsTitle,
                                 QStringLiteral("CorpTel"))),
      LblCorpFax(qx::kit::label(TabReport, "LblCorpFax", QStringLiteral("传真："), 32, 96)),
      EdtCorpFax(qx::kit::dbEdit(TabReport, "EdtCorpFax", {112, 92, 240, 22}, dsTitle,
                                 QStringLiteral("CorpFax"))),
      LblCorpAddr(qx::kit::label(TabReport, "LblCorpAddr", QStringLiteral("地址："), 32, 128)),
      EdtCorpAddr(qx::kit::dbEdit(TabReport, "EdtCorpAddr", {112, 124, 480, 22}, dsTitle,
                                  QStringLiteral("CorpAddr"))),
      LblLinkMen(qx::kit::label(TabReport, "LblLinkMen", QStringLiteral("联系人："), 32, 160)),
      EdtLinkMen(qx::kit::dbEdit(TabReport, "EdtLinkMen", {112, 156, 240, 22}, dsTitle,
                                 QStringLiteral("LinkMen")))
{
    setObjectName(QStringLiteral("FrmSystemSetup"));
    SetCaption(QStringLiteral("系统设置"));
    resize(729, 300);
    pnlleft->SetVisible(false);

    dsTitle->setObjectName(QStringLiteral("dsTitle"));
    dsTitle->SetDataSet(dmdataUnit->QryTitle);

    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSystem->setObjectName(QStringLiteral("TabSystem"));
    TabReport->setObjectName(QStringLiteral("TabReport"));
    PageControl1->addTab(TabSystem, QStringLiteral("系统功能"));
    PageControl1->addTab(TabReport, QStringLiteral("报表设置"));
    qx::setAlign(PageControl1, alClient);

    qx::kit::onClick(BtnMakeCodes, this, &TFrmSystemSetup::BtnMakeCodesClick);
    OnClose = [this](QObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

TFrmSystemSetup::~TFrmSystemSetup() = default;

void TFrmSystemSetup::FormShow(QObject* Sender)
{
    TFrmABase::FormShow(Sender);
    EdtHomepage->setText(ReadIniValue(ExeFolderPath(kIncFile), kHomeSection, kHomeKey,
                                      QStringLiteral("index.htm"))
                             .toString());
    TADOQuery* title = dmdataUnit->QryTitle;
    if (!title->Active())
        title->Open();
    const bool hasRow = !title->IsEmpty();
    cbxStock->SetChecked(hasRow && title->FieldByName(QStringLiteral("isStock"))->AsBoolean());
    CbxBackup->SetChecked(hasRow && title->FieldByName(QStringLiteral("isBackup"))->AsBoolean());
}

void TFrmSystemSetup::FormClose(QObject* Sender, TCloseAction& Action)
{
    TFrmABase::FormClose(Sender, Action);
    TADOQuery* title = dmdataUnit->QryTitle;
    const bool stockBefore = StockEnabled;
    const bool backupBefore = BackupOnExit;
    std::exception_ptr homepageError;
    try {
        if (!title->Active())
            title->Open();
        // Edit on an empty table appends: the first close makes the settings row.
        if (title->State() != dsEdit && title->State() != dsInsert)
            title->Edit();
        title->FieldByName(QStringLiteral("isStock"))->SetAsBoolean(cbxStock->Checked());
        StockEnabled = cbxStock->Checked();
        try {
            WriteIniString(ExeFolderPath(kIncFile), kHomeSection, kHomeKey, EdtHomepage->Text());
        } catch (...) {
            // The shop's data typed on the other page is saved all the same.
            homepageError = std::current_exception();
        }
        title->FieldByName(QStringLiteral("isBackup"))->SetAsBoolean(CbxBackup->Checked());
        BackupOnExit = CbxBackup->Checked();
        title->Post();
    } catch (...) {
        // Nothing of the row was stored, so the flags stay what the stored row says.
        StockEnabled = stockBefore;
        BackupOnExit = backupBefore;
        try {
            if (qx::isEditing(title))
                title->Cancel();
            title->Close();
        } catch (...) {
        }
        throw;
    }
    // Readers open it again when they need it.
    title->Close();
    if (homepageError)
        std::rethrow_exception(homepageError);
}

void TFrmSystemSetup::BtnMakeCodesClick(QObject*)
{
    // A missing or unreadable dictionary would give every row empty codes: nothing is written.
    ImeDictionary dictionary;
    if (!dictionary.load(ExeFolderPath(QStringLiteral("Ime.DCT"))) || dictionary.isEmpty()) {
        qx::showMessage(QStringLiteral("没有找到Ime.DCT文件，不能生成拼音五笔码!"), this);
        return;
    }
    qx::app::fillInputCodes(*dmdataUnit->QryTemp, dictionary);
    qx::showMessage(QStringLiteral("生成成功!"), this);
}
