#include "app/master/uAselect.h"

#include "app/data/dmData.h"
#include "app/shell/ColorPanel.h"
#include "platform/db/DataSource.h"
#include "platform/env/DialogService.h"
#include "platform/env/ExceptionGuard.h"
#include "platform/ui/Keys.h"
#include "usystem/vcl/ado/uQxADODB.h"
#include "usystem/vcl/dbgrid/uQxDBGrid.h"
#include "usystem/vcl/forms/QxFormKit.h"

#include <QApplication>
#include <QLineEdit>

#include <memory>

namespace {

struct NamedList
{
    const char16_t* names; // the names served, separated by '|'
    const char16_t* sql;
};

// The lists of SelectFieldValue. The aliases are the grid's titles and the companion fields'
// sources, so they stay as they are; the blanks between "as" and an alias are plain blanks
// (an ideographic blank would become part of the alias).
const NamedList kFieldLists[] = {
    {u"VIN", u"Select distinct  VIN,Remark from tVehicle "},
    {u"CCode", u"Select distinct  CCode as 客户编号,CName as 客户名称 from t_Client "},
    {u"SCode", u"Select distinct  SCode from t_inMst "},
    {u"Model", u"Select distinct Model as 机型,Remark as 备注 from t_Model "},
    {u"EngineNo", u"Select distinct EngineNo as Model,Remark as 备注 from t_EngineNo "},
    {u"MainWorker", u"Select distinct  Mainworker ,Remark from t_MainWorker "},
    {u"Charger|Checker|Biller|Settler|Receiver",
     u"Select distinct  Mainworker as 员工姓名 ,Remark as 备注 from t_MainWorker "},
    {u"SItemCode",
     u" Select SItemName as 项目名称,SItemCode as 项目编号,TimeAmount as 工时费 From tServiceItem "},
    {u"ItemCode",
     u"Select ItemCode as 配件编号,Itemname as 配件名称,Qty as 数量,price as 销售价 from t_stock "},
    {u"ItemName",
     u"Select Itemname as 配件名称,ItemCode as 配件编号,Qty as 数量,price as 销售价 from t_stock "},
    // Purchase bills not yet paid by a voucher.
    {u"BusinessNo",
     u"Select BillNo as 单号,SCode as 进货单位,TotalAmount as 金额 from t_inMst where BNo='' or BNo is Null"},
    {u"CardNo", u"Select distinct  CardNo from t_Card "},
    {u"WashItem|Item1|Item2", u"Select SItemName as 维修项目,TimeAmount as 工时费 from tServiceItem "},
    {u"CardType", u"Select CardType as 卡类型 from t_Cardtype "},
    {u"ClientType", u"Select ClientType as 客户类型 from t_ClientType "},
    {u"SupplierType", u"Select SupplierType as 供应商类型 from t_SupplierType "},
    {u"MisInfo", u"Select MisInfo as 送修原因 from t_MisInfo "},
};

// The lists of SelectFindValue: the values the find dialog's boxes are compared with.
const NamedList kFindLists[] = {
    {u"VIN", u"Select distinct  VIN,Remark from t_VINPre "}, // the stored serial prefixes
    {u"SCode", u"Select distinct  SCode from t_inMst "},
    {u"Model", u"Select distinct Model,Remark from t_Model "},
    {u"MainWorker", u"Select distinct  Mainworker,Remark from t_MainWorker "},
    {u"Receiver", u"Select distinct  Receiver,Remark from t_Receiver "},
    {u"SItemCode",
     u"Select SItemName as 项目名称,SItemCode as 项目编号,TimeAmount as 工时费 From tServiceItem "},
    {u"ItemCode", u"Select distinct  ItemCode,Itemname from t_Receptiondlt2 "},
    {u"ItemName", u"Select distinct  Itemname,ItemCode from t_Receptiondlt2 "},
};

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

template <std::size_t N>
QString listOf(const NamedList (&lists)[N], const QString& name)
{
    for (const NamedList& list : lists) {
        const QStringList names = QString::fromUtf16(list.names).split(u'|');
        for (const QString& n : names)
            if (sameName(n, name))
                return QString::fromUtf16(list.sql);
    }
    return QString();
}

// A name from the fixed set above, safe to stand in a statement as a column name.
bool isPlainName(const QString& name)
{
    for (QChar c : name)
        if (!(c.isLetterOrNumber() || c == u'_'))
            return false;
    return !name.isEmpty();
}

QWidget* activeForm()
{
    return QApplication::activeWindow();
}

// Creates the list on sql, opens it and shows it modally with its target set by setTarget. A
// list whose statement fails is never shown.
template <class SetTarget>
void showList(const QString& sql, QWidget* parent, SetTarget setTarget)
{
    auto list = std::make_unique<TFrmAselect>(parent);
    try {
        list->QrySelect->SQL().SetText(sql);
        list->QrySelect->Open();
    } catch (...) {
        qx::showCurrentException(parent);
        return;
    }
    setTarget(*list);
    // From here the list frees itself when it closes.
    qx::DialogService::instance().execDialog(*list.release());
}

} // namespace

