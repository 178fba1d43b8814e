#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "Platform/ManualClock.h"
#include "Platform/PeriodicTimer.h"

namespace Platform {
namespace {

using namespace std::chrono_literals;

struct Call {
    std::uint64_t number;
    std::int64_t deadline;
    std::int64_t now;
    bool operator==(const Call&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Call& c)
{
    return os << "{" << c.number << ", " << c.deadline << ", " << c.now << "}";
}

TEST(PeriodicTimer, KeepsToDeadlinesCountedFromTheStart)
{
    constexpr std::int64_t kMs = 1000000;  // counts of the manual clock per millisecond
    constexpr std::int64_t t0 = 5 * kMs;
    ManualClock clock(t0);
    std::mutex mutex;
    std::vector<Call> calls;
    PeriodicTimer timer(clock);
    ASSERT_TRUE(timer.start(10ms, [&](const PeriodicTimer::Tick& tick) {
        std::lock_guard<std::mutex> lock(mutex);
        calls.push_back({tick.number, tick.deadline, clock.now()});
    }));
    EXPECT_FALSE(timer.start(10ms, [](const PeriodicTimer::Tick&) {}));

    // Each step moves the clock once the timer sleeps, then looks at where it sleeps next.
    struct Step {
        std::int64_t moveTo;
        std::int64_t nextDeadline;
    };
    const Step steps[] = {
        {t0 + 10 * kMs, t0 + 20 * kMs},  // on time
        {t0 + 23 * kMs, t0 + 30 * kMs},  // 3 ms late: the next deadline does not move
        {t0 + 75 * kMs, t0 + 80 * kMs},  // late by four periods: one call, 30 to 70 skipped
        {t0 + 80 * kMs, t0 + 90 * kMs},
    };
    ASSERT_EQ(clock.waitForSleeper(20s), t0 + 10 * kMs);
    for (const Step& step : steps) {
        clock.set(step.moveTo);
        ASSERT_EQ(clock.waitForSleeper(20s), step.nextDeadline)
            << "after moving to " << step.moveTo;
    }
    timer.stop();  // the manual clock never reaches 90 ms: only the interrupt ends the sleep
    EXPECT_FALSE(timer.isRunning());

    const std::vector<Call> expected = {
        {1, t0 + 10 * kMs, t0 + 10 * kMs},
        {2, t0 + 20 * kMs, t0 + 23 * kMs},
        {7, t0 + 70 * kMs, t0 + 75 * kMs},
        {8, t0 + 80 * kMs, t0 + 80 * kMs},
    };
    EXPECT_EQ(calls, expected);
}

TEST(PeriodicTimer, StopsAtOnceWhileItSleeps)
{
    PeriodicTimer timer;
    int calls = 0;
    ASSERT_TRUE(timer.start(60s, [&](const PeriodicTimer::Tick&) { ++calls; }));
    std::this_thread::sleep_for(20ms);
    const auto before = std::chrono::steady_clock::now();
    timer.stop();
    // far below the period; generous for a loaded machine
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5s);
    EXPECT_EQ(calls, 0);
}

TEST(PeriodicTimer, RunsOnTheSteadyClockAndStopsFromItsCallback)
{
    PeriodicTimer timer;
    EXPECT_FALSE(timer.start(0ms, [](const PeriodicTimer::Tick&) {}));
    for (int run = 0; run < 2; ++run) {
        std::vector<Call> calls;
        ASSERT_TRUE(timer.start(2ms, [&](const PeriodicTimer::Tick& tick) {
            calls.push_back({tick.number, tick.deadline, Clock::steady().now()});
            if (calls.size() == 10) {
                timer.stop();
            }
        }));
        while (timer.isRunning()) {
            std::this_thread::sleep_for(1ms);
        }
        // start() again joins the thread that stopped itself; stop() here does the same
        timer.stop();
        ASSERT_EQ(calls.size(), 10u);
        for (std::size_t i = 0; i < calls.size(); ++i) {
            EXPECT_GE(calls[i].now, calls[i].deadline) << "call " << i << " came early";
            if (i > 0) {
                EXPECT_GT(calls[i].number, calls[i - 1].number);
                EXPECT_EQ((calls[i].deadline - calls[i - 1].deadline) % 2000000, 0);
            }
        }
    }
}

}  // namespace
}  // namespace Platform
