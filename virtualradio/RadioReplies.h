// The replies the radio sends, built from its identity and image.
#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

namespace RadioReplies {
using Image = std::array<uint8_t, 256>;

// True when a block frame's last byte is the checksum of the bytes before it.
bool ChecksumHolds(const QByteArray& blockFrame);

// 0x49, seven identity bytes (0xFF after a shorter identity), the band byte, six 0xFF, 0x06.
QByteArray IdentReply(const QByteArray& identity, uint8_t band);
// A block frame for the wire block number, carrying 32 bytes of the image from dataBlock.
QByteArray BlockReply(const Image& image, uint8_t wireBlock, int dataBlock);
} // namespace RadioReplies
