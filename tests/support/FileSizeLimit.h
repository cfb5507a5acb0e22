// Makes the disk "fill up" for this process while the object lives: no file it writes may grow
// past the given size, and a write beyond it fails (EFBIG) as a write on a full disk does.
// The signal the kernel sends on such a write is ignored meanwhile; the limit and the signal's
// handling are restored when the object goes, also when a test leaves by an exception.
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace qxtest {

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_saved = ::getrlimit(RLIMIT_FSIZE, &m_old) == 0;
        if (!m_saved)
            return;
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        m_ok = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        if (!m_saved)
            return;
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // False when the limit could not be set: skip the test then.
    bool ok() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = SIG_DFL;
    bool m_saved = false;
    bool m_ok = false;
};

} // namespace qxtest
