#include "link/SerialPlatform.h"

#include "link/PermissionHint.h"
#include "link/PortHolder.h"
#include "link/Sentences.h"
#include "system/SystemLanguage.h"

#include <QFileInfo>

#include <linux/serial.h>
#include <poll.h>
#include <QCoreApplication>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

bool PortHungUp(PortHandle handle)
{
    if (handle < 0)
        return true;
    pollfd entry{int(handle), POLLIN, 0};
    return ::poll(&entry, 1, 0) > 0 && (entry.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void HandOverWrites(QSerialPort& port)
{
    port.flush();
    while (port.bytesToWrite() > 0 && port.waitForBytesWritten(200)) {
    }
}

void WaitUntilSent(PortHandle handle)
{
    // Waited for with a bound rather than tcdrain(), which can block for good on an adapter that has
    // stopped sending.
    constexpr int LimitMs = 250; // far more than the longest frame takes at 115200 baud
    for (int waited = 0; waited < LimitMs; ++waited) {
        int queued = 0;
        if (::ioctl(int(handle), TIOCOUTQ, &queued) != 0 || queued <= 0)
            return;
        ::usleep(1000);
    }
}

namespace {

class SerialPlatformText
{
    Q_DECLARE_TR_FUNCTIONS(SerialPlatformText)
};
bool SetLowLatencyFlag(PortHandle handle, bool on)
{
    serial_struct serial{};
    if (::ioctl(int(handle), TIOCGSERIAL, &serial) != 0) // a pseudo-terminal, say
        return false;
    if (((serial.flags & ASYNC_LOW_LATENCY) != 0) == on)
        return false;
    serial.flags = on ? serial.flags | ASYNC_LOW_LATENCY : serial.flags & ~ASYNC_LOW_LATENCY;
    return ::ioctl(int(handle), TIOCSSERIAL, &serial) == 0;
}
} // namespace

bool SwitchLowLatencyOn(PortHandle handle)
{
    return SetLowLatencyFlag(handle, true);
}

void SwitchLowLatencyOff(PortHandle handle)
{
    SetLowLatencyFlag(handle, false);
}

std::span<const OpenFailureCode> OpenFailureCodes()
{
    // ENODEV and ENXIO: the device file is there, its device is not (a cable pulled while listed).
    static constexpr OpenFailureCode codes[] = {
        {ENOENT, OpenFailure::NoDevice},    {EACCES, OpenFailure::NoPermission},
        {EPERM, OpenFailure::NoPermission}, {EBUSY, OpenFailure::Busy},
        {ENOTTY, OpenFailure::NotSerial},   {EIO, OpenFailure::InputOutput},
        {ENODEV, OpenFailure::Gone},        {ENXIO, OpenFailure::Gone},
    };
    return codes;
}

QString OpenFailureHint(QSerialPort::SerialPortError error, const QString& path)
{
    if (error == QSerialPort::PermissionError) {
        if (::access(path.toLocal8Bit().constData(), R_OK | W_OK) != 0 && errno == EACCES)
            return PermissionHintFor(path);
        return {}; // held: HeldPortText says by whom
    }
    if (error == QSerialPort::DeviceNotFoundError)
        return SerialPlatformText::tr(
            "Check that the cable is plugged in and that the right COM port is chosen.");
    return {};
}

void EmptyDriverBuffers(QSerialPort& port, QSerialPort::Directions directions)
{
    port.clear(directions);
}

namespace {

// The line of a udev rule that tells ModemManager to leave the device alone: by the cable's USB ids,
// which stay when it is plugged into another socket, else by the device's name.
QString ModemManagerRule(const QString& devicePath)
{
    const CableInfo cable = CableInfoFor(devicePath);
    if (cable.IsUsb())
        return QStringLiteral(
                   "ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"")
            .arg(cable.VendorId, cable.ProductId);
    const QString real = QFileInfo(devicePath).canonicalFilePath();
    return QStringLiteral("KERNEL==\"%1\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"")
        .arg(QFileInfo(real.isEmpty() ? devicePath : real).fileName());
}

QString ModemManagerRemedy(const QString& devicePath)
{
    return SerialPlatformText::tr(
               "A udev rule makes ModemManager leave the cable alone: put the line  %1  into a file such "
               "as /etc/udev/rules.d/50-tangelo.rules, run  sudo udevadm control --reload  and  sudo "
               "udevadm trigger , and plug the cable in again.")
        .arg(ModemManagerRule(devicePath));
}

} // namespace

QString HeldPortText(const QString& shownName, const QString& devicePath)
{
    // A device this user may not open is refused, not held: OpenFailureHint says what to do then.
    if (::access(devicePath.toLocal8Bit().constData(), R_OK | W_OK) != 0 && errno == EACCES)
        return {};
    const PortHolders holders = FindPortHolders(devicePath);
    if (holders.Processes.isEmpty()) {
        if (holders.ModemManagerRunning)
            return Then(SerialPlatformText::tr("%1 is held by another program, which this user account may "
                                               "not see. ModemManager is running, and it opens new serial "
                                               "devices to look for modems.")
                            .arg(shownName),
                        ModemManagerRemedy(devicePath));
        return SerialPlatformText::tr("%1 is held by another program (a terminal program, another radio "
                                      "programming tool, a second TANGELO_Tune or tangelo-cli); close it "
                                      "and try again.")
            .arg(shownName);
    }
    QStringList programs;
    bool modemManager = false;
    for (const HoldingProcess& process : holders.Processes) {
        programs
            << SerialPlatformText::tr("the program %1 (process %2)").arg(process.Program).arg(process.Pid);
        modemManager = modemManager || process.Program == u"ModemManager";
    }
    const QString list = LanguageLocale(SystemLanguageIndex()).createSeparatedList(programs);
    const QString held = programs.size() == 1
                             ? SerialPlatformText::tr("%1 is held by %2; close it and try again.")
                             : SerialPlatformText::tr("%1 is held by %2; close them and try again.");
    const QString text = held.arg(shownName, list);
    return modemManager ? Then(text, ModemManagerRemedy(devicePath)) : text;
}

QString LatencyTimerAdvice(const CableInfo& cable, const QString& devicePath)
{
    // The program asks for low latency at every opening, which sets an FTDI chip's timer to 1 ms; a
    // timer that still reads more is one the driver did not change.
    if (!cable.LatencyTimerMs || *cable.LatencyTimerMs <= 1)
        return {};
    const QString real = QFileInfo(devicePath).canonicalFilePath();
    const QString attribute = QStringLiteral("/sys/class/tty/%1/device/latency_timer")
                                  .arg(QFileInfo(real.isEmpty() ? devicePath : real).fileName());
    return SerialPlatformText::tr("Its latency timer still reads %1 ms although the program asked the driver "
                                  "for low latency, so every reply waits that long in the cable; run  echo 1 "
                                  "| sudo tee %2  to set it to 1 ms.")
        .arg(*cable.LatencyTimerMs)
        .arg(attribute);
}
