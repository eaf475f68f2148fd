#include "settings/UsbBridge.h"

#include <QFile>
#include <QFileInfo>

namespace {

QString Attribute(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(256)).trimmed();
}

} // namespace

// From the tty's `device` link up to the USB device: the drivers bound on the way (the usb-serial
// port's, the interface's) and the ids of the first folder that has them; never outside sysfs.
PortDevice DescribePortDevice(const SerialPortEntry& entry, const QString& sysRoot)
{
    PortDevice device;
    const QString root = QFileInfo(sysRoot.isEmpty() ? QStringLiteral("/sys") : sysRoot).canonicalFilePath();
    // An alias names its device by the device's own path; a device that is gone keeps its name.
    const QString canonical = QFileInfo(entry.DevicePath).canonicalFilePath();
    const QString name = QFileInfo(canonical.isEmpty() ? entry.DevicePath : canonical).fileName();
    if (root.isEmpty() || name.isEmpty())
        return device;
    QString dir = QFileInfo(root + QStringLiteral("/class/tty/") + name + QStringLiteral("/device"))
                      .canonicalFilePath();
    for (int depth = 0; depth < 16 && dir.startsWith(root + u'/'); ++depth) {
        const QFileInfo driver(dir + QStringLiteral("/driver"));
        if (driver.isSymLink())
            device.Drivers << QFileInfo(driver.symLinkTarget()).fileName();
        const QString vendor = Attribute(dir + QStringLiteral("/idVendor"));
        if (!vendor.isEmpty()) {
            device.VendorId = vendor.toLower();
            device.ProductId = Attribute(dir + QStringLiteral("/idProduct")).toLower();
            break;
        }
        dir = QFileInfo(dir).absolutePath();
    }
    return device;
}
