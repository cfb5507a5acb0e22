// The captions of the template designer, kept in one place.
#pragma once

#include "platform/template/Template.h"

#include <QString>

namespace qx::tpl::designer_text {

inline QString windowTitle() { return QStringLiteral("报表设计"); }
inline QString ok() { return QStringLiteral("确定"); }
inline QString cancel() { return QStringLiteral("取消"); }
inline QString select() { return QStringLiteral("选择"); }
inline QString addBand() { return QStringLiteral("增加带"); }
inline QString deleteBand() { return QStringLiteral("删除带"); }
inline QString bandUp() { return QStringLiteral("上移"); }
inline QString bandDown() { return QStringLiteral("下移"); }
inline QString undo() { return QStringLiteral("撤销"); }
inline QString redo() { return QStringLiteral("重做"); }
inline QString fields() { return QStringLiteral("数据字段"); }

inline QString objectKind(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Text: return QStringLiteral("文字");
    case ObjectKind::Field: return QStringLiteral("字段");
    case ObjectKind::Line: return QStringLiteral("直线");
    case ObjectKind::Rectangle: return QStringLiteral("矩形");
    case ObjectKind::Picture: return QStringLiteral("图片");
    }
    return QString();
}

inline QString bandKind(BandKind kind)
{
    switch (kind) {
    case BandKind::Title: return QStringLiteral("标题");
    case BandKind::PageHeader: return QStringLiteral("页眉");
    case BandKind::PageFooter: return QStringLiteral("页脚");
    case BandKind::Master: return QStringLiteral("主数据");
    case BandKind::DetailHeader: return QStringLiteral("明细头");
    case BandKind::Detail: return QStringLiteral("明细数据");
    case BandKind::DetailFooter: return QStringLiteral("明细尾");
    case BandKind::GroupHeader: return QStringLiteral("组头");
    case BandKind::GroupFooter: return QStringLiteral("组尾");
    case BandKind::Summary: return QStringLiteral("汇总");
    case BandKind::Child: return QStringLiteral("子带");
    }
    return QString();
}

} // namespace qx::tpl::designer_text
