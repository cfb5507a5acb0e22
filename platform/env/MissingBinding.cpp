#include "platform/env/MissingBinding.h"

#include "platform/env/DialogService.h"

namespace qx {
namespace {

MissingBindingHandler& handler()
{
    static MissingBindingHandler h;
    return h;
}

void showMissing(QWidget* parent, const QString& what)
{
    MessageBoxRequest request;
    request.caption = QStringLiteral("错误");
    request.text = QStringLiteral("程序缺少功能模块 [") + what + QStringLiteral("]，请重新安装本软件。");
    request.icon = MessageIcon::Error;
    DialogService::instance().messageBox(parent, request);
}

} // namespace

void reportMissingBinding(QWidget* parent, const QString& what)
{
    if (handler())
        handler()(parent, what);
    else
        showMissing(parent, what);
}

void setMissingBindingHandler(MissingBindingHandler h)
{
    handler() = std::move(h);
}

const MissingBindingHandler& missingBindingHandler()
{
    return handler();
}

} // namespace qx
