#include "platform/env/Beep.h"

#include <QApplication>

#include <utility>

namespace qx {

namespace {

BeepHook& currentHook()
{
    static BeepHook hook;
    return hook;
}

} // namespace

void beep()
{
    if (const BeepHook& hook = currentHook())
        hook();
    else
        QApplication::beep();
}

BeepHook setBeepHook(BeepHook hook)
{
    return std::exchange(currentHook(), std::move(hook));
}

} // namespace qx
