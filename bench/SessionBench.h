// Reads and writes through the program's session code over a pseudo-terminal, against the virtual
// radio with the line modelled, each timed from the press to the closing message.
#pragma once

#include "Exchanges.h"

#include <QString>

struct SessionRuns
{
    QList<SessionTiming> reads;
    QList<SessionTiming> writes;
    // Reads with the radio's replies in lots of lotMs, the port asking for the low-latency mode or not.
    int lotMs = 0;
    QList<SessionTiming> lotReads;
    QList<SessionTiming> lotReadsPlain;
    QStringList failures; // closing messages other than the completions
    QString error;        // why nothing could be run
};

// count reads and count writes; with lotMs, as many reads of each kind with the replies in lots.
SessionRuns RunSessions(int count, int lotMs);
