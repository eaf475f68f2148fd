// The wire protocol: the five frames the program sends, the reply shapes it accepts, the checksum.
#pragma once

#include "data/ModData.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <span>

namespace Proto {
constexpr uint8_t Ack = 0x06;
constexpr uint8_t Nak = 0x0A;
constexpr uint8_t IdentRequest = 0x02;
constexpr uint8_t IdentHead = 0x49;
constexpr uint8_t ReadHead = 0x52;
constexpr uint8_t BlockHead = 0x57;
constexpr int BlockDataSize = 32;
constexpr int BlockFrameSize = 38;
constexpr int ReadRequestSize = 5;
constexpr int IdentReplySize = 16;
constexpr int BlockCount = 8;
constexpr int BlockNumberAt = 4; // in read requests, block writes and block replies
inline constexpr QByteArrayView ProgramCommand{"PROGRAM"};
inline constexpr QByteArrayView EndCommand{"END"};

// Pure builders, shared with the virtual radio.
QByteArray BuildReadRequest(uint8_t blockNumber);
QByteArray BuildBlockFrame(uint8_t blockNumber, std::span<const uint8_t, BlockDataSize> data);
uint8_t Checksum(std::span<const uint8_t> bytes);
} // namespace Proto

// Reply tests, each on the whole array of one receive event.
bool IsAck(const QByteArray& reply);
bool IsNegativeReply(const QByteArray& reply);
bool IsBlockReply(const QByteArray& reply); // also false for a block number of 8 or more
// The image with the reply's 32 data bytes where its own block number says.
InfoImageType StoreBlock(InfoImageType image, const QByteArray& reply);
// True when `reply` carries the block that `request`, a read request, asked for.
bool AnswersReadRequest(const QByteArray& request, const QByteArray& reply);
// The one kind of reply that answers a frame the program sends: the acknowledgement (program command,
// block write, end command), the identity reply (identity request), a block reply (read request).
enum class ReplyKind { Ack, Identity, Block };
ReplyKind AwaitedReply(const QByteArray& frame);

void SetChecksum(QByteArray& frame, int first, int last, int target);
bool VerifyChecksum(const QByteArray& frame, int first, int last, int target);
