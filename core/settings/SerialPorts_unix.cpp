#include "settings/Settings.h"

#include <QFileInfo>

QString ProgramSettings::AliasDirectory() const
{
    if (!aliasDir.isEmpty())
        return aliasDir;
    // Beside the file that holds the setting now, which may be the other place's when the program
    // directory looked writable but refused the write.
    const QString settings = FileToRead();
    const QString folder = settings.isEmpty() ? ProgramDirectory() : QFileInfo(settings).absolutePath();
    return folder + QStringLiteral("/dosdevices");
}

QString ProgramSettings::SysRoot() const
{
    return sysRoot.isEmpty() ? QStringLiteral("/sys") : sysRoot;
}

QList<SerialPortEntry> ProgramSettings::DiscoverSerialPorts() const
{
    return ::DiscoverSerialPorts(SysRoot(), AliasDirectory());
}

QString ProgramSettings::DevicePathForComPort(int16_t number) const
{
    for (const SerialPortEntry& entry : DiscoverSerialPorts()) {
        if (entry.Number == number)
            return entry.DevicePath;
    }
    return {};
}
