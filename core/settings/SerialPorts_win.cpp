#include "settings/Settings.h"

#include "ports/SerialDeviceMap.h"

#include <QSerialPortInfo>

namespace {

// What Windows knows of a port, for the list's tooltip: "COM3 - USB-SERIAL CH340 (wch.cn, 1a86:7523)".
QString DescribePort(const QSerialPortInfo& info)
{
    QString text = info.portName();
    QStringList details;
    if (!info.manufacturer().isEmpty())
        details << info.manufacturer();
    if (info.hasVendorIdentifier() && info.hasProductIdentifier())
        details << QStringLiteral("%1:%2")
                       .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                       .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
    if (!info.description().isEmpty())
        text += QStringLiteral(" - ") + info.description();
    if (!details.isEmpty())
        text += QStringLiteral(" (") + details.join(QStringLiteral(", ")) + u')';
    return text;
}

} // namespace

// Windows names its ports itself; there are no aliases of the program's own.
QString ProgramSettings::AliasDirectory() const
{
    return {};
}

// Here the root names the registry key of the serial-device map.
QString ProgramSettings::SysRoot() const
{
    return sysRoot.isEmpty() ? QString::fromLatin1(SystemSerialDeviceMap) : sysRoot;
}

QList<SerialPortEntry> ProgramSettings::DiscoverSerialPorts() const
{
    QList<SerialPortEntry> ports = ReadSerialDeviceMap(SysRoot());
    QStringList names;
    for (const SerialPortEntry& port : ports)
        names << port.DevicePath;
    // Asking Windows about its ports walks its device tree, many times the cost of reading the map:
    // done again only when the map lists other ports.
    if (names != descriptions.Names) {
        descriptions = {names, {}};
        const QList<QSerialPortInfo> known = QSerialPortInfo::availablePorts();
        for (const QString& name : names) {
            QString text = name;
            for (const QSerialPortInfo& info : known)
                if (info.portName().compare(name, Qt::CaseInsensitive) == 0)
                    text = DescribePort(info);
            descriptions.Texts << text;
        }
    }
    for (qsizetype i = 0; i < ports.size(); ++i)
        ports[i].Description = descriptions.Texts.value(i);
    return ports;
}

// The system's own numbers: COM n is the device COMn, listed or not.
QString ProgramSettings::DevicePathForComPort(int16_t number) const
{
    return number > 0 ? QStringLiteral("COM%1").arg(number) : QString();
}
