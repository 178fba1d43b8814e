#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "Platform/Clock.h"

namespace Platform {

// A clock that moves only when told to, for tests of timing logic. Threads sleeping on it
// wake when set() or advance() reaches their deadline. Any thread may move it.
class ManualClock final : public Clock {
public:
    explicit ManualClock(std::int64_t start = 0, std::int64_t frequency = 1000000000);

    std::int64_t now() const override { return now_.load(); }
    std::int64_t frequency() const override { return frequency_; }
    bool sleepUntil(std::int64_t deadline, SleepInterrupt& interrupt) const override;

    // The clock never goes back.
    void set(std::int64_t counts);
    void advance(std::int64_t counts) { set(now() + counts); }

    // Waits, up to `timeout` of real time, until some thread sleeps on this clock towards a
    // deadline still ahead, and returns the earliest such deadline (nothing on time-out).
    // Tests use it to move the clock only once the thread under test is asleep.
    std::optional<std::int64_t> waitForSleeper(std::chrono::milliseconds timeout) const;

private:
    struct Sleeper {
        std::int64_t deadline;
        SleepInterrupt* interrupt;
    };

    std::optional<std::int64_t> earliestAhead() const;

    std::atomic<std::int64_t> now_;
    const std::int64_t frequency_;
    mutable std::mutex sleepersMutex_;
    mutable std::condition_variable sleepersChanged_;
    mutable std::vector<Sleeper> sleepers_;
};

}  // namespace Platform
