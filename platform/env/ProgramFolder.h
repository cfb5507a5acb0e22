// The program folder: where the executable sits, and with it the settings files, Ime.DCT,
// the database, backups and layout files. Tests point it at a temporary folder.
#pragma once

#include <QString>

namespace qx {

// The folder of the running executable, or the one set by setProgramFolder, always ending in
// '/'.
QString programFolder();
// Replaces the program folder ('/' is added when missing); an empty folder goes back to the
// executable's.
void setProgramFolder(const QString& folder);

} // namespace qx
