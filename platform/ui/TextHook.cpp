#include "platform/ui/TextHook.h"

namespace qx {

namespace {
std::function<QString(const QString&)>& hook()
{
    static std::function<QString(const QString&)> h;
    return h;
}
} // namespace

QString localizeText(const QString& text)
{
    return hook() ? hook()(text) : text;
}

void setTextHook(std::function<QString(const QString&)> h)
{
    hook() = std::move(h);
}

} // namespace qx
