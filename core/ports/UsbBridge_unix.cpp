#include "ports/UsbBridge.h"

#include "ports/CableInfo.h"

// What the cable reader finds on the way from the tty up to the USB device: the ids and the driver.
PortDevice DescribePortDevice(const SerialPortEntry& entry, const QString& sysRoot)
{
    const CableInfo cable = CableInfoFor(entry.DevicePath, sysRoot);
    PortDevice device{cable.VendorId, cable.ProductId, {}};
    if (!cable.Driver.isEmpty())
        device.Drivers << cable.Driver;
    return device;
}
