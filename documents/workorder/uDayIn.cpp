#include "documents/workorder/uDayIn.h"

#include "documents/workorder/WorkOrderStore.h"
#include "documents/receipts/uReceivRecord.h"
#include "documents/workorder/uEditIn.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/env/DialogService.h"
#include "platform/rtl/Exceptions.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbedits/uQxDBEdit.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/forms/QxFormKit.h"
#include "app/shell/ColorPanel.h"

#include <QPointer>
#include <QToolButton>

namespace {

// The list's columns, in order: field, title, width, shown.
struct DayInColumn
{
    const char* field;
    const char16_t* title;
    int width;
    bool visible;
};

const DayInColumn kDayInColumns[] = {
    {"State", u"状态", 50, true},           {"IsSettle", u"结算否", 50, true},
    {"Intime", u"送修日期", 80, true},      {"OutTime", u"取机日期", 80, true},
    {"VIN", u"SerialNo", 100, true},        {"CName", u"机主姓名", 80, true},
    {"LinkMen", u"联系人", 70, true},       {"HTel", u"手机", 90, true},
    {"Tel", u"普通电话", 90, true},         {"BillNo", u"电脑单号", 100, true},
    {"RebillNo", u"手工单号", 80, true},    {"TimesAmount", u"工时", 70, true},
    {"PartsAmount", u"配件", 70, true},     {"TotalAmount", u"金额", 70, true},
    {"Received", u"已收", 70, true},        {"NoReceiv", u"挂账", 70, true},
    {"DecAmount", u"不收零头", 70, true},   {"Remark", u"地址", 120, true},
    {"Model", u"机型", 80, false},          {"MainWorker", u"主修员", 70, false},
    {"Clientevent", u"说明", 150, true},
};

// The sums strip: caption and the sums' column of the same name.
const char16_t* const kDayInSums[] = {u"工时费", u"配件费", u"金额", u"已收", u"挂账", u"台数"};

} // namespace

TFrmDayIn::TFrmDayIn(QWidget* parent)
    : TFrmABillBrowser("FrmDayin", QStringLiteral("工单录入"), parent),
      SpeedButton3(qx::kit::toolButton(pnlleft, "SpeedButton3", QStringLiteral("改车主"), {})),
      EdtSumTimes(qx::kit::dbEdit(Panel3, "EdtSumTimes", {}, dsTotal, QString::fromUtf16(kDayInSums[0]))),
      EdtSumParts(qx::kit::dbEdit(Panel3, "EdtSumParts", {}, dsTotal, QString::fromUtf16(kDayInSums[1]))),
      EdtSumTotal(qx::kit::dbEdit(Panel3, "EdtSumTotal", {}, dsTotal, QString::fromUtf16(kDayInSums[2]))),
      EdtSumReceived(qx::kit::dbEdit(Panel3, "EdtSumReceived", {}, dsTotal, QString::fromUtf16(kDayInSums[3]))),
      EdtSumDue(qx::kit::dbEdit(Panel3, "EdtSumDue", {}, dsTotal, QString::fromUtf16(kDayInSums[4]))),
      EdtSumCount(qx::kit::dbEdit(Panel3, "EdtSumCount", {}, dsTotal, QString::fromUtf16(kDayInSums[5])))
{
    SpeedButton2->SetVisible(false);
    SpeedButton3->SetVisible(false);
    qx::kit::onClick(SpeedButton3, this, &TFrmDayIn::SpeedButton3Click);
    connect(BtnPlus, &QToolButton::clicked, this,
            qx::guarded(this, [this](bool) { SpeedButton3Click(BtnPlus); }));

    // The menu lists them in this order.
    AddHistoryItem("N3", QStringLiteral("维修历史工单别"), QStringLiteral("VIN"));
    AddHistoryItem("N1", QStringLiteral("维修历史项目别"), QStringLiteral("VIN"));
    AddHistoryItem("N2", QStringLiteral("维修历史配件别"), QStringLiteral("VIN"));
    AddHistoryItem("N4", QStringLiteral("维修历史单位别"), QStringLiteral("CCode"));

    BuildColumns();
    BuildSums();
}

TFrmDayIn::~TFrmDayIn() = default;

void TFrmDayIn::BuildColumns()
{
    for (const DayInColumn& c : kDayInColumns)
        qx::kit::column(DBGrid1, QLatin1String(c.field), QString::fromUtf16(c.title), c.width, c.visible);
}

