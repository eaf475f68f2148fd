// Stand-in for the serial communications control: the few operations the session needs,
// on top of QSerialPort.
#pragma once

#include "link/LinkTrace.h"
#include "ports/CableInfo.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>

// Who named the port number: the user (typed, or one of the ports found), the window's choice, or
// the window's choice saved from an earlier run and taken for want of another.
enum class PortSource : int8_t { Given, Window, Saved };

class SerialControl : public QObject
{
    Q_OBJECT
public:
    static constexpr int16_t comEvReceive = 2;

    explicit SerialControl(QObject* parent = nullptr);
    ~SerialControl() override;

    // Port number to device path (1 = COM1). Settings decide; tests may set their own.
    // An empty path means the number names no device.
    using PortResolver = std::function<QString(int16_t)>;
    void SetPortResolver(PortResolver resolver);
    // Where the port traces what it sends, receives and drops; nullptr: nowhere.
    void SetTrace(const LinkTrace* linkTrace) { trace = linkTrace; }

    int16_t CommPort = 1;
    QString Settings = QStringLiteral("9600,N,8,1"); // "baud,parity,data,stop"
    int16_t Handshaking = 0;                         // 0 none, 1 XON/XOFF, 2 RTS/CTS
    int16_t InputMode = 0;                           // 1: binary (bytes always pass unchanged here)
    int16_t InputLen = 0;                            // 0: Input takes every waiting byte
    int16_t CommEvent = 0;                           // code of the last OnComm
    bool LowLatency = true; // at each opening, ask the driver to pass received bytes on at once
    PortSource Source = PortSource::Given; // for the words when CommPort names no device

    void SetRThreshold(int16_t count); // OnComm fires once at least this many bytes wait; 0: never
    int16_t RThreshold() const { return rThreshold; }

    bool PortOpen() const;
    // Opening: false when the device cannot be opened or configured; ErrorString() tells why,
    // in words for the user (device, the system's reason, what to do about it).
    // Closing: the port reads as closed at once, but bytes written just before still leave; it closes
    // for good once they have, at a later turn of the event loop.
    bool SetPortOpen(bool open);
    QString ErrorString() const { return errorText; }
    QString DevicePath() const { return devicePath; }
    // What the system knew of the cable at the last opening, after asking for low latency.
    const CableInfo& Cable() const { return cable; }
    QString CableRoot; // where Cable() is read from; empty: the system's (tests give a fake sysfs)

    void ClearOutput();                   // OutBufferCount := 0
    void ClearInput();                    // InBufferCount := 0
    void Output(const QByteArray& bytes); // written unchanged, every byte value
    QByteArray Input();                   // every waiting byte, emptying the buffer

signals:
    void OnComm();
    // The port went away under us (cable pulled, other end of a pseudo-terminal closed).
    // The port is already closed when this fires; it fires once per opening.
    void PortLost();

private:
    bool open();
    void close();
    void closeOnceSent();
    void bytesLeft();
    void readAvailable();
    void handleError(QSerialPort::SerialPortError error);
    void endLostPort();
    void TraceEvent(const QString& text) const;
    QString NoDeviceText(const QString& portName) const;

    std::unique_ptr<QSerialPort> port;
    PortResolver resolver;
    const LinkTrace* trace = nullptr;
    QByteArray received; // taken from the driver, not yet handed over by Input()
    int16_t rThreshold = 0;
    QString errorText;
    QString devicePath;
    CableInfo cable;
    bool lost = false;               // hang-up seen; the port is being closed
    bool lowLatencySwitched = false; // this opening switched the driver's low-latency mode on
    int readFailures = 0;            // read errors in a row without data
    bool commPending = false;        // an OnComm is on its way
    bool closing = false;            // closed for the session; the last bytes are still leaving
    QTimer closeTimer;               // closes the port for good
    // Far more than an end command takes to leave, even at 9600 baud; a stalled adapter waits no longer.
    static constexpr int CloseLimitMs = 500;
};
