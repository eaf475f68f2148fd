#include "ports/CableInfo.h"

#include "ports/SysfsAttribute.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

CableInfo CableInfoFor(const QString& device, const QString& root)
{
    CableInfo cable;
    const QString sysRoot = QFileInfo(root.isEmpty() ? QStringLiteral("/sys") : root).canonicalFilePath();
    // A link (an alias, /dev/serial/by-id/...) names the device it points to.
    const QString real = QFileInfo(device).canonicalFilePath();
    const QString name = QFileInfo(real.isEmpty() ? device : real).fileName();
    if (sysRoot.isEmpty() || name.isEmpty())
        return cable;
    // The tty's `device`: the usb-serial port (ttyUSB0, with the driver's latency_timer) or the USB
    // interface (cdc_acm).
    const QString port = QFileInfo(sysRoot + QStringLiteral("/class/tty/") + name + QStringLiteral("/device"))
                             .canonicalFilePath();
    if (port.isEmpty() || !port.startsWith(sysRoot + u'/'))
        return cable;
    bool ok = false;
    const int latency = ReadAttribute(port + QStringLiteral("/latency_timer")).toInt(&ok);
    if (ok)
        cable.LatencyTimerMs = latency;
    // The driver is the nearest one bound on the way up below the USB device (the usb-serial
    // port's, else the interface's; the device's own is the generic "usb"); the USB device is the
    // first folder above with idVendor. Never outside sysfs.
    QString dir = port;
    for (int depth = 0; depth < 16 && dir.startsWith(sysRoot + u'/'); ++depth) {
        const QString vendor = ReadAttribute(dir + QStringLiteral("/idVendor"));
        if (!vendor.isEmpty()) {
            cable.VendorId = vendor.toLower();
            cable.ProductId = ReadAttribute(dir + QStringLiteral("/idProduct")).toLower();
            cable.Maker = ReadAttribute(dir + QStringLiteral("/manufacturer"));
            cable.Product = ReadAttribute(dir + QStringLiteral("/product"));
            break;
        }
        if (cable.Driver.isEmpty())
            cable.Driver =
                QFileInfo(QFileInfo(dir + QStringLiteral("/driver")).canonicalFilePath()).fileName();
        dir = QFileInfo(dir).absolutePath();
    }
    return cable;
}
