// The two events that move a session on: bytes received and the reply wait running out.
#include "link/CommLink.h"
#include "link/Frames.h"
#include "link/LinkTrace.h"
#include "link/ModelCheck.h"
#include "link/Sequencer.h"

void MSComm1_OnComm()
{
    SerialControl& port = MSComm1();
    if (port.CommEvent != SerialControl::comEvReceive)
        return;
    // Everything waiting is one reply; nothing is carried over to the next event.
    const QByteArray reply = port.Input();
    if (!AwaitingReply) {
        TraceEvent(QStringLiteral("dropped, no reply awaited"));
        return;
    }
    // AwaitingReply is cleared before acting, so no later event can act on the same wait.
    if (IsAck(reply)) {
        AwaitingReply = false;
        NextStep(-1);
    } else if (IsNegativeReply(reply)) {
        AwaitingReply = false;
        TraceEvent(QStringLiteral("negative reply"));
        WaitTimer_Timer();
    } else if (ParseIdentReply(reply)) {
        AwaitingReply = false;
        NextStep(-1);
    } else if (IsBlockReply(reply)) {
        // Its block number is all that ties a block reply to a request. A reply that comes after
        // its wait has run out comes once more for the retransmission, and that second copy would
        // be taken for the answer to the next request; a block nobody asked for, or any block
        // while a block write awaits its acknowledgement, would overwrite bytes already read or
        // already encoded for the radio. Such a reply is dropped like a bad checksum.
        if (!AnswersReadRequest(LastFrame, reply)) {
            TraceEvent(QStringLiteral("dropped, not the block asked for"));
            return;
        }
        AwaitingReply = false;
        StoreBlock(reply);
        NextStep(-1);
    } else {
        TraceEvent(QStringLiteral("dropped, matches no reply"));
    }
}

void WaitTimer_Timer()
{
    AwaitingReply = false;
    WaitTimer().stop();
    TraceEvent(QStringLiteral("no acceptable reply to transmission %1").arg(RetryCount + 1));
    if (!ResendFrame()) {
        // An end command nobody answers still closes a finished transfer.
        TraceEvent(SessionStep == 69 ? QStringLiteral("end command unanswered, transfer complete")
                                     : QStringLiteral("giving up"));
        FinishSession(SessionStep == 69);
    }
}
