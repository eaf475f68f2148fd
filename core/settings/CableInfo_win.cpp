#include "settings/CableInfo.h"

#include "settings/PresentCable.h"

#include <QSerialPortInfo>

#include <QRegularExpression>
#include <QStringList>

#include <windows.h>

#include <array>
#include <optional>

namespace {

// An open registry key, closed with RegCloseKey; opened for reading only, which every user may do
// under the Enum key.
class Key
{
public:
    Key(HKEY parent, const QString& path)
    {
        if (parent && RegOpenKeyExW(parent, reinterpret_cast<const wchar_t*>(path.utf16()), 0, KEY_READ,
                                    &key) != ERROR_SUCCESS)
            key = nullptr;
    }
    ~Key()
    {
        if (key)
            RegCloseKey(key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY Get() const { return key; }

    QStringList SubKeys() const
    {
        QStringList names;
        for (DWORD index = 0; key; ++index) {
            std::array<wchar_t, 256> name{};
            DWORD length = DWORD(name.size());
            if (RegEnumKeyExW(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            names << QString::fromWCharArray(name.data(), int(length));
        }
        return names;
    }
    QString Text(const wchar_t* value) const
    {
        std::array<wchar_t, 512> data{};
        DWORD type = 0;
        DWORD size = DWORD(sizeof(wchar_t) * (data.size() - 1));
        if (!key ||
            RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
                ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return {};
        return QString::fromWCharArray(data.data()).trimmed();
    }
    std::optional<int> Number(const wchar_t* value) const
    {
        DWORD data = 0;
        DWORD type = 0;
        DWORD size = sizeof data;
        if (!key ||
            RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
                ERROR_SUCCESS ||
            type != REG_DWORD)
            return std::nullopt;
        return int(data);
    }

private:
    HKEY key = nullptr;
};

// "HKEY_LOCAL_MACHINE\SYSTEM\..." opened from its root.
std::optional<std::pair<HKEY, QString>> SplitRoot(const QString& path)
{
    const qsizetype slash = path.indexOf(u'\\');
    const QString root = path.left(slash);
    if (slash <= 0)
        return std::nullopt;
    if (root == u"HKEY_LOCAL_MACHINE")
        return std::make_pair(HKEY_LOCAL_MACHINE, path.mid(slash + 1));
    if (root == u"HKEY_CURRENT_USER")
        return std::make_pair(HKEY_CURRENT_USER, path.mid(slash + 1));
    return std::nullopt;
}

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
    const auto split = SplitRoot(
        root.isEmpty() ? QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum") : root);
    if (!split || device.isEmpty())
        return {};
    const Key enumKey(split->first, split->second);
    // USB serial bridges sit under USB (CH340, CP210x, PL2303, CDC) or, with FTDI's own driver, under
    // FTDIBUS; each instance's "Device Parameters" names its port.
    static const QRegularExpression ids(QStringLiteral("VID_([0-9A-F]{4})[&+]PID_([0-9A-F]{4})"),
                                        QRegularExpression::CaseInsensitiveOption);
    QList<PortEntry> entries;
    for (const QString& enumerator : {QStringLiteral("FTDIBUS"), QStringLiteral("USB")}) {
        const Key bus(enumKey.Get(), enumerator);
        for (const QString& deviceId : bus.SubKeys()) {
            const Key model(bus.Get(), deviceId);
            for (const QString& instanceId : model.SubKeys()) {
                const Key instance(model.Get(), instanceId);
                const Key parameters(instance.Get(), QStringLiteral("Device Parameters"));
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
