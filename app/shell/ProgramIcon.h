// The program's own icon, drawn in code: the title bar of the main window, of the desktop and
// of every browser inside it, and the desktop's task list show it instead of the toolkit's.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace qx::app {

// The icon in the usual sizes (16 to 256 pixels).
QIcon ProgramIcon();
// The picture of the icon at one size.
QPixmap ProgramIconPicture(int size);

} // namespace qx::app
