// The frame builders of the session: each builds its frame and hands it to SendFrame with the
// length and wait of the reply it expects, and tells of the try.
#include "link/Frames.h"
#include "link/RadioSession.h"

#include <QtGlobal>

namespace {
constexpr int32_t LastReadAddress = 240;  // block 7
constexpr int32_t LastWriteAddress = 128; // block 4: image bytes 160 to 255 never go to the radio
} // namespace

// -1: the next block in sequence of those in `blocks` (bit n: block n); false once past `limit`.
bool RadioSession::NextAddress(int32_t& address, int32_t limit, uint8_t blocks)
{
    if (address != -1)
        return true;
    do
        BlockAddress += Proto::BlockDataSize;
    while (BlockAddress <= limit && (blocks & (1U << (BlockAddress / Proto::BlockDataSize))) == 0);
    if (BlockAddress > limit)
        return false;
    address = BlockAddress;
    return true;
}

void RadioSession::Send(int16_t replyLength, const QByteArray& frame, bool longWait)
{
    SendFrame(replyLength, frame, longWait);
    TellTry();
}

// The owner may show that a reply is awaited, and for how long; a frame held back awaits nothing.
void RadioSession::TellTry()
{
    if (!SendHalted)
        emit trySent(LastFrame, int16_t(RetryCount + 1), WaitTimer.intervalAsDuration());
}

void RadioSession::SendProgramCommand()
{
    sessionStep = SessionStep::ProgramCommand;
    Send(1, Proto::ProgramCommand.toByteArray(), true);
}

void RadioSession::SendIdentRequest()
{
    Send(Proto::IdentReplySize, QByteArray(1, char(Proto::IdentRequest)), false);
}

void RadioSession::ReadBlock(int32_t address)
{
    // The read-back reads only the blocks written.
    const bool readBack = sessionStep == SessionStep::ReadBack;
    if (!NextAddress(address, readBack ? LastWriteAddress : LastReadAddress, readBack ? passBlocks : 0xFF)) {
        if (readBack)
            ReadBackDone();
        else
            FinishTransfer();
        return;
    }
    Q_ASSERT(address >= 0 && address <= LastReadAddress && address % Proto::BlockDataSize == 0);
    Send(Proto::BlockFrameSize, Proto::BuildReadRequest(uint8_t(address / Proto::BlockDataSize)), false);
}

void RadioSession::WriteBlock(int32_t address)
{
    if (!NextAddress(address, LastWriteAddress, passBlocks)) {
        ReadBack();
        return;
    }
    Q_ASSERT(address >= 0 && address <= LastReadAddress && address % Proto::BlockDataSize == 0);
    const auto data = std::span(infoImage).subspan(size_t(address)).first<Proto::BlockDataSize>();
    Send(1, Proto::BuildBlockFrame(uint8_t(address / Proto::BlockDataSize), data), false);
}

void RadioSession::SendEnd()
{
    Send(1, Proto::EndCommand.toByteArray(), false);
}
