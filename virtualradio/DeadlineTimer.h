// A one-shot timer to a moment of the steady clock, to the microsecond, in the Qt event loop. QTimer
// counts whole milliseconds, and a byte on the line takes 86.8 us.
#pragma once

#include <QSocketNotifier>

#include <chrono>
#include <functional>
#include <memory>

class DeadlineTimer
{
public:
    explicit DeadlineTimer(std::function<void()> onExpired);
    ~DeadlineTimer();
    DeadlineTimer(const DeadlineTimer&) = delete;
    DeadlineTimer& operator=(const DeadlineTimer&) = delete;

    bool IsValid() const { return fd >= 0; }
    void ArmAt(std::chrono::steady_clock::time_point deadline); // at once if it has passed
    void Disarm();

private:
    int fd = -1;
    std::unique_ptr<QSocketNotifier> notifier;
    std::function<void()> onExpired;
};