TFrmAselect::TFrmAselect(QWidget* parent)
    : TFrmABase(parent),
      QrySelect(new TQxADOQuery(this)),
      dsSelect(new TDataSource(this)),
      DBGrid1(qx::kit::dbGrid(this, "DBGrid1", dsSelect))
{
    setObjectName(QStringLiteral("FrmAselect"));
    SetCaption(QStringLiteral("选择"));
    resize(420, 320);
    pnlleft->setVisible(false);

    QrySelect->setObjectName(QStringLiteral("QrySelect"));
    QrySelect->SetConnection(dmdataUnit->ADOConnection);
    QrySelect->AfterOpen = [this](TDataSet* DataSet) { QrySelectAfterOpen(DataSet); };
    dsSelect->setObjectName(QStringLiteral("dsSelect"));
    dsSelect->SetDataSet(QrySelect);

    DBGrid1->SetReadOnly(true);
    DBGrid1->SetOptions(dgIndicator | dgColumnResize | dgColLines | dgRowLines | dgRowSelect
                        | dgAlwaysShowSelection);
    qx::kit::on(DBGrid1->OnDblClick, this, &TFrmAselect::DBGrid1DblClick);
}

TFrmAselect::~TFrmAselect() = default;

void TFrmAselect::QrySelectAfterOpen(TDataSet*)
{
    const QString sql = QrySelect->SQL().Text();
    const bool titles = sql.indexOf(QStringLiteral(" as ")) > 0;
    TQxDBGridOptions options = DBGrid1->Options();
    options.setFlag(dgTitles, titles);
    DBGrid1->SetOptions(options);
}

void TFrmAselect::DBGrid1DblClick(QObject*)
{
    TakeCurrentRow();
    Close();
}

void TFrmAselect::FormKeyDown(QObject* Sender, int& Key, TShiftState Shift)
{
    TFrmABase::FormKeyDown(Sender, Key, Shift);
    if (Key == VK_RETURN) {
        Key = 0;
        qx::guard(this, [&] { TakeCurrentRow(); });
        Close();
    } else if (Key == VK_ESCAPE) {
        Key = 0;
        Close();
    }
}

void TFrmAselect::TakeCurrentRow()
{
    QrySelect->CheckBrowseMode();
    if (!QrySelect->Active() || QrySelect->IsEmpty())
        return;
    TField* first = QrySelect->Fields()->Fields(0);
    if (TargetEdit) {
        TargetEdit->setText(first->AsString());
        return;
    }
    if (!TargetField)
        return;
    TDataSet* target = TargetField->DataSet();
    target->Edit();
    // Values, not texts: the target's text setters stay out of it.
    TargetField->SetValue(first->Value());

    // The companions of parts and repair items come from the list's titled columns; a target
    // without such a field simply does not get it.
    const auto copyText = [&](const char16_t* to, const char16_t* from) {
        TField* t = target->FindField(QString::fromUtf16(to));
        TField* f = QrySelect->FindField(QString::fromUtf16(from));
        if (t && f)
            t->SetAsString(f->AsString());
    };
    const auto copyValue = [&](const char16_t* to, const char16_t* from) {
        TField* t = target->FindField(QString::fromUtf16(to));
        TField* f = QrySelect->FindField(QString::fromUtf16(from));
        if (t && f)
            t->SetValue(f->Value());
    };
    const QString name = TargetField->FieldName();
    if (sameName(name, QStringLiteral("ItemCode")) || sameName(name, QStringLiteral("ItemName"))) {
        copyText(u"ItemCode", u"配件编号");
        copyText(u"ItemName", u"配件名称");
    } else if (sameName(name, QStringLiteral("SItemCode"))
               || sameName(name, QStringLiteral("SItemName"))) {
        copyText(u"SItemCode", u"项目编号");
        copyText(u"SItemName", u"项目名称");
        copyValue(u"TimeAmount", u"工时费");
    } else if (sameName(name, QStringLiteral("WashCode"))
               || sameName(name, QStringLiteral("WashItem"))) {
        copyText(u"WashItem", u"维修项目");
        copyValue(u"TimeAmount", u"工时费");
    }
}

QString FieldValueListSql(const TField& Field)
{
    const QString name = Field.FieldName();
    if (sameName(name, QStringLiteral("BillType"))) {
        // The other income and expenses form's own categories; no other form offers them.
        const TDataSet* dataSet = Field.DataSet();
        if (!dataSet || dataSet->objectName() != QLatin1String("QryMain") || !isPlainName(name))
            return QString();
        return QStringLiteral("Select distinct ") + name + QStringLiteral(" from t_DayAccount");
    }
    if (sameName(name, QStringLiteral("ClientEvent")) && isPlainName(name))
        return QStringLiteral("Select distinct ") + name + QStringLiteral(" from t_ReceptionMst");
    return listOf(kFieldLists, name);
}

QString FindValueListSql(const QString& Name)
{
    if ((sameName(Name, QStringLiteral("CCode")) || sameName(Name, QStringLiteral("Settler"))
         || sameName(Name, QStringLiteral("YearQty")))
        && isPlainName(Name))
        return QStringLiteral("Select distinct ") + Name + QStringLiteral(" from t_ReceptionMst");
    return listOf(kFindLists, Name);
}

void SelectFieldValue(TField* Field)
{
    if (!Field || !Field->DataSet())
        return;
    const QString sql = FieldValueListSql(*Field);
    if (sql.isEmpty())
        return;
    showList(sql, activeForm(), [Field](TFrmAselect& list) { list.TargetField = Field; });
}

void SelectFindValue(const QString& Name, QLineEdit* Edit)
{
    if (!Edit)
        return;
    const QString sql = FindValueListSql(Name);
    if (sql.isEmpty())
        return;
    showList(sql, Edit->window(), [Edit](TFrmAselect& list) { list.TargetEdit = Edit; });
}
