#include "FrameScanner.h"

#include "link/Frames.h"

#include <cstdint>

namespace {

enum class Match { Complete, Partial, None };

struct FrameShape
{
    RadioFrameKind kind;
    QByteArray fixed; // the bytes every frame of this kind opens with
    int length;
};

const QByteArray BlockHeader = QByteArray::fromHex("080020");

const FrameShape* ShapeFor(uint8_t head)
{
    static const FrameShape shapes[] = {
        {RadioFrameKind::Program, Proto::ProgramCommand.toByteArray(), int(Proto::ProgramCommand.size())},
        {RadioFrameKind::IdentRequest, QByteArray(1, char(Proto::IdentRequest)), 1},
        {RadioFrameKind::ReadRequest, char(Proto::ReadHead) + BlockHeader, Proto::ReadRequestSize},
        {RadioFrameKind::BlockWrite, char(Proto::BlockHead) + BlockHeader, Proto::BlockFrameSize},
        {RadioFrameKind::End, Proto::EndCommand.toByteArray(), int(Proto::EndCommand.size())},
    };
    for (const auto& shape : shapes) {
        if (uint8_t(shape.fixed[0]) == head)
            return &shape;
    }
    return nullptr;
}

Match MatchHead(const QByteArray& buffer, const FrameShape*& shape)
{
    shape = ShapeFor(uint8_t(buffer[0]));
    if (!shape)
        return Match::None;
    const qsizetype known = std::min(buffer.size(), shape->fixed.size());
    for (qsizetype i = 1; i < known; ++i) {
        if (buffer[i] != shape->fixed[i])
            return Match::None;
    }
    return buffer.size() >= shape->length ? Match::Complete : Match::Partial;
}

} // namespace

QList<ScannedFrame> FrameScanner::Feed(const QByteArray& bytes)
{
    buffer += bytes;
    QList<ScannedFrame> out;
    QByteArray unrecognised;
    auto flushUnrecognised = [&] {
        if (!unrecognised.isEmpty())
            out.append({RadioFrameKind::Unrecognised, unrecognised});
        unrecognised.clear();
    };
    while (!buffer.isEmpty()) {
        const FrameShape* shape = nullptr;
        const Match match = MatchHead(buffer, shape);
        if (match == Match::None) {
            unrecognised += buffer[0];
            buffer.remove(0, 1);
            continue;
        }
        flushUnrecognised();
        if (match == Match::Partial)
            break;
        out.append({shape->kind, buffer.left(shape->length)});
        buffer.remove(0, shape->length);
    }
    flushUnrecognised();
    return out;
}

QList<ScannedFrame> FrameScanner::Flush()
{
    QList<ScannedFrame> out;
    if (!buffer.isEmpty())
        out.append({RadioFrameKind::Unrecognised, buffer});
    buffer.clear();
    return out;
}
