#include "documents/browser/uABillBrowser.h"

#include "app/data/dmData.h"
#include "app/find/uQxFind.h"
#include "app/shell/ColorPanel.h"
#include "documents/bills/uABillEditor.h"
#include "platform/db/DataSource.h"
#include "platform/db/sql/ADOConnection.h"
#include "platform/db/sql/ADOQuery.h"
#include "platform/db/sql/JetSqlRewriter.h"
#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/controls/uQxButtons.h"
#include "usystem/vcl/controls/uQxStdCtrls.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/forms/QxFormKit.h"
#include "usystem/vcl/stream/uQxDllCall.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QSignalBlocker>
#include <QToolButton>

const QString TFrmABillBrowser::EmptyListKey = QStringLiteral("z2zzz3zzzzz1zz");

namespace {

// Sort directions kept in a list field's Tag.
constexpr int kSortedAscending = 1;
constexpr int kSortedDescending = 2;

bool isMoneyField(const TField* field)
{
    return field->DataType() == ftCurrency || field->DataType() == ftBCD;
}

} // namespace

TFrmABillBrowser::TFrmABillBrowser(const char* formName, const QString& caption, QWidget* parent)
    : TFrmABusinessBase(parent),
      BtnAdd(qx::kit::toolButton(pnlleft, "BtnAdd", QStringLiteral("增加"), {})),
      BtnEdit(qx::kit::toolButton(pnlleft, "BtnEdit", QStringLiteral("修改"), {})),
      BtnReceiv(qx::kit::toolButton(pnlleft, "BtnReceiv", QStringLiteral("收款"), {})),
      BtnQuery(qx::kit::toolButton(pnlleft, "BtnQuery", QStringLiteral("查询"), {})),
      btnDelete(qx::kit::toolButton(pnlleft, "btnDelete", QStringLiteral("删除"), {})),
      lblDate(qx::kit::label(pnlleft, "lblDate", QStringLiteral("日期:"), 0, 0)),
      dtpDate(qx::kit::make<qx::DatePicker>(pnlleft, "dtpDate", {})),
      BtnPrior(qx::kit::toolButton(pnlleft, "BtnPrior", QStringLiteral("^"), {})),
      BtnNext(qx::kit::toolButton(pnlleft, "BtnNext", QStringLiteral("V"), {})),
      SpeedButton1(qx::kit::toolButton(pnlleft, "SpeedButton1", QStringLiteral("取消审核"), {})),
      SpeedButton4(qx::kit::toolButton(pnlleft, "SpeedButton4", QStringLiteral("打印"), {})),
      BtnPlus(qx::kit::make<QToolButton>(pnlleft, "BtnPlus", {})),
      pmPlus(new QMenu(this)),
      QryMain(new TADOQuery(this)),
      QryTotal(new TADOQuery(this)),
      QryTemp(new TADOQuery(this)),
      QryTemp2(new TADOQuery(this)),
      dsMain(new TDataSource(this)),
      dsTotal(new TDataSource(this)),
      DBGrid1(qx::kit::dbGrid(Panel1, "DBGrid1", dsMain)),
      EdtWhere(qx::kit::make<QLineEdit>(this, "EdtWhere", {}))
{
    setObjectName(QLatin1String(formName));
    SetCaption(caption);

    QryMain->setObjectName(QStringLiteral("QryMain"));
    QryTotal->setObjectName(QStringLiteral("QryTotal"));
    QryTemp->setObjectName(QStringLiteral("QryTemp"));
    QryTemp2->setObjectName(QStringLiteral("QryTemp2"));
    dsMain->setObjectName(QStringLiteral("dsMain"));
    dsMain->SetDataSet(QryMain);
    dsTotal->setObjectName(QStringLiteral("dsTotal"));
    dsTotal->SetDataSet(QryTotal);
    pmPlus->setObjectName(QStringLiteral("pmPlus"));
    EdtWhere->setVisible(false);

    DBGrid1->SetReadOnly(true);
    DBGrid1->OnDblClick = [this](QObject* Sender) { qx::guard(this, [&] { DBGrid1DblClick(Sender); }); };
    DBGrid1->OnTitleClick = [this](TQxColumn* Column) {
        qx::guard(this, [&] { DBGrid1TitleClick(Column); });
    };
    DBGrid1->OnGetCellTextStyle = [this](QObject* Sender, const QString& FieldName, QString& Text,
                                         TColor& Color) {
        DBGrid1GetCellTextStyle(Sender, FieldName, Text, Color);
    };

    BuildToolbar();
    OnClose = [this](QObject* Sender, TCloseAction& Action) { BrowserClose(Sender, Action); };
}

