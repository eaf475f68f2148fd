#include "link/OpenFailure.h"

#include <QCoreApplication>

namespace {
class OpenFailureText
{
    Q_DECLARE_TR_FUNCTIONS(OpenFailureText)
};
} // namespace

OpenFailure ClassifyOpenFailure(QSerialPort::SerialPortError error, const QString& systemReason,
                                std::span<const OpenFailureCode> codes)
{
    for (const OpenFailureCode& code : codes) {
        if (systemReason == qt_error_string(code.Code))
            return code.Kind;
    }
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return OpenFailure::NoDevice;
    // The one refusal whose text is no system code's: the lock file of another program's opening.
    case QSerialPort::PermissionError:
        return OpenFailure::Busy;
    case QSerialPort::UnsupportedOperationError:
        return OpenFailure::NotSerial;
    default:
        return OpenFailure::Other;
    }
}

QString OpenFailureSentence(OpenFailure kind, const QString& shownName)
{
    switch (kind) {
    case OpenFailure::NoDevice:
        return OpenFailureText::tr("%1: there is no such device.").arg(shownName);
    case OpenFailure::NoPermission:
        return OpenFailureText::tr("%1: this user account may not use the device.").arg(shownName);
    case OpenFailure::Busy:
        return OpenFailureText::tr("%1: the device is in use.").arg(shownName);
    case OpenFailure::NotSerial:
        return OpenFailureText::tr("%1: the device is not a serial port.").arg(shownName);
    case OpenFailure::InputOutput:
        return OpenFailureText::tr("%1: the device reported an input/output error.").arg(shownName);
    case OpenFailure::Gone:
        return OpenFailureText::tr("%1: the device is gone.").arg(shownName);
    case OpenFailure::Other:
        break;
    }
    return {};
}