void TFrmDayIn::BuildSums()
{
    TQxDBEDIT* const boxes[] = {EdtSumTimes, EdtSumParts, EdtSumTotal, EdtSumReceived, EdtSumDue, EdtSumCount};
    int left = 8;
    int index = 0;
    for (TQxDBEDIT* box : boxes) {
        TQxLabel* caption = qx::kit::label(Panel3, qPrintable(QStringLiteral("lblSum%1").arg(index + 1)),
                                           QString::fromUtf16(kDayInSums[index]) + u':', left, 8);
        left += caption->width() + 2;
        box->setGeometry(left, 4, index == 5 ? 50 : 90, 21);
        box->SetReadOnly(true);
        left += box->width() + 12;
        ++index;
    }
}

// An empty amount (left by another program or an older database) counts as nothing, so a
// bill with no received amount stored still shows what is due and takes a payment.
QString TFrmDayIn::ListText() const
{
    return QStringLiteral("Select *, ifnull(TotalAmount, 0)-ifnull(Received, 0)-ifnull(DecAmount, 0) as NoReceiv "
                          "from t_ReceptionMst");
}

QString TFrmDayIn::TotalText() const
{
    return QStringLiteral("Select Count(*) as 台数, Sum(TimesAmount) as 工时费, Sum(PartsAmount) as 配件费, "
                          "Sum(TotalAmount) as 金额, Sum(Received) as 已收, "
                          "Sum(ifnull(TotalAmount, 0)-ifnull(Received, 0)-ifnull(DecAmount, 0)) as 挂账 "
                          "from t_ReceptionMst");
}

QString TFrmDayIn::DayColumn() const
{
    return QStringLiteral("INtime");
}

QString TFrmDayIn::HeadTable() const
{
    return QStringLiteral("t_Receptionmst");
}

QStringList TFrmDayIn::BillTables() const
{
    // Head, repair items, parts, receipts.
    return {QStringLiteral("t_ReceptionMst"), QStringLiteral("t_ReceptionDlt"), QStringLiteral("t_ReceptionDlt2"),
            QStringLiteral("t_ReceptionDlt3")};
}

QString TFrmDayIn::FindPage() const
{
    return QStringLiteral("Reception");
}

TFrmABillEditor* TFrmDayIn::CreateEditor()
{
    return new TFrmReceptionRct;
}

void TFrmDayIn::ShowReceiptDialog(const QString& BillNo, Currency AmountDue, TDateTime Day)
{
    // The dialog frees itself when it closes.
    QPointer<TFrmReceivRecord> dialog(new TFrmReceivRecord);
    dialog->ReceiptBillNo = BillNo;
    dialog->SetAmountDue(AmountDue);
    dialog->LoadReceipts();
    dialog->SetReceiptDate(Day);
    qx::DialogService::instance().execDialog(*dialog);
    if (dialog)
        dialog->deleteLater();
}

void TFrmDayIn::UndoBillEffects(const QString& BillNo)
{
    // Under the save's gate: nothing comes back that no save took.
    qx::documents::giveBackWorkOrderStock(*Connection(), BillNo);
}

void TFrmDayIn::SpeedButton3Click(QObject*)
{
    if (!ListHasRows())
        return;
    if (!HasRight(QStringLiteral("改车主")))
        return;
    const QString oldCode = QryMain->FieldByName(QStringLiteral("CCode"))->AsString();
    if (oldCode.trimmed().isEmpty()) {
        qx::showMessage(QStringLiteral("此工单没有车主编码，不能改车主！"), this);
        return;
    }
    const std::optional<QString> answer = qx::DialogService::instance().inputBox(
        this, QStringLiteral("改车主名称"), QStringLiteral("请输入车主名称"), oldCode);
    if (!answer || *answer == oldCode)
        return;
    const QString newCode = *answer;
    if (newCode.trimmed().isEmpty()) {
        qx::showMessage(QStringLiteral("车主名称不能为空！"), this);
        return;
    }
    const QString question =
        QStringLiteral("是否将所有车主编码为“%1”的工单改为“%2”？").arg(oldCode, newCode);
    if (qx::messageBox(this, question, QStringLiteral("询问"), qx::MessageIcon::Question,
                       {qx::mrOk, qx::mrCancel}, qx::mrOk)
        != qx::mrOk)
        return;
    TADOConnection* connection = Connection();
    const int outer = connection->TransactionLevel();
    try {
        connection->BeginTrans();
        connection->Execute(QStringLiteral("Update t_ReceptionMst Set CCode = :NewCode where CCode = :OldCode"),
                            {{QStringLiteral("NewCode"), newCode}, {QStringLiteral("OldCode"), oldCode}});
        connection->CommitTrans();
    } catch (...) {
        if (connection->Connected() && connection->TransactionLevel() > outer)
            connection->RollbackTrans();
        qx::showMessage(QStringLiteral("改车主失败！"), this);
        Abort();
    }
    ReopenList();
}
