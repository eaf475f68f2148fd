#include "ports/PortlessCables.h"

#include "ports/UsbBridge.h"

#include <array>

namespace {

struct ChipModule
{
    const char* chip;
    const char* module;
};

// The mainline kernel's modules for the bridges of programming cables; the CH9102 and CH343 are
// CDC ACM devices to it.
constexpr std::array<ChipModule, 8> Modules{{
    {"CH340", "ch341"},
    {"CH341", "ch341"},
    {"CH9102", "cdc_acm"},
    {"CH343", "cdc_acm"},
    {"PL2303", "pl2303"},
    {"CP210x", "cp210x"},
    {"FTDI", "ftdi_sio"},
    {"CDC ACM", "cdc_acm"},
}};

} // namespace

QString ModuleForChip(const QString& chip)
{
    for (const ChipModule& known : Modules)
        if (chip == QLatin1String(known.chip))
            return QString::fromLatin1(known.module);
    return {};
}

QString PortlessCable::Label() const
{
    QString names = Maker;
    if (!Product.isEmpty())
        names += (names.isEmpty() ? QString() : QStringLiteral(" ")) + Product;
    QString label = Chip;
    if (!names.isEmpty() && names != Chip)
        label += (label.isEmpty() ? QString() : QStringLiteral(" ")) + names;
    return label + QStringLiteral(" (") + UsbIds() + u')';
}

std::optional<PortlessCable> ClassifyWindowsDevice(const WindowsUsbDevice& device)
{
    // Device Manager's codes (CM_PROB_*) that a dealer meets with a cable.
    constexpr unsigned FailedStart = 10;
    constexpr unsigned Disabled = 22;
    constexpr unsigned NoDriver = 28;
    const QString chip = UsbBridgeChip({device.VendorId.toLower(), device.ProductId.toLower(), {}});
    if (chip.isEmpty() || device.ProblemCode == 0)
        return std::nullopt;
    PortlessCable cable;
    cable.Maker = device.Maker;
    cable.Product = device.Product;
    cable.VendorId = device.VendorId.toLower();
    cable.ProductId = device.ProductId.toLower();
    cable.Chip = chip;
    cable.Driver = device.DriverName;
    cable.DriverVersion = device.DriverVersion;
    cable.ProblemCode = device.ProblemCode;
    if (device.ProblemCode == FailedStart && chip == u"PL2303")
        cable.Reason = PortlessReason::DriverRefusesChip;
    else if (device.ProblemCode == NoDriver)
        cable.Reason = PortlessReason::NoDriverInstalled;
    else if (device.ProblemCode == Disabled)
        cable.Reason = PortlessReason::Disabled;
    else
        cable.Reason = PortlessReason::DeviceProblem;
    return cable;
}
