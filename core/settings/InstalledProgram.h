// Whether the program runs installed: its folder is then <prefix>/bin, shared by every user of the
// machine, and the settings belong in each user's configuration folder even where the folder could
// be written (by root, say).
#pragma once

#include <QString>

// True when the install's desktop entry lies beside `programDirectory`, in ../share/applications.
bool IsInstalledProgramDirectory(const QString& programDirectory);
