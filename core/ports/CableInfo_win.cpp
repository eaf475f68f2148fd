#include "ports/CableInfo.h"

#include "ports/PresentCable.h"
#include "ports/RegistryKey.h"

#include <QSerialPortInfo>

#include <QRegularExpression>
#include <QStringList>

#include <windows.h>

#include <optional>

namespace {

// Setup's strings often come as "@oem12.inf,%ftdi%;FTDI": the text is what follows the last ';'.
QString SetupText(const QString& value)
{
    return value.section(u';', -1).trimmed();
}

// The USB device behind the port as the system lists it now, which only devices plugged in are.
PresentUsbDevice ListedDevice(const QString& portName)
{
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        if (port.portName().compare(portName, Qt::CaseInsensitive) != 0 || !port.hasVendorIdentifier() ||
            !port.hasProductIdentifier())
            continue;
        return {QStringLiteral("%1").arg(port.vendorIdentifier(), 4, 16, QChar(u'0')),
                QStringLiteral("%1").arg(port.productIdentifier(), 4, 16, QChar(u'0')), port.serialNumber()};
    }
    return {};
}

} // namespace

CableInfo CableInfoFor(const QString& device, const QString& root)
{
    if (device.isEmpty())
        return {};
    const RegistryKey enumKey(
        root.isEmpty() ? QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum") : root);
    // USB serial bridges sit under USB (CH340, CP210x, PL2303, CDC) or, with FTDI's own driver, under
    // FTDIBUS; each instance's "Device Parameters" names its port.
    static const QRegularExpression ids(QStringLiteral("VID_([0-9A-F]{4})[&+]PID_([0-9A-F]{4})"),
                                        QRegularExpression::CaseInsensitiveOption);
    QList<PortEntry> entries;
    for (const QString& enumerator : {QStringLiteral("FTDIBUS"), QStringLiteral("USB")}) {
        const RegistryKey bus(enumKey, enumerator);
        for (const QString& deviceId : bus.SubKeys()) {
            const RegistryKey model(bus, deviceId);
            for (const QString& instanceId : model.SubKeys()) {
                const RegistryKey instance(model, instanceId);
                const RegistryKey parameters(instance, QStringLiteral("Device Parameters"));
                if (parameters.Text(L"PortName").compare(device, Qt::CaseInsensitive) != 0)
                    continue;
                CableInfo cable;
                const QRegularExpressionMatch match = ids.match(deviceId);
                if (match.hasMatch()) {
                    cable.VendorId = match.captured(1).toLower();
                    cable.ProductId = match.captured(2).toLower();
                }
                cable.Maker = SetupText(instance.Text(L"Mfg"));
                cable.Product = SetupText(instance.Text(L"DeviceDesc"));
                cable.Driver = instance.Text(L"Service");
                cable.LatencyTimerMs = parameters.Number(L"LatencyTimer");
                entries.append({deviceId, instanceId, cable});
            }
        }
    }
    // A key of the caller's own (a test's) holds only devices present.
    std::optional<PresentUsbDevice> present;
    if (root.isEmpty())
        present = ListedDevice(device);
    return PresentCable(entries, present);
}
