// Windows' serial-device map: the values of a registry key whose data name the COM ports, such as
// COM3. Only the data is used, not the value names.
#pragma once

#include "ports/ComPorts.h"

#include <QList>
#include <QString>

// The key of the system's map; tests give keys of their own under HKEY_CURRENT_USER.
inline constexpr char SystemSerialDeviceMap[] = "HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM";

// The ports the map lists, in the order the registry enumerates them: one entry per value, "COM"
// followed by DeviceMapPortName of its data. Enumeration stops at the first call that does not
// succeed, whatever the reason; a key that cannot be opened lists nothing. `key` starts with
// HKEY_LOCAL_MACHINE\ or HKEY_CURRENT_USER\.
QList<SerialPortEntry> ReadSerialDeviceMap(const QString& key);
