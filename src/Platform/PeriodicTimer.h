#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>

#include "Platform/Clock.h"

namespace Platform {

// A thread that calls a function at a fixed period, for work that must keep an exact pace
// such as MIDI quarter frames. The n-th call is due at start + n × period, an absolute
// deadline on the clock, so late wake-ups do not add up to drift over a long show. A call
// that comes later than a whole period skips the deadlines that passed instead of making them
// up in a burst; its tick number shows the gap.
//
// start() and stop() belong to the owning thread; the callback runs on the timer's own
// thread and may call stop() (the thread then ends after the callback returns).
class PeriodicTimer {
public:
    struct Tick {
        std::uint64_t number;   // 1 for the first call, n for the deadline start + n × period
        std::int64_t deadline;  // start + number × period, in counts of the clock
    };
    using Callback = std::function<void(const Tick&)>;

    explicit PeriodicTimer(const Clock& clock = Clock::steady());
    ~PeriodicTimer();
    PeriodicTimer(const PeriodicTimer&) = delete;
    PeriodicTimer& operator=(const PeriodicTimer&) = delete;

    // False when the timer runs already or the period is shorter than one count of the clock.
    bool start(std::chrono::nanoseconds period, Callback callback);
    // Wakes the thread at once and, unless called from the callback, waits for it to end.
    void stop();
    bool isRunning() const { return running_.load(); }

private:
    void loop(std::int64_t start, std::int64_t period);

    const Clock& clock_;
    SleepInterrupt interrupt_;
    Callback callback_;
    std::atomic<bool> running_{false};
    std::thread thread_;
};

}  // namespace Platform
