// What one session exchanged with the radio, and where its time went.
#pragma once

#include "RadioThread.h"

#include <QList>

#include <chrono>
#include <cstdint>

// A byte on the 115200 8N1 line: 10 bit times.
inline constexpr double WireUsPerByte = 10.0 * 1e6 / 115200.0; // 86.806 us

struct SessionTiming
{
    double totalMs = 0;      // the press to the closing message
    qint64 wireBytes = 0;    // both ways
    double wireFloorMs = 0;  // those bytes back to back, one exchange after the other
    QList<double> programUs; // per exchange: the reply's last byte out to the next frame's first in
    double startUs = 0;      // the press to the first frame's first byte at the radio
    double finishUs = 0;     // the last reply's last byte to the closing message
    double exchangesMs = 0;  // the first frame's first byte to the last reply's last byte
    bool regular = true;     // every frame answered once, no retransmission
};

using BenchClock = std::chrono::steady_clock;

SessionTiming AnalyseSession(const RadioThread::Traces& traces, BenchClock::time_point pressed,
                             BenchClock::time_point finished);

// The value below which the share p (0 to 1) of the values lies, by the nearest rank; 0 for none.
double Percentile(QList<double> values, double p);
// The middle value, or the mean of the two middle ones; 0 for none.
double Median(QList<double> values);