TFrmABillBrowser::~TFrmABillBrowser() = default;

void TFrmABillBrowser::BuildToolbar()
{
    // The toolbar runs along the top, its buttons left to right.
    pnlleft->SetAlign(alTop);
    pnlleft->SetHeight(40);
    int left = 2;
    const auto place = [&left](QWidget* control, int width, int top = 3, int height = 34) {
        control->setGeometry(left, top, width, height);
        left += width + 2;
    };
    place(BtnClose, 56);
    place(SpeedButton2, 64);
    place(BtnAdd, 56);
    place(BtnEdit, 56);
    place(BtnReceiv, 56);
    place(BtnQuery, 56);
    place(btnDelete, 56);
    left += 6;
    lblDate->move(left, 13);
    left += lblDate->width() + 4;
    place(dtpDate, 150, 9, 22);
    BtnPrior->setGeometry(left, 3, 22, 17);
    BtnNext->setGeometry(left, 20, 22, 17);
    left += 28;
    place(SpeedButton1, 68);
    place(SpeedButton4, 56);
    place(BtnPlus, 84);

    dtpDate->setDisplayFormat(qx::qtDateFormat(FormatSettings().LongDateFormat));
    dtpDate->setCalendarPopup(true);
    BtnPlus->setText(QStringLiteral("历史查询"));
    BtnPlus->setPopupMode(QToolButton::MenuButtonPopup);
    BtnPlus->setMenu(pmPlus);

    qx::kit::onClick(BtnAdd, this, &TFrmABillBrowser::BtnAddClick);
    qx::kit::onClick(BtnEdit, this, &TFrmABillBrowser::BtnEditClick);
    qx::kit::onClick(BtnReceiv, this, &TFrmABillBrowser::BtnReceivClick);
    qx::kit::onClick(BtnQuery, this, &TFrmABillBrowser::BtnQueryClick);
    qx::kit::onClick(btnDelete, this, &TFrmABillBrowser::btnDeleteClick);
    qx::kit::onClick(BtnPrior, this, &TFrmABillBrowser::BtnPriorClick);
    qx::kit::onClick(BtnNext, this, &TFrmABillBrowser::BtnNextClick);
    qx::kit::onClick(SpeedButton1, this, &TFrmABillBrowser::SpeedButton1Click);
    qx::kit::onClick(SpeedButton4, this, &TFrmABillBrowser::SpeedButton4Click);
    // A day picked by the operator shows that day; days set by the form itself (show, "^",
    // "V") run the change once, with the picker's signals blocked.
    connect(dtpDate, &QDateEdit::dateChanged, this,
            qx::guarded(this, [this](QDate) { dtpDateChange(dtpDate); }));
}

void TFrmABillBrowser::AddHistoryItem(const char* name, const QString& reportName,
                                      const QString& keyField)
{
    QAction* action = pmPlus->addAction(reportName);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this,
            qx::guarded(this, [this, action](bool) { HistoryItemClick(action); }));
    FHistory.append({action, reportName, keyField});
}

