#include "ports/ComPorts.h"

QString MatchListEntry(const QStringList& list, const QString& text)
{
    for (const QString& entry : list) {
        if (entry == text)
            return entry;
    }
    return list.isEmpty() ? QString() : list.first();
}
