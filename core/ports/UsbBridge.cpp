#include "ports/UsbBridge.h"

#include <QDir>
#include <QFileInfo>

#include <array>

namespace {

struct BridgeIds
{
    const char* vendor;
    const char* product; // nullptr: every product of the vendor
    const char* chip;
};

// The bridges of programming cables, by their USB ids.
constexpr std::array<BridgeIds, 16> Bridges{{
    {"1a86", "7523", "CH340"},
    {"1a86", "7522", "CH340"},
    {"1a86", "5523", "CH341"},
    {"1a86", "55d4", "CH9102"},
    {"1a86", "55d3", "CH343"},
    {"067b", nullptr, "PL2303"},
    {"10c4", "ea60", "CP210x"},
    {"10c4", "ea61", "CP210x"},
    {"10c4", "ea63", "CP210x"},
    {"10c4", "ea70", "CP210x"},
    {"10c4", "ea71", "CP210x"},
    {"0403", "6001", "FTDI"},
    {"0403", "6010", "FTDI"},
    {"0403", "6011", "FTDI"},
    {"0403", "6014", "FTDI"},
    {"0403", "6015", "FTDI"},
}};

struct BridgeDriver
{
    const char* driver;
    const char* chip;
};

// The same bridges by the Linux drivers that take them, for ids the table above does not know.
constexpr std::array<BridgeDriver, 7> Drivers{{
    {"ch341", "CH340"},
    {"ch341-uart", "CH340"},
    {"usb_ch343", "CH343"},
    {"ch343", "CH343"},
    {"pl2303", "PL2303"},
    {"cp210x", "CP210x"},
    {"ftdi_sio", "FTDI"},
}};

} // namespace

QString UsbBridgeChip(const PortDevice& device)
{
    const QString vendor = device.VendorId.toLower();
    const QString product = device.ProductId.toLower();
    for (const BridgeIds& ids : Bridges)
        if (vendor == QLatin1String(ids.vendor) &&
            (ids.product == nullptr || product == QLatin1String(ids.product)))
            return QString::fromLatin1(ids.chip);
    for (const BridgeDriver& known : Drivers)
        if (device.Drivers.contains(QLatin1String(known.driver)))
            return QString::fromLatin1(known.chip);
    return {};
}

bool IsAliasedPort(int16_t number, const QString& aliasDir)
{
    if (aliasDir.isEmpty())
        return false;
    const QString name = QStringLiteral("com%1").arg(number);
    const QStringList entries =
        QDir(aliasDir).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0 &&
            QFileInfo(QDir(aliasDir).filePath(entry)).isSymLink())
            return true;
    return false;
}
