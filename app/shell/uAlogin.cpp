#include "app/shell/uAlogin.h"

#include "app/data/dmData.h"
#include "app/schema/Password.h"
#include "app/shell/uAppExit.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Keys.h"
#include "app/shell/ColorPanel.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/forms/QxFormKit.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QStackedWidget>

namespace {

QLineEdit* passwordEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setEchoMode(QLineEdit::Password);
    edit->setFrame(true);
    return edit;
}

} // namespace

TFrmALogin::TFrmALogin(QWidget* parent)
    : TFrmABase(parent),
      Image1(new qx::app::ColorPanel(this)),
      Notebook1(new QStackedWidget(this)),
      PageChange(new QWidget),
      PageDefault(new QWidget),
      Label1(qx::kit::label(PageChange, "Label1", QStringLiteral("用户名称："), 28, 22)),
      CbxUsercode(new QComboBox(PageChange)),
      Label2(qx::kit::label(PageChange, "Label2", QStringLiteral("用户口令："), 28, 60)),
      EdtPassword(passwordEdit(PageChange, "EdtPassword")),
      BtnLogin(qx::kit::button(PageChange, "BtnLogin", QStringLiteral("登陆"),
                               {28, 104, 80, 26})),
      BtnCancel(qx::kit::button(PageChange, "BtnCancel", QStringLiteral("取消"),
                                {124, 104, 80, 26})),
      BtnChangePassword(qx::kit::button(PageChange, "BtnChangePassword",
                                        QStringLiteral("更改口令"), {220, 104, 80, 26})),
      Label3(qx::kit::label(PageDefault, "Label3", QStringLiteral("输入新的口令："), 16, 22)),
      Edit2(passwordEdit(PageDefault, "Edit2")),
      Label4(qx::kit::label(PageDefault, "Label4", QStringLiteral("确 认  口 令："), 16, 60)),
      Edit3(passwordEdit(PageDefault, "Edit3")),
      BtnOk(qx::kit::button(PageDefault, "BtnOk", QStringLiteral(" 确定"), {76, 104, 80, 26})),
      BtnCancelPassword(qx::kit::button(PageDefault, "BtnCancelPassword", QStringLiteral("取消"),
                                        {172, 104, 80, 26}))
{
    setObjectName(QStringLiteral("FrmALogin"));
    SetCaption(QStringLiteral("请输入口令"));
    QFont serif = font();
    serif.setFamilies({QStringLiteral("MS Serif"), font().family()});
    setFont(serif);
    resize(336, 250);
    pnlleft->SetVisible(false);

    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->SetAlign(alTop);
    Image1->SetHeight(79);
    Image1->SetColor(TColor(0xB5723A));
    Image1->SetFontColor(clWhite);
    Image1->SetCaption(QGuiApplication::applicationDisplayName());

    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    PageChange->setObjectName(QStringLiteral("Change"));
    PageDefault->setObjectName(QStringLiteral("Default"));
    Notebook1->addWidget(PageChange);
    Notebook1->addWidget(PageDefault);
    qx::setAlign(Notebook1, alClient);

    CbxUsercode->setObjectName(QStringLiteral("CbxUsercode"));
    CbxUsercode->setEditable(false);
    CbxUsercode->setGeometry(112, 18, 188, 22);
    EdtPassword->setGeometry(112, 56, 188, 22);
    Edit2->setGeometry(112, 18, 188, 22);
    Edit3->setGeometry(112, 56, 188, 22);
    setTabOrder(CbxUsercode, EdtPassword);
    setTabOrder(EdtPassword, BtnLogin);
    setTabOrder(BtnLogin, BtnCancel);
    setTabOrder(BtnCancel, BtnChangePassword);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, BtnOk);
    setTabOrder(BtnOk, BtnCancelPassword);

    qx::kit::onClick(BtnLogin, this, &TFrmALogin::BtnLoginClick);
    qx::kit::onClick(BtnCancel, this, &TFrmALogin::BtnCancelClick);
    qx::kit::onClick(BtnChangePassword, this, &TFrmALogin::BtnChangePasswordClick);
    qx::kit::onClick(BtnOk, this, &TFrmALogin::BtnOkClick);
    qx::kit::onClick(BtnCancelPassword, this, &TFrmALogin::BtnCancelPasswordClick);

    SetActivePage(QStringLiteral("Change"));
}

TFrmALogin::~TFrmALogin() = default;

void TFrmALogin::SetChangeOperator(const QString& Previous)
{
    FChangeOperator = true;
    FPreviousUser = Previous;
}

