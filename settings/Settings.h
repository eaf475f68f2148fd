// The settings file mysetup.ini: section "language", key "comPort".
#pragma once

#include <QString>

#include <cstdint>

extern int16_t ComPortNumber; // 0: no port chosen

void LoadComPortSetting();
void SaveComPortSetting();

// The program's directory: where mysetup.ini and dosdevices/ live. Defaults to the executable's
// directory; tests point it at a temporary folder.
QString ProgramDirectory();
void SetProgramDirectory(const QString& directory); // empty: back to the executable's
// The settings file actually used (program directory, or the user's configuration directory when
// the program directory is not writable).
QString SettingsFilePath();
