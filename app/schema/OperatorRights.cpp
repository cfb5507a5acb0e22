#include "app/schema/OperatorRights.h"

#include <iterator>

namespace qx::app {

namespace {

// The fixed list in the editor's order; level 0 is a module right, 1 one of its actions,
// 2 a right of the module's editor. The level gives the indentation (0, 4 or 8 blanks).
struct RightEntry
{
    int level;
    const char16_t* text;
};

constexpr RightEntry kFixedRights[] = {
    {0, u"主-工单管理"},
    {1, u"工单录入-增加"},
    {1, u"工单录入-修改"},
    {1, u"工单录入-删除"},
    {1, u"工单录入-收款"},
    {1, u"工单录入-查询"},
    {1, u"工单录入-取消审核"},
    {1, u"工单录入-改车主"},
    {2, u"维修结算单-打印"},
    {2, u"维修结算单-保存审核"},
    {2, u"维修结算单-配件成本"},
    {0, u"主-采购管理"},
    {1, u"购货管理-增加"},
    {1, u"购货管理-修改"},
    {1, u"购货管理-删除"},
    {1, u"购货管理-打印"},
    {1, u"购货管理-查询"},
    {1, u"购货管理-付款"},
    {1, u"购货管理-取消审核"},
    {2, u"入库单-打印"},
    {2, u"入库单-保存审核"},
    {0, u"主-库存管理"},
    {1, u"库存管理-新增配件"},
    {1, u"库存管理-修改"},
    {1, u"库存管理-删除"},
    {1, u"库存管理-查询"},
    {1, u"库存管理-调价"},
    {1, u"库存管理-更改配件编号"},
    {1, u"库存管理-成本价"},
    {0, u"主-盘点管理"},
    {1, u"盘点管理-增加"},
    {1, u"盘点管理-打印"},
    {1, u"盘点管理-查询"},
    {1, u"盘点管理-取消审核"},
    {2, u"盘点单-打印"},
    {2, u"盘点单-保存审核"},
    {0, u"主-其他收支"},
    {1, u"其他收支-增加"},
    {1, u"其他收支-修改"},
    {1, u"其他收支-删除"},
    {1, u"其他收支-打印"},
    {1, u"其他收支-查询"},
    {0, u"主-支付凭证"},
    {1, u"支付凭证管理-增加"},
    {1, u"支付凭证管理-修改"},
    {1, u"支付凭证管理-删除"},
    {1, u"支付凭证管理-打印"},
    {1, u"支付凭证管理-查询"},
    {1, u"支付凭证管理-取消审核"},
    {0, u"主-客户档案"},
    {1, u"客户档案-增加"},
    {1, u"客户档案-修改"},
    {1, u"客户档案-删除"},
    {1, u"客户档案-查询"},
    {1, u"客户档案-更改编号"},
    {0, u"主-维修项目"},
    {1, u"维修项目-增加"},
    {1, u"维修项目-修改"},
    {1, u"维修项目-删除"},
    {1, u"维修项目-查询"},
    {1, u"维修项目-调价"},
    {1, u"维修项目-更改编号"},
    {0, u"主-供应商档案"},
    {1, u"供应商档案-增加"},
    {1, u"供应商档案-修改"},
    {1, u"供应商档案-删除"},
    {1, u"供应商档案-查询"},
    {1, u"供应商档案-更改编号"},
    {0, u"主-固定资料"},
    {1, u"基本定义-员工信息"},
    {0, u"主-统计分析"},
    {1, u"统计分析-客户资料"},
    {1, u"统计分析-日记账"},
    {1, u"统计分析-月营业统计"},
    {1, u"统计分析-年营业统计"},
    {0, u"主-分类统计"},
    {0, u"主-财务统计"},
    {0, u"主-系统设置"},
    {1, u"系统设置-初始化"},
    {1, u"系统设置-数据升级"},
    {1, u"系统设置-生成数据字典"},
    {1, u"系统设置-恢复数据"},
    {1, u"系统设置-操作员及权限"},
    {0, u"主-报表中心"},
};

} // namespace

QString administratorCode()
{
    return QStringLiteral("高级用户");
}

QStringList fixedRights()
{
    QStringList rights;
    rights.reserve(qsizetype(std::size(kFixedRights)));
    for (const RightEntry& entry : kFixedRights)
        rights << QString(entry.level * 4, QLatin1Char(' ')) + QString::fromUtf16(entry.text);
    return rights;
}

QStringList administratorRights()
{
    QStringList rights = fixedRights();
    // Hidden menu items still check module "主" with their caption.
    rights << QStringLiteral("主-销售管理") << QStringLiteral("主-车辆年季审");
    // Report-centre entries carry three leading blanks in the rights editor.
    rights << QStringLiteral("   报表中心-报表设置");
    return rights;
}

} // namespace qx::app
