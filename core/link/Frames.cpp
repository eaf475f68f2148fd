#include "link/Frames.h"

#include "data/ModData.h"

#include <algorithm>
#include <numeric>

namespace {
constexpr std::array<uint8_t, 4> ReadHeader{Proto::ReadHead, 0x08, 0x00, 0x20};
constexpr std::array<uint8_t, 4> BlockHeader{Proto::BlockHead, 0x08, 0x00, 0x20};
constexpr int BlockNumberAt = Proto::BlockNumberAt;
constexpr int BlockDataAt = 5;
constexpr int ChecksumAt = Proto::BlockFrameSize - 1;

std::span<const uint8_t> Bytes(const QByteArray& array)
{
    return {reinterpret_cast<const uint8_t*>(array.constData()), size_t(array.size())};
}

QByteArray WithHeader(const std::array<uint8_t, 4>& header)
{
    return QByteArray(reinterpret_cast<const char*>(header.data()), qsizetype(header.size()));
}
} // namespace

namespace Proto {
QByteArray BuildReadRequest(uint8_t blockNumber)
{
    QByteArray frame = WithHeader(ReadHeader);
    frame.append(char(blockNumber));
    return frame;
}

QByteArray BuildBlockFrame(uint8_t blockNumber, std::span<const uint8_t, BlockDataSize> data)
{
    QByteArray frame = WithHeader(BlockHeader);
    frame.append(char(blockNumber));
    frame.append(reinterpret_cast<const char*>(data.data()), BlockDataSize);
    frame.append('\0');
    SetChecksum(frame, 0, ChecksumAt - 1, ChecksumAt);
    return frame;
}

uint8_t Checksum(std::span<const uint8_t> bytes)
{
    // Summed wide, kept to its low 8 bits.
    return uint8_t(std::accumulate(bytes.begin(), bytes.end(), uint32_t{0}) & 0xFFu);
}
} // namespace Proto

void SetChecksum(QByteArray& frame, int first, int last, int target)
{
    frame[target] = char(Proto::Checksum(Bytes(frame).subspan(size_t(first), size_t(last - first + 1))));
}

bool VerifyChecksum(const QByteArray& frame, int first, int last, int target)
{
    return uint8_t(frame[target]) ==
           Proto::Checksum(Bytes(frame).subspan(size_t(first), size_t(last - first + 1)));
}

bool IsAck(const QByteArray& reply)
{
    return reply.size() == 1 && uint8_t(reply[0]) == Proto::Ack;
}

bool IsNegativeReply(const QByteArray& reply)
{
    return reply.size() == 1 && uint8_t(reply[0]) == Proto::Nak;
}

bool IsBlockReply(const QByteArray& reply)
{
    if (reply.size() != Proto::BlockFrameSize)
        return false;
    const std::span<const uint8_t> bytes = Bytes(reply);
    if (!std::equal(BlockHeader.begin(), BlockHeader.end(), bytes.begin()))
        return false;
    if (!VerifyChecksum(reply, 0, ChecksumAt - 1, ChecksumAt))
        return false;
    // A block number past the image names no block: not a reply this program can use.
    return bytes[BlockNumberAt] < Proto::BlockCount;
}

bool AnswersReadRequest(const QByteArray& request, const QByteArray& reply)
{
    const std::span<const uint8_t> asked = Bytes(request);
    return asked.size() == Proto::ReadRequestSize &&
           std::equal(ReadHeader.begin(), ReadHeader.end(), asked.begin()) && reply.size() > BlockNumberAt &&
           reply[BlockNumberAt] == request[BlockNumberAt];
}

ReplyKind AwaitedReply(const QByteArray& frame)
{
    if (frame.size() == 1 && uint8_t(frame[0]) == Proto::IdentRequest)
        return ReplyKind::Identity;
    const std::span<const uint8_t> bytes = Bytes(frame);
    if (bytes.size() == Proto::ReadRequestSize &&
        std::equal(ReadHeader.begin(), ReadHeader.end(), bytes.begin()))
        return ReplyKind::Block;
    return ReplyKind::Ack;
}

InfoImageType StoreBlock(InfoImageType image, const QByteArray& reply)
{
    // The length first: the block number of a short reply lies past its end.
    if (reply.size() != Proto::BlockFrameSize)
        return image;
    const int block = uint8_t(reply[BlockNumberAt]);
    if (block >= Proto::BlockCount)
        return image;
    const std::span<const uint8_t> data = Bytes(reply).subspan(BlockDataAt, Proto::BlockDataSize);
    std::copy(data.begin(), data.end(), image.begin() + block * Proto::BlockDataSize);
    return image;
}
