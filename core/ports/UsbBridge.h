// Which listed ports are worth trying for a radio: the USB serial bridges that programming cables
// are built on, and the ports the user gave a number of their own (an alias). A built-in UART and a
// modem are never tried: opening one switches its lines, and a modem may answer anything.
#pragma once

#include "ports/ComPorts.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// What the system tells of the device behind a port; empty where it tells nothing.
struct PortDevice
{
    QString VendorId;    // USB ids in four lower-case hex digits: "1a86"
    QString ProductId;   // "7523"
    QStringList Drivers; // the drivers bound on the way from the tty up to the USB device
};

// The chip's name when the ids or the drivers are those of a bridge that cables use (CH340, CH341,
// CH9102, CH343, PL2303, CP210x, FTDI); empty otherwise.
QString UsbBridgeChip(const PortDevice& device);

// What the system tells of the device behind `entry` (Linux: the sysfs tree under `sysRoot`;
// Windows: the system's port information).
PortDevice DescribePortDevice(const SerialPortEntry& entry, const QString& sysRoot);

// Whether COM `number` is one of the user's aliases (dosdevices/com<N>, any capitals).
bool IsAliasedPort(int16_t number, const QString& aliasDir);
