// The operating system's reason for a failed file operation, in the system's message language:
// the errors a shop meets (a full disk, no right to write, a missing folder, a device error)
// read as the desktop says them; any other error keeps the C library's own text and number.
#pragma once

#include <QString>

namespace qx {

// The text of errno value `error`, ending in a full stop ("磁盘空间不足。").
QString systemErrorText(int error);

} // namespace qx
