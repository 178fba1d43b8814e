#include "Platform/ManualClock.h"

#include <algorithm>

#include "Platform/Assert.h"

namespace Platform {

namespace {

constexpr const char* kUnit = "ManualClock";

}  // namespace

ManualClock::ManualClock(std::int64_t start, std::int64_t frequency)
    : now_(start), frequency_(frequency)
{
    SKY_ASSERT(frequency > 0, kUnit);
}

bool ManualClock::sleepUntil(std::int64_t deadline, SleepInterrupt& interrupt) const
{
    {
        std::lock_guard<std::mutex> lock(sleepersMutex_);
        sleepers_.push_back({deadline, &interrupt});
    }
    sleepersChanged_.notify_all();
    bool reached = false;
    {
        std::unique_lock<std::mutex> lock(interrupt.mutex_);
        interrupt.wake_.wait(lock, [&] { return interrupt.raised_ || now() >= deadline; });
        reached = !interrupt.raised_;
    }
    {
        std::lock_guard<std::mutex> lock(sleepersMutex_);
        auto it = std::find_if(sleepers_.begin(), sleepers_.end(), [&](const Sleeper& s) {
            return s.interrupt == &interrupt && s.deadline == deadline;
        });
        sleepers_.erase(it);
    }
    sleepersChanged_.notify_all();
    return reached;
}

void ManualClock::set(std::int64_t counts)
{
    SKY_ASSERT(counts >= now(), kUnit);
    now_.store(counts);
    std::lock_guard<std::mutex> lock(sleepersMutex_);
    for (const Sleeper& sleeper : sleepers_) {
        // Taking the sleeper's lock orders this wake-up after its check of the time, so the
        // notification cannot fall between its check and its wait.
        {
            std::lock_guard<std::mutex> sleeperLock(sleeper.interrupt->mutex_);
        }
        sleeper.interrupt->wake_.notify_all();
    }
    sleepersChanged_.notify_all();
}

std::optional<std::int64_t> ManualClock::earliestAhead() const
{
    std::optional<std::int64_t> earliest;
    const std::int64_t current = now();
    for (const Sleeper& sleeper : sleepers_) {
        if (sleeper.deadline > current && (!earliest || sleeper.deadline < *earliest)) {
            earliest = sleeper.deadline;
        }
    }
    return earliest;
}

std::optional<std::int64_t> ManualClock::waitForSleeper(std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock(sleepersMutex_);
    std::optional<std::int64_t> found;
    sleepersChanged_.wait_for(lock, timeout, [&] {
        found = earliestAhead();
        return found.has_value();
    });
    return found;
}

}  // namespace Platform
