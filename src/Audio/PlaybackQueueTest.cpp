#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "Audio/PlaybackQueue.h"

namespace Audio {
namespace {

constexpr std::uint32_t kRate = 1000;  // one frame per millisecond keeps the times readable

// A buffer whose frames hold first, first + 1, ... in both channels.
WaveBuffer ramp(std::size_t frames, std::int16_t first)
{
    WaveBuffer b;
    for (std::size_t i = 0; i < frames; ++i) {
        b.samples.push_back(static_cast<std::int16_t>(first + i));
        b.samples.push_back(static_cast<std::int16_t>(first + i));
    }
    return b;
}

std::vector<std::int16_t> render(PlaybackQueue& queue, std::size_t frames, double dacTime,
                                 bool* finished = nullptr)
{
    std::vector<std::int16_t> out(2 * frames, -1);
    const bool f = queue.render(out.data(), frames, dacTime);
    if (finished) {
        *finished = f;
    }
    return out;
}

TEST(PlaybackQueue, RendersBuffersInOrderAcrossCallsThenSilence)
{
    PlaybackQueue queue;
    queue.setRate(kRate);
    WaveBuffer a = ramp(3, 10);
    WaveBuffer b = ramp(2, 20);
    ASSERT_TRUE(queue.submit(&a));
    ASSERT_TRUE(queue.submit(&b));

    bool finished = false;
    EXPECT_EQ(render(queue, 2, 0.0, &finished), (std::vector<std::int16_t>{10, 10, 11, 11}));
    EXPECT_FALSE(finished);
    EXPECT_EQ(queue.takeFinished(), nullptr);

    EXPECT_EQ(render(queue, 4, 0.002, &finished),
              (std::vector<std::int16_t>{12, 12, 20, 20, 21, 21, 0, 0}));
    EXPECT_TRUE(finished);
    EXPECT_EQ(queue.takeFinished(), &a);
    EXPECT_EQ(queue.takeFinished(), &b);
    EXPECT_EQ(queue.takeFinished(), nullptr);
    EXPECT_EQ(queue.inFlight(), 0u);
}

TEST(PlaybackQueue, CountsOnlyFramesWhoseDacTimeHasPassed)
{
    PlaybackQueue queue;
    queue.setRate(kRate);
    WaveBuffer a = ramp(100, 0);
    WaveBuffer b = ramp(30, 0);
    ASSERT_TRUE(queue.submit(&a));
    ASSERT_TRUE(queue.submit(&b));
    // Three calls of 60 frames, each heard 0.5 s after it was rendered; the third runs dry
    // after 10 frames.
    render(queue, 60, 0.5);
    render(queue, 60, 0.56);
    render(queue, 60, 0.62);

    const struct {
        double now;
        std::int64_t played;
    } cases[] = {
        {0.0, 0},       // rendered, not yet heard
        {0.499, 0},     //
        {0.5, 0},       // the first frame is just leaving
        {0.5305, 30},   //
        {0.5605, 60},   // the second call begins
        {0.6005, 100},  //
        {0.6255, 125},  // the third call: 10 frames, then silence
        {0.7, 130},     // silence is not counted
        {9.0, 130},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(queue.playedAt(c.now), c.played) << "at " << c.now;
    }
}

TEST(PlaybackQueue, TheCounterNeverGoesBackUntilCleared)
{
    PlaybackQueue queue;
    queue.setRate(kRate);
    WaveBuffer a = ramp(100, 0);
    ASSERT_TRUE(queue.submit(&a));
    render(queue, 50, 1.0);
    EXPECT_EQ(queue.playedAt(1.04), 40);
    EXPECT_EQ(queue.playedAt(1.01), 40) << "a stream time read late must not move it back";

    std::vector<WaveBuffer*> returned;
    queue.clear(returned);
    EXPECT_EQ(returned, std::vector<WaveBuffer*>{&a});
    EXPECT_EQ(queue.playedAt(2.0), 0);
    EXPECT_EQ(queue.inFlight(), 0u);

    // After a clear the head buffer starts from its first frame again.
    ASSERT_TRUE(queue.submit(&a));
    EXPECT_EQ(render(queue, 1, 3.0), (std::vector<std::int16_t>{0, 0}));
    EXPECT_EQ(queue.playedAt(3.0005), 0);
    EXPECT_EQ(queue.playedAt(3.5), 1);
}

TEST(PlaybackQueue, ClearReturnsFinishedBuffersBeforeTheOnesStillQueued)
{
    PlaybackQueue queue;
    WaveBuffer a = ramp(4, 0);
    WaveBuffer b = ramp(4, 0);
    WaveBuffer c = ramp(4, 0);
    ASSERT_TRUE(queue.submit(&a));
    ASSERT_TRUE(queue.submit(&b));
    ASSERT_TRUE(queue.submit(&c));
    render(queue, 6, 0.0);  // a finished, b half played
    std::vector<WaveBuffer*> returned;
    queue.clear(returned);
    EXPECT_EQ(returned, (std::vector<WaveBuffer*>{&a, &b, &c}));
}

TEST(PlaybackQueue, RefusesMoreThanTheMostBuffersInFlight)
{
    PlaybackQueue queue;
    std::vector<WaveBuffer> buffers(WaveOut::kMaxQueued + 1, ramp(1, 0));
    for (std::size_t i = 0; i < WaveOut::kMaxQueued; ++i) {
        ASSERT_TRUE(queue.submit(&buffers[i]));
    }
    EXPECT_FALSE(queue.submit(&buffers.back()));
    // Finished but not yet taken back still counts: the finished ring must never overflow.
    render(queue, 1, 0.0);
    EXPECT_FALSE(queue.submit(&buffers.back()));
    ASSERT_EQ(queue.takeFinished(), &buffers[0]);
    EXPECT_TRUE(queue.submit(&buffers.back()));
}

TEST(PlaybackQueue, SamplesCrossFromOwnerToCallbackThreadIntactAndInOrder)
{
    // The owner refills three buffers with a running count while another thread renders
    // them in odd-sized blocks, as a device's callback would.
    PlaybackQueue queue;
    constexpr std::size_t kFrames = 97;
    constexpr int kRounds = 400;
    std::vector<WaveBuffer> buffers(3);
    std::int16_t next = 0;
    auto fill = [&](WaveBuffer& b) {
        b.samples.resize(2 * kFrames);
        for (std::size_t i = 0; i < kFrames; ++i) {
            b.samples[2 * i] = b.samples[2 * i + 1] = next++;
        }
        return queue.submit(&b);
    };
    for (WaveBuffer& b : buffers) {
        ASSERT_TRUE(fill(b));
    }
    std::atomic<bool> stop{false};
    std::atomic<bool> inOrder{true};
    std::thread device([&] {
        std::vector<std::int16_t> out(2 * 61);
        std::int16_t expected = 0;
        std::size_t heard = 0;
        while (heard < kFrames * kRounds && !stop.load()) {
            queue.render(out.data(), 61, 0.0);
            for (std::size_t i = 0; i < 61 && heard < kFrames * kRounds; ++i) {
                if (out[2 * i] == 0 && expected != 0) {
                    continue;  // silence while the owner was late
                }
                if (out[2 * i] != expected || out[2 * i + 1] != expected) {
                    inOrder = false;
                }
                ++expected;
                ++heard;
            }
        }
    });
    int refilled = 3;
    std::int64_t played = 0;
    bool countsRight = true;
    bool accepted = true;
    while (refilled < kRounds && accepted) {
        // Every call is heard at once (DAC time 0), so the counter follows the rendering.
        const std::int64_t now = queue.playedAt(1.0);
        countsRight &= now >= played && now <= static_cast<std::int64_t>(kFrames) * refilled;
        played = now;
        if (WaveBuffer* b = queue.takeFinished()) {
            accepted = fill(*b);
            ++refilled;
        } else {
            std::this_thread::yield();
        }
    }
    // Let the device thread drain what is queued, then stop it.
    while (accepted && queue.inFlight() > 0) {
        if (!queue.takeFinished()) {
            std::this_thread::yield();
        }
    }
    stop = true;
    device.join();
    EXPECT_TRUE(accepted);
    EXPECT_TRUE(countsRight);
    EXPECT_TRUE(inOrder.load());
}

}  // namespace
}  // namespace Audio
