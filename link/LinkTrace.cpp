#include "link/LinkTrace.h"

#include <QElapsedTimer>

// Debug messages are off unless QT_LOGGING_RULES (or a rules file) switches them on.
Q_LOGGING_CATEGORY(lcLink, "tangelo.link", QtInfoMsg)

namespace {
QElapsedTimer& Clock()
{
    static QElapsedTimer clock;
    return clock;
}

QString Stamp()
{
    return QStringLiteral("%1 ms").arg(LinkClock(), 6);
}
} // namespace

void RestartLinkClock()
{
    Clock().start();
}

qint64 LinkClock()
{
    return Clock().isValid() ? Clock().elapsed() : 0;
}

void TraceBytes(const char* direction, const QByteArray& bytes)
{
    if (!lcLink().isDebugEnabled())
        return;
    qCDebug(lcLink).noquote() << Stamp() << direction << QStringLiteral("%1 bytes:").arg(bytes.size())
                              << QString::fromLatin1(bytes.toHex(' ').toUpper());
}

void TraceEvent(const QString& text)
{
    if (!lcLink().isDebugEnabled())
        return;
    qCDebug(lcLink).noquote() << Stamp() << text;
}
