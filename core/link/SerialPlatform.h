// What the serial port needs of the system beyond QSerialPort: whether the device has gone, waiting
// for the last bytes to leave, the driver's low-latency mode, and what to tell a user whose port
// would not open or whose cable holds replies back.
#pragma once

#include "link/OpenFailure.h"
#include "ports/CableInfo.h"

#include <QSerialPort>
#include <QString>

#include <span>
#include <utility>

// The system's handle of an open port: a descriptor on Linux, a HANDLE on Windows.
using PortHandle = decltype(std::declval<QSerialPort&>().handle());

// True when the port's handle reports that the device is gone (cable pulled, the other end of a
// pseudo-terminal closed), not just a read that failed.
bool PortHungUp(PortHandle handle);

// Hands what QSerialPort still holds to the driver, and on Linux waits, with a bound, until the driver
// has taken it. Qt's Windows port cannot be waited on safely here: there the caller waits for
// QSerialPort::bytesWritten in the event loop before closing.
void HandOverWrites(QSerialPort& port);

// Returns once the driver has sent everything written, or after a bound: closing puts the old line
// settings back at once, and an end command sent just before must be on the wire first.
void WaitUntilSent(PortHandle handle);

// Asks the driver to pass received bytes on at once instead of gathering them: the latency timer of
// many USB serial bridges holds each reply back for up to 16 ms, at every exchange. True when this
// switched the mode on, so that closing switches it off again; false when it was on already or the
// driver has no such mode.
bool SwitchLowLatencyOn(PortHandle handle);
// Undoes SwitchLowLatencyOn, before the port closes: the mode outlives the opening on some drivers.
void SwitchLowLatencyOff(PortHandle handle);
// Empties the driver's buffers in these directions; bytes that wait there belong to no frame.
void EmptyDriverBuffers(QSerialPort& port, QSerialPort::Directions directions);

// The system's error codes that a failed opening names, each with its kind (see OpenFailure.h).
std::span<const OpenFailureCode> OpenFailureCodes();

// What the user can do about a port that would not open with this error; empty when nothing useful
// can be said.
QString OpenFailureHint(QSerialPort::SerialPortError error, const QString& devicePath);

// The whole reason for a port that another program holds, naming the port once (`shownName`, "COM5
// (/dev/ttyUSB0)") and the holder where the system shows it; empty when the system does not tell a
// held port from one refused for other reasons (Windows: OpenFailureHint speaks of it).
QString HeldPortText(const QString& shownName, const QString& devicePath);

// What to do about a cable whose latency timer holds every reply back for more than 1 ms; empty when
// the timer is unknown or at 1 ms. Follows the sentence that names the cable.
QString LatencyTimerAdvice(const CableInfo& cable, const QString& devicePath);
