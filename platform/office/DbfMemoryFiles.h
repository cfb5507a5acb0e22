// A folder in memory for shapelib's DBF functions. Shapelib reaches files only through a table
// of hook functions; these hooks keep its files as byte arrays, so that a finished table leaves
// as one block of bytes through the exports' save routine (temporary file, checked writes,
// rename) instead of being written in place by the library.
#pragma once

#include <QByteArray>
#include <QString>

#include <shapefil.h>

#include <map>
#include <string>

namespace qx::dbf {

class MemoryFiles
{
public:
    MemoryFiles();
    MemoryFiles(const MemoryFiles&) = delete;
    MemoryFiles& operator=(const MemoryFiles&) = delete;

    // The hooks to hand to DBFCreateLL. Shapelib opens and removes files only inside that
    // call; wrap it in an OpenScope so that those requests reach this folder.
    SAHooks* hooks() { return &m_hooks; }

    // Routes shapelib's open and remove requests on this thread to the folder while it lives.
    class OpenScope
    {
    public:
        explicit OpenScope(MemoryFiles& files);
        ~OpenScope();
        OpenScope(const OpenScope&) = delete;
        OpenScope& operator=(const OpenScope&) = delete;

    private:
        MemoryFiles* m_outer;
    };

    // The bytes of a file, empty when there is none.
    QByteArray contents(const std::string& name) const;
    // Whether a write could not be stored (memory exhausted): the table is then incomplete.
    bool failed() const { return m_failed; }

    // The last message shapelib reported on this thread, and clearing it.
    static QString lastError();
    static void clearLastError();

private:
    friend struct Hooks;
    std::map<std::string, QByteArray> m_files;
    SAHooks m_hooks;
    bool m_failed = false;
};

} // namespace qx::dbf