TADOConnection* TFrmABillBrowser::Connection() const
{
    if (!dmdataUnit)
        throw EDatabaseError(QStringLiteral("数据模块未创建"));
    return dmdataUnit->ADOConnection;
}

bool TFrmABillBrowser::HasRight(const QString& Action, bool Silent) const
{
    return dmdataUnit && dmdataUnit->CheckRight(Caption(), Action, !Silent);
}

bool TFrmABillBrowser::ListHasRows() const
{
    return QryMain->Active() && !QryMain->IsEmpty();
}

QString TFrmABillBrowser::CurrentBillNo() const
{
    return ListHasRows() ? QryMain->FieldByName(QStringLiteral("BillNo"))->AsString() : QString();
}

void TFrmABillBrowser::ClickButton(TQxButton* button)
{
    if (button->isVisible() && button->isEnabled() && button->OnClick)
        button->OnClick(button);
}

// ---- show, the day list and find ---------------------------------------------------------

void TFrmABillBrowser::FormShow(QObject* Sender)
{
    TADOConnection* connection = Connection();
    QryMain->SetConnection(connection);
    QryTotal->SetConnection(connection);
    QryTemp->SetConnection(connection);
    QryTemp2->SetConnection(connection);
    {
        const QSignalBlocker blocker(dtpDate);
        dtpDate->SetDate(Date());
    }
    dtpDateChange(dtpDate);
    // The layout files are named after the title, so it comes first.
    lblBillType->SetCaption(Caption());
    LoadGridLayouts();
    AddMissingColumns(HeadTable());
    TFrmABusinessBase::FormShow(Sender);
}

void TFrmABillBrowser::dtpDateChange(QObject*)
{
    FFindResult = false;
    if (!HasRight(QStringLiteral("查询"), true)) {
        OpenList(QStringLiteral(" Where BillNo = :EmptyKey"), {{QStringLiteral("EmptyKey"), EmptyListKey}});
        return;
    }
    OpenList(QStringLiteral(" Where ") + DayColumn() + QStringLiteral(" = :Day"),
             {{QStringLiteral("Day"), QVariant::fromValue(dtpDate->Date())}});
}

void TFrmABillBrowser::ShiftDay(int days)
{
    {
        const QSignalBlocker blocker(dtpDate);
        dtpDate->setDate(dtpDate->date().addDays(days));
    }
    dtpDateChange(dtpDate);
}

void TFrmABillBrowser::BtnPriorClick(QObject*)
{
    ShiftDay(-1);
}

void TFrmABillBrowser::BtnNextClick(QObject*)
{
    ShiftDay(1);
}

void TFrmABillBrowser::BtnQueryClick(QObject*)
{
    if (!HasRight(QStringLiteral("查询")))
        return;
    const FindResult found = RunFind(FindPage(), EdtWhere);
    if (found.Outcome == FindResult::Cancelled)
        return;
    OpenList(found.Where, {});
    FFindResult = true;
}

void TFrmABillBrowser::OpenQuery(TADOQuery& query, const QString& sql, const QVariantMap& values)
{
    query.Close();
    query.SQL().SetText(sql);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        query.ParamByName(it.key())->setValue(it.value());
    query.Open();
}

void TFrmABillBrowser::OpenList(const QString& condition, const QVariantMap& values)
{
    // The find dialog's condition keeps its date literals and Jet words; the compatibility
    // layer turns them into SQLite's.
    const QString list = qx::rewriteJetSql(ListText() + condition);
    const QString total = qx::rewriteJetSql(TotalText() + condition);
    // Another day or another find is another list: it comes in the statement's order. A list
    // that is only reopened keeps its sort.
    QryMain->Close();
    QryMain->SetSort(QString());
    OpenQuery(*QryMain, list, values);
    FListSql = list;
    OpenQuery(*QryTotal, total, values);
    SetMoneyFormats();
}

