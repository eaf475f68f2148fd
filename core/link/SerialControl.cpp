#include "link/SerialControl.h"

#include "link/LinkTrace.h"
#include "link/SerialPlatform.h"
#include "settings/Settings.h"

#include <QStringList>

#include <optional>
#include <utility>

namespace {
struct LineSettings
{
    qint32 baudRate = 0;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};

// "115200,N,8,1" and the like, as the serial control takes them.
std::optional<LineSettings> ParseSettings(const QString& text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 4)
        return std::nullopt;
    LineSettings line;
    bool ok = false;
    line.baudRate = parts[0].trimmed().toInt(&ok);
    if (!ok || line.baudRate <= 0)
        return std::nullopt;

    const QString parity = parts[1].trimmed().toUpper();
    if (parity == u"N")
        line.parity = QSerialPort::NoParity;
    else if (parity == u"E")
        line.parity = QSerialPort::EvenParity;
    else if (parity == u"O")
        line.parity = QSerialPort::OddParity;
    else if (parity == u"M")
        line.parity = QSerialPort::MarkParity;
    else if (parity == u"S")
        line.parity = QSerialPort::SpaceParity;
    else
        return std::nullopt;

    const int dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || dataBits < 5 || dataBits > 8)
        return std::nullopt;
    line.dataBits = QSerialPort::DataBits(dataBits);

    const QString stopBits = parts[3].trimmed();
    if (stopBits == u"1")
        line.stopBits = QSerialPort::OneStop;
    else if (stopBits == u"1.5")
        line.stopBits = QSerialPort::OneAndHalfStop;
    else if (stopBits == u"2")
        line.stopBits = QSerialPort::TwoStop;
    else
        return std::nullopt;
    return line;
}

QSerialPort::FlowControl FlowControlFor(int16_t handshaking)
{
    switch (handshaking) {
    case 1:
        return QSerialPort::SoftwareControl;
    case 2:
    case 3:
        return QSerialPort::HardwareControl;
    default:
        return QSerialPort::NoFlowControl;
    }
}
} // namespace

SerialControl::SerialControl(QObject* parent)
    : QObject(parent), port(std::make_unique<QSerialPort>()),
      resolver([](int16_t number) { return ProgramSettings().DevicePathForComPort(number); })
{
    connect(port.get(), &QSerialPort::readyRead, this, &SerialControl::readAvailable);
    connect(port.get(), &QSerialPort::errorOccurred, this, &SerialControl::handleError);
    connect(port.get(), &QSerialPort::bytesWritten, this, &SerialControl::bytesLeft);
    closeTimer.setSingleShot(true);
    connect(&closeTimer, &QTimer::timeout, this, &SerialControl::close);
}

SerialControl::~SerialControl()
{
    close();
}

void SerialControl::SetPortResolver(PortResolver portResolver)
{
    resolver = std::move(portResolver);
}

void SerialControl::TraceEvent(const QString& text) const
{
    if (trace)
        trace->Event(text);
}

void SerialControl::SetRThreshold(int16_t count)
{
    rThreshold = count;
}

bool SerialControl::PortOpen() const
{
    return port->isOpen() && !closing;
}

bool SerialControl::SetPortOpen(bool openIt)
{
    if (!openIt) {
        closeOnceSent();
        return true;
    }
    // A new opening does not wait for the last one's bytes.
    if (closing)
        close();
    if (port->isOpen())
        return true;
    return open();
}

// A person who never typed the number is told where it came from, and how to find the right one.
QString SerialControl::NoDeviceText(const QString& portName) const
{
    switch (Source) {
    case PortSource::Given:
        break;
    case PortSource::Window:
        return tr("%1, the port chosen in the window, names no serial device of this computer. "
                  "\"tangelo-cli ports\" lists the serial ports there are; \"tangelo-cli check\" finds "
                  "the one a radio answers on.")
            .arg(portName);
    case PortSource::Saved:
        return tr("%1, the port chosen in the window and saved from an earlier run, names no serial "
                  "device of this computer. Give the radio's port with --port: \"tangelo-cli ports\" "
                  "lists the serial ports there are; \"tangelo-cli check\" finds the one a radio "
                  "answers on.")
            .arg(portName);
    }
    return tr("%1 names no serial device of this computer.").arg(portName);
}

