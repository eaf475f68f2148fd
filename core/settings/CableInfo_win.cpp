#include "settings/CableInfo.h"
#include "settings/RegistryKey.h"

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

} // namespace

CableInfo CableInfoFor(const QString& device, const QString& root)
{
    CableInfo cable;
    if (device.isEmpty())
        return cable;
    const RegistryKey enumKey(
        root.isEmpty() ? QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum") : root);
    // USB serial bridges sit under USB (CH340, CP210x, PL2303, CDC) or, with FTDI's own driver, under
    // FTDIBUS; each instance's "Device Parameters" names its port.
    static const QRegularExpression ids(QStringLiteral("VID_([0-9A-F]{4})[&+]PID_([0-9A-F]{4})"),
                                        QRegularExpression::CaseInsensitiveOption);
    for (const QString& enumerator : {QStringLiteral("FTDIBUS"), QStringLiteral("USB")}) {
        const RegistryKey bus(enumKey, enumerator);
        for (const QString& deviceId : bus.SubKeys()) {
            const RegistryKey model(bus, deviceId);
            for (const QString& instanceId : model.SubKeys()) {
                const RegistryKey instance(model, instanceId);
                const RegistryKey parameters(instance, QStringLiteral("Device Parameters"));
                if (parameters.Text(L"PortName").compare(device, Qt::CaseInsensitive) != 0)
                    continue;
                const QRegularExpressionMatch match = ids.match(deviceId);
                if (match.hasMatch()) {
                    cable.VendorId = match.captured(1).toLower();
                    cable.ProductId = match.captured(2).toLower();
                }
                cable.Maker = SetupText(instance.Text(L"Mfg"));
                cable.Product = SetupText(instance.Text(L"DeviceDesc"));
                cable.Driver = instance.Text(L"Service");
                cable.LatencyTimerMs = parameters.Number(L"LatencyTimer");
                return cable;
            }
        }
    }
    return cable;
}
