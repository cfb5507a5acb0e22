#include "app/find/FindModel.h"

#include "app/find/FindText.h"

namespace qx::app::find {

namespace {

QString s(const char16_t* text)
{
    return QString::fromUtf16(text);
}

const QStringList& standardOperators()
{
    static const QStringList list{s(kEquals), s(kStartsWith), s(kEndsWith), s(kContains)};
    return list;
}

FindCondition text(const char16_t* page, const char16_t* label, const char16_t* column,
                   const char16_t* pick = nullptr)
{
    FindCondition c;
    c.Page = s(page);
    c.Label = s(label);
    c.Column = s(column);
    c.Kind = ConditionKind::Text;
    c.Operators = standardOperators();
    if (pick) {
        c.Button = true;
        c.Pick = s(pick);
    }
    return c;
}

// A value edit whose pick button opens nothing.
FindCondition inertButton(FindCondition c)
{
    c.Button = true;
    c.Pick.clear();
    return c;
}

FindCondition textCode(const char16_t* page, const char16_t* label, const char16_t* column)
{
    FindCondition c = text(page, label, column);
    c.Kind = ConditionKind::TextCode;
    return c;
}

// A type chosen from a list, compared for equality only.
FindCondition typeList(const char16_t* page, const char16_t* label, const char16_t* column,
                       const QStringList& values, const char16_t* valuesSql = nullptr)
{
    FindCondition c = text(page, label, column);
    c.Operators = QStringList{s(kEquals)};
    c.Values = values;
    if (valuesSql)
        c.ValuesSql = s(valuesSql);
    return c;
}

FindCondition range(const char16_t* page, const char16_t* label, const char16_t* column,
                    const char16_t* message)
{
    FindCondition c;
    c.Page = s(page);
    c.Label = s(label);
    c.Column = s(column);
    c.Kind = ConditionKind::Range;
    c.Message = s(message);
    return c;
}

FindCondition dateRange(const char16_t* page, const char16_t* label, const char16_t* column,
                        const char16_t* fragment)
{
    FindCondition c;
    c.Page = s(page);
    c.Label = s(label);
    c.Column = s(column);
    c.Kind = ConditionKind::DateRange;
    c.DateFragment = s(fragment);
    return c;
}

// The bill date range of the purchase, sales, income and stock-out pages.
FindCondition billDate(const char16_t* page, const char16_t* label)
{
    return dateRange(page, label, u"BillDate",
                     u" and BillDate >=CVDate(%1) and BillDate<=cvDate(%2)");
}

FindCondition choice(const char16_t* page, const char16_t* label, const char16_t* group,
                     const QList<FindChoice>& choices, int start, bool radio = true)
{
    FindCondition c;
    c.Page = s(page);
    c.Label = s(label);
    c.Column = s(group);
    c.Kind = ConditionKind::Choice;
    c.Group = s(group);
    c.Choices = choices;
    c.Start = start;
    c.Radio = radio;
    return c;
}

QList<FindCondition> makeConditions()
{
    QList<FindCondition> c;

    // Work orders.
    c << text(u"Reception", u"单  号：", u"BillNo") << text(u"Reception", u"单号2:", u"ReBillNo")
      << text(u"Reception", u"SerialNo：", u"VIN", u"VIN")
      // The owner's button offers the customer codes of the work orders.
      << text(u"Reception", u"机主名：", u"CName", u"CCode")
      << text(u"Reception", u"普通电话：", u"Tel") << text(u"Reception", u"联系 人：", u"linkMen")
      << text(u"Reception", u"主修：", u"MainWorker", u"MainWorker")
      << text(u"Reception", u"接单：", u"Receiver", u"Receiver")
      << text(u"Reception", u"手    机：", u"HTel") << text(u"Reception", u"Model：", u"EngineNo");
    FindCondition receiptNo = text(u"Reception", u"凭证号：", u"BNo");
    receiptNo.Prefix = QStringLiteral(" and BillNo in (Select BillNo from t_ReceptionDlt3 where ");
    receiptNo.Suffix = QStringLiteral(")");
    c << receiptNo
      << dateRange(u"Reception", u"送修日期：", u"InTime",
                   u" and InTime >=CVDate(%1) and Intime<=cvDate(%2)")
      << choice(u"Reception", u"", u"State",
                {{s(u"未结算"), QStringLiteral(" and IsSettle<>true ")},
                 {s(u"已收款"), QStringLiteral(" and totalAmount-Received-DecAmount<=0 ")},
                 {s(u"挂账"), QStringLiteral(" and totalAmount-Received-DecAmount>0 ")},
                 {s(u"全部"), QString()}},
                3)
      // Without the leading blank: when it comes first, its "and " is what is dropped.
      << dateRange(u"Reception", u"收款日期：", u"ReceivTime",
                   u"and BillNo in (Select BillNo from t_ReceptionDlt3 where ReceivTime >=CVDate(%1) "
                   u"and ReceivTime<=cvDate(%2))")
      << text(u"Reception", u"机    型：", u"Model", u"Model");
    FindCondition labour = range(u"Reception", u"工时费：", u"TimesAmount",
                                 u"工时费条件输入错误。左边数应小于等于右边数");
    labour.Heading = s(u"金额范围查询");
    c << labour
      << range(u"Reception", u"产品费：", u"PartsAmount", u"配件费条件输入错误。左边数应小于等于右边数")
      << range(u"Reception", u"合  计：", u"TotalAmount", u"合计费条件输入错误。左边数应小于等于右边数");

    // Device file and phone book. The owner's button opens nothing.
    c << text(u"Vehicle", u"机型：", u"Model", u"Model") << text(u"Vehicle", u"SerialNo：", u"VIN", u"VIN")
      << inertButton(text(u"Vehicle", u"机主名：", u"CName")) << text(u"Vehicle", u"普通电话：", u"Tel")
      << text(u"Vehicle", u"送修人：", u"linkMen") << text(u"Vehicle", u"手  机：", u"HTel")
      << text(u"Vehicle", u"Model：", u"MarkNo");

    // Purchases and payment vouchers: the payment state adds a fragment first and last.
    const FindChoice bothStates{s(u"两者"), QString()};
    c << choice(u"IN", u"", u"PayState",
                {{s(u"已付"), QStringLiteral(" and TotalAmount-Payed<=0 ")},
                 {s(u"未付"), QStringLiteral(" and totalAmount-Payed>0 ")},
                 bothStates},
                2)
      << text(u"IN", u"单号：", u"BillNo") << text(u"IN", u"凭证号：", u"ReBillNo")
      << text(u"IN", u"备注：", u"Remark") << billDate(u"IN", u"日期：")
      << text(u"IN", u"供应商：", u"Scode", u"SCode")
      << choice(u"IN", u"", u"PayState",
                {{s(u"已付"), QStringLiteral(" and TotalAmount=Payed ")},
                 {s(u"未付"), QStringLiteral(" and TotalAmount<>Payed ")},
                 bothStates},
                2);

    // Sales.
    c << text(u"Out", u"单号:", u"BillNo") << text(u"Out", u"凭证号:", u"ReBillNo")
      << billDate(u"Out", u"日期:") << text(u"Out", u"客户:", u"Ccode", u"CCode")
      << choice(u"Out", u"", u"ReceiptState",
                {{s(u"已收"), QStringLiteral(" and TotalAmount=Payed ")},
                 {s(u"未收"), QStringLiteral(" and TotalAmount<>Payed ")},
                 {s(u"全部"), QString()}},
                2);

    // Other income and expenses. The handler's button opens nothing.
    c << inertButton(text(u"DayAccount", u"经手人：", u"Charger"))
      << text(u"DayAccount", u"摘要：", u"Remark")
      << choice(u"DayAccount", u"收/支：", u"JD",
                {{s(u"全部"), QString()},
                 {s(u"收入"), QStringLiteral(" and ") + TextCondition(QStringLiteral("JD"), s(u"收入"), s(kEquals))},
                 {s(u"支出"), QStringLiteral(" and ") + TextCondition(QStringLiteral("JD"), s(u"支出"), s(kEquals))}},
                -1, false)
      << text(u"DayAccount", u"收支类别：", u"BillType") << billDate(u"DayAccount", u"日期：");

    // Stock.
    c << text(u"Stock", u"配件编号：", u"ItemCode") << textCode(u"Stock", u"配件名称：", u"ItemName")
      << text(u"Stock", u"机型：", u"Model") << text(u"Stock", u"仓位：", u"location");

    // Membership cards.
    c << text(u"Card", u"会员卡号：", u"CardNo") << text(u"Card", u"车主名称：", u"CCode", u"CCode");

    // Periodic device checks. The name's button offers the customer codes of the work orders.
    c << typeList(u"Check", u"类型：", u"CheckType", {s(u"年审"), s(u"季审")})
      << text(u"Check", u"客户编号：", u"CCode") << text(u"Check", u"客户名称：", u"CName", u"CCode")
      << text(u"Check", u"车牌号：", u"Vin");

    // Stock-out bills.
    c << text(u"OutStk", u"单号:", u"BillNo") << text(u"OutStk", u"维修单号：", u"ReBillNo")
      << billDate(u"OutStk", u"日期:") << text(u"OutStk", u"车主名称：", u"Ccode", u"CCode")
      << text(u"OutStk", u"班组：", u"Class");

    // Repair items.
    c << text(u"ServiceItem", u"项目编号:", u"SItemCode") << text(u"ServiceItem", u"项目名称:", u"SItemName");

    // Customers and suppliers: their types are read when the page is shown.
    c << text(u"Client", u"客户编号：", u"CCode") << text(u"Client", u"客户名称：", u"CName")
      << text(u"Client", u"联系人：", u"Linkmen")
      << typeList(u"Client", u"客户类型：", u"ClientType", {}, u"select ClientType from t_ClientType");
    c << text(u"Supplier", u"供应商编号:", u"SCode") << text(u"Supplier", u"供应商名称:", u"SName")
      << text(u"Supplier", u"联系人：", u"Linkmen")
      << typeList(u"Supplier", u"供应商类别：", u"SupplierType", {},
                  u"select SupplierType from t_SupplierType");

    // Stock-takings.
    c << text(u"Mcheck", u"盘点单号", u"BillNo") << text(u"Mcheck", u"说明", u"Remark");
    return c;
}

} // namespace

const QList<FindPage>& FindPages()
{
    static const QList<FindPage> pages{
        {QStringLiteral("Reception"), true}, {QStringLiteral("IN"), true},
        {QStringLiteral("DayAccount"), true}, {QStringLiteral("Stock"), true},
        {QStringLiteral("Vehicle"), true},    {QStringLiteral("Card"), false},
        {QStringLiteral("Check"), false},     {QStringLiteral("OutStk"), false},
        {QStringLiteral("ServiceItem"), false}, {QStringLiteral("Client"), false},
        {QStringLiteral("Supplier"), false},  {QStringLiteral("Mcheck"), false},
        {QStringLiteral("Out"), false},
    };
    return pages;
}

const QList<FindCondition>& FindConditions()
{
    static const QList<FindCondition> conditions = makeConditions();
    return conditions;
}

} // namespace qx::app::find