bool SerialControl::open()
{
    errorText.clear();
    cable = {};
    lost = false;
    readFailures = 0;
    devicePath = resolver ? resolver(CommPort) : QString();
    const QString portName = QStringLiteral("COM%1").arg(CommPort);
    if (devicePath.isEmpty()) {
        errorText = CommPort > 0 ? NoDeviceText(portName) : tr("No COM port is chosen.");
        TraceEvent(QStringLiteral("cannot open %1: %2").arg(portName, errorText));
        return false;
    }
    // A device given by its path alone has no COM number to name.
    const QString shownName =
        CommPort > 0 ? tr("%1 (%2)", "a COM port and its device").arg(portName, devicePath) : devicePath;
    const std::optional<LineSettings> line = ParseSettings(Settings);
    if (!line) {
        errorText = tr("The link settings \"%1\" are not valid.").arg(Settings);
        return false;
    }

    port->setPortName(devicePath);
    port->setBaudRate(line->baudRate);
    port->setParity(line->parity);
    port->setDataBits(line->dataBits);
    port->setStopBits(line->stopBits);
    port->setFlowControl(FlowControlFor(Handshaking));
    port->clearError();
    if (!port->open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError error = port->error();
        const QString systemReason = port->errorString();
        port->clearError();
        TraceEvent(QStringLiteral("cannot open %1: %2").arg(devicePath, systemReason));
        cable = CableInfoFor(devicePath, CableRoot);
        // Held by another program: who holds it matters more than the system's words for it.
        if (error == QSerialPort::PermissionError) {
            if (errorText = HeldPortText(shownName, devicePath); !errorText.isEmpty())
                return false;
        }
        // Our own words for the usual reasons; the system's only for the others (and in the trace).
        errorText =
            OpenFailureSentence(ClassifyOpenFailure(error, systemReason, OpenFailureCodes()), shownName);
        if (errorText.isEmpty())
            errorText = tr("%1: %2.", "the port, and the system's reason it did not open")
                            .arg(shownName, systemReason);
        if (const QString hint = OpenFailureHint(error, devicePath); !hint.isEmpty())
            errorText += u'\n' + hint;
        return false;
    }
    // Whatever waited in the driver before this opening belongs to nobody.
    EmptyDriverBuffers(*port, QSerialPort::AllDirections);
    received.clear();
    lowLatencySwitched = LowLatency && SwitchLowLatencyOn(port->handle());
    // Read once the mode is on: a latency timer that still reads more than 1 ms is worth telling.
    cable = CableInfoFor(devicePath, CableRoot);
    TraceEvent(
        QStringLiteral("opened %1 %2%3")
            .arg(shownName, Settings, lowLatencySwitched ? QStringLiteral(", low latency") : QString()));
    return true;
}

// QSerialPort::close() drops what has not left yet: an end command sent just before closing would
// not reach the radio. Qt's Windows port writes in the background, and the one way to wait for that
// write within a call, waitForBytesWritten(), is not safe there (Qt 6.4 can then take a notification
// that is not there, and crash). So the port reads as closed at once, and closes for good when its
// last bytes have left, as Qt reports at a later turn of the event loop, or after a bound.
void SerialControl::closeOnceSent()
{
    if (!port->isOpen() || closing)
        return;
    if (lost || port->bytesToWrite() == 0) {
        close();
        return;
    }
    closing = true;
    received.clear();
    TraceEvent(QStringLiteral("closing %1 once its last %2 bytes have left")
                   .arg(devicePath)
                   .arg(port->bytesToWrite()));
    closeTimer.start(CloseLimitMs);
}

void SerialControl::bytesLeft()
{
    // Closed at the next turn of the event loop, not inside QSerialPort's own notification.
    if (closing && port->bytesToWrite() == 0)
        closeTimer.start(0);
}

