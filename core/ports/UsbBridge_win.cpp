#include "ports/UsbBridge.h"

#include <QSerialPortInfo>

// What the system's port information knows of the device: its USB ids, when it has them.
PortDevice DescribePortDevice(const SerialPortEntry& entry, const QString& /*sysRoot*/)
{
    PortDevice device;
    const QSerialPortInfo info(entry.DevicePath);
    if (info.hasVendorIdentifier())
        device.VendorId = QStringLiteral("%1").arg(info.vendorIdentifier(), 4, 16, QChar(u'0'));
    if (info.hasProductIdentifier())
        device.ProductId = QStringLiteral("%1").arg(info.productIdentifier(), 4, 16, QChar(u'0'));
    return device;
}
