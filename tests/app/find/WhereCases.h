// The where text of every page: what is filled in and the exact text the browser receives,
// with the day fixed at 5 March 2026 (the date pickers start there). Runs says on which
// browsers' statements the text is also run: a condition on a column that a browser's table
// does not have is run on the page's main browser only, or on none when no browser has it.
#pragma once

#include "FindFixture.h"

namespace qx::app::test {

enum class Runs { All, Main, None };

struct WhereCase
{
    const char* page;
    std::vector<FindInput> inputs;
    const char16_t* where;
    Runs runs = Runs::All;
};

inline const std::vector<WhereCase>& whereCases()
{
    static const std::vector<WhereCase> cases{
        // Work orders: each operator, no operator, every text column, the receipt number,
        // the date ranges, the state, the receipt date alone and after another, the ranges.
        {"Reception", {{"EdtReceptionBillNo", u"WX260305001"}}, u" Where  BillNo ='WX260305001'"},
        {"Reception", {{"CbxReceptionReBillNo", u"后字符为"}, {"EdtReceptionReBillNo", u"12"}},
         uR"( Where  ReBillNo LIKE '%12' ESCAPE '\')"},
        {"Reception", {{"CbxReceptionVIN", u"前字符为"}, {"EdtReceptionVIN", u"SN"}},
         uR"( Where  VIN LIKE 'SN%' ESCAPE '\')"},
        {"Reception", {{"CbxReceptionCName", u"包含于"}, {"EdtReceptionCName", u"张"}},
         uR"( Where  CName LIKE '%张%' ESCAPE '\')"},
        {"Reception", {{"CbxReceptionTel", u"等于"}, {"EdtReceptionTel", u"5551234"}},
         u" Where  Tel ='5551234'"},
        {"Reception",
         {{"EdtReceptionModel", u"iPhone"}, {"EdtReceptionlinkMen", u"李"}, {"EdtReceptionMainWorker", u"王"},
          {"EdtReceptionReceiver", u"赵"}, {"EdtReceptionHTel", u"139"}, {"EdtReceptionEngineNo", u"X1"}},
         u" Where  linkMen ='李' and MainWorker ='王' and Receiver ='赵' and HTel ='139' and EngineNo ='X1'"
         u" and Model ='iPhone'"},
        {"Reception", {{"EdtReceptionBNo", u"P-1"}},
         u" Where  BillNo in (Select BillNo from t_ReceptionDlt3 where BNo ='P-1')"},
        {"Reception", {{"CbxReceptionBNo", u"前字符为"}, {"EdtReceptionBNo", u"P"}},
         uR"( Where  BillNo in (Select BillNo from t_ReceptionDlt3 where BNo LIKE 'P%' ESCAPE '\'))"},
        {"Reception",
         {{"ChkReceptionInTime"}, {"DtpReceptionInTimeFrom", u"2026-03-01"}, {"DtpReceptionInTimeTo", u"2026-03-03"}},
         u" Where  InTime >=CVDate('2026-03-01') and Intime<=cvDate('2026-03-03')"},
        {"Reception", {{"DtpReceptionInTimeFrom", u"2026-03-01"}}, u"1"}, // box not ticked
        {"Reception", {{"RgpReceptionState0"}}, u" Where  IsSettle<>true "},
        {"Reception", {{"RgpReceptionState1"}}, u" Where  totalAmount-Received-DecAmount<=0 "},
        {"Reception", {{"RgpReceptionState2"}}, u" Where  totalAmount-Received-DecAmount>0 "},
        {"Reception", {{"RgpReceptionState0"}, {"RgpReceptionState3"}}, u"1"},
        {"Reception", {{"ChkReceptionReceivTime"}},
         u" Where BillNo in (Select BillNo from t_ReceptionDlt3 where ReceivTime >=CVDate('2026-03-05')"
         u" and ReceivTime<=cvDate('2026-03-05'))"},
        {"Reception", {{"EdtReceptionBillNo", u"WX1"}, {"ChkReceptionReceivTime"}},
         u" Where  BillNo ='WX1'and BillNo in (Select BillNo from t_ReceptionDlt3 where ReceivTime"
         u" >=CVDate('2026-03-05') and ReceivTime<=cvDate('2026-03-05'))"},
        {"Reception", {{"EdtReceptionTimesAmountFrom", u"10"}, {"EdtReceptionTimesAmountTo", u"20"}},
         u" Where  TimesAmount >= 10 and TimesAmount <= 20"},
        {"Reception", {{"EdtReceptionPartsAmountFrom", u"0.5"}, {"EdtReceptionPartsAmountTo", u" 99.95 "}},
         u" Where  PartsAmount >= 0.5 and PartsAmount <= 99.95"},
        {"Reception", {{"EdtReceptionTotalAmountFrom", u"-5"}, {"EdtReceptionTotalAmountTo", u"1e3"}},
         u" Where  TotalAmount >= -5 and TotalAmount <= 1e3"},
        {"Reception", {{"EdtReceptionTimesAmountFrom", u"10"}}, u"1"},
        {"Reception", {{"EdtReceptionTotalAmountTo", u"10"}}, u"1"},
        {"Reception",
         {{"EdtReceptionBillNo", u"WX1"}, {"RgpReceptionState2"}, {"EdtReceptionModel", u"6s"},
          {"EdtReceptionTotalAmountFrom", u"1"}, {"EdtReceptionTotalAmountTo", u"2"}},
         u" Where  BillNo ='WX1' and totalAmount-Received-DecAmount>0  and Model ='6s' and TotalAmount >= 1"
         u" and TotalAmount <= 2"},

        // Quotes, percent signs, underscores and the escape character are searched for as
        // themselves.
        {"Reception", {{"EdtReceptionCName", u"O'Neil"}}, u" Where  CName ='O''Neil'"},
        {"Reception", {{"CbxReceptionCName", u"包含于"}, {"EdtReceptionCName", u"50%"}},
         uR"( Where  CName LIKE '%50\%%' ESCAPE '\')"},
        {"Reception", {{"CbxReceptionVIN", u"前字符为"}, {"EdtReceptionVIN", u"A_1"}},
         uR"( Where  VIN LIKE 'A\_1%' ESCAPE '\')"},
        {"Reception", {{"CbxReceptionVIN", u"后字符为"}, {"EdtReceptionVIN", uR"(x\y'%)"}},
         uR"( Where  VIN LIKE '%x\\y''\%' ESCAPE '\')"},
        {"Reception", {{"EdtReceptionBillNo", u"x' or '1'='1"}}, u" Where  BillNo ='x'' or ''1''=''1'"},
        {"Stock", {{"CbxStockItemName", u"包含于"}, {"EdtStockItemName", u"5%'"}},
         uR"( Where  (ItemName LIKE '%5\%''%' ESCAPE '\' or PY LIKE '%5\%''%' ESCAPE '\' or WB LIKE '%5\%''%' ESCAPE '\' or WBH LIKE '%5\%''%' ESCAPE '\'))"},

        // Devices: "Model：" compares MarkNo.
        {"Vehicle", {{"EdtVehicleModel", u"iPhone 6"}}, u" Where  Model ='iPhone 6'"},
        {"Vehicle", {{"CbxVehicleVIN", u"前字符为"}, {"EdtVehicleVIN", u"SN"}},
         uR"( Where  VIN LIKE 'SN%' ESCAPE '\')"},
        {"Vehicle",
         {{"EdtVehicleCName", u"张三"}, {"EdtVehicleTel", u"123"}, {"EdtVehiclelinkMen", u"李四"},
          {"EdtVehicleHTel", u"139"}, {"EdtVehicleMarkNo", u"A1586"}},
         u" Where  CName ='张三' and Tel ='123' and linkMen ='李四' and HTel ='139' and MarkNo ='A1586'"},

        // Purchases and payment vouchers: the payment state gives a first and a last fragment.
        {"IN", {{"RgpINPayState0"}}, u" Where  TotalAmount-Payed<=0  and TotalAmount=Payed ", Runs::Main},
        {"IN", {{"RgpINPayState1"}, {"EdtINBillNo", u"GJ1"}},
         u" Where  totalAmount-Payed>0  and BillNo ='GJ1' and TotalAmount<>Payed ", Runs::Main},
        {"IN", {{"RgpINPayState2"}}, u"1"},
        {"IN", {{"EdtINBillNo", u"GJ1"}, {"CbxINRemark", u"包含于"}, {"EdtINRemark", u"急"}},
         uR"( Where  BillNo ='GJ1' and Remark LIKE '%急%' ESCAPE '\')"},
        {"IN", {{"EdtINReBillNo", u"R1"}}, u" Where  ReBillNo ='R1'", Runs::Main},
        {"IN", {{"ChkINBillDate"}}, u" Where  BillDate >=CVDate('2026-03-05') and BillDate<=cvDate('2026-03-05')"},
        {"IN", {{"CbxINScode", u"包含于"}, {"EdtINScode", u"S0"}}, uR"( Where  Scode LIKE '%S0%' ESCAPE '\')",
         Runs::Main},

        // Sales: operators may be typed on this page; an unknown one compares for equality.
        {"Out", {{"EdtOutBillNo", u"XS1"}}, u" Where  BillNo ='XS1'"},
        {"Out", {{"CbxOutReBillNo", u"包含于"}, {"EdtOutReBillNo", u"9"}}, uR"( Where  ReBillNo LIKE '%9%' ESCAPE '\')"},
        {"Out", {{"ChkOutBillDate"}, {"DtpOutBillDateFrom", u"2026-03-01"}},
         u" Where  BillDate >=CVDate('2026-03-01') and BillDate<=cvDate('2026-03-05')"},
        {"Out", {{"EdtOutCcode", u"C001"}}, u" Where  Ccode ='C001'"},
        {"Out", {{"RgpOutReceiptState0"}}, u" Where  TotalAmount=Payed "},
        {"Out", {{"RgpOutReceiptState1"}, {"EdtOutBillNo", u"XS1"}}, u" Where  BillNo ='XS1' and TotalAmount<>Payed "},
        {"Out", {{"CbxOutBillNo", u"大约"}, {"EdtOutBillNo", u"XS"}}, u" Where  BillNo ='XS'"},

        // Other income and expenses: the income/expense list.
        {"DayAccount", {{"EdtDayAccountCharger", u"王"}}, u" Where  Charger ='王'"},
        {"DayAccount", {{"CbxDayAccountRemark", u"包含于"}, {"EdtDayAccountRemark", u"房租"}},
         uR"( Where  Remark LIKE '%房租%' ESCAPE '\')"},
        {"DayAccount", {{"LstDayAccountJD", u"收入"}}, u" Where  JD ='收入'"},
        {"DayAccount", {{"LstDayAccountJD", u"支出"}, {"EdtDayAccountBillType", u"水电"}},
         u" Where  JD ='支出' and BillType ='水电'"},
        {"DayAccount", {{"LstDayAccountJD", u"全部"}}, u"1"},
        {"DayAccount", {{"ChkDayAccountBillDate"}},
         u" Where  BillDate >=CVDate('2026-03-05') and BillDate<=cvDate('2026-03-05')"},

        // Stock: the part name compared with its input codes too.
        {"Stock", {{"EdtStockItemCode", u"P001"}}, u" Where  ItemCode ='P001'"},
        {"Stock", {{"EdtStockItemName", u"电池"}},
         u" Where  (ItemName ='电池' or PY='电池' or WB='电池' or WBH='电池')"},
        {"Stock", {{"CbxStockItemName", u"前字符为"}, {"EdtStockItemName", u"dc"}},
         uR"( Where  (ItemName LIKE 'dc%' ESCAPE '\' or PY LIKE 'dc%' ESCAPE '\' or WB LIKE 'dc%' ESCAPE '\' or WBH LIKE 'dc%' ESCAPE '\'))"},
        {"Stock", {{"CbxStockItemName", u"后字符为"}, {"EdtStockItemName", u"池"}},
         uR"( Where  (ItemName LIKE '%池' ESCAPE '\' or PY LIKE '%池' ESCAPE '\' or WB LIKE '%池' ESCAPE '\' or WBH LIKE '%池' ESCAPE '\'))"},
        {"Stock", {{"EdtStockModel", u"6s"}, {"EdtStocklocation", u"A-01"}}, u" Where  Model ='6s' and location ='A-01'"},

        // Cards, device checks, stock-out bills, repair items, customers, suppliers, stock-takings.
        {"Card", {{"EdtCardCardNo", u"K01"}}, u" Where  CardNo ='K01'"},
        {"Card", {{"CbxCardCCode", u"前字符为"}, {"EdtCardCCode", u"C0"}}, uR"( Where  CCode LIKE 'C0%' ESCAPE '\')"},
        {"Check", {{"LstCheckCheckType", u"年审"}}, u" Where  CheckType ='年审'"},
        {"Check", {{"CbxCheckCheckType", u"包含于"}, {"LstCheckCheckType", u"季审"}},
         uR"( Where  CheckType LIKE '%季审%' ESCAPE '\')"},
        {"Check", {{"EdtCheckCCode", u"C001"}, {"EdtCheckCName", u"张三"}, {"EdtCheckVin", u"SN1"}},
         u" Where  CCode ='C001' and CName ='张三' and Vin ='SN1'"},
        {"OutStk", {{"EdtOutStkBillNo", u"CK1"}, {"EdtOutStkReBillNo", u"WX1"}},
         u" Where  BillNo ='CK1' and ReBillNo ='WX1'"},
        {"OutStk", {{"ChkOutStkBillDate"}}, u" Where  BillDate >=CVDate('2026-03-05') and BillDate<=cvDate('2026-03-05')"},
        {"OutStk", {{"EdtOutStkCcode", u"C1"}, {"EdtOutStkClass", u"一组"}}, u" Where  Ccode ='C1' and Class ='一组'",
         Runs::None},
        {"ServiceItem", {{"EdtServiceItemSItemCode", u"X01"}}, u" Where  SItemCode ='X01'"},
        {"ServiceItem", {{"CbxServiceItemSItemName", u"包含于"}, {"EdtServiceItemSItemName", u"换屏"}},
         uR"( Where  SItemName LIKE '%换屏%' ESCAPE '\')"},
        {"Client", {{"EdtClientCCode", u"C001"}, {"EdtClientCName", u"张三"}, {"EdtClientLinkmen", u"李"}},
         u" Where  CCode ='C001' and CName ='张三' and Linkmen ='李'"},
        {"Client", {{"LstClientClientType", u"单位"}}, u" Where  ClientType ='单位'"},
        {"Supplier", {{"EdtSupplierSCode", u"S01"}, {"EdtSupplierSName", u"华强"}, {"EdtSupplierLinkmen", u"刘"}},
         u" Where  SCode ='S01' and SName ='华强' and Linkmen ='刘'"},
        {"Supplier", {{"LstSupplierSupplierType", u"配件商"}}, u" Where  SupplierType ='配件商'"},
        {"Mcheck", {{"EdtMcheckBillNo", u"PD1"}, {"CbxMcheckRemark", u"包含于"}, {"EdtMcheckRemark", u"月"}},
         uR"( Where  BillNo ='PD1' and Remark LIKE '%月%' ESCAPE '\')"},
    };
    return cases;
}

} // namespace qx::app::test
