// Serial-port discovery: which COM ports exist, and which device each number names.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

extern bool FixedPortList;
void DetectSystemType();

struct SerialPortEntry
{
    int16_t Number = 0;  // the N of "COMN"
    QString DevicePath;  // /dev/ttyUSB0, or the alias target
    QString Description; // for the tooltip: device path, USB adapter's description
};

// Real serial devices under `sysRoot` (normally "/sys") plus the aliases com<N> in `aliasDir`,
// ascending by number. Never opens a port.
QList<SerialPortEntry> DiscoverSerialPorts(const QString& sysRoot, const QString& aliasDir);
// The same, from the real sysfs and the dosdevices folder beside the settings file.
QList<SerialPortEntry> DiscoverSerialPorts();

// The COM number that a device name gets when no alias names it: ttyS<n> -> n+1, and a fixed range
// for every other family. 0 when the name belongs to no known family.
int16_t ComNumberForDevice(const QString& deviceName);

// Device path of COM `number`, or empty.
QString DevicePathForComPort(int16_t number);

// First entry equal to text (same capitals), else the first entry, else empty.
QString MatchListEntry(const QStringList& list, const QString& text);

// Sets the discovery's roots for tests; empty strings: back to /sys and the program directory.
void SetDiscoveryRoots(const QString& sysRoot, const QString& aliasDir);
