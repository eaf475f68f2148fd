#include "DeadlineTimer.h"

#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

// The steady clock is CLOCK_MONOTONIC, the clock the timer runs on.
DeadlineTimer::DeadlineTimer(std::function<void()> callback)
    : fd(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)), onExpired(std::move(callback))
{
    if (fd < 0)
        return;
    notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(), [this] {
        uint64_t expirations = 0;
        // Nothing to read: re-armed or disarmed after it fired, before this was dispatched.
        if (::read(fd, &expirations, sizeof expirations) == sizeof expirations)
            onExpired();
    });
}

DeadlineTimer::~DeadlineTimer()
{
    notifier.reset();
    if (fd >= 0)
        ::close(fd);
}

void DeadlineTimer::ArmAt(std::chrono::steady_clock::time_point deadline)
{
    using namespace std::chrono;
    const nanoseconds since = deadline.time_since_epoch();
    itimerspec spec{};
    spec.it_value.tv_sec = time_t(duration_cast<seconds>(since).count());
    spec.it_value.tv_nsec = long((since % seconds(1)).count());
    if (spec.it_value.tv_sec <= 0 && spec.it_value.tv_nsec <= 0)
        spec.it_value.tv_nsec = 1; // all zero would disarm
    timerfd_settime(fd, TFD_TIMER_ABSTIME, &spec, nullptr);
}

void DeadlineTimer::Disarm()
{
    const itimerspec spec{};
    timerfd_settime(fd, 0, &spec, nullptr);
}
