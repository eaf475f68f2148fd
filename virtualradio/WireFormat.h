// The wire format as the radio knows it, written out here on its own. The radio does not take the
// protocol from the program it stands in for: a mistake in the program's frames would otherwise be
// copied into the radio and pass every end-to-end test.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

enum class RadioFrameKind { Program, IdentRequest, ReadRequest, BlockWrite, End, Unrecognised };

namespace RadioWire {
using namespace std::string_view_literals;

struct FrameShape
{
    RadioFrameKind kind;
    std::string_view opening; // the fixed bytes every frame of this kind starts with
    int length;               // the whole frame
};

// The frames the program sends.
inline constexpr std::array<FrameShape, 5> Frames{{
    {RadioFrameKind::Program, "\x50\x52\x4F\x47\x52\x41\x4D"sv, 7}, // P R O G R A M
    {RadioFrameKind::IdentRequest, "\x02"sv, 1},
    {RadioFrameKind::ReadRequest, "\x52\x08\x00\x20"sv, 5}, // R, 8, 0, 32; the block number
    {RadioFrameKind::BlockWrite, "\x57\x08\x00\x20"sv, 38}, // W, 8, 0, 32; block number, data, checksum
    {RadioFrameKind::End, "\x45\x4E\x44"sv, 3},             // E N D
}};

inline constexpr uint8_t Ack = 0x06;
inline constexpr uint8_t Nak = 0x0A;

// Identity reply: 'I', seven identity bytes, the band byte, six filler bytes, an acknowledgement.
inline constexpr uint8_t IdentHead = 0x49;
inline constexpr int IdentLength = 7;
inline constexpr int IdentBandAt = 8;
inline constexpr int IdentReplyLength = 16;

// A block frame, the radio's block reply and the program's block write alike.
inline constexpr std::string_view BlockOpening = "\x57\x08\x00\x20"sv;
inline constexpr int BlockNumberAt = 4;
inline constexpr int BlockDataAt = 5;
inline constexpr int BlockDataLength = 32;
inline constexpr int BlockFrameLength = 38; // the checksum last
inline constexpr int BlockCount = 8;        // a 256-byte image

// The low 8 bits of the bytes' sum; a block frame carries that of all the bytes before it.
constexpr uint8_t Checksum(std::span<const uint8_t> bytes)
{
    uint32_t sum = 0;
    for (const uint8_t byte : bytes)
        sum += byte;
    return uint8_t(sum & 0xFF);
}

static_assert(BlockFrameLength == BlockDataAt + BlockDataLength + 1);
// Block 1 full of 0xFF: the sum 0x2060 keeps its low byte.
static_assert([] {
    std::array<uint8_t, BlockFrameLength - 1> frame{0x57, 0x08, 0x00, 0x20, 0x01};
    std::fill(frame.begin() + BlockDataAt, frame.end(), uint8_t(0xFF));
    return Checksum(frame);
}() == 0x60);
} // namespace RadioWire
