// Trace of the exchange for support: QT_LOGGING_RULES="tangelo.link.debug=true".
// Off by default; it goes to standard error through Qt's message handler and never to a file.
// Each session keeps its own clock, so two sessions at once trace their own times.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QString>

// Directions of LinkTrace::Bytes.
inline constexpr char TraceSent[] = "sent";
inline constexpr char TraceReceived[] = "received";
inline constexpr char LinkTraceCategory[] = "tangelo.link";

class LinkTrace
{
public:
    LinkTrace() = default;
    LinkTrace(const LinkTrace&) = delete;
    LinkTrace& operator=(const LinkTrace&) = delete;

    // Milliseconds since the last Read or Write press.
    void Restart() { clock.start(); }
    qint64 Clock() const { return clock.isValid() ? clock.elapsed() : 0; }

    bool Enabled() const { return category.isDebugEnabled(); }
    void Bytes(const char* direction, const QByteArray& bytes) const;
    void Event(const QString& text) const;

private:
    QElapsedTimer clock;
    // Debug messages are off unless QT_LOGGING_RULES (or a rules file) switches them on.
    QLoggingCategory category{LinkTraceCategory, QtInfoMsg};
};
