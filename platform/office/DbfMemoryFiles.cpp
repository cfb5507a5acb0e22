#include "platform/office/DbfMemoryFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace qx::dbf {

namespace {

thread_local MemoryFiles* t_opening = nullptr;
thread_local QString t_lastError;

// What shapelib holds as an open file: the folder, the file's bytes and a position.
struct Handle
{
    MemoryFiles* folder;
    QByteArray* bytes;
    SAOffset pos = 0;
};

Handle* handleOf(SAFile file)
{
    return reinterpret_cast<Handle*>(file);
}

} // namespace

// The hook functions. None lets an exception into shapelib's C code: a failure is reported
// the C way (a short count, -1, a null handle) and remembered in the folder.
struct Hooks
{
    static SAFile open(const char* name, const char* access)
    {
        MemoryFiles* folder = t_opening;
        if (!folder || !name || !access)
            return nullptr;
        try {
            const std::string key(name);
            QByteArray* bytes = nullptr;
            if (access[0] == 'w') {
                bytes = &folder->m_files[key];
                bytes->clear();
            } else {
                auto it = folder->m_files.find(key);
                if (it == folder->m_files.end())
                    return nullptr;
                bytes = &it->second;
            }
            return reinterpret_cast<SAFile>(new Handle{folder, bytes});
        } catch (const std::bad_alloc&) {
            folder->m_failed = true;
            return nullptr;
        }
    }

    static SAOffset read(void* p, SAOffset size, SAOffset count, SAFile file)
    {
        Handle* h = handleOf(file);
        if (!h || size == 0)
            return 0;
        const SAOffset length = SAOffset(h->bytes->size());
        const SAOffset available = h->pos < length ? length - h->pos : 0;
        const SAOffset items = std::min(count, available / size);
        std::memcpy(p, h->bytes->constData() + h->pos, items * size);
        h->pos += items * size;
        return items;
    }

    static SAOffset write(void* p, SAOffset size, SAOffset count, SAFile file)
    {
        Handle* h = handleOf(file);
        if (!h || size == 0)
            return 0;
        const SAOffset n = size * count;
        try {
            const SAOffset end = h->pos + n;
            if (end > SAOffset(h->bytes->size()))
                h->bytes->resize(qsizetype(end), '\0');
            std::memcpy(h->bytes->data() + h->pos, p, n);
        } catch (const std::bad_alloc&) {
            h->folder->m_failed = true;
            return 0;
        }
        h->pos += n;
        return count;
    }

    static SAOffset seek(SAFile file, SAOffset offset, int whence)
    {
        Handle* h = handleOf(file);
        if (!h)
            return SAOffset(-1);
        switch (whence) {
        case SEEK_SET: h->pos = offset; break;
        case SEEK_CUR: h->pos += offset; break;
        case SEEK_END: h->pos = SAOffset(h->bytes->size()) + offset; break;
        default: return SAOffset(-1);
        }
        return 0;
    }

    static SAOffset tell(SAFile file)
    {
        Handle* h = handleOf(file);
        return h ? h->pos : SAOffset(-1);
    }

    static int flush(SAFile) { return 0; }

    static int close(SAFile file)
    {
        delete handleOf(file);
        return 0;
    }

    static int remove(const char* name)
    {
        MemoryFiles* folder = t_opening;
        if (!folder || !name)
            return -1;
        return folder->m_files.erase(std::string(name)) > 0 ? 0 : -1;
    }

    static void error(const char* message)
    {
        t_lastError = QString::fromLocal8Bit(message ? message : "");
    }
};

MemoryFiles::MemoryFiles()
{
    SASetupDefaultHooks(&m_hooks);
    m_hooks.FOpen = &Hooks::open;
    m_hooks.FRead = &Hooks::read;
    m_hooks.FWrite = &Hooks::write;
    m_hooks.FSeek = &Hooks::seek;
    m_hooks.FTell = &Hooks::tell;
    m_hooks.FFlush = &Hooks::flush;
    m_hooks.FClose = &Hooks::close;
    m_hooks.Remove = &Hooks::remove;
    m_hooks.Error = &Hooks::error;
}

MemoryFiles::OpenScope::OpenScope(MemoryFiles& files) : m_outer(t_opening)
{
    t_opening = &files;
}

MemoryFiles::OpenScope::~OpenScope()
{
    t_opening = m_outer;
}

QByteArray MemoryFiles::contents(const std::string& name) const
{
    auto it = m_files.find(name);
    return it == m_files.end() ? QByteArray() : it->second;
}

QString MemoryFiles::lastError()
{
    return t_lastError;
}

void MemoryFiles::clearLastError()
{
    t_lastError.clear();
}

} // namespace qx::dbf
