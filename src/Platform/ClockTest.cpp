#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "AssertionCapture.h"
#include "Platform/Clock.h"
#include "Platform/ManualClock.h"

namespace Platform {
namespace {

struct ConversionCase {
    std::int64_t frequency;
    std::int64_t milliseconds;
    std::int64_t counts;           // fromMilliseconds(milliseconds)
    std::int64_t nanoseconds;      // toNanoseconds(counts)
    std::int64_t countsAhead;      // a deadline this far ahead ...
    std::int64_t msUntilDeadline;  // ... is this many milliseconds away, rounded up
};

void PrintTo(const ConversionCase& c, std::ostream* os)
{
    *os << c.frequency << " Hz, " << c.milliseconds << " ms, " << c.countsAhead << " ahead";
}

class ClockConversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ClockConversion, ConvertsAtTheClocksFrequency)
{
    const ConversionCase& c = GetParam();
    ManualClock clock(1000, c.frequency);
    EXPECT_EQ(clock.fromMilliseconds(c.milliseconds), c.counts);
    EXPECT_EQ(clock.toNanoseconds(c.counts), c.nanoseconds);
    EXPECT_EQ(clock.millisecondsUntil(clock.now() + c.countsAhead), c.msUntilDeadline);
    EXPECT_EQ(clock.millisecondsUntil(clock.now() - c.countsAhead), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Frequencies, ClockConversion,
    ::testing::Values(ConversionCase{1000000000, 100, 100000000, 100000000, 1, 1},
                      ConversionCase{1000000000, 0, 0, 0, 1000000, 1},
                      ConversionCase{1000000000, 0, 0, 0, 1000001, 2},
                      // the old PC timer's 3.579545 MHz: whole counts are cut, waits round up
                      ConversionCase{3579545, 10, 35795, 9999874, 3579, 1},
                      ConversionCase{3579545, 10, 35795, 9999874, 3580, 2},
                      // a day in nanoseconds stays exact in 64 bits
                      ConversionCase{1000000000, 86400000, 86400000000000, 86400000000000, 0, 0}));

TEST(Clock, SteadyClockCountsNanosecondsForward)
{
    const Clock& clock = Clock::steady();
    EXPECT_EQ(clock.frequency(), 1000000000);
    const std::int64_t before = clock.now();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_GE(clock.now() - before, 5000000);
}

TEST(Clock, SteadySleepEndsAtTheDeadlineOrWhenInterrupted)
{
    const Clock& clock = Clock::steady();
    SleepInterrupt interrupt;
    const std::int64_t deadline = clock.now() + clock.fromMilliseconds(5);
    EXPECT_TRUE(clock.sleepUntil(deadline, interrupt));
    EXPECT_GE(clock.now(), deadline);

    interrupt.raise();
    EXPECT_FALSE(clock.sleepUntil(clock.now() + clock.fromMilliseconds(60000), interrupt));
}

TEST(Clock, ManualClockNeverGoesBack)
{
    ManualClock clock(100);
    clock.set(150);
    EXPECT_EQ(clock.now(), 150);
    EXPECT_INVARIANT(clock.set(149), "counts >= now()", "ManualClock");
}

}  // namespace
}  // namespace Platform
