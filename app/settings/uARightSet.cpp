#include "app/settings/uARightSet.h"

#include "app/data/dmData.h"
#include "app/schema/OperatorRights.h"
#include "app/settings/OperatorRows.h"
#include "app/settings/RightsCatalog.h"
#include "app/shell/ColorPanel.h"
#include "platform/db/DB.h"
#include "platform/db/DataSource.h"
#include "platform/env/DialogService.h"
#include "platform/ui/AlignLayout.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/checks/uQxListBox.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/forms/QxFormKit.h"

#include <QAction>
#include <QMenu>
#include <QStackedWidget>

TFrmRightSet::TFrmRightSet(QMenu* ReportMenu, QWidget* parent)
    : TFrmABase(parent),
      qryUser(new TQxADOQuery(this)),
      dsUser(new TDataSource(this)),
      QryRight(new TQxADOQuery(this)),
      dsRight(new TDataSource(this)),
      Notebook1(new QStackedWidget(this)),
      PageUser(new QWidget),
      PageRight(new QWidget),
      DBGrid1(qx::kit::dbGrid(PageUser, "DBGrid1", {16, 16, 352, 300}, dsUser)),
      BtnAdd(qx::kit::button(PageUser, "BtnAdd", QStringLiteral("增加"), {396, 40, 100, 28})),
      BtnDelete(qx::kit::button(PageUser, "BtnDelete", QStringLiteral("删除"), {396, 84, 100, 28})),
      BtnGrant(qx::kit::button(PageUser, "BtnGrant", QStringLiteral("授权"), {396, 128, 100, 28})),
      LblHeld(qx::kit::label(PageRight, "LblHeld", QStringLiteral("已有权限"), 16, 8)),
      LblAvailable(qx::kit::label(PageRight, "LblAvailable", QStringLiteral("限范围权"),
                                  {391, 8, 160, 16})),
      listbox1(qx::kit::make<TQxListBox>(PageRight, "listbox1", {16, 28, 215, 270})),
      listbox2(qx::kit::make<TQxListBox>(PageRight, "listbox2", {336, 28, 215, 270})),
      BtnAddRight(qx::kit::button(PageRight, "BtnAddRight", QStringLiteral("<<增权"),
                                  {243, 60, 81, 26})),
      BtnRemoveRight(qx::kit::button(PageRight, "BtnRemoveRight", QStringLiteral("去权>>"),
                                     {243, 100, 81, 26})),
      BtnAddAll(qx::kit::button(PageRight, "BtnAddAll", QStringLiteral("<<全部"),
                                {243, 140, 81, 26})),
      BtnRemoveAll(qx::kit::button(PageRight, "BtnRemoveAll", QStringLiteral("全部>>"),
                                   {243, 180, 81, 26})),
      BtnOk(qx::kit::button(PageRight, "BtnOk", QStringLiteral("确定(&Y)"), {238, 308, 91, 28})),
      FReportMenu(ReportMenu)
{
    setObjectName(QStringLiteral("FrmRightSet"));
    SetCaption(QStringLiteral("操作员及权限"));
    resize(567, 370);
    pnlleft->SetVisible(false);

    qryUser->setObjectName(QStringLiteral("qryUser"));
    qryUser->SetConnection(dmdataUnit->ADOConnection);
    // Ordered by code, as the operators have always been listed.
    qryUser->SQL().SetText(
        QStringLiteral("Select distinct UserCode from t_UserDB order by UserCode"));
    dsUser->setObjectName(QStringLiteral("dsUser"));
    dsUser->SetDataSet(qryUser);

    // The parameter follows the operator current in the grid.
    QryRight->setObjectName(QStringLiteral("QryRight"));
    QryRight->SetConnection(dmdataUnit->ADOConnection);
    QryRight->SQL().SetText(
        QStringLiteral("Select * from t_UserDB where UserCode = :UserCode order by rowid"));
    QryRight->SetDataSource(dsUser);
    dsRight->setObjectName(QStringLiteral("dsRight"));
    dsRight->SetDataSet(QryRight);

    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    PageUser->setObjectName(QStringLiteral("User"));
    PageRight->setObjectName(QStringLiteral("Right"));
    Notebook1->addWidget(PageUser);
    Notebook1->addWidget(PageRight);
    qx::setAlign(Notebook1, alClient);

    DBGrid1->SetReadOnly(true);
    DBGrid1->SetDefaultRowHeight(20);
    qx::kit::column(DBGrid1, QStringLiteral("UserCode"), QStringLiteral("用户"), 318);
    LblAvailable->SetAlignment(taRightJustify);

    qx::kit::onClick(BtnAdd, this, &TFrmRightSet::BtnAddClick);
    qx::kit::onClick(BtnDelete, this, &TFrmRightSet::BtnDeleteClick);
    qx::kit::onClick(BtnGrant, this, &TFrmRightSet::BtnGrantClick);
    qx::kit::onClick(BtnAddRight, this, &TFrmRightSet::BtnAddRightClick);
    qx::kit::onClick(BtnRemoveRight, this, &TFrmRightSet::BtnRemoveRightClick);
    qx::kit::onClick(BtnAddAll, this, &TFrmRightSet::BtnAddAllClick);
    qx::kit::onClick(BtnRemoveAll, this, &TFrmRightSet::BtnRemoveAllClick);
    qx::kit::onClick(BtnOk, this, &TFrmRightSet::BtnOkClick);

    SetActivePage(QStringLiteral("User"));
}

