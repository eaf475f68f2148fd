#include "link/PortlessCableText.h"

#include "data/ControlCharacters.h"

#include <QCoreApplication>

namespace {

class PortlessText
{
    Q_DECLARE_TR_FUNCTIONS(PortlessText)
};

} // namespace

QString PortlessCableSentence(const PortlessCable& cable)
{
    const QString label = EscapeControlCharacters(cable.Label());
    switch (cable.Reason) {
    case PortlessReason::TakenByBrltty:
        return PortlessText::tr(
                   "The cable %1 is plugged in but has no port: the braille display program "
                   "brltty took it. Unless a braille display is used, run  sudo apt remove brltty  "
                   "(or mask its udev rule and brltty.path), then unplug the cable and plug it in "
                   "again.")
            .arg(label);
    case PortlessReason::TakenByProgram:
        return PortlessText::tr("The cable %1 is plugged in but has no port: a program holds it through "
                                "usbfs. Close that program, then unplug the cable and plug it in again.")
            .arg(label);
    case PortlessReason::NoDriver:
        return PortlessText::tr("The cable %1 is plugged in but has no port: no driver took it. Run  sudo "
                                "modprobe %2  to load its driver; a kernel without that module needs the "
                                "distribution's extra modules.")
            .arg(label, cable.Module);
    case PortlessReason::OtherDriver:
        return PortlessText::tr("The cable %1 is plugged in but has no port: the driver %2 took it, which "
                                "makes no serial port of it.")
            .arg(label, cable.Driver);
    case PortlessReason::DriverRefusesChip:
        return PortlessText::tr(
                   "The cable %1 is plugged in but has no port: its driver %2 (version %3) refuses "
                   "this PL2303 chip, and Device Manager says \"This device cannot start. (Code "
                   "10)\". Use a cable with a CH340, CP210x or FTDI chip, or the older Prolific "
                   "driver 3.3.2.102, which still takes this chip.")
            .arg(label, cable.Driver, cable.DriverVersion);
    case PortlessReason::NoDriverInstalled:
        return PortlessText::tr(
                   "The cable %1 is plugged in but has no port: no driver is installed for its %2 "
                   "chip (Code 28). Install the driver of the chip's maker, then unplug the cable "
                   "and plug it in again.")
            .arg(label, cable.Chip);
    case PortlessReason::Disabled:
        return PortlessText::tr(
                   "The cable %1 is plugged in but has no port: it is disabled in Device Manager "
                   "(Code 22). Right-click it there and choose Enable device.")
            .arg(label);
    case PortlessReason::DeviceProblem:
        return PortlessText::tr(
                   "The cable %1 is plugged in but has no port: Windows reports a problem with it "
                   "(Code %2). Its Properties in Device Manager say more; unplug the cable and plug "
                   "it into another USB socket.")
            .arg(label)
            .arg(cable.ProblemCode);
    }
    return {};
}

QString PortlessCablesText(const QList<PortlessCable>& cables)
{
    QStringList lines;
    for (const PortlessCable& cable : cables)
        lines << PortlessCableSentence(cable);
    return lines.join(u'\n');
}

QString PortlessReasonKey(PortlessReason reason)
{
    switch (reason) {
    case PortlessReason::TakenByBrltty:
        return QStringLiteral("brltty");
    case PortlessReason::TakenByProgram:
        return QStringLiteral("usbfs");
    case PortlessReason::NoDriver:
        return QStringLiteral("no_driver");
    case PortlessReason::OtherDriver:
        return QStringLiteral("other_driver");
    case PortlessReason::DriverRefusesChip:
        return QStringLiteral("driver_refuses_chip");
    case PortlessReason::NoDriverInstalled:
        return QStringLiteral("no_driver_installed");
    case PortlessReason::Disabled:
        return QStringLiteral("disabled");
    case PortlessReason::DeviceProblem:
        return QStringLiteral("device_problem");
    }
    return {};
}
