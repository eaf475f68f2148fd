#include "FrameScanner.h"

#include <cstdint>

namespace {

enum class Match { Complete, Partial, None };

using RadioWire::FrameShape;

const FrameShape* ShapeFor(uint8_t head)
{
    for (const auto& shape : RadioWire::Frames) {
        if (uint8_t(shape.opening[0]) == head)
            return &shape;
    }
    return nullptr;
}

Match MatchHead(const QByteArray& buffer, const FrameShape*& shape)
{
    shape = ShapeFor(uint8_t(buffer[0]));
    if (!shape)
        return Match::None;
    const qsizetype known = std::min(buffer.size(), qsizetype(shape->opening.size()));
    for (qsizetype i = 1; i < known; ++i) {
        if (buffer[i] != shape->opening[size_t(i)])
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
