#include "ports/PortlessCables.h"

#include "ports/RegistryKey.h"

#include <QRegularExpression>

#include <windows.h>

#include <cfgmgr32.h>
#include <setupapi.h>

#include <array>

namespace {

// A text property of the device from Setup; empty when it has none. A list of texts gives its first.
QString DeviceText(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property)
{
    std::array<wchar_t, 512> text{};
    if (!SetupDiGetDeviceRegistryPropertyW(devices, &device, property, nullptr,
                                           reinterpret_cast<PBYTE>(text.data()),
                                           DWORD((text.size() - 1) * sizeof(wchar_t)), nullptr))
        return {};
    return QString::fromWCharArray(text.data());
}

// Setup's strings often come as "@oem12.inf,%ftdi%;FTDI": the text is what follows the last ';'.
QString SetupText(const QString& value)
{
    return value.section(u';', -1).trimmed();
}

} // namespace

// The USB devices present that have a problem code, as Device Manager lists them with its yellow mark.
QList<PortlessCable> FindPortlessCables(const QString& /*root*/, const QStringList& /*ruleFolders*/,
                                        const QString& /*procRoot*/)
{
    QList<PortlessCable> cables;
    const HDEVINFO devices = SetupDiGetClassDevsW(nullptr, L"USB", nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES);
    if (devices == INVALID_HANDLE_VALUE)
        return cables;
    static const QRegularExpression ids(QStringLiteral("VID_([0-9A-F]{4})&PID_([0-9A-F]{4})"),
                                        QRegularExpression::CaseInsensitiveOption);
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        ULONG status = 0;
        ULONG problem = 0;
        if (CM_Get_DevNode_Status(&status, &problem, device.DevInst, 0) != CR_SUCCESS ||
            (status & DN_HAS_PROBLEM) == 0)
            continue;
        const QRegularExpressionMatch match = ids.match(DeviceText(devices, device, SPDRP_HARDWAREID));
        if (!match.hasMatch())
            continue;
        // The driver's own key (absent when none is installed) holds its description and version.
        const QString driverKey = DeviceText(devices, device, SPDRP_DRIVER);
        const RegistryKey driver(
            driverKey.isEmpty()
                ? QString()
                : QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\") +
                      driverKey);
        WindowsUsbDevice usb;
        usb.VendorId = match.captured(1);
        usb.ProductId = match.captured(2);
        usb.Maker = SetupText(DeviceText(devices, device, SPDRP_MFG));
        usb.Product = SetupText(DeviceText(devices, device, SPDRP_DEVICEDESC));
        usb.ProblemCode = unsigned(problem);
        usb.DriverName = driver.Text(L"DriverDesc");
        usb.DriverVersion = driver.Text(L"DriverVersion");
        if (const std::optional<PortlessCable> cable = ClassifyWindowsDevice(usb))
            cables.append(*cable);
    }
    SetupDiDestroyDeviceInfoList(devices);
    return cables;
}
