#include "app/find/uQxFind.h"

#include "app/data/dmData.h"
#include "app/master/uAselect.h"
#include "app/shell/ColorPanel.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/env/DialogService.h"
#include "platform/ui/AlignLayout.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/combos/uQxComboBox.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/edits/uQxEdits.h"
#include "usystem/vcl/forms/QxFormKit.h"

#include <QLineEdit>
#include <QStackedWidget>

#include <memory>

using namespace qx::app::find;

TFrmFind::TFrmFind(QWidget* parent)
    : TFrmABase(parent),
      Notebook1(new QStackedWidget(this)),
      PnlBottom(qx::kit::panel(this, "PnlBottom", alBottom, 40)),
      LblHint(qx::kit::label(PnlBottom, "LblHint", QStringLiteral("F12 确定查询  ESC 取消退出"), 12, 14)),
      BtnOK(qx::kit::button(PnlBottom, "BtnOK", QStringLiteral("确定"), {428, 7, 80, 26})),
      BtnClose(qx::kit::button(PnlBottom, "BtnClose", QStringLiteral("取消"), {520, 7, 80, 26}))
{
    setObjectName(QStringLiteral("FrmFind"));
    SetCaption(QStringLiteral("查询"));
    resize(624, 360);
    pnlleft->setVisible(false);

    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    qx::setAlign(Notebook1, alClient);
    const auto wirePick = [this](TQxEdit* edit) {
        qx::kit::on(edit->OnButtonClick, this, &TFrmFind::PickButtonClick);
    };
    for (const FindPage& page : FindPages()) {
        auto* sheet = new QWidget;
        sheet->setObjectName(page.Name);
        Notebook1->addWidget(sheet);
        BuildFindPage(sheet, page, FInputs, wirePick);
    }
    SetActivePage(QString::fromUtf16(kDefaultPage));

    qx::kit::onClick(BtnOK, this, &TFrmFind::BtnOKClick);
    qx::kit::onClick(BtnClose, this, &TFrmFind::BtnCloseClick);
}

TFrmFind::~TFrmFind() = default;

QString TFrmFind::ActivePage() const
{
    return Notebook1->currentWidget() ? Notebook1->currentWidget()->objectName() : QString();
}

void TFrmFind::SetActivePage(const QString& Name)
{
    for (int i = 0; i < Notebook1->count(); ++i)
        if (Notebook1->widget(i)->objectName().compare(Name, Qt::CaseInsensitive) == 0) {
            Notebook1->setCurrentIndex(i);
            return;
        }
}

void TFrmFind::FormShow(QObject* Sender)
{
    TFrmABase::FormShow(Sender);
    // The types are data, read after the look pass has been over the captions.
    const QString page = ActivePage();
    for (const FindInputs& in : FInputs) {
        if (!in.Condition || in.Condition->Page != page || in.Condition->ValuesSql.isEmpty() || !in.ValueList)
            continue;
        TADOQuery* query = dmdataUnit->QryTemp;
        query->Close();
        query->SQL().SetText(in.Condition->ValuesSql);
        query->Open();
        QStringList types;
        for (query->First(); !query->Eof(); query->Next())
            types << query->Fields()->Fields(0)->AsString();
        in.ValueList->SetItems(types);
    }
}

QString TFrmFind::ConditionText()
{
    QString text;
    for (const FindInputs& in : FInputs)
        text += in.Text(this);
    return text;
}

void TFrmFind::BtnOKClick(QObject*)
{
    const QString text = ConditionText();
    // Every fragment begins with " and " or "and "; the first one's joining word goes.
    const QString result = text.isEmpty() ? QStringLiteral("1") : QStringLiteral(" Where ") + text.mid(4);
    if (ResultEdit) {
        // The whole condition reaches the browser, however long.
        if (ResultEdit->maxLength() < result.size())
            ResultEdit->setMaxLength(int(result.size()));
        ResultEdit->setText(result);
    }
    done(qx::mrOk);
}

void TFrmFind::BtnCloseClick(QObject*)
{
    Close();
}

void TFrmFind::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmABase::FormKeyDown(Sender, Key, Shift);
    if (Key == VK_RETURN) {
        QWidget* focused = focusWidget();
        if (focused && !qobject_cast<TQxEdit*>(focused)) {
            Key = 0;
            qx::selectNextControl(focused, true);
        }
    } else if (Key == VK_ESCAPE) {
        Key = 0;
        BtnClose->click();
    } else if (Key == VK_F12) {
        Key = 0;
        BtnOK->click();
    }
}

void TFrmFind::PickButtonClick(QObject* Sender)
{
    for (const FindInputs& in : FInputs)
        if (in.Value && in.Value == Sender) {
            if (!in.Condition->Pick.isEmpty())
                SelectFindValue(in.Condition->Pick, in.Value);
            return;
        }
}

FindResult RunFind(const QString& Page, QLineEdit* ResultEdit)
{
    if (!ResultEdit)
        return {};
    auto form = std::make_unique<TFrmFind>();
    form->ResultEdit = ResultEdit;
    form->SetActivePage(Page);
    ResultEdit->clear();
    // From here the dialog frees itself when it closes.
    qx::DialogService::instance().execDialog(*form.release());
    const QString text = ResultEdit->text();
    if (text.isEmpty())
        return {FindResult::Cancelled, QString()};
    if (text == QLatin1String("1"))
        return {FindResult::AllRows, QString()};
    return {FindResult::Condition, text};
}
