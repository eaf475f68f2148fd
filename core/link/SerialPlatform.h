// What the serial port needs of the system beyond QSerialPort: whether the device has gone, waiting
// for the last bytes to leave, and what to tell a user whose port would not open.
#pragma once

#include <QSerialPort>
#include <QString>

#include <utility>

// The system's handle of an open port: a descriptor on Linux, a HANDLE on Windows.
using PortHandle = decltype(std::declval<QSerialPort&>().handle());

// True when the port's handle reports that the device is gone (cable pulled, the other end of a
// pseudo-terminal closed), not just a read that failed.
bool PortHungUp(PortHandle handle);

// Returns once the driver has sent everything written, or after a bound: closing puts the old line
// settings back at once, and an end command sent just before must be on the wire first.
void WaitUntilSent(PortHandle handle);

// Empties the driver's buffers in these directions; bytes that wait there belong to no frame.
void EmptyDriverBuffers(QSerialPort& port, QSerialPort::Directions directions);

// What the user can do about a port that would not open with this error; empty when nothing useful
// can be said.
QString OpenFailureHint(QSerialPort::SerialPortError error, const QString& devicePath);
