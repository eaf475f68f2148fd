// The settings file mysetup.ini: section "language", key "comPort", the number of the chosen COM port,
// and where the serial ports are looked for.
//
// The file lives in the program's directory. An installed program, or one that cannot write there,
// keeps it in the user's own folder instead (UserSettingsFolder: ~/.config/TANGELO_Tune on Linux,
// %APPDATA%\TANGELO_Tune on Windows). Reading
// prefers the program's directory when a file is there that the program may also write. The file is
// written only when the number it holds would change, so the once-a-second port-list refresh does not
// rewrite it; what it holds is always the last port chosen, in the form "[language]\ncomPort=3\n".
// Anything at the file's place other than a regular file of at most MaxProfileFileSize (a device, a
// FIFO, a link to one, a huge file) counts as no file: it is never opened in a way that waits, never
// read whole, and never rewritten.
#pragma once

#include "ports/ComPorts.h"
#include "ports/PortlessCables.h"
#include "settings/SmallFile.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// Where the program keeps its settings and finds its serial ports. The window owns one and hands it on;
// tests point it at temporary folders.
class ProgramSettings
{
public:
    // `programDirectory` empty: the executable's. `sysRoot` empty: /sys; on Windows it names the
    // registry key of the serial-device map instead (SerialDeviceMap.h). `aliasDir` empty: the
    // dosdevices folder beside the settings file (Linux only). `procRoot` and `udevRuleFolders` empty:
    // /proc and udev's own rule folders, where the cables without a port look for brltty (Linux only).
    explicit ProgramSettings(QString programDirectory = {}, QString sysRoot = {}, QString aliasDir = {},
                             QString procRoot = {}, QStringList udevRuleFolders = {});

    // The program's directory: where mysetup.ini and dosdevices/ live.
    QString ProgramDirectory() const;
    // The settings file that is written: the one in the program directory when the program may write
    // it, else the one in the user's configuration folder.
    QString SettingsFilePath() const;
    // The other place: the file in the user's own folder (UserSettingsFolder).
    static QString UserSettingsFilePath();

    // The file's port number; 0 when the file or the key is missing or the value is not a decimal
    // number that fits 16 bits. Blanks around the number do not matter.
    int16_t LoadComPortSetting() const;
    // Writes the number into the file unless it already holds that number. Other sections and keys of
    // a file edited by hand stay. A failure is silent: the caller keeps the number for this run.
    void SaveComPortSetting(int16_t comPortNumber) const;
    // Whether the file holds the number: false after a save that failed.
    bool ComPortSettingSaved(int16_t comPortNumber) const;

    // The folder of aliases beside the settings file in use (the one the number is read from).
    QString AliasDirectory() const;
    // The sysfs root the discovery reads (/sys unless a test says otherwise).
    QString SysRoot() const;
    // The serial ports from this object's roots.
    QList<SerialPortEntry> DiscoverSerialPorts() const;
    // Device path of COM `number` in a fresh discovery, or empty.
    QString DevicePathForComPort(int16_t number) const;
    // The cables plugged in without a port, read from this object's roots.
    QList<PortlessCable> FindPortlessCables() const;

private:
    QString ProgramSettingsFilePath() const;
    bool ProgramFileWritable() const;
    QString FileToRead() const;
    std::optional<int16_t> StoredComPortNumber() const;

    QString programDirectory;
    QString sysRoot;
    QString aliasDir;
    QString procRoot;
    QStringList udevRuleFolders;

    // The number last read, with the file's stamp.
    struct StoredNumber
    {
        QString Path;
        FileStamp Stamp;
        std::optional<int16_t> Number;
    };
    mutable std::optional<StoredNumber> lastRead;

    // What the system says of each listed port, for the tooltips: slow to ask on Windows, so kept
    // while the same ports are listed.
    struct PortDescriptions
    {
        QStringList Names;
        QStringList Texts;
    };
    mutable PortDescriptions descriptions;
};
