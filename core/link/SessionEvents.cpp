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
    KeepReceived(reply);
    if (!AwaitingReply) {
        trace.Event(QStringLiteral("dropped, no reply awaited"));
        return;
    }
    // AwaitingReply is cleared before acting, so no later event can act on the same wait.
    if (IsNegativeReply(reply)) {
        AwaitingReply = false;
        trace.Event(QStringLiteral("negative reply"));
        WaitTimer_Timer();
        return;
    }
    // Only the reply that answers the awaited frame moves the session on. A radio that answers late,
    // or twice, sends a reply meant for an earlier frame: an identity reply taken for an
    // acknowledgement would skip a frame and bring in another band byte; a block taken for another
    // would overwrite bytes already read or already encoded for the radio. Anything else is dropped,
    // and the wait goes on.
    switch (AwaitedReply(LastFrame)) {
    case ReplyKind::Ack:
        if (IsAck(reply)) {
            AwaitingReply = false;
            NextStep();
            return;
        }
        break;
    case ReplyKind::Identity:
        if (const std::optional<IdentContent> ident = ParseIdentReply(reply)) {
            AwaitingReply = false;
            RadioIdentity = ident->RadioIdentity;
            radioInfo.BandIndex = ident->BandIndex;
            NextStep();
            return;
        }
        break;
    case ReplyKind::Block:
        // Its block number is all that ties a block reply to its request.
        if (IsBlockReply(reply) && AnswersReadRequest(LastFrame, reply)) {
            AwaitingReply = false;
            // The read-back keeps the image as written and compares with it.
            if (sessionStep == SessionStep::ReadBack)
                CheckReadBack(reply);
            else
                infoImage = StoreBlock(infoImage, reply);
            NextStep();
            return;
        }
        break;
    }
    trace.Event(QStringLiteral("dropped, not the reply awaited"));
}

void RadioSession::WaitTimer_Timer()
{
    AwaitingReply = false;
    WaitTimer.stop();
    // Bytes below the receive threshold (a lone negative reply, part of a reply) wait in the port.
    if (MSComm1.PortOpen())
        KeepReceived(MSComm1.Input());
    trace.Event(QStringLiteral("no acceptable reply to transmission %1").arg(RetryCount + 1));
    if (ResendFrame()) {
        TellTry();
        return;
    }
    if (sessionMode == SessionMode::Check) {
        CheckUnanswered();
        return;
    }
    // An end command nobody answers still closes a finished transfer.
    const bool ended = sessionStep == SessionStep::End;
    if (!ended)
        JudgeLine();
    trace.Event(ended ? QStringLiteral("end command unanswered, transfer complete")
                      : QStringLiteral("giving up"));
    FinishSession(ended);
}
