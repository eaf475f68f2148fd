#include "ports/SerialDeviceMap.h"

#include "ports/PortList.h"
#include "ports/RegistryKey.h"
#include "settings/DecimalText.h"

#include <windows.h>

#include <array>

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
