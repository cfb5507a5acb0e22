// Installs the dialogs the data grid's title menu opens (the settings dialog, the export
// dialog, the chart dialog). The program calls it once at start-up.
#pragma once

void InstallGridDialogs();
