// A small file system that really fills up: a tmpfs of a few pages mounted on a temporary
// folder while the object lives. Mounting needs the right to mount (root outside a locked-down
// container); ok() is false when it was refused: skip the test then.
//
// fill() takes all the room that is left, so the next write of any size meets ENOSPC the way
// a full disk gives it.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace qxtest {

class SmallFileSystem
{
public:
    explicit SmallFileSystem(int kilobytes = 64)
    {
        if (!m_dir.isValid())
            return;
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0777";
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs",
                            MS_NOSUID | MS_NODEV, options.constData())
                    == 0;
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool ok() const { return m_mounted; }
    QString filePath(const QString& name) const { return QDir(m_dir.path()).filePath(name); }

    // Writes a filler file until the file system refuses more bytes.
    void fill()
    {
        const int fd = ::open(QFile::encodeName(filePath(QStringLiteral("filler"))).constData(),
                              O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0)
            return;
        const QByteArray block(512, 'x');
        while (::write(fd, block.constData(), std::size_t(block.size())) > 0) {
        }
        const QByteArray byte(1, 'x');
        while (::write(fd, byte.constData(), 1) > 0) {
        }
        ::close(fd);
    }
    // Frees the room fill() took.
    void unfill() { QFile::remove(filePath(QStringLiteral("filler"))); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

} // namespace qxtest
