#include "Platform/PeriodicTimer.h"

#include <utility>

#include "Platform/Assert.h"

namespace Platform {

namespace {

constexpr const char* kUnit = "PeriodicTimer";

// The timer whose thread this is, so that calls from its callback are told apart without
// touching the thread object, which the owning thread may be writing at that moment.
thread_local const PeriodicTimer* timerOfThisThread = nullptr;

}  // namespace

PeriodicTimer::PeriodicTimer(const Clock& clock) : clock_(clock) {}

PeriodicTimer::~PeriodicTimer()
{
    SKY_ASSERT_TEXT(timerOfThisThread != this, "not destroyed by its own callback", kUnit);
    stop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool PeriodicTimer::start(std::chrono::nanoseconds period, Callback callback)
{
    SKY_ASSERT_TEXT(timerOfThisThread != this, "not started by its own callback", kUnit);
    const std::int64_t periodCounts = clock_.fromNanoseconds(period.count());
    if (running_.load() || periodCounts <= 0 || !callback) {
        return false;
    }
    if (thread_.joinable()) {
        thread_.join();  // stopped from its own callback earlier
    }
    interrupt_.reset();
    callback_ = std::move(callback);
    running_.store(true);
    const std::int64_t startTime = clock_.now();
    thread_ = std::thread([this, startTime, periodCounts] { loop(startTime, periodCounts); });
    return true;
}

void PeriodicTimer::stop()
{
    running_.store(false);
    interrupt_.raise();
    if (timerOfThisThread != this && thread_.joinable()) {
        thread_.join();
    }
}

void PeriodicTimer::loop(std::int64_t start, std::int64_t period)
{
    timerOfThisThread = this;
    std::uint64_t number = 1;
    while (true) {
        std::int64_t deadline = start + static_cast<std::int64_t>(number) * period;
        if (!clock_.sleepUntil(deadline, interrupt_)) {
            return;
        }
        const std::int64_t late = clock_.now() - deadline;
        if (late >= period) {
            const std::int64_t skipped = late / period;
            number += static_cast<std::uint64_t>(skipped);
            deadline += skipped * period;
        }
        callback_(Tick{number, deadline});
        if (interrupt_.isRaised()) {
            return;
        }
        ++number;
    }
}

}  // namespace Platform
