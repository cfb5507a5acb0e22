// The one routine through which the exports put a file on disk.
#pragma once

#include <QByteArray>
#include <QString>

namespace qx {

// Writes bytes as the whole content of fileName: into a temporary file beside it, every write
// and the final flush checked, then put in the old file's place. On any failure the old file
// stays whole, the temporary file is removed and EInOutError is raised with the operating
// system's reason.
void saveFileBytes(const QString& fileName, const QByteArray& bytes);

} // namespace qx
