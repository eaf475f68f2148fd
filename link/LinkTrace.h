// Trace of the exchange for support: QT_LOGGING_RULES="tangelo.link.debug=true".
#pragma once

#include <QByteArray>
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLink)

// Milliseconds since the last Read or Write press.
void RestartLinkClock();
qint64 LinkClock();
void TraceBytes(const char* direction, const QByteArray& bytes);
