// The transmission layer: one frame out, its reply wait armed, at most three transmissions.
#include "link/RadioSession.h"

namespace {
constexpr int16_t MaxRetries = 2; // three transmissions in all
}

void RadioSession::Transmit()
{
    // Threshold first, then both buffers emptied, so the reply arrives alone and is judged whole.
    MSComm1.SetRThreshold(ReplyLength);
    MSComm1.ClearOutput();
    MSComm1.ClearInput();
    MSComm1.Output(LastFrame);
}

void RadioSession::SendFrame(int16_t replyLength, const QByteArray& frame, bool longWait)
{
    ReplyLength = replyLength;
    LastFrame = frame;
    RetryCount = 0;
    // The wait is armed before the bytes go out, so a quick reply always finds it.
    AwaitingReply = true;
    WaitTimer.setInterval(longWait ? timings.LongWait : timings.ShortWait);
    WaitTimer.start();
    if (SendHalted) {
        trace.Event(QStringLiteral("held back: %1").arg(QString::fromLatin1(frame.toHex(' ').toUpper())));
        return;
    }
    Transmit();
}

bool RadioSession::ResendFrame()
{
    ++RetryCount;
    if (RetryCount > MaxRetries)
        return false;
    AwaitingReply = true;
    WaitTimer.start();
    trace.Event(QStringLiteral("retransmission %1 of %2").arg(RetryCount).arg(MaxRetries));
    if (!SendHalted)
        Transmit();
    return true;
}
