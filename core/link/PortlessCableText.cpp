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
    }
    return {};
}
