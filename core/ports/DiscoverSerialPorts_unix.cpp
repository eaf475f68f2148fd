#include "ports/ComPorts.h"

#include "ports/CableInfo.h"
#include "ports/SysfsAttribute.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <optional>

namespace {

// A serial device found in sysfs.
struct SysDevice
{
    QString Name;
    int16_t Number = 0; // derived from the name; 0 for none
    std::optional<dev_t> Device;
    QString Adapter; // the USB adapter's description, or empty
    bool Aliased = false;
};

// An alias com<N> and the character device it names.
struct Alias
{
    int16_t Number = 0;
    QString Target; // canonical path
    dev_t Device = 0;
};

// The `dev` attribute, "major:minor".
std::optional<dev_t> DeviceNumber(const QString& ttyDir)
{
    const QStringList parts = ReadAttribute(ttyDir + QStringLiteral("/dev")).split(u':');
    if (parts.size() != 2)
        return std::nullopt;
    bool okMajor = false;
    bool okMinor = false;
    const unsigned major = parts[0].toUInt(&okMajor);
    const unsigned minor = parts[1].toUInt(&okMinor);
    if (!okMajor || !okMinor)
        return std::nullopt;
    return makedev(major, minor);
}

// The description of the USB device above the tty: "FTDI FT232R USB UART (0403:6001)".
QString UsbAdapter(const QString& sysRoot, const QString& name)
{
    const CableInfo cable = CableInfoFor(QStringLiteral("/dev/") + name, sysRoot);
    if (!cable.IsUsb())
        return {};
    const QString words = cable.Name();
    return words.isEmpty() ? cable.UsbIds() : words + QStringLiteral(" (") + cable.UsbIds() + u')';
}

QList<SysDevice> SysfsDevices(const QString& sysRoot)
{
    QList<SysDevice> devices;
    const QString classDir = sysRoot + QStringLiteral("/class/tty");
    const QStringList names =
        QDir(classDir).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        const QString ttyDir = classDir + u'/' + name;
        const QFileInfo link(ttyDir + QStringLiteral("/device"));
        if (!link.isSymLink() && !link.exists())
            continue; // virtual terminals, pseudo-terminals and the like
        const QString type = ReadAttribute(ttyDir + QStringLiteral("/type"));
        if (type == QStringLiteral("0"))
            continue; // a serial-core placeholder with no UART behind it
        devices.append({name, ComNumberForDevice(name), DeviceNumber(ttyDir), UsbAdapter(sysRoot, name)});
    }
    return devices;
}

// The valid aliases, lowest number first; of two spellings of one number the first by name.
QList<Alias> Aliases(const QString& aliasDir)
{
    // Anchored to the whole name: "$" alone would also take a name ending in a line feed.
    const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("com([1-9][0-9]{0,2})")),
        QRegularExpression::CaseInsensitiveOption);
    QList<Alias> aliases;
    if (aliasDir.isEmpty())
        return aliases;
    const QDir dir(aliasDir);
    const QStringList names =
        dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (!match.hasMatch())
            continue;
        const QFileInfo link(dir.filePath(name));
        if (!link.isSymLink())
            continue;
        const QString target = link.canonicalFilePath(); // empty when the target is missing
        struct stat st
        {
        };
        if (target.isEmpty() || ::stat(QFile::encodeName(target).constData(), &st) != 0 ||
            !S_ISCHR(st.st_mode))
            continue;
        aliases.append({static_cast<int16_t>(match.captured(1).toInt()), target, st.st_rdev});
    }
    std::stable_sort(aliases.begin(), aliases.end(),
                     [](const Alias& a, const Alias& b) { return a.Number < b.Number; });
    return aliases;
}

bool SameDevice(const SysDevice& device, const Alias& alias)
{
    if (device.Device)
        return *device.Device == alias.Device;
    return QFileInfo(QStringLiteral("/dev/") + device.Name).canonicalFilePath() == alias.Target;
}

QString Describe(const QString& path, const QString& adapter)
{
    return adapter.isEmpty() ? path : path + QStringLiteral(" - ") + adapter;
}

} // namespace

QList<SerialPortEntry> DiscoverSerialPorts(const QString& sysRoot, const QString& aliasDir)
{
    QList<SysDevice> devices = SysfsDevices(sysRoot);
    QList<SerialPortEntry> entries;
    const auto numberTaken = [&](int16_t number) {
        return std::any_of(entries.begin(), entries.end(),
                           [&](const SerialPortEntry& e) { return e.Number == number; });
    };

    QList<dev_t> aliasedDevices;
    for (const Alias& alias : Aliases(aliasDir)) {
        if (numberTaken(alias.Number) || aliasedDevices.contains(alias.Device))
            continue;
        aliasedDevices.append(alias.Device);
        QString adapter;
        for (SysDevice& device : devices) {
            if (SameDevice(device, alias)) {
                device.Aliased = true;
                adapter = device.Adapter;
            }
        }
        entries.append({alias.Number, alias.Target, Describe(alias.Target, adapter), {}});
    }
    for (const SysDevice& device : devices) {
        if (device.Aliased || device.Number == 0 || numberTaken(device.Number))
            continue;
        const QString path = QStringLiteral("/dev/") + device.Name;
        entries.append({device.Number, path, Describe(path, device.Adapter), {}});
    }
    std::sort(entries.begin(), entries.end(),
              [](const SerialPortEntry& a, const SerialPortEntry& b) { return a.Number < b.Number; });
    return entries;
}