void TFrmABillBrowser::ReopenList()
{
    if (!QryMain->Active())
        return;
    QryMain->Close();
    QryMain->Open();
    if (QryTotal->Active() || !QryTotal->SQL().Text().isEmpty()) {
        QryTotal->Close();
        QryTotal->Open();
    }
    SetMoneyFormats();
}

void TFrmABillBrowser::SetMoneyFormats()
{
    for (TADOQuery* query : {QryMain, QryTotal}) {
        if (!query->Active())
            continue;
        for (TField* field : *query->Fields())
            if (isMoneyField(field))
                field->SetDisplayFormat(QStringLiteral("0.00"));
    }
}

void TFrmABillBrowser::AddMissingColumns(const QString& TableName)
{
    if (!QryMain->Active())
        return;
    QryTemp->Close();
    QryTemp->SQL().SetText(
        QStringLiteral("Select CFieldName from tDictDlt where TableName = :TableName and FieldName = :FieldName"));
    for (TField* field : *QryMain->Fields()) {
        const QString name = field->FieldName();
        if (ColumnByFieldName(DBGrid1, name))
            continue;
        QryTemp->Close();
        QryTemp->ParamByName(QStringLiteral("TableName"))->setValue(TableName);
        QryTemp->ParamByName(QStringLiteral("FieldName"))->setValue(name);
        QryTemp->Open();
        const QString title = QryTemp->IsEmpty() ? QString() : QryTemp->Fields()->Fields(0)->AsString();
        qx::kit::column(DBGrid1, name, title.isEmpty() ? name : title, 0, false);
    }
    QryTemp->Close();
}

// ---- the grid ------------------------------------------------------------------------------

void TFrmABillBrowser::DBGrid1DblClick(QObject* Sender)
{
    BtnEditClick(Sender);
}

void TFrmABillBrowser::DBGrid1TitleClick(TQxColumn* Column)
{
    auto* list = qobject_cast<TADOQuery*>(dsMain->DataSet());
    if (!Column || !list || !list->Active())
        return;
    TField* field = list->FindField(Column->FieldName());
    if (!field)
        return;
    if (field->Tag() == kSortedAscending) {
        list->SetSort(field->FieldName() + QStringLiteral(" DESC"));
        field->SetTag(kSortedDescending);
    } else {
        list->SetSort(field->FieldName() + QStringLiteral(" ASC"));
        field->SetTag(kSortedAscending);
    }
}

void TFrmABillBrowser::DBGrid1GetCellTextStyle(QObject*, const QString& FieldName, QString&,
                                               TColor& Color)
{
    if (FieldName.compare(QLatin1String("TotalAmount"), Qt::CaseInsensitive) != 0 || !QryMain->Active())
        return;
    TField* due = QryMain->FindField(QStringLiteral("NoReceiv"));
    if (!due)
        return;
    Color = due->AsCurrency() > Currency(0) ? clRed : clBlue;
}

// ---- the actions ---------------------------------------------------------------------------

void TFrmABillBrowser::RunEditor(const QString& BillNo)
{
    QPointer<TFrmABillEditor> editor(CreateEditor());
    editor->CurrentBillNo = BillNo;
    editor->NewBillDate = dtpDate->Date();
    qx::DialogService::instance().execDialog(*editor);
    // The editor frees itself when it closes; one that was only hidden goes here.
    if (editor)
        editor->deleteLater();
    ReopenList();
}

void TFrmABillBrowser::BtnAddClick(QObject*)
{
    if (!HasRight(QStringLiteral("增加")))
        return;
    RunEditor(QString());
}

void TFrmABillBrowser::BtnEditClick(QObject*)
{
    if (!HasRight(QStringLiteral("修改")))
        return;
    if (!ListHasRows())
        return;
    if (QryMain->FieldByName(QStringLiteral("State"))->AsString() == QStringLiteral("已审核")) {
        qx::showMessage(QStringLiteral("已审核不得修改"), this);
        return;
    }
    RunEditor(CurrentBillNo());
}

