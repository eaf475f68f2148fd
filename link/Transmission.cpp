// The transmission layer: one frame out, its reply wait armed, at most three transmissions.
#include "link/CommLink.h"
#include "link/Frames.h"
#include "link/LinkTrace.h"
#include "link/Sequencer.h"

int16_t RetryCount = 0;
int16_t ReplyLength = 0;
QByteArray LastFrame;
bool AwaitingReply = false;

namespace {
constexpr int16_t MaxRetries = 2; // three transmissions in all

void Transmit()
{
    SerialControl& port = MSComm1();
    // Threshold first, then both buffers emptied, so the reply arrives alone and is judged whole.
    port.SetRThreshold(ReplyLength);
    port.ClearOutput();
    port.ClearInput();
    port.Output(LastFrame);
}
} // namespace

void SendFrame(int16_t replyLength, const QByteArray& frame, bool longWait)
{
    ReplyLength = replyLength;
    LastFrame = frame;
    RetryCount = 0;
    // The wait is armed before the bytes go out, so a quick reply always finds it.
    AwaitingReply = true;
    WaitTimer().setInterval(longWait ? Proto::LongWaitMs : Proto::ShortWaitMs);
    WaitTimer().start();
    if (SendHalted) {
        TraceEvent(QStringLiteral("held back: %1").arg(QString::fromLatin1(frame.toHex(' ').toUpper())));
        return;
    }
    Transmit();
}

bool ResendFrame()
{
    ++RetryCount;
    if (RetryCount > MaxRetries)
        return false;
    AwaitingReply = true;
    WaitTimer().start();
    TraceEvent(QStringLiteral("retransmission %1 of %2").arg(RetryCount).arg(MaxRetries));
    if (!SendHalted)
        Transmit();
    return true;
}
