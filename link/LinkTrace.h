// Trace of the exchange for support: QT_LOGGING_RULES="tangelo.link.debug=true".
// Off by default; it goes to standard error through Qt's message handler and never to a file.
#pragma once

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcLink)

// Directions of TraceBytes.
inline constexpr const char* TraceSent = "sent";
inline constexpr const char* TraceReceived = "received";

// Milliseconds since the last Read or Write press.
void RestartLinkClock();
qint64 LinkClock();
void TraceBytes(const char* direction, const QByteArray& bytes);
void TraceEvent(const QString& text);
