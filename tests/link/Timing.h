// Timing checks with generous margins, and the quiet a port must keep after a hang-up.
#pragma once

#include <QTest>

#include <sys/resource.h>

// Processor time this process spends while the event loop runs for `ms` milliseconds.
inline qint64 CpuMsDuringWait(int ms)
{
    const auto cpuMs = [] {
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        return qint64(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000 +
               (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
    };
    const qint64 before = cpuMs();
    QTest::qWait(ms);
    return cpuMs() - before;
}

// A duration in milliseconds within generous bounds.
#define VERIFY_MS_BETWEEN(value, low, high)                                                                  \
    do {                                                                                                     \
        const qint64 ms_ = (value);                                                                          \
        QVERIFY2(ms_ >= (low) && ms_ <= (high),                                                              \
                 qPrintable(QStringLiteral("%1 ms, expected %2 to %3").arg(ms_).arg(low).arg(high)));        \
    } while (false)
