#include "link/LinkTrace.h"

#include "data/ControlCharacters.h"

void LinkTrace::Bytes(const char* direction, const QByteArray& bytes) const
{
    if (!Enabled())
        return;
    qCDebug(category).noquote() << QStringLiteral("%1 ms").arg(Clock(), 6) << direction
                                << QStringLiteral("%1 bytes:").arg(bytes.size())
                                << QString::fromLatin1(bytes.toHex(' ').toUpper());
}

void LinkTrace::Event(const QString& text) const
{
    if (!Enabled())
        return;
    // An event may carry a path or a system's words: the trace goes to a terminal, escaped.
    qCDebug(category).noquote() << QStringLiteral("%1 ms").arg(Clock(), 6) << EscapeControlCharacters(text);
}
