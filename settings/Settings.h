// The settings file mysetup.ini: section "language", key "comPort", the number of the chosen COM port.
//
// The file lives in the program's directory. An installed program usually cannot write there; then the
// file lives in the user's configuration folder (QStandardPaths::AppConfigLocation) instead. Reading
// prefers the program's directory when a file is there that the program may also write. The file is
// written only when the number it holds would change, so the once-a-second port-list refresh does not
// rewrite it; what it holds is always the last port chosen, in the form "[language]\ncomPort=3\n".
// Anything at the file's place other than a regular file of at most MaxProfileFileSize (a device, a
// FIFO, a link to one, a huge file) counts as no file: it is never opened in a way that waits, never
// read whole, and never rewritten.
#pragma once

#include <QString>

#include <cstdint>

extern int16_t ComPortNumber; // 0: no port chosen

// ComPortNumber := the file's value; 0 when the file or the key is missing or the value is not a
// decimal number that fits 16 bits. Blanks around the number do not matter.
void LoadComPortSetting();
// Writes ComPortNumber into the file unless it already holds that number. Other sections and keys of
// a file edited by hand stay. A failure is silent: ComPortNumber keeps its value for this run.
void SaveComPortSetting();
// Whether the file holds ComPortNumber: false after a save that failed.
bool ComPortSettingSaved();

// The program's directory: where mysetup.ini and dosdevices/ live. Defaults to the executable's
// directory; tests point it at a temporary folder.
QString ProgramDirectory();
void SetProgramDirectory(const QString& directory); // empty: back to the executable's
// The settings file that is written: the one in the program directory when the program may write
// it, else the one in the user's configuration folder.
QString SettingsFilePath();
// The other place: the user's configuration folder's file (QStandardPaths::AppConfigLocation).
QString UserSettingsFilePath();
