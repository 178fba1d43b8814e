#include "Platform/Clock.h"

#include <chrono>

namespace Platform {

namespace {

// a × b / c without overflow in the intermediate product
std::int64_t scale(std::int64_t a, std::int64_t b, std::int64_t c)
{
    return static_cast<std::int64_t>(static_cast<__int128>(a) * b / c);
}

}  // namespace

void SleepInterrupt::raise()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        raised_ = true;
    }
    wake_.notify_all();
}

void SleepInterrupt::reset()
{
    std::lock_guard<std::mutex> lock(mutex_);
    raised_ = false;
}

bool SleepInterrupt::isRaised() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return raised_;
}

std::int64_t Clock::fromNanoseconds(std::int64_t nanoseconds) const
{
    return scale(nanoseconds, frequency(), 1000000000);
}

std::int64_t Clock::fromMilliseconds(std::int64_t milliseconds) const
{
    return scale(milliseconds, frequency(), 1000);
}

std::int64_t Clock::toNanoseconds(std::int64_t counts) const
{
    return scale(counts, 1000000000, frequency());
}

std::int64_t Clock::millisecondsUntil(std::int64_t deadline) const
{
    const std::int64_t left = deadline - now();
    if (left <= 0) {
        return 0;
    }
    const std::int64_t f = frequency();
    return static_cast<std::int64_t>((static_cast<__int128>(left) * 1000 + f - 1) / f);
}

const Clock& Clock::steady()
{
    static const SteadyClock clock;
    return clock;
}

std::int64_t SteadyClock::now() const
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool SteadyClock::sleepUntil(std::int64_t deadline, SleepInterrupt& interrupt) const
{
    // An absolute wait on the steady clock: a late wake-up does not push later deadlines back.
    const std::chrono::steady_clock::time_point until{std::chrono::nanoseconds(deadline)};
    std::unique_lock<std::mutex> lock(interrupt.mutex_);
    interrupt.wake_.wait_until(lock, until, [&] { return interrupt.raised_; });
    return !interrupt.raised_;
}

}  // namespace Platform
