#include "RadioReplies.h"

#include "link/Frames.h"

#include <numeric>

namespace RadioReplies {

uint8_t Checksum(std::span<const uint8_t> bytes)
{
    return uint8_t(std::accumulate(bytes.begin(), bytes.end(), uint32_t(0)) & 0xFF);
}

uint8_t Checksum(const QByteArray& bytes)
{
    return Checksum(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));
}

bool ChecksumHolds(const QByteArray& blockFrame)
{
    return blockFrame.size() == Proto::BlockFrameSize &&
           Checksum(blockFrame.first(Proto::BlockFrameSize - 1)) == uint8_t(blockFrame.back());
}

QByteArray IdentReply(const QByteArray& identity, uint8_t band)
{
    QByteArray reply(Proto::IdentReplySize, char(0xFF));
    reply[0] = char(Proto::IdentHead);
    for (qsizetype i = 0; i < std::min<qsizetype>(identity.size(), 7); ++i)
        reply[1 + i] = identity[i];
    reply[8] = char(band);
    reply[15] = char(Proto::Ack);
    return reply;
}

QByteArray BlockReply(const Image& image, uint8_t wireBlock, int dataBlock)
{
    QByteArray reply;
    reply.reserve(Proto::BlockFrameSize);
    reply.append(char(Proto::BlockHead)).append(char(0x08)).append(char(0x00)).append(char(0x20));
    reply.append(char(wireBlock));
    reply.append(reinterpret_cast<const char*>(image.data()) + dataBlock * Proto::BlockDataSize,
                 Proto::BlockDataSize);
    reply.append(char(Checksum(reply)));
    return reply;
}

} // namespace RadioReplies