QString TFrmALogin::ActivePage() const
{
    return Notebook1->currentWidget() ? Notebook1->currentWidget()->objectName() : QString();
}

void TFrmALogin::SetActivePage(const QString& Name)
{
    for (int i = 0; i < Notebook1->count(); ++i) {
        if (Notebook1->widget(i)->objectName() == Name) {
            Notebook1->setCurrentIndex(i);
            return;
        }
    }
}

void TFrmALogin::FormShow(QObject* Sender)
{
    TFrmABase::FormShow(Sender);
    qx::guard(this, [&] {
        TADOQuery* q = dmdataUnit->QryTemp;
        q->Close();
        q->SQL().SetText(QStringLiteral("Select distinct UserCode from t_UserDB"));
        q->Open();
        CbxUsercode->clear();
        for (q->First(); !q->Eof(); q->Next())
            CbxUsercode->addItem(q->FieldByName(QStringLiteral("UserCode"))->AsString());
    });
    if (ActivePage() == QLatin1String("Change"))
        EdtPassword->setFocus();
}

void TFrmALogin::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmABase::FormKeyDown(Sender, Key, Shift);
    if (Key != VK_RETURN && Key != VK_UP)
        return;
    QWidget* focused = focusWidget();
    if (focused != EdtPassword && focused != Edit2 && focused != Edit3)
        return;
    focusNextPrevChild(Key == VK_RETURN);
    Key = 0;
}

bool TFrmALogin::PasswordMatches()
{
    const QString code = CbxUsercode->currentText();
    TADOQuery* q = dmdataUnit->QryTemp;
    q->Close();
    q->SQL().SetText(QStringLiteral(
        "Select UserCode, PassWord from t_UserDB where UserCode = :UserCode"));
    q->ParamByName(QStringLiteral("UserCode"))->setValue(code);
    q->Open();
    if (q->IsEmpty()) {
        qx::showMessage(QStringLiteral("此用户不存在"), this);
        return false;
    }
    const QString stored = q->FieldByName(QStringLiteral("PassWord"))->AsString();
    q->Close();
    const QString typed = EdtPassword->text();
    switch (qx::app::verifyPassword(stored, typed)) {
    case qx::app::PasswordCheck::Mismatch:
        qx::showMessage(QStringLiteral("口令不对请重新输入"), this);
        return false;
    case qx::app::PasswordCheck::MatchNeedsRehash:
        WritePassword(code, typed);
        break;
    case qx::app::PasswordCheck::Match:
        break;
    }
    return true;
}

void TFrmALogin::WritePassword(const QString& UserCode, const QString& Password)
{
    const QString hash = qx::app::hashPassword(Password);
    TADOConnection* connection = dmdataUnit->ADOConnection;
    // All rows of the operator carry the password: they change together or not at all.
    connection->BeginTrans();
    try {
        connection->Execute(
            QStringLiteral("update t_UserDB set PassWord = :PassWord where UserCode = :UserCode"),
            QVariantMap{{QStringLiteral("PassWord"), hash}, {QStringLiteral("UserCode"), UserCode}});
        connection->CommitTrans();
    } catch (...) {
        if (connection->InTransaction())
            connection->RollbackTrans();
        throw;
    }
}

void TFrmALogin::BtnLoginClick(QObject*)
{
    CurrentUser.clear();
    if (!PasswordMatches())
        return;
    CurrentUser = CbxUsercode->currentText();
    Close();
}

void TFrmALogin::BtnCancelClick(QObject*)
{
    if (FChangeOperator) {
        // Cancelling a change of operator keeps the operator who was working, also after a
        // failed attempt emptied CurrentUser.
        CurrentUser = FPreviousUser;
        Close();
        return;
    }
    if (CurrentUser.isEmpty()) {
        qx::app::terminateProgram();
        Close();
    }
}

void TFrmALogin::BtnChangePasswordClick(QObject*)
{
    if (!PasswordMatches())
        return;
    CurrentUser = CbxUsercode->currentText();
    Edit2->clear();
    Edit3->clear();
    SetActivePage(QStringLiteral("Default"));
    Edit2->setFocus();
}

void TFrmALogin::BtnOkClick(QObject*)
{
    const QString entry = Edit2->text();
    if (qx::app::foldPasswordCase(entry) != qx::app::foldPasswordCase(Edit3->text()))
        return;
    WritePassword(CbxUsercode->currentText(), entry);
    EdtPassword->clear();
    SetActivePage(QStringLiteral("Change"));
    EdtPassword->setFocus();
}

void TFrmALogin::BtnCancelPasswordClick(QObject*)
{
    SetActivePage(QStringLiteral("Change"));
}
