#include "settings/SerialDeviceMap.h"

#include "settings/DecimalText.h"
#include "settings/PortList.h"

#include <windows.h>

#include <array>

namespace {

// An open registry key, closed with RegCloseKey.
class RegistryKey
{
public:
    explicit RegistryKey(const QString& path)
    {
        const qsizetype slash = path.indexOf(u'\\');
        const QString root = path.left(slash);
        const HKEY rootKey = root == u"HKEY_LOCAL_MACHINE"  ? HKEY_LOCAL_MACHINE
                             : root == u"HKEY_CURRENT_USER" ? HKEY_CURRENT_USER
                                                            : nullptr;
        if (rootKey && slash > 0 &&
            RegOpenKeyA(rootKey, path.mid(slash + 1).toLocal8Bit().constData(), &key) != ERROR_SUCCESS)
            key = nullptr;
    }
    ~RegistryKey()
    {
        if (key)
            RegCloseKey(key);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY Get() const { return key; }

private:
    HKEY key = nullptr;
};

} // namespace

QList<SerialPortEntry> ReadSerialDeviceMap(const QString& keyPath)
{
    QList<SerialPortEntry> ports;
    const RegistryKey key(keyPath);
    if (!key.Get())
        return ports;
    for (DWORD index = 0;; ++index) {
        std::array<char, 256> name{};
        std::array<BYTE, 256> data{};
        DWORD nameLength = DWORD(name.size());
        DWORD dataLength = DWORD(data.size());
        if (RegEnumValueA(key.Get(), index, name.data(), &nameLength, nullptr, nullptr, data.data(),
                          &dataLength) != ERROR_SUCCESS)
            break;
        const QByteArrayView bytes(reinterpret_cast<const char*>(data.data()), qsizetype(dataLength));
        SerialPortEntry port;
        port.ListName = DeviceMapPortName(bytes);
        port.Number = ParseDecimalInt16(port.ListName).value_or(0);
        port.DevicePath = ComPortEntryText(port.Number);
        ports << port;
    }
    return ports;
}
