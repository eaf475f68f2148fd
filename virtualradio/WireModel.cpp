#include "WireModel.h"

#include <algorithm>

void WireIn::Read(qsizetype count, WireClock::time_point at)
{
    const WireClock::time_point start = modelled ? std::max(at, busyUntil) : at;
    for (qsizetype k = 0; k < count; ++k)
        bytes.push_back({at, modelled ? start + WireTime(k + 1) : at});
    if (modelled)
        busyUntil = start + WireTime(count);
}

WireIn::Span WireIn::Take(qsizetype count)
{
    count = std::min(count, qsizetype(bytes.size()));
    if (count <= 0)
        return {};
    const Span span{bytes.front().readAt, bytes[size_t(count - 1)].arrivedAt};
    bytes.erase(bytes.begin(), bytes.begin() + count);
    return span;
}

void WireIn::Clear()
{
    bytes.clear();
    busyUntil = {};
}

void WireOut::Queue(const QByteArray& reply, WireClock::time_point due)
{
    if (reply.isEmpty())
        return;
    const WireClock::time_point start = modelled ? std::max(due, busyUntil) : due;
    if (modelled)
        busyUntil = start + WireTime(reply.size());
    replies.push_back({reply, start});
}

qsizetype WireOut::DueBytes(const Reply& reply, WireClock::time_point now) const
{
    if (now < reply.start)
        return 0;
    if (!modelled)
        return reply.bytes.size();
    // Exactly the bytes whose WireTime has passed, so that NextDue's moment releases one more.
    const std::chrono::nanoseconds elapsed = now - reply.start;
    qsizetype count = std::min<qsizetype>(reply.bytes.size(), elapsed.count() * 115200 / 10'000'000'000LL);
    while (count < reply.bytes.size() && WireTime(count + 1) <= elapsed)
        ++count;
    return count;
}

WireClock::time_point WireOut::LotBefore(WireClock::time_point at) const
{
    if (lot <= lot.zero())
        return at;
    return WireClock::time_point(at.time_since_epoch() / lot * lot);
}

WireClock::time_point WireOut::LotAfter(WireClock::time_point at) const
{
    const WireClock::time_point before = LotBefore(at);
    return before == at ? at : before + lot;
}

QByteArray WireOut::Release(WireClock::time_point now, QList<Sent>& done)
{
    QByteArray out;
    // Between lots nothing more is handed over than the last lot carried.
    const WireClock::time_point lotAt = LotBefore(now);
    while (!replies.empty()) {
        Reply& reply = replies.front();
        const qsizetype due = DueBytes(reply, lotAt);
        if (due > reply.released) {
            if (reply.released == 0)
                reply.firstByteAt = now;
            out += reply.bytes.sliced(reply.released, due - reply.released);
            reply.released = due;
        }
        if (reply.released < reply.bytes.size())
            break;
        done.append({reply.firstByteAt, now, reply.bytes});
        replies.pop_front();
    }
    return out;
}

std::optional<WireClock::time_point> WireOut::NextDue() const
{
    if (replies.empty())
        return std::nullopt;
    const Reply& reply = replies.front();
    return LotAfter(modelled ? reply.start + WireTime(reply.released + 1) : reply.start);
}

void WireOut::Clear()
{
    replies.clear();
    busyUntil = {};
}
