#include "link/SerialPlatform.h"

#include "link/PermissionHint.h"

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

QString OpenFailureHint(QSerialPort::SerialPortError error, const QString& path)
{
    if (error == QSerialPort::PermissionError) {
        if (::access(path.toLocal8Bit().constData(), R_OK | W_OK) != 0 && errno == EACCES)
            return PermissionHintFor(path);
        return SerialPlatformText::tr("Another program is using %1. Close it and try again.").arg(path);
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
