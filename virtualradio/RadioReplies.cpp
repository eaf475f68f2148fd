#include "RadioReplies.h"

#include "WireFormat.h"

#include <span>

namespace RadioReplies {
namespace {

uint8_t Checksum(const QByteArray& bytes)
{
    return RadioWire::Checksum(
        std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));
}

} // namespace

bool ChecksumHolds(const QByteArray& blockFrame)
{
    return blockFrame.size() == RadioWire::BlockFrameLength &&
           Checksum(blockFrame.first(RadioWire::BlockFrameLength - 1)) == uint8_t(blockFrame.back());
}

QByteArray IdentReply(const QByteArray& identity, uint8_t band)
{
    QByteArray reply(RadioWire::IdentReplyLength, char(0xFF));
    reply[0] = char(RadioWire::IdentHead);
    for (qsizetype i = 0; i < std::min<qsizetype>(identity.size(), RadioWire::IdentLength); ++i)
        reply[1 + i] = identity[i];
    reply[RadioWire::IdentBandAt] = char(band);
    reply.back() = char(RadioWire::Ack);
    return reply;
}

QByteArray BlockReply(const Image& image, uint8_t wireBlock, int dataBlock)
{
    QByteArray reply;
    reply.reserve(RadioWire::BlockFrameLength);
    reply.append(RadioWire::BlockOpening.data(), qsizetype(RadioWire::BlockOpening.size()));
    reply.append(char(wireBlock));
    reply.append(reinterpret_cast<const char*>(image.data()) + dataBlock * RadioWire::BlockDataLength,
                 RadioWire::BlockDataLength);
    reply.append(char(Checksum(reply)));
    return reply;
}

} // namespace RadioReplies
