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

namespace qx::tpl::designer_text {

inline QString text() { return QStringLiteral("文字/表达式"); }
inline QString format() { return QStringLiteral("格式"); }
inline QString left() { return QStringLiteral("左(毫米)"); }
inline QString top() { return QStringLiteral("上(毫米)"); }
inline QString width() { return QStringLiteral("宽(毫米)"); }
inline QString height() { return QStringLiteral("高(毫米)"); }
inline QString fontName() { return QStringLiteral("字体"); }
inline QString fontSize() { return QStringLiteral("字号"); }
inline QString fontColor() { return QStringLiteral("文字颜色"); }
inline QString fill() { return QStringLiteral("填充色"); }
inline QString chooseColor() { return QStringLiteral("选择…"); }
inline QString noFill() { return QStringLiteral("透明"); }
inline QString bold() { return QStringLiteral("粗体"); }
inline QString align() { return QStringLiteral("对齐"); }
inline QString alignLeft() { return QStringLiteral("左"); }
inline QString alignCenter() { return QStringLiteral("中"); }
inline QString alignRight() { return QStringLiteral("右"); }
inline QString wordWrap() { return QStringLiteral("自动换行"); }
inline QString stretch() { return QStringLiteral("自动伸展"); }
inline QString frame() { return QStringLiteral("边框"); }
inline QString frameLeft() { return QStringLiteral("左"); }
inline QString frameTop() { return QStringLiteral("上"); }
inline QString frameRight() { return QStringLiteral("右"); }
inline QString frameBottom() { return QStringLiteral("下"); }
inline QString bandHeight() { return QStringLiteral("带高(毫米)"); }
inline QString paper() { return QStringLiteral("纸张"); }
inline QString orientation() { return QStringLiteral("方向"); }
inline QString portrait() { return QStringLiteral("纵向"); }
inline QString landscape() { return QStringLiteral("横向"); }
inline QString margins() { return QStringLiteral("页边距(毫米)：左、上、右、下"); }
inline QString preview() { return QStringLiteral("预览"); }
inline QString choosePicture() { return QStringLiteral("选择图片"); }
inline QString pictureFilter() { return QStringLiteral("PNG 图片 (*.png)"); }
inline QString damagedPicture() { return QStringLiteral("图片已损坏"); }
inline QString badPicture(const QString& why) { return QStringLiteral("不能使用这个图片：%1").arg(why); }
inline QString errorCaption() { return QStringLiteral("错误"); }
// "表达式有错：..." for the text of an object.
inline QString badExpression(const QString& why) { return QStringLiteral("表达式有错：%1").arg(why); }

} // namespace qx::tpl::designer_text
