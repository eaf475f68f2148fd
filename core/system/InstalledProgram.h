// Whether the program runs installed, and where a user's own settings then live.
//
// Installed, the program's folder is shared by every user of the machine (<prefix>/bin, or Program
// Files), and the settings belong in each user's own folder even where the program's folder could be
// written (by root or an administrator, say). A copy that is not installed keeps its settings beside
// itself.
#pragma once

#include <QString>

// Linux: the install's desktop entry lies beside `programDirectory`, in ../share/applications.
// Windows: the setup program's uninstaller lies in `programDirectory`.
bool IsInstalledProgramDirectory(const QString& programDirectory);

// The user's folder for the program's settings: the configuration folder on Linux
// (~/.config/TANGELO_Tune), the roaming application-data folder on Windows (%APPDATA%\TANGELO_Tune),
// so that a user's choice follows them from machine to machine as Windows programs' settings do.
// Empty when the user has none.
QString UserSettingsFolder();
