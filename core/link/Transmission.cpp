// The transmission layer: one frame out, its reply wait armed, at most three transmissions.
#include "link/Frames.h"
#include "link/ModelCheck.h"
#include "link/RadioSession.h"

#include <algorithm>

namespace {
constexpr int16_t MaxRetries = 2;   // three transmissions in all
constexpr qsizetype KeptBytes = 16; // of what each try got back, for the words of a failure

// One piece of what a try got back: a reply of the radio's or bytes that make none.
enum class Piece { Ack, Nak, Identity, Block, Unreadable };

struct Pieces
{
    bool echo = false;     // the try's bytes began with the frame itself
    QList<Piece> found;    // what followed, in order; Unreadable ends the list
    QList<uint8_t> blocks; // the block numbers of the block replies, in order
};

Pieces SplitPieces(const QByteArray& frame, const QByteArray& bytes)
{
    Pieces pieces;
    qsizetype at = 0;
    if (bytes.startsWith(frame)) {
        pieces.echo = true;
        at = frame.size();
    }
    while (at < bytes.size()) {
        const uint8_t byte = uint8_t(bytes[at]);
        if (byte == Proto::Ack || byte == Proto::Nak) {
            pieces.found << (byte == Proto::Ack ? Piece::Ack : Piece::Nak);
            ++at;
        } else if (ParseIdentReply(bytes.mid(at, Proto::IdentReplySize))) {
            pieces.found << Piece::Identity;
            at += Proto::IdentReplySize;
        } else if (IsBlockReply(bytes.mid(at, Proto::BlockFrameSize))) {
            pieces.found << Piece::Block;
            pieces.blocks << uint8_t(bytes[at + Proto::BlockNumberAt]);
            at += Proto::BlockFrameSize;
        } else {
            pieces.found << Piece::Unreadable;
            break;
        }
    }
    return pieces;
}

// The piece that answers `frame`.
Piece Awaited(const QByteArray& frame)
{
    switch (AwaitedReply(frame)) {
    case ReplyKind::Identity:
        return Piece::Identity;
    case ReplyKind::Block:
        return Piece::Block;
    case ReplyKind::Ack:
        break;
    }
    return Piece::Ack;
}

const char* CarriedName(TryCarried carried)
{
    switch (carried) {
    case TryCarried::Nothing:
        break;
    case TryCarried::Echo:
        return "echo";
    case TryCarried::NegativeReply:
        return "negative reply";
    case TryCarried::Unreadable:
        return "unreadable";
    case TryCarried::OtherFrame:
        return "reply to another frame";
    case TryCarried::OtherBlock:
        return "another block";
    case TryCarried::LateReply:
        return "reply after the wait";
    }
    return "nothing";
}

} // namespace

// What the try showed, the weightiest first: bytes that make no reply; a reply to another block or
// another frame; a refusal; and the reply itself, which, not acted on, came only as the wait ran out.
LineTry SortTry(const QByteArray& frame, const QByteArray& bytes)
{
    LineTry sorted;
    sorted.Bytes = bytes.first(std::min(bytes.size(), KeptBytes));
    const Pieces pieces = SplitPieces(frame, bytes);
    const Piece awaited = Awaited(frame);
    const auto has = [&](auto test) { return std::any_of(pieces.found.begin(), pieces.found.end(), test); };
    // A read request names its block where a block reply does.
    const auto otherBlock = std::find_if(pieces.blocks.begin(), pieces.blocks.end(), [&](uint8_t block) {
        return awaited == Piece::Block && block != uint8_t(frame[Proto::BlockNumberAt]);
    });
    if (bytes.isEmpty())
        sorted.Carried = TryCarried::Nothing;
    else if (pieces.found.isEmpty())
        sorted.Carried = TryCarried::Echo;
    else if (pieces.found.contains(Piece::Unreadable))
        sorted.Carried = TryCarried::Unreadable;
    else if (otherBlock != pieces.blocks.end()) {
        sorted.Carried = TryCarried::OtherBlock;
        sorted.Block = *otherBlock;
    } else if (has([&](Piece piece) { return piece != Piece::Nak && piece != awaited; }))
        sorted.Carried = TryCarried::OtherFrame;
    else if (pieces.found.contains(Piece::Nak))
        sorted.Carried = TryCarried::NegativeReply;
    else
        sorted.Carried = TryCarried::LateReply;
    return sorted;
}

QList<LineTry> ClassifyLine(const QByteArray& frame, const QList<QByteArray>& tries)
{
    QList<LineTry> sorted;
    for (const QByteArray& bytes : tries)
        sorted << SortTry(frame, bytes);
    return sorted;
}

QString LineCarriedText(const QList<LineTry>& tries)
{
    QStringList parts;
    for (qsizetype index = 0; index < tries.size(); ++index) {
        const LineTry& one = tries[index];
        QString part =
            QStringLiteral("try %1: %2").arg(index + 1).arg(QLatin1String(CarriedName(one.Carried)));
        if (one.Carried == TryCarried::OtherBlock)
            part += QStringLiteral(" (block %1)").arg(one.Block);
        if (!one.Bytes.isEmpty())
            part += QStringLiteral(", ") + QString::fromLatin1(one.Bytes.toHex(' ').toUpper());
        parts << part;
    }
    return parts.join(QStringLiteral("; "));
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
    trace.Event(QStringLiteral("line carried: %1").arg(LineCarriedText(lineCarried)));
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
