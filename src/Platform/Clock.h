#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace Platform {

// A flag that wakes a thread sleeping in Clock::sleepUntil(). The owner of a sleeping thread
// raises it to stop that thread at once instead of at its next deadline.
class SleepInterrupt {
public:
    void raise();
    void reset();
    bool isRaised() const;

private:
    friend class SteadyClock;
    friend class ManualClock;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool raised_ = false;
};

// A 64-bit monotonic counter and its frequency (counts per second). Show timing (cue state
// timers, request time-outs, timer deadlines) is measured on it, never on wall-clock time,
// so setting the system's date does not move a show. Services take a Clock so that tests
// can hand them a ManualClock.
class Clock {
public:
    virtual ~Clock() = default;

    virtual std::int64_t now() const = 0;
    virtual std::int64_t frequency() const = 0;

    // Blocks until now() has reached `deadline` or `interrupt` is raised. Returns false when
    // the interrupt ended the sleep.
    virtual bool sleepUntil(std::int64_t deadline, SleepInterrupt& interrupt) const = 0;

    // Conversions between counts and time; fractions of a count are cut off, except in
    // millisecondsUntil(), which rounds up so that a wait of that length never ends early.
    std::int64_t fromNanoseconds(std::int64_t nanoseconds) const;
    std::int64_t fromMilliseconds(std::int64_t milliseconds) const;
    std::int64_t toNanoseconds(std::int64_t counts) const;
    // Milliseconds from now() until `deadline`: 0 when it has passed.
    std::int64_t millisecondsUntil(std::int64_t deadline) const;

    // The process-wide steady clock.
    static const Clock& steady();
};

// The operating system's monotonic clock in nanoseconds (frequency 1,000,000,000).
class SteadyClock final : public Clock {
public:
    std::int64_t now() const override;
    std::int64_t frequency() const override { return 1000000000; }
    bool sleepUntil(std::int64_t deadline, SleepInterrupt& interrupt) const override;
};

}  // namespace Platform
