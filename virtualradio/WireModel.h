// The serial line in time. A pseudo-terminal passes bytes on at once; a real line at 115200 baud,
// 8N1, carries a byte in 10 bit times (86.8 us). These decide when each byte would have been through.
#pragma once

#include <QByteArray>
#include <QList>

#include <chrono>
#include <deque>
#include <optional>

using WireClock = std::chrono::steady_clock;

constexpr std::chrono::nanoseconds WireTime(qint64 bytes)
{
    return std::chrono::nanoseconds(bytes * 10'000'000'000LL / 115200);
}

// The receiving end: a byte read from the device arrives when the line would have delivered it,
// the line's time counted from the first byte's arrival.
class WireIn
{
public:
    struct Span
    {
        WireClock::time_point firstByteAt; // read from the device
        WireClock::time_point arrivedAt;   // the last byte through the line
    };

    bool modelled = false; // off: a byte has arrived when it is read

    void Read(qsizetype count, WireClock::time_point at); // bytes just read, in stream order
    Span Take(qsizetype count);                           // the next count bytes, taken as one frame
    void Clear();

private:
    struct Byte
    {
        WireClock::time_point readAt;
        WireClock::time_point arrivedAt;
    };
    std::deque<Byte> bytes;
    WireClock::time_point busyUntil{};
};

// The sending end: replies wait until they are due, then go out whole, or byte by byte at the
// line's rate when modelled, each byte when it would have reached the far end.
class WireOut
{
public:
    struct Sent
    {
        WireClock::time_point firstByteAt;
        WireClock::time_point lastByteAt;
        QByteArray bytes;
    };

    bool modelled = false;
    // Due bytes are handed over only at multiples of this on the clock, in one lot; 0: at once.
    std::chrono::nanoseconds lot{0};

    void Queue(const QByteArray& reply, WireClock::time_point due);
    // The bytes to hand to the device now; each reply that is now out whole is added to done.
    QByteArray Release(WireClock::time_point now, QList<Sent>& done);
    std::optional<WireClock::time_point> NextDue() const; // when Release has more to give
    void Clear();

private:
    struct Reply
    {
        QByteArray bytes;
        WireClock::time_point start;
        qsizetype released = 0;
        WireClock::time_point firstByteAt{};
    };
    qsizetype DueBytes(const Reply& reply, WireClock::time_point now) const;
    WireClock::time_point LotBefore(WireClock::time_point at) const; // the last lot at or before
    WireClock::time_point LotAfter(WireClock::time_point at) const;  // the first lot at or after

    std::deque<Reply> replies;
    WireClock::time_point busyUntil{};
};
