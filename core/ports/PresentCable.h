// Which of the system's device entries for a port describes the cable behind it now. Windows keeps the
// entry of every adapter ever plugged in, with the COM number it had; a new adapter may be given the
// same number, so the port name alone may name a device long gone.
#pragma once

#include "ports/CableInfo.h"

#include <QList>
#include <QString>

#include <optional>

// A device's entry that names the port, with what it says of the cable.
struct PortEntry
{
    QString DeviceId;   // "VID_0403+PID_6001+A50285BIA", "VID_1A86&PID_7523"
    QString InstanceId; // "0000", "5&2f3b1c&0&2"
    CableInfo Cable;
};

// The USB device the system lists behind the port now; empty ids for a port without one.
struct PresentUsbDevice
{
    QString VendorId;  // four hex digits
    QString ProductId; // four hex digits
    QString SerialNumber;
};

// The cable of the entry that is the device present: the same USB ids and, where the system gives a
// serial number, that number among the entry's ids. Without a device present, or with several entries
// that say different things of it, nothing is known. `present` unset: every entry is of a device present.
CableInfo PresentCable(const QList<PortEntry>& entries, const std::optional<PresentUsbDevice>& present);
