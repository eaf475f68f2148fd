// What a test table expects of a cable, as one line: "maker|product|vid:pid|driver|latency timer",
// empty where the system did not tell.
#pragma once

#include "ports/CableInfo.h"

#include <QString>
#include <QStringList>

inline QString CableFields(const CableInfo& cable)
{
    const QString timer = cable.LatencyTimerMs ? QString::number(*cable.LatencyTimerMs) : QString();
    return QStringList(
               {cable.Maker, cable.Product, cable.IsUsb() ? cable.UsbIds() : QString(), cable.Driver, timer})
        .join(u'|');
}
