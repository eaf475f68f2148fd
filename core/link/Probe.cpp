// The check of a link: as a read up to the identity, then the end command; no block goes either way.
#include "link/RadioSession.h"

void RadioSession::startCheck(int16_t portNumber)
{
    checkOnly = true;
    RadioIdentity.clear();
    checkedBand = 0;
    radioInfo = RadioInfoRecord{};
    // Whatever ends it, the next session of this object is what it was asked to be.
    connect(
        this, &RadioSession::finished, this, [this] { checkOnly = false; }, Qt::SingleShotConnection);
    StartSession(SessionMode::Read, portNumber);
    trace.Event(QStringLiteral("check: no block is read or written"));
}

bool RadioSession::EndAnswered() const
{
    // An answered end command leaves the count of its retransmissions within the three tries; one
    // that went unanswered ran past them.
    return sessionStep == SessionStep::End && !portLost && RetryCount <= 2;
}
