// The temporary file a database build writes before it renames it into place:
// "<target>.part-<8 hex digits>" beside the target, with SQLite's "-journal" next to it.
//
// A build holds its part file with an exclusive lock (flock) for as long as it runs, so a part
// file nobody holds is what a killed or crashed build left behind: the next build, and the
// program's start-up, remove those (removeStaleBuildFiles). A build under way elsewhere in the
// same folder keeps its files.
#pragma once

#include <QString>

namespace qx::app {

class BuildPartFile
{
public:
    // Claims a fresh part file beside target and locks it. Raises EDatabaseError (in the
    // builder's words) when the folder refuses a new file.
    explicit BuildPartFile(const QString& target);
    // Removes the part file and its journal unless keep() was called, then lets go of the lock.
    ~BuildPartFile();
    BuildPartFile(const BuildPartFile&) = delete;
    BuildPartFile& operator=(const BuildPartFile&) = delete;

    const QString& path() const { return m_path; }
    // The file became the target: nothing to remove.
    void keep() { m_kept = true; }

private:
    QString m_path;
    int m_lock = -1;
    bool m_kept = false;
};

// Removes the part files of builds of target that no running build holds, with their journals,
// and journals whose part file is gone. Files of other names are never touched. Returns how many
// files went; never raises (a file that cannot be removed stays).
int removeStaleBuildFiles(const QString& target);

} // namespace qx::app
