// USB devices in a made-up sysfs tree, laid out as the kernel does: the device under
// devices/.../usb1/<name>, linked from bus/usb/devices; its interface <name>:1.0 with its class and
// a `driver` link; a tty below the interface, linked from class/tty. And processes in a made-up /proc,
// such as the braille display daemon brltty.
#pragma once

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTest>

// A link as the kernel makes them, relative: a tree read through another path (bound over /sys) holds.
inline void AddRelativeLink(const QString& target, const QString& link)
{
    QVERIFY(QFile::link(QDir(QFileInfo(link).absolutePath()).relativeFilePath(target), link));
}

// One device: "1-2 1a86:7523 ff/01/usbfs" (the interface's class/subclass/driver, the driver empty for
// none), then optionally "tty=ttyUSB0", "product=USB_Serial" (a space written as _) and
// "fifo=manufacturer" (a FIFO where that attribute of the device should be), "module=NAME[:VERSION]"
// (the driver's module, linked from the driver, and its version if it gives one) and "version=VERSION" (the
// version of a module named as the driver, with no link to it).
inline void AddUsbDevice(const QString& sysRoot, const QString& row)
{
    const QStringList parts = row.split(u' ');
    QVERIFY2(parts.size() >= 3, qPrintable(row));
    const QString name = parts[0];
    const QString device = sysRoot + QStringLiteral("/devices/pci0000:00/0000:00:14.0/usb1/") + name;
    const QString interface = device + u'/' + name + QStringLiteral(":1.0");
    const QStringList ids = parts[1].split(u':');
    const QStringList iface = parts[2].split(u'/');
    QVERIFY(ids.size() == 2 && iface.size() == 3);
    WriteTestFile(device + QStringLiteral("/idVendor"), ids[0].toLatin1() + '\n');
    WriteTestFile(device + QStringLiteral("/idProduct"), ids[1].toLatin1() + '\n');
    WriteTestFile(interface + QStringLiteral("/bInterfaceClass"), iface[0].toLatin1() + '\n');
    WriteTestFile(interface + QStringLiteral("/bInterfaceSubClass"), iface[1].toLatin1() + '\n');
    if (!iface[2].isEmpty()) {
        const QString driverDir = sysRoot + QStringLiteral("/bus/usb/drivers/") + iface[2];
        QVERIFY(QDir().mkpath(driverDir));
        AddRelativeLink(driverDir, interface + QStringLiteral("/driver"));
    }
    const QString busDir = sysRoot + QStringLiteral("/bus/usb/devices/");
    QVERIFY(QDir().mkpath(busDir));
    AddRelativeLink(device, busDir + name);
    AddRelativeLink(interface, busDir + name + QStringLiteral(":1.0"));
    for (const QString& option : parts.mid(3)) {
        const QString modules = sysRoot + QStringLiteral("/module/");
        if (option.startsWith(u"module=")) {
            const QStringList module = option.mid(7).split(u':');
            QVERIFY(!iface[2].isEmpty() && QDir().mkpath(modules + module[0]));
            if (module.size() > 1)
                WriteTestFile(modules + module[0] + QStringLiteral("/version"), module[1].toUtf8() + '\n');
            AddRelativeLink(modules + module[0], sysRoot + QStringLiteral("/bus/usb/drivers/") + iface[2] +
                                                     QStringLiteral("/module"));
        }
        if (option.startsWith(u"version="))
            WriteTestFile(modules + iface[2] + QStringLiteral("/version"), option.mid(8).toUtf8() + '\n');
        if (option.startsWith(u"fifo="))
            MakeFifo(device + u'/' + option.mid(5));
        if (option.startsWith(u"product="))
            WriteTestFile(device + QStringLiteral("/product"),
                          option.mid(8).replace(u'_', u' ').toUtf8() + '\n');
        if (!option.startsWith(u"tty="))
            continue;
        const QString tty = option.mid(4);
        QVERIFY(QDir().mkpath(interface + u'/' + tty + QStringLiteral("/tty/") + tty));
        const QString classDir = sysRoot + QStringLiteral("/class/tty/") + tty;
        QVERIFY(QDir().mkpath(classDir));
        AddRelativeLink(interface + u'/' + tty, classDir + QStringLiteral("/device"));
    }
}

// The device's interface bound to `driver` instead (empty: to none), as when a program claims it.
inline void RebindUsbDevice(const QString& sysRoot, const QString& name, const QString& driver)
{
    const QString interface = sysRoot + QStringLiteral("/devices/pci0000:00/0000:00:14.0/usb1/") + name +
                              u'/' + name + QStringLiteral(":1.0");
    QFile::remove(interface + QStringLiteral("/driver"));
    if (driver.isEmpty())
        return;
    const QString driverDir = sysRoot + QStringLiteral("/bus/usb/drivers/") + driver;
    QVERIFY(QDir().mkpath(driverDir));
    AddRelativeLink(driverDir, interface + QStringLiteral("/driver"));
}

// The device pulled out: its links and its folder gone.
inline void RemoveUsbDevice(const QString& sysRoot, const QString& name)
{
    const QString busDir = sysRoot + QStringLiteral("/bus/usb/devices/");
    QVERIFY(QFile::remove(busDir + name + QStringLiteral(":1.0")));
    QVERIFY(QFile::remove(busDir + name));
    QVERIFY(
        QDir(sysRoot + QStringLiteral("/devices/pci0000:00/0000:00:14.0/usb1/") + name).removeRecursively());
}

// A process in a made-up /proc: its folder named by its id, its name in `comm` as the kernel writes it.
inline void AddProcess(const QString& procRoot, int pid, const QByteArray& name)
{
    WriteTestFile(procRoot + QStringLiteral("/%1/comm").arg(pid), name + '\n');
}