void SerialControl::close()
{
    closing = false;
    closeTimer.stop();
    if (!port->isOpen())
        return;
    if (!lost) {
        HandOverWrites(*port);
        // close() puts the old line settings back at once; the last bytes must be on the wire first.
        WaitUntilSent(port->handle());
        if (lowLatencySwitched)
            SwitchLowLatencyOff(port->handle());
    }
    lowLatencySwitched = false;
    port->close();
    received.clear();
    port->clearError();
    TraceEvent(QStringLiteral("closed %1").arg(devicePath));
}

void SerialControl::ClearOutput()
{
    if (PortOpen())
        EmptyDriverBuffers(*port, QSerialPort::Output);
}

void SerialControl::ClearInput()
{
    // Bytes that never reached the threshold (a late reply, a lone negative reply) end here.
    if (!received.isEmpty())
        TraceEvent(QStringLiteral("discarded %1 bytes: %2")
                       .arg(received.size())
                       .arg(QString::fromLatin1(received.toHex(' ').toUpper())));
    received.clear();
    if (PortOpen())
        EmptyDriverBuffers(*port, QSerialPort::Input);
}

void SerialControl::Output(const QByteArray& bytes)
{
    if (!PortOpen() || lost) {
        TraceEvent(
            QStringLiteral("not sent, the port is closed: %1").arg(QString::fromLatin1(bytes.toHex(' '))));
        return;
    }
    if (trace)
        trace->Bytes(TraceSent, bytes);
    port->write(bytes);
    // Hand the bytes to the driver now rather than at the next turn of the event loop.
    port->flush();
}

QByteArray SerialControl::Input()
{
    if (PortOpen())
        received += port->readAll();
    QByteArray bytes;
    if (InputLen > 0 && received.size() > InputLen) {
        bytes = received.first(InputLen);
        received.remove(0, InputLen);
    } else {
        bytes = std::exchange(received, {});
    }
    if (!bytes.isEmpty() && trace)
        trace->Bytes(TraceReceived, bytes);
    return bytes;
}

void SerialControl::readAvailable()
{
    readFailures = 0;
    received += port->readAll();
    if (lost || closing || rThreshold <= 0 || received.size() < rThreshold || commPending)
        return;
    // Handed on at the next turn of the event loop, not inside QSerialPort's own notification: the
    // session may close the port there, and Qt's Windows port goes on with its handle after the
    // notification returns.
    commPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            commPending = false;
            if (lost || !PortOpen() || rThreshold <= 0 || received.size() < rThreshold)
                return;
            CommEvent = comEvReceive;
            emit OnComm();
        },
        Qt::QueuedConnection);
}

void SerialControl::handleError(QSerialPort::SerialPortError error)
{
    if (lost || !port->isOpen())
        return;
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError &&
        error != QSerialPort::WriteError)
        return;
    if (closing) {
        // A device that has gone takes no more bytes: the close is not held up.
        if (PortHungUp(port->handle()))
            closeTimer.start(0);
        return;
    }
    // Qt 6.4 reports a hang-up as a resource error, or as a read error that repeats as fast as the
    // event loop turns (the descriptor stays readable at end of file). The descriptor tells.
    bool gone = PortHungUp(port->handle());
    if (!gone && error == QSerialPort::ResourceError) {
        // A read that found nothing (input emptied between poll and read) also comes as a resource
        // error, and Qt then stops reading: reading from it starts the notifications again.
        readAvailable();
        return;
    }
    if (!gone && error == QSerialPort::ReadError)
        gone = ++readFailures >= 3;
    if (!gone)
        return;
    lost = true;
    TraceEvent(QStringLiteral("%1 hung up: %2").arg(devicePath, port->errorString()));
    // Closed on the next turn of the event loop, not inside QSerialPort's own notification.
    QMetaObject::invokeMethod(this, &SerialControl::endLostPort, Qt::QueuedConnection);
}

void SerialControl::endLostPort()
{
    if (!lost || !port->isOpen())
        return;
    close();
    emit PortLost();
}
