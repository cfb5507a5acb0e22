#include "platform/env/ProgramFolder.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <mutex>

namespace qx {

namespace {

std::mutex& folderMutex()
{
    static std::mutex m;
    return m;
}

QString& overriddenFolder()
{
    static QString folder;
    return folder;
}

QString withDelimiter(QString folder)
{
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

QString executableFolder()
{
    // The executable does not move while it runs: look it up once.
    static const QString folder = [] {
        if (QCoreApplication::instance())
            return QCoreApplication::applicationDirPath();
        // Before the application object exists (start-up formats are set first) the kernel
        // knows where the executable is.
        return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget())
            .absolutePath();
    }();
    return folder;
}

} // namespace

QString programFolder()
{
    {
        std::lock_guard lock(folderMutex());
        if (!overriddenFolder().isEmpty())
            return overriddenFolder();
    }
    return withDelimiter(executableFolder());
}

void setProgramFolder(const QString& folder)
{
    std::lock_guard lock(folderMutex());
    overriddenFolder() = folder.isEmpty() ? QString() : withDelimiter(folder);
}

} // namespace qx
