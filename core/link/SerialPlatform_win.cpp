#include "link/SerialPlatform.h"

#include <QCoreApplication>

#include <windows.h>

namespace {

class SerialPlatformText
{
    Q_DECLARE_TR_FUNCTIONS(SerialPlatformText)
};

HANDLE NativeHandle(PortHandle handle)
{
    return handle;
}
} // namespace

bool PortHungUp(PortHandle handle)
{
    // A USB bridge pulled out makes every call on its handle fail.
    DWORD errors = 0;
    COMSTAT status{};
    return handle == nullptr || NativeHandle(handle) == INVALID_HANDLE_VALUE ||
           !ClearCommError(NativeHandle(handle), &errors, &status);
}

void HandOverWrites(QSerialPort& port)
{
    // Starts the background write of what is left. Not waitForBytesWritten(): Qt 6.4's Windows port
    // counts the notifications it has handled in a batch as one, and a wait that follows such a batch
    // takes a notification that is not there and reads through a null pointer.
    port.flush();
}

void WaitUntilSent(PortHandle handle)
{
    // FlushFileBuffers would wait too, but without a bound on an adapter that has stopped sending.
    constexpr int LimitMs = 250; // far more than the longest frame takes at 115200 baud
    for (int waited = 0; waited < LimitMs; ++waited) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(NativeHandle(handle), &errors, &status) || status.cbOutQue == 0)
            return;
        Sleep(1);
    }
}

// The latency timer of a USB bridge is a setting of its driver here (Device Manager, the port's
// advanced settings), not one a program changes for its opening.
bool SwitchLowLatencyOn(PortHandle)
{
    return false;
}

void SwitchLowLatencyOff(PortHandle) {}

std::span<const OpenFailureCode> OpenFailureCodes()
{
    // Windows gives a COM port to one program at a time and says "access denied" to the next one.
    static constexpr OpenFailureCode codes[] = {
        {ERROR_FILE_NOT_FOUND, OpenFailure::NoDevice}, {ERROR_PATH_NOT_FOUND, OpenFailure::NoDevice},
        {ERROR_ACCESS_DENIED, OpenFailure::Busy},      {ERROR_SHARING_VIOLATION, OpenFailure::Busy},
        {ERROR_GEN_FAILURE, OpenFailure::InputOutput}, {ERROR_DEVICE_NOT_CONNECTED, OpenFailure::Gone},
    };
    return codes;
}

QString OpenFailureHint(QSerialPort::SerialPortError error, const QString& path)
{
    // Windows gives a COM port to one program at a time and says "access denied" to the next one.
    if (error == QSerialPort::PermissionError)
        return SerialPlatformText::tr(
                   "%1 is in use by another program. Close the program that holds it (another "
                   "radio programming tool, a terminal program, a second TANGELO_Tune or "
                   "tangelo-cli) and try again.")
            .arg(path);
    if (error == QSerialPort::DeviceNotFoundError)
        return SerialPlatformText::tr(
            "Check that the cable is plugged in, that its driver is installed (the port "
            "shows in Device Manager under Ports (COM & LPT)), and that the right COM "
            "port is chosen.");
    return {};
}

// QSerialPort keeps a read pending on the port at all times; emptying the input with PurgeComm aborts
// that read, and under Wine the port then delivers nothing more. What waits is taken and dropped
// instead: the driver hands received bytes on at once, so nothing older stays behind.
void EmptyDriverBuffers(QSerialPort& port, QSerialPort::Directions directions)
{
    if (directions & QSerialPort::Output)
        port.clear(QSerialPort::Output);
    if (directions & QSerialPort::Input)
        port.readAll();
}

QString HeldPortText(const QString&, const QString&)
{
    return {};
}

QString LatencyTimerAdvice(const CableInfo& cable, const QString&)
{
    // FTDI's driver keeps the timer as a setting of the port, 16 ms unless someone changed it.
    if (!cable.LatencyTimerMs || *cable.LatencyTimerMs <= 1)
        return {};
    return SerialPlatformText::tr("Its latency timer is %1 ms, so every reply waits that long in the cable: "
                                  "in Device Manager, open the port's Properties, Port Settings, Advanced, "
                                  "and set \"Latency Timer (msec)\" to 1.")
        .arg(*cable.LatencyTimerMs);
}
