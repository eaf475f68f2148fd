// Every reply test on arbitrary bytes, as one receive event hands them over, and the block store on
// each reply that the tests accept and on the bytes themselves. The accepted shapes are written out here on
// their own, so that a change to the program's constants shows up as a failure rather than being shared by
// the check.
#include "data/ModData.h"
#include "FuzzCheck.h"
#include "link/Frames.h"
#include "link/ModelCheck.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace {

constexpr int BlockReplySize = 38;
constexpr int IdentReplySize = 16;
constexpr uint8_t ImageFill = 0xA5;

uint8_t At(const QByteArray& bytes, int i)
{
    return static_cast<uint8_t>(bytes.at(i));
}

uint8_t SumOfAllButLast(const QByteArray& bytes)
{
    unsigned sum = 0;
    for (int i = 0; i + 1 < bytes.size(); ++i)
        sum += At(bytes, i);
    return static_cast<uint8_t>(sum & 0xFFu);
}

// 57 08 00 20, the block number 0 to 7, 32 data bytes, the low byte of the sum of all before it.
bool IsWellFormedBlockReply(const QByteArray& r)
{
    return r.size() == BlockReplySize && At(r, 0) == 0x57 && At(r, 1) == 0x08 && At(r, 2) == 0x00 &&
           At(r, 3) == 0x20 && At(r, 4) < 8 && At(r, BlockReplySize - 1) == SumOfAllButLast(r);
}

// 49, fifteen bytes of identity and band, ending with the acknowledgement 06.
bool IsWellFormedIdentReply(const QByteArray& r)
{
    return r.size() == IdentReplySize && At(r, 0) == 0x49 && At(r, IdentReplySize - 1) == 0x06;
}

void CheckReply(const QByteArray& reply)
{
    InfoImageType image{};
    image.fill(ImageFill);
    const bool ack = IsAck(reply);
    const bool nak = IsNegativeReply(reply);
    const std::optional<IdentContent> parsed = ParseIdentReply(reply);
    const bool ident = parsed.has_value();
    const bool block = IsBlockReply(reply);

    FUZZ_REQUIRE(ack == (reply == QByteArray(1, '\x06')), "size %lld", static_cast<long long>(reply.size()));
    FUZZ_REQUIRE(nak == (reply == QByteArray(1, '\x0A')), "size %lld", static_cast<long long>(reply.size()));
    FUZZ_REQUIRE(ident == IsWellFormedIdentReply(reply), "size %lld", static_cast<long long>(reply.size()));
    FUZZ_REQUIRE(block == IsWellFormedBlockReply(reply), "size %lld", static_cast<long long>(reply.size()));
    FUZZ_REQUIRE(int(ack) + int(nak) + int(ident) + int(block) <= 1, "one reply taken for two kinds");
    if (ident)
        FUZZ_REQUIRE(parsed->BandIndex == At(reply, 8), "band %d", parsed->BandIndex);

    if (!block)
        return;
    image = StoreBlock(image, reply);
    const int first = At(reply, 4) * 32;
    for (int i = 0; i < int(image.size()); ++i) {
        const bool inBlock = i >= first && i < first + 32;
        const uint8_t expected = inBlock ? At(reply, 5 + i - first) : ImageFill;
        FUZZ_REQUIRE(image[size_t(i)] == expected, "block %d: image byte %d", At(reply, 4), i);
    }
}

// The store guards itself as well: bytes of any other length than a block reply, however short, are
// neither read past their end nor stored.
void CheckStoreOnAnyBytes(const QByteArray& bytes)
{
    InfoImageType before{};
    before.fill(ImageFill);
    const InfoImageType after = StoreBlock(before, bytes);
    if (bytes.size() != BlockReplySize)
        FUZZ_REQUIRE(after == before, "%lld bytes stored", static_cast<long long>(bytes.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray reply(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CheckReply(reply);
    CheckStoreOnAnyBytes(reply);
    // Random bytes seldom carry a right checksum: the same reply once more with its last byte made the
    // sum, so that the block store is reached from whatever header and number the input holds.
    if (reply.size() == BlockReplySize) {
        QByteArray summed = reply;
        summed[BlockReplySize - 1] = static_cast<char>(SumOfAllButLast(reply));
        CheckReply(summed);
    }
    return 0;
}
