#include "Exchanges.h"

#include <algorithm>
#include <cmath>

namespace {
double Us(BenchClock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}
} // namespace

SessionTiming AnalyseSession(const RadioThread::Traces& traces, BenchClock::time_point pressed,
                             BenchClock::time_point finished)
{
    SessionTiming timing;
    timing.totalMs = Us(finished - pressed) / 1000.0;
    for (const VirtualRadioTraceEntry& frame : traces.received)
        timing.wireBytes += frame.frame.size();
    for (const VirtualRadioSentEntry& reply : traces.sent)
        timing.wireBytes += reply.bytes.size();
    timing.wireFloorMs = double(timing.wireBytes) * WireUsPerByte / 1000.0;

    const auto& received = traces.received;
    const auto& sent = traces.sent;
    timing.regular =
        !received.isEmpty() && received.size() == sent.size() &&
        std::all_of(received.begin(), received.end(), [](const auto& e) { return e.recognised; });
    if (!timing.regular)
        return timing;
    timing.startUs = Us(received.first().firstByteAt - pressed);
    timing.finishUs = Us(finished - sent.last().lastByteAt);
    timing.exchangesMs = Us(sent.last().lastByteAt - received.first().firstByteAt) / 1000.0;
    // The line's time of the next frame counts from its first byte on, and the reply's last byte
    // is written when the line has carried it: the gap between them holds no wire time.
    for (qsizetype i = 0; i + 1 < received.size(); ++i)
        timing.programUs << Us(received[i + 1].firstByteAt - sent[i].lastByteAt);
    return timing;
}

double Percentile(QList<double> values, double p)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = qsizetype(std::ceil(p * double(values.size())));
    return values[std::clamp<qsizetype>(rank - 1, 0, values.size() - 1)];
}

double Median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
