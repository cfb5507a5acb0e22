#include "platform/rtl/SafeSave.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SystemError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qx {

namespace {

constexpr qsizetype kBufferSize = 64 * 1024;

SaveFaultHook& faultHook()
{
    static SaveFaultHook hook;
    return hook;
}

int injected(SaveStep step, const QString& target, qint64 written)
{
    const SaveFaultHook& hook = faultHook();
    return hook ? hook(step, target, written) : 0;
}

QString shownPath(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

[[noreturn]] void raiseCreate(const QString& target, int error)
{
    const QString reason = systemErrorText(error);
    throw ESaveError(QStringLiteral("Cannot create file \"%1\". %2").arg(shownPath(target), reason), reason, error);
}

} // namespace

SaveFaultHook setSaveFaultHook(SaveFaultHook hook)
{
    SaveFaultHook previous = std::move(faultHook());
    faultHook() = std::move(hook);
    return previous;
}

SafeSave::SafeSave(const QString& fileName) : m_target(fileName)
{
    // A link is followed: the file it names is replaced, the link stays.
    const QFileInfo info(fileName);
    if (info.isSymLink())
        m_target = info.symLinkTarget();
    const QByteArray target = QFile::encodeName(m_target);

    struct stat st = {};
    const bool exists = ::stat(target.constData(), &st) == 0;
    if (exists) {
        // A file without any write permission is read-only, also for an administrator, whose
        // rights pass the mode bits: a save never replaces it.
        if (S_ISDIR(st.st_mode))
            raiseCreate(m_target, EISDIR);
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            raiseCreate(m_target, EACCES);
        if (::access(target.constData(), W_OK) != 0)
            raiseCreate(m_target, errno);
    }
    if (const int error = injected(SaveStep::Create, m_target, 0))
        raiseCreate(m_target, error);

    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && m_fd < 0 && error == EEXIST; ++attempt) {
        m_temporary = m_target
                      + QStringLiteral(".%1~").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        // 0666 under the process's umask, as any new file; an existing target's own mode below.
        m_fd = ::open(QFile::encodeName(m_temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        error = m_fd < 0 ? errno : 0;
    }
    if (m_fd < 0) {
        m_temporary.clear();
        raiseCreate(m_target, error);
    }
    if (exists) {
        // The new file takes the old one's place with its permissions and, where we may, owner.
        if (::fchmod(m_fd, st.st_mode & 07777) != 0) {
            const int chmodError = errno;
            discard();
            raiseCreate(m_target, chmodError);
        }
        if (::fchown(m_fd, st.st_uid, st.st_gid) != 0) {
            // Only an administrator may give a file away; the saving user owns it otherwise.
        }
    }
    m_buffer.reserve(kBufferSize);
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

SafeSave::~SafeSave()
{
    discard();
}

void SafeSave::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(QFile::encodeName(m_temporary).constData());
        m_temporary.clear();
    }
    if (isOpen())
        QIODevice::close();
}

void SafeSave::cancel()
{
    discard();
}

bool SafeSave::fail(int error)
{
    if (m_error == 0)
        m_error = error;
    setErrorString(systemErrorText(m_error));
    return false;
}

void SafeSave::raiseError() const
{
    const int error = m_error ? m_error : EIO;
    const QString reason = systemErrorText(error);
    throw ESaveError(QStringLiteral("Cannot write file \"%1\". %2").arg(shownPath(m_target), reason), reason, error);
}

qint64 SafeSave::readData(char*, qint64)
{
    return -1;
}

bool SafeSave::flushBuffer()
{
    const char* p = m_buffer.constData();
    qsizetype left = m_buffer.size();
    while (left > 0) {
        if (const int error = injected(SaveStep::Write, m_target, m_written))
            return fail(error);
        const ssize_t n = ::write(m_fd, p, std::size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (n == 0)
            return fail(ENOSPC); // a device that takes nothing more is full
        p += n;
        left -= n;
        m_written += n;
    }
    m_buffer.clear();
    return true;
}

qint64 SafeSave::writeData(const char* data, qint64 size)
{
    if (m_error != 0 || m_fd < 0) {
        fail(m_error ? m_error : EBADF);
        return -1;
    }
    qint64 done = 0;
    while (done < size) {
        const qsizetype room = kBufferSize - m_buffer.size();
        const qsizetype take = qsizetype(std::min<qint64>(room, size - done));
        m_buffer.append(data + done, take);
        done += take;
        if (m_buffer.size() >= kBufferSize && !flushBuffer())
            return -1;
    }
    return size;
}

void SafeSave::commit()
{
    if (m_fd < 0)
        raiseError();
    if (m_error == 0)
        flushBuffer();
    if (m_error == 0) {
        const int error = injected(SaveStep::Sync, m_target, m_written);
        if (error != 0)
            fail(error);
        else if (::fsync(m_fd) != 0)
            fail(errno);
    }
    if (m_error == 0) {
        const int error = injected(SaveStep::Close, m_target, m_written);
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0 && error == 0)
            fail(errno);
        else if (error != 0)
            fail(error);
    }
    if (m_error == 0) {
        const int error = injected(SaveStep::Rename, m_target, m_written);
        if (error != 0)
            fail(error);
        else if (::rename(QFile::encodeName(m_temporary).constData(), QFile::encodeName(m_target).constData()) != 0)
            fail(errno);
        else
            m_temporary.clear(); // it is the target now
    }
    if (m_error != 0) {
        discard();
        raiseError();
    }
    QIODevice::close();
    // The rename is durable once the folder's entry is on disk too. The file is in place
    // already, so a folder that cannot be synced is no failure of the save.
    const int dir = ::open(QFile::encodeName(QFileInfo(m_target).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void saveFile(const QString& fileName, const std::function<void(QIODevice&)>& write)
{
    SafeSave out(fileName);
    try {
        write(out);
    } catch (const Exception&) {
        if (out.error() != 0)
            out.raiseError();
        throw;
    }
    out.commit();
}

void saveFile(const QString& fileName, const QByteArray& bytes)
{
    saveFile(fileName, [&](QIODevice& out) { out.write(bytes); });
}

} // namespace qx
