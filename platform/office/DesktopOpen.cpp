#include "platform/office/DesktopOpen.h"

#include <QDesktopServices>
#include <QUrl>

#include <mutex>

namespace qx {

namespace {

std::mutex& scopeMutex()
{
    static std::mutex m;
    return m;
}

// The innermost live scope; none while opening is on.
DesktopOpeningOff* g_innermost = nullptr;

} // namespace

DesktopOpeningOff::DesktopOpeningOff()
{
    std::lock_guard lock(scopeMutex());
    m_outer = g_innermost;
    g_innermost = this;
}

DesktopOpeningOff::~DesktopOpeningOff()
{
    std::lock_guard lock(scopeMutex());
    // Scopes end in the reverse order of their start; an out-of-order end still unhooks this one.
    if (g_innermost == this) {
        g_innermost = m_outer;
        return;
    }
    for (DesktopOpeningOff* s = g_innermost; s; s = s->m_outer) {
        if (s->m_outer == this) {
            s->m_outer = m_outer;
            return;
        }
    }
}

QStringList DesktopOpeningOff::requested() const
{
    std::lock_guard lock(scopeMutex());
    return m_requested;
}

bool desktopOpeningEnabled()
{
    std::lock_guard lock(scopeMutex());
    return g_innermost == nullptr;
}

bool openWithDesktop(const QString& fileName)
{
    {
        std::lock_guard lock(scopeMutex());
        if (g_innermost) {
            g_innermost->m_requested.append(fileName);
            return true;
        }
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
}

} // namespace qx