TFrmRightSet::~TFrmRightSet() = default;

QString TFrmRightSet::ActivePage() const
{
    return Notebook1->currentWidget() ? Notebook1->currentWidget()->objectName() : QString();
}

void TFrmRightSet::SetActivePage(const QString& Name)
{
    for (int i = 0; i < Notebook1->count(); ++i) {
        if (Notebook1->widget(i)->objectName() == Name) {
            Notebook1->setCurrentIndex(i);
            return;
        }
    }
}

QStringList TFrmRightSet::ReportMenuCaptions() const
{
    QStringList captions;
    if (!FReportMenu)
        return captions;
    for (const QAction* item : FReportMenu->actions())
        captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
    return captions;
}

void TFrmRightSet::FormShow(QObject* Sender)
{
    TFrmABase::FormShow(Sender);
    qryUser->Open();
    QryRight->Open();
    SetActivePage(QStringLiteral("User"));
}

QString TFrmRightSet::SelectedOperator() const
{
    if (!qryUser->Active() || qryUser->IsEmpty())
        return QString();
    return qryUser->FieldByName(QStringLiteral("UserCode"))->AsString();
}

bool TFrmRightSet::IsAdministrator(const QString& Code) const
{
    // Codes compare as the database compares them, without letter case.
    return Code.compare(qx::app::administratorCode(), Qt::CaseInsensitive) == 0;
}

void TFrmRightSet::ReopenUsers()
{
    qryUser->Close();
    qryUser->Open();
    if (!QryRight->Active())
        QryRight->Open();
}

void TFrmRightSet::BtnAddClick(QObject*)
{
    const QString prompt = QStringLiteral("请输入新增用户代号");
    const std::optional<QString> code =
        qx::DialogService::instance().inputBox(this, prompt, prompt, QString());
    // An empty answer, or a code already listed, adds nothing and says nothing.
    if (code && !code->isEmpty())
        qx::app::addOperatorRow(*dmdataUnit->ADOConnection, *code);
    ReopenUsers();
}

void TFrmRightSet::BtnDeleteClick(QObject*)
{
    const QString code = SelectedOperator();
    if (IsAdministrator(code)) {
        qx::showMessage(QStringLiteral("高级用户不能删除!"), this);
        return;
    }
    // The last operator stays: nobody could log in any more.
    if (qryUser->RecordCount() <= 1)
        return;
    qx::app::deleteOperatorRows(*dmdataUnit->ADOConnection, code);
    ReopenUsers();
}

void TFrmRightSet::BtnGrantClick(QObject*)
{
    if (IsAdministrator(SelectedOperator())) {
        qx::showMessage(QStringLiteral("高级用户已经拥有所有权限!"), this);
        return;
    }
    if (!qryUser->Active() || qryUser->IsEmpty())
        return;
    SetActivePage(QStringLiteral("Right"));

    listbox2->Items()->Clear();
    for (const QString& right : qx::app::offeredRights(ReportMenuCaptions()))
        listbox2->Items()->Add(right);

    listbox1->Items()->Clear();
    qx::ControlsGuard frozen(QryRight);
    for (QryRight->First(); !QryRight->Eof(); QryRight->Next()) {
        const QString right = QryRight->FieldByName(QStringLiteral("Right"))->AsString();
        listbox1->Items()->Add(right);
        const int offered = listbox2->Items()->IndexOf(right);
        if (offered >= 0)
            listbox2->Items()->Delete(offered);
    }
    QryRight->First();
}

void TFrmRightSet::BtnAddRightClick(QObject*)
{
    const int index = listbox2->ItemIndex();
    if (index < 0)
        return;
    const QString right = listbox2->Items()->Strings(index);
    if (listbox1->Items()->IndexOf(right) >= 0)
        return;
    listbox1->Items()->Add(right);
    listbox2->Items()->Delete(index);
}

void TFrmRightSet::BtnRemoveRightClick(QObject*)
{
    const int index = listbox1->ItemIndex();
    if (index < 0)
        return;
    const QString right = listbox1->Items()->Strings(index);
    if (listbox2->Items()->IndexOf(right) >= 0)
        return;
    listbox2->Items()->Add(right);
    listbox1->Items()->Delete(index);
}

void TFrmRightSet::BtnAddAllClick(QObject* Sender)
{
    for (int n = listbox2->Items()->Count(); n > 0; --n) {
        listbox2->SetItemIndex(0);
        BtnAddRightClick(Sender);
    }
}

void TFrmRightSet::BtnRemoveAllClick(QObject* Sender)
{
    for (int n = listbox1->Items()->Count(); n > 0; --n) {
        listbox1->SetItemIndex(0);
        BtnRemoveRightClick(Sender);
    }
}

void TFrmRightSet::BtnOkClick(QObject*)
{
    SetActivePage(QStringLiteral("User"));
    if (!QryRight->Active() || QryRight->IsEmpty())
        return;
    // The operator's password hash and remark go onto every new row as they were stored.
    const QString code = QryRight->FieldByName(QStringLiteral("UserCode"))->AsString();
    const QVariant password = QryRight->FieldByName(QStringLiteral("Password"))->Value();
    const QVariant remark = QryRight->FieldByName(QStringLiteral("Remark"))->Value();
    qx::app::replaceOperatorRights(*dmdataUnit->ADOConnection, code, password, remark,
                                   listbox1->Items()->Text());
    QryRight->Close();
    QryRight->Open();
}
