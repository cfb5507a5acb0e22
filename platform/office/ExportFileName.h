// Where an export that opens its file with the desktop's program puts that file: a new file in
// the system's temporary folder, named after the form it came from and the moment it was made.
#pragma once

#include <QString>

namespace qx {

// "<temporary folder>/<caption>_<yyyyMMddhhmmss>.<extension>", the moment from the system's
// clock. Characters a file name cannot hold (or that other systems refuse) become '_', a caption
// is cut after 80 characters, and an empty one leaves the time stamp alone. When a file of that
// name exists already, "_2", "_3"... follow the time stamp, so an export never writes over an
// earlier one. The name is claimed by creating an empty file under it, so two exports in the same
// second never share a name.
QString newExportFileName(const QString& caption, const QString& extension);

// The name newExportFileName claimed, for one export: unless keep() is called after the file
// was written, the claim is removed when the object goes, so an export that fails (a full disk)
// leaves no empty file behind under its name.
class ClaimedExportFile
{
public:
    ClaimedExportFile(const QString& caption, const QString& extension);
    ~ClaimedExportFile();
    ClaimedExportFile(const ClaimedExportFile&) = delete;
    ClaimedExportFile& operator=(const ClaimedExportFile&) = delete;

    const QString& name() const { return m_name; }
    void keep() { m_keep = true; }

private:
    QString m_name;
    bool m_keep = false;
};

} // namespace qx
