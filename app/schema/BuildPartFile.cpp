#include "app/schema/BuildPartFile.h"

#include "platform/rtl/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace qx::app {

namespace {

const QString kJournal = QStringLiteral("-journal");

// "<name>.part-<8 hex digits>", optionally with "-journal".
QRegularExpression partPattern(const QString& targetName)
{
    return QRegularExpression(QStringLiteral("^%1\\.part-[0-9a-f]{8}(-journal)?$")
                                  .arg(QRegularExpression::escape(targetName)));
}

} // namespace

BuildPartFile::BuildPartFile(const QString& target)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = target + QStringLiteral(".part-%1").arg(QRandomGenerator::global()->generate(), 8, 16,
                                                                         QLatin1Char('0'));
        const int fd = ::open(QFile::encodeName(candidate).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            throw EDatabaseError(QStringLiteral("不能在文件夹中建立文件：%1").arg(QString::fromLocal8Bit(strerror(errno))));
        }
        // Held until the build ends: the mark that the file is in use.
        ::flock(fd, LOCK_EX);
        m_path = candidate;
        m_lock = fd;
        return;
    }
    throw EDatabaseError(QStringLiteral("不能在文件夹中建立临时文件"));
}

BuildPartFile::~BuildPartFile()
{
    if (!m_kept) {
        QFile::remove(m_path);
        QFile::remove(m_path + kJournal);
    }
    if (m_lock >= 0)
        ::close(m_lock);
}

int removeStaleBuildFiles(const QString& target)
{
    const QFileInfo info(target);
    const QDir folder = info.absoluteDir();
    const QRegularExpression pattern = partPattern(info.fileName());
    int removed = 0;
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!pattern.match(name).hasMatch() || name.endsWith(kJournal))
            continue;
        const QString path = folder.filePath(name);
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0)
            continue;
        // A build that runs holds the lock; one that was killed let go of it with its process.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            removed += QFile::remove(path + kJournal) ? 1 : 0;
            removed += QFile::remove(path) ? 1 : 0;
        }
        ::close(fd);
    }
    // A journal whose database went: nothing can ever use it.
    for (const QString& name : names) {
        if (pattern.match(name).hasMatch() && name.endsWith(kJournal)
            && !QFileInfo::exists(folder.filePath(name.chopped(kJournal.size()))))
            removed += QFile::remove(folder.filePath(name)) ? 1 : 0;
    }
    return removed;
}

} // namespace qx::app
