// Why a serial port would not open, in our own words: the system's own text for it is often English
// on a Chinese system, or words a dealer cannot act on ("Inappropriate ioctl for device"). The
// system's text stays in the link trace.
#pragma once

#include <QSerialPort>
#include <QString>

#include <span>

// The kinds a user can act on; Other keeps the system's text, as nothing better is known.
enum class OpenFailure { NoDevice, NoPermission, Busy, NotSerial, InputOutput, Gone, Other };

// One of the system's error codes (errno on Linux, a Win32 code on Windows) and its kind.
struct OpenFailureCode
{
    int Code = 0;
    OpenFailure Kind = OpenFailure::Other;
};

// The kind of a failed opening. QSerialPort gives the system's text for the code it met; the code is
// found again as the one whose text that is. A text of none of them goes by QSerialPort's error.
OpenFailure ClassifyOpenFailure(QSerialPort::SerialPortError error, const QString& systemReason,
                                std::span<const OpenFailureCode> codes);

// The sentence for a port (`shownName`) that would not open for this kind of reason; empty for
// Other, which the caller says with the system's text.
QString OpenFailureSentence(OpenFailure kind, const QString& shownName);
