#include "ports/PortlessCables.h"

#include "ports/SysfsAttribute.h"
#include "ports/UsbBridge.h"
#include "settings/SmallFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

// A process's name in /proc is at most 16 bytes.
constexpr int64_t MaxCommSize = 64;

QString Canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

QStringList Entries(const QString& folder, QDir::Filters filters = QDir::AllEntries | QDir::System)
{
    return QDir(folder).entryList(filters | QDir::NoDotAndDotDot, QDir::Name);
}

// The devices of every tty the system lists: a USB device above one of them has its port.
QStringList TtyDevices(const QString& sysRoot)
{
    QStringList devices;
    const QString classDir = sysRoot + QStringLiteral("/class/tty/");
    for (const QString& name : Entries(classDir)) {
        const QString device = Canonical(classDir + name + QStringLiteral("/device"));
        if (!device.isEmpty())
            devices << device;
    }
    return devices;
}

bool HasTtyBelow(const QString& usbDevice, const QStringList& ttyDevices)
{
    const QString prefix = usbDevice + u'/';
    return std::ranges::any_of(ttyDevices, [&](const QString& tty) { return tty.startsWith(prefix); });
}

struct UsbInterface
{
    QString Class; // two hex digits
    QString SubClass;
    QString Driver;    // empty: none bound
    QString DriverDir; // the driver's folder under bus/usb/drivers
};

// The version its module gives, found through the driver's link to its module or, where a tree has
// no such link, by the driver's name; empty when the module gives none (most do not).
QString DriverVersion(const QString& sysRoot, const UsbInterface& interface)
{
    QString module = Canonical(interface.DriverDir + QStringLiteral("/module"));
    if (module.isEmpty())
        module = sysRoot + QStringLiteral("/module/") + interface.Driver;
    return ReadAttribute(module + QStringLiteral("/version"));
}

QList<UsbInterface> Interfaces(const QString& device)
{
    QList<UsbInterface> interfaces;
    const QString prefix = QFileInfo(device).fileName() + u':';
    for (const QString& name : Entries(device, QDir::Dirs)) {
        if (!name.startsWith(prefix))
            continue;
        const QString dir = device + u'/' + name;
        const QString driverDir = Canonical(dir + QStringLiteral("/driver"));
        interfaces.append({ReadAttribute(dir + QStringLiteral("/bInterfaceClass")).toLower(),
                           ReadAttribute(dir + QStringLiteral("/bInterfaceSubClass")).toLower(),
                           QFileInfo(driverDir).fileName(), driverDir});
    }
    return interfaces;
}

bool IsCdcAcm(const UsbInterface& interface)
{
    return (interface.Class == u"02" && interface.SubClass == u"02") || interface.Driver == u"cdc_acm";
}

bool BrlttyRuns(const QString& procRoot)
{
    for (const QString& pid : Entries(procRoot, QDir::Dirs)) {
        const QByteArray comm =
            ReadSmallFile(procRoot + u'/' + pid + QStringLiteral("/comm"), MaxCommSize).Content;
        if (comm.trimmed() == "brltty")
            return true;
    }
    return false;
}

bool BrlttyRulesInstalled(const QStringList& ruleFolders)
{
    return std::ranges::any_of(ruleFolders, [](const QString& folder) {
        return !QDir(folder).entryList({QStringLiteral("*brltty*")}, QDir::Files | QDir::System).isEmpty();
    });
}

// Why the cable has no port, from the drivers of its interfaces; nothing when its own driver has it
// (the port is on its way).
std::optional<PortlessCable> Classify(PortlessCable cable, const QList<UsbInterface>& interfaces,
                                      const QString& sysRoot, const std::function<bool()>& brltty)
{
    const auto bound =
        std::ranges::find_if(interfaces, [](const UsbInterface& one) { return one.Driver == u"usbfs"; });
    if (bound != interfaces.end()) {
        cable.Reason = brltty() ? PortlessReason::TakenByBrltty : PortlessReason::TakenByProgram;
        cable.Driver = bound->Driver;
        cable.DriverVersion = DriverVersion(sysRoot, *bound);
        return cable;
    }
    for (const UsbInterface& one : interfaces) {
        if (one.Driver.isEmpty())
            continue;
        if (one.Driver == cable.Module)
            return std::nullopt;
        cable.Reason = PortlessReason::OtherDriver;
        cable.Driver = one.Driver;
        cable.DriverVersion = DriverVersion(sysRoot, one);
        return cable;
    }
    cable.Reason = PortlessReason::NoDriver;
    return cable;
}

} // namespace

QList<PortlessCable> FindPortlessCables(const QString& root, const QStringList& ruleFolders,
                                        const QString& procRoot)
{
    const QString sysRoot = Canonical(root.isEmpty() ? QStringLiteral("/sys") : root);
    const QStringList rules = ruleFolders.isEmpty() ? QStringList{QStringLiteral("/etc/udev/rules.d"),
                                                                  QStringLiteral("/lib/udev/rules.d"),
                                                                  QStringLiteral("/usr/lib/udev/rules.d")}
                                                    : ruleFolders;
    const QString processes = procRoot.isEmpty() ? QStringLiteral("/proc") : procRoot;
    // Asked once, and only when a cable is held through usbfs.
    std::optional<bool> brltty;
    const auto brlttyPresent = [&] {
        if (!brltty)
            brltty = BrlttyRulesInstalled(rules) || BrlttyRuns(processes);
        return *brltty;
    };
    QList<PortlessCable> cables;
    if (sysRoot.isEmpty())
        return cables;
    // The tty class is listed only once a serial bridge is seen: the window reads the cables every
    // second while its port list is empty, and most machines then have none.
    std::optional<QStringList> ttys;
    const QString usbDir = sysRoot + QStringLiteral("/bus/usb/devices/");
    for (const QString& name : Entries(usbDir)) {
        if (name.contains(u':'))
            continue; // an interface; its device is listed too
        const QString device = Canonical(usbDir + name);
        if (device.isEmpty() || !device.startsWith(sysRoot + u'/'))
            continue;
        const QList<UsbInterface> interfaces = Interfaces(device);
        PortDevice ids{ReadAttribute(device + QStringLiteral("/idVendor")).toLower(),
                       ReadAttribute(device + QStringLiteral("/idProduct")).toLower(),
                       {}};
        for (const UsbInterface& one : interfaces)
            if (!one.Driver.isEmpty())
                ids.Drivers << one.Driver;
        QString chip = UsbBridgeChip(ids);
        if (chip.isEmpty() && std::ranges::any_of(interfaces, IsCdcAcm))
            chip = QStringLiteral("CDC ACM");
        if (chip.isEmpty())
            continue; // a hub, a mouse, a disk ...
        if (!ttys)
            ttys = TtyDevices(sysRoot);
        if (HasTtyBelow(device, *ttys))
            continue;
        PortlessCable cable;
        cable.Maker = ReadAttribute(device + QStringLiteral("/manufacturer"));
        cable.Product = ReadAttribute(device + QStringLiteral("/product"));
        cable.VendorId = ids.VendorId;
        cable.ProductId = ids.ProductId;
        cable.Chip = chip;
        cable.Module = ModuleForChip(chip);
        if (const std::optional<PortlessCable> found = Classify(cable, interfaces, sysRoot, brlttyPresent))
            cables.append(*found);
    }
    return cables;
}
