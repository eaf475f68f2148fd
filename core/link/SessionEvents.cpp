// The two events that move a session on: bytes received and the reply wait running out.
#include "link/Frames.h"
#include "link/ModelCheck.h"
#include "link/RadioSession.h"

void RadioSession::MSComm1_OnComm()
{
    if (MSComm1.CommEvent != SerialControl::comEvReceive)
        return;
    // Everything waiting is one reply; nothing is carried over to the next event.
    const QByteArray reply = MSComm1.Input();
    if (!AwaitingReply) {
        trace.Event(QStringLiteral("dropped, no reply awaited"));
        return;
    }
    // AwaitingReply is cleared before acting, so no later event can act on the same wait.
    if (IsAck(reply)) {
        AwaitingReply = false;
        NextStep();
    } else if (IsNegativeReply(reply)) {
        AwaitingReply = false;
        trace.Event(QStringLiteral("negative reply"));
        WaitTimer_Timer();
    } else if (const std::optional<IdentContent> ident = ParseIdentReply(reply)) {
        AwaitingReply = false;
        RadioIdentity = ident->RadioIdentity;
        radioInfo.BandIndex = ident->BandIndex;
        NextStep();
    } else if (IsBlockReply(reply)) {
        // Its block number is all that ties a block reply to a request. A reply that comes after
        // its wait has run out comes once more for the retransmission, and that second copy would
        // be taken for the answer to the next request; a block nobody asked for, or any block
        // while a block write awaits its acknowledgement, would overwrite bytes already read or
        // already encoded for the radio. Such a reply is dropped like a bad checksum.
        if (!AnswersReadRequest(LastFrame, reply)) {
            trace.Event(QStringLiteral("dropped, not the block asked for"));
            return;
        }
        AwaitingReply = false;
        // The read-back keeps the image as written and compares with it.
        if (sessionStep == SessionStep::ReadBack)
            CheckReadBack(reply);
        else
            infoImage = StoreBlock(infoImage, reply);
        NextStep();
    } else {
        trace.Event(QStringLiteral("dropped, matches no reply"));
    }
}

void RadioSession::WaitTimer_Timer()
{
    AwaitingReply = false;
    WaitTimer.stop();
    trace.Event(QStringLiteral("no acceptable reply to transmission %1").arg(RetryCount + 1));
    if (!ResendFrame()) {
        // An end command nobody answers still closes a finished transfer.
        const bool ended = sessionStep == SessionStep::End;
        trace.Event(ended ? QStringLiteral("end command unanswered, transfer complete")
                          : QStringLiteral("giving up"));
        FinishSession(ended);
    }
}
