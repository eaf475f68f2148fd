// The wire protocol: the five frames the program sends, the reply shapes it accepts, the checksum.
#pragma once

#include <QByteArray>

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
constexpr int LongWaitMs = 1500;
constexpr int ShortWaitMs = 300;
inline const QByteArray ProgramCommand = QByteArrayLiteral("PROGRAM");
inline const QByteArray EndCommand = QByteArrayLiteral("END");

// Pure builders, shared with the virtual radio.
QByteArray BuildReadRequest(uint8_t blockNumber);
QByteArray BuildBlockFrame(uint8_t blockNumber, std::span<const uint8_t, BlockDataSize> data);
uint8_t Checksum(std::span<const uint8_t> bytes);
} // namespace Proto

// Frame builders: each builds its frame and hands it to SendFrame.
void SendProgramCommand();
void SendIdentRequest();
void ReadBlock(int32_t address);  // -1: next block in sequence
void WriteBlock(int32_t address); // -1: next block in sequence
void SendEnd();

// Reply tests, each on the whole array of one receive event.
bool IsAck(const QByteArray& reply);
bool IsNegativeReply(const QByteArray& reply);
bool IsBlockReply(const QByteArray& reply); // also false for a block number of 8 or more
// True when `reply` carries the block that `request`, a read request, asked for.
bool AnswersReadRequest(const QByteArray& request, const QByteArray& reply);
void StoreBlock(const QByteArray& reply);

void SetChecksum(QByteArray& frame, int first, int last, int target);
bool VerifyChecksum(const QByteArray& frame, int first, int last, int target);
