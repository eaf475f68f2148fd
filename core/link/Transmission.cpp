// The transmission layer: one frame out, its reply wait armed, at most three transmissions.
#include "link/Frames.h"
#include "link/ModelCheck.h"
#include "link/RadioSession.h"

#include <algorithm>

namespace {
constexpr int16_t MaxRetries = 2;   // three transmissions in all
constexpr qsizetype KeptBytes = 16; // of what the line carried, for the words of a failure
} // namespace

namespace {

// What one try got back, besides a reply: a radio's own replies (late, repeated, for another frame)
// are no sign of trouble on the line, and neither are negative replies, which are sorted apart.
struct TryBytes
{
    bool echo = false;       // exactly the frame itself
    bool refused = false;    // negative replies and nothing else
    bool unreadable = false; // bytes that make no reply of any kind
};

TryBytes SortTry(const QByteArray& frame, const QByteArray& bytes)
{
    TryBytes sorted;
    if (bytes.isEmpty())
        return sorted;
    if (bytes == frame) {
        sorted.echo = true;
        return sorted;
    }
    bool onlyNak = true;
    for (qsizetype at = 0; at < bytes.size();) {
        const uint8_t byte = uint8_t(bytes[at]);
        if (byte == Proto::Ack || byte == Proto::Nak) {
            onlyNak = onlyNak && byte == Proto::Nak;
            ++at;
        } else if (ParseIdentReply(bytes.mid(at, Proto::IdentReplySize))) {
            onlyNak = false;
            at += Proto::IdentReplySize;
        } else if (IsBlockReply(bytes.mid(at, Proto::BlockFrameSize))) {
            onlyNak = false;
            at += Proto::BlockFrameSize;
        } else {
            sorted.unreadable = true;
            return sorted;
        }
    }
    sorted.refused = onlyNak;
    return sorted;
}

} // namespace

LineCarried ClassifyLine(const QByteArray& frame, const QList<QByteArray>& tries)
{
    bool any = false;
    bool echoOnly = true;
    bool refusedEach = !tries.isEmpty();
    bool unreadable = false;
    for (const QByteArray& bytes : tries) {
        const TryBytes sorted = SortTry(frame, bytes);
        any = any || !bytes.isEmpty();
        echoOnly = echoOnly && (bytes.isEmpty() || sorted.echo);
        refusedEach = refusedEach && sorted.refused;
        unreadable = unreadable || sorted.unreadable;
    }
    if (!any)
        return LineCarried::Nothing;
    if (echoOnly)
        return LineCarried::Echo;
    if (refusedEach)
        return LineCarried::NegativeReplies;
    // Only a radio's own replies, late or refused once: it stopped answering, as ever.
    return unreadable ? LineCarried::Unreadable : LineCarried::Nothing;
}

const char* LineCarriedName(LineCarried carried)
{
    switch (carried) {
    case LineCarried::Nothing:
        break;
    case LineCarried::Echo:
        return "echo";
    case LineCarried::NegativeReplies:
        return "negative replies";
    case LineCarried::Unreadable:
        return "unreadable";
    }
    return "nothing";
}

// Every byte that came during this try's wait, whether or not it made the reply.
void RadioSession::KeepReceived(const QByteArray& bytes)
{
    if (!bytes.isEmpty() && !tryBytes.isEmpty())
        tryBytes.last() += bytes;
}

// The frame's last wait ran out: what the line carried on its tries becomes the failure's words.
void RadioSession::JudgeLine()
{
    lineCarried = ClassifyLine(LastFrame, tryBytes);
    lineBytes.clear();
    for (const QByteArray& bytes : std::as_const(tryBytes))
        lineBytes += bytes.first(std::min(bytes.size(), KeptBytes - lineBytes.size()));
    QString carried = QString::fromLatin1(LineCarriedName(lineCarried));
    if (!lineBytes.isEmpty())
        carried += QStringLiteral(", ") + QString::fromLatin1(lineBytes.toHex(' ').toUpper());
    trace.Event(QStringLiteral("line carried: %1").arg(carried));
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
    tryBytes = {QByteArray()};
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
    tryBytes.append(QByteArray());
    WaitTimer.start();
    trace.Event(QStringLiteral("retransmission %1 of %2").arg(RetryCount).arg(MaxRetries));
    if (!SendHalted)
        Transmit();
    return true;
}