void TFrmABillBrowser::BtnReceivClick(QObject*)
{
    if (!HasRight(QStringLiteral("收款")))
        return;
    if (!ListHasRows())
        return;
    ShowReceiptDialog(CurrentBillNo(), QryMain->FieldByName(QStringLiteral("NoReceiv"))->AsCurrency(),
                      dtpDate->Date());
    ReopenList();
}

void TFrmABillBrowser::UndoBillEffects(const QString&) {}

void TFrmABillBrowser::btnDeleteClick(QObject*)
{
    if (!HasRight(QStringLiteral("删除")))
        return;
    if (!ListHasRows())
        return;
    if (qx::messageBox(this, QStringLiteral("是否要删除。"), QStringLiteral("询问"), qx::MessageIcon::Question,
                       {qx::mrOk, qx::mrCancel}, qx::mrOk)
        != qx::mrOk)
        return;
    const QString billNo = CurrentBillNo();
    TADOConnection* connection = Connection();
    const int outer = connection->TransactionLevel();
    try {
        if (!connection->Connected())
            connection->Open();
        connection->BeginTrans();
        UndoBillEffects(billNo);
        for (const QString& table : BillTables())
            connection->Execute(QStringLiteral("Delete From ") + table + QStringLiteral(" where BillNo = :BillNo"),
                                {{QStringLiteral("BillNo"), billNo}});
        connection->CommitTrans();
    } catch (...) {
        if (connection->Connected() && connection->TransactionLevel() > outer)
            connection->RollbackTrans();
        qx::showMessage(QStringLiteral("删除失败！"), this);
        Abort();
    }
    ReopenList();
}

void TFrmABillBrowser::SpeedButton1Click(QObject*)
{
    if (!HasRight(QStringLiteral("取消审核")))
        return;
    const QString billNo = CurrentBillNo();
    QryTemp->Close();
    QryTemp->SQL().SetText(QStringLiteral("Select * from ") + HeadTable() + QStringLiteral(" where BillNo = :BillNo"));
    QryTemp->ParamByName(QStringLiteral("BillNo"))->setValue(billNo);
    QryTemp->Open();
    if (!QryTemp->IsEmpty()) {
        QryTemp->Edit();
        QryTemp->FieldByName(QStringLiteral("State"))->SetAsString(QString());
        QryTemp->Post();
    }
    QryTemp->Close();
    ReopenList();
}

void TFrmABillBrowser::PrintList()
{
    PrintWithDialog(Caption(), QryTotal, QryMain);
}

void TFrmABillBrowser::SpeedButton4Click(QObject*)
{
    PrintList();
}

void TFrmABillBrowser::HistoryItemClick(QObject* Sender)
{
    for (const HistoryItem& item : FHistory) {
        if (item.action != Sender)
            continue;
        if (!ListHasRows())
            return;
        const QString key = QryMain->FieldByName(item.keyField)->AsString();
        if (key.isEmpty())
            return;
        const QString connection = qx::app::ConnectionStringFor(DatabasePath);
        QueryWithCondition(connection, connection, QString(), QStringLiteral("报表中心"), item.report,
                           QStringList{key});
        return;
    }
}

// ---- keys and closing ----------------------------------------------------------------------

void TFrmABillBrowser::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmABusinessBase::FormKeyDown(Sender, Key, Shift);
    TQxButton* button = nullptr;
    switch (Key) {
    case VK_F2: button = BtnAdd; break;
    case VK_F3: button = BtnEdit; break;
    case VK_F4: button = BtnReceiv; break;
    case VK_F5: button = BtnQuery; break;
    default: return;
    }
    Key = 0;
    ClickButton(button);
}

void TFrmABillBrowser::BrowserClose(QObject* Sender, TCloseAction& Action)
{
    TFrmABase::FormClose(Sender, Action);
    qx::guard(this, [this] { SaveGridLayouts(); });
}
