// Reads and writes through the program's session code over a pseudo-terminal, against the virtual
// radio with the line modelled, each timed from the press to the closing message.
#pragma once

#include "Exchanges.h"

#include <QString>

struct SessionRuns
{
    QList<SessionTiming> reads;
    QList<SessionTiming> writes;
    QStringList failures; // closing messages other than the completions
    QString error;        // why nothing could be run
};

SessionRuns RunSessions(int count);
