#include "app/master/ContactFields.h"

namespace qx::app {

std::vector<MasterEditorField> contactFields(bool withMobile)
{
    std::vector<MasterEditorField> fields = {
        {QStringLiteral("联系人："), QStringLiteral("Linkmen")},
        {QStringLiteral("电话："), QStringLiteral("Tel")},
    };
    if (withMobile)
        fields.push_back({QStringLiteral("手机："), QStringLiteral("HTel")});
    const std::vector<MasterEditorField> rest = {
        {QStringLiteral("传真："), QStringLiteral("Fax")},
        {QStringLiteral("所属地区："), QStringLiteral("Area")},
        {QStringLiteral("邮编："), QStringLiteral("Postcode")},
        {QStringLiteral("Email："), QStringLiteral("E_mail")},
        {QStringLiteral("网址："), QStringLiteral("ItlAdd")},
        {QStringLiteral("税号："), QStringLiteral("TaxNo")},
        {QStringLiteral("银行帐号："), QStringLiteral("BankNo")},
        {QStringLiteral("开户行："), QStringLiteral("Bank")},
        {QStringLiteral("地址："), QStringLiteral("Addr")},
        {QStringLiteral("备注："), QStringLiteral("Remark")},
    };
    fields.insert(fields.end(), rest.begin(), rest.end());
    return fields;
}

} // namespace qx::app
