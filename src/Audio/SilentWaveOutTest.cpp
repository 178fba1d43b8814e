#include <gtest/gtest.h>

#include <vector>

#include "Audio/AudioMessages.h"
#include "Audio/SilentWaveOut.h"
#include "Platform/ManualClock.h"
#include "Platform/MessageQueue.h"
#include "Platform/MessageWindow.h"

namespace Audio {
namespace {

// One clock count per frame at 44100 Hz, so that frames and counts are the same numbers.
constexpr std::int64_t kRate = 44100;

class SilentWaveOutTest : public ::testing::Test {
protected:
    struct Done {
        std::uint64_t ticket;
        WaveBuffer* buffer;
    };

    SilentWaveOutTest()
        : clock_(0, kRate),
          queue_(clock_),
          owner_([this](const Platform::Message& m) {
              if (m.code == kMessageWaveOutDone) {
                  done_.push_back({m.wParam, reinterpret_cast<WaveBuffer*>(m.lParam)});
              }
              return std::int64_t{0};
          }),
          device_(clock_)
    {
    }

    static WaveBuffer buffer(std::size_t frames)
    {
        WaveBuffer b;
        b.samples.assign(2 * frames, 0);
        return b;
    }

    // Moves the clock and lets the device's timer and the done messages run.
    void advance(std::int64_t frames)
    {
        clock_.advance(frames);
        for (int i = 0; i < 4; ++i) {
            queue_.processPending();
        }
    }

    Platform::ManualClock clock_;
    Platform::MessageQueue queue_;
    Platform::MessageWindow owner_;
    std::vector<Done> done_;
    SilentWaveOut device_;
};

TEST_F(SilentWaveOutTest, ConsumesQueuedFramesAtTheRateAndHandsEachBufferBackAtItsEnd)
{
    ASSERT_EQ(device_.open(kRate, owner_.handle()), 0);
    WaveBuffer a = buffer(1000);
    WaveBuffer b = buffer(1000);
    ASSERT_TRUE(device_.write(a));
    ASSERT_TRUE(device_.write(b));
    EXPECT_NE(a.ticket, b.ticket);
    EXPECT_EQ(device_.playedFrames(), 0);

    advance(999);
    EXPECT_EQ(device_.playedFrames(), 999);
    EXPECT_TRUE(done_.empty());

    advance(1 + 44);  // the end of a, and the millisecond the timer may round up to
    EXPECT_EQ(device_.playedFrames(), 1044);
    ASSERT_EQ(done_.size(), 1u);
    EXPECT_EQ(done_[0].buffer, &a);
    EXPECT_EQ(done_[0].ticket, a.ticket);

    advance(5000);
    EXPECT_EQ(device_.playedFrames(), 2000) << "never more than was queued";
    ASSERT_EQ(done_.size(), 2u);
    EXPECT_EQ(done_[1].buffer, &b);
}

TEST_F(SilentWaveOutTest, ADrySpellIsNotCountedAndPlayingResumesWithTheNextWrite)
{
    ASSERT_EQ(device_.open(kRate, owner_.handle()), 0);
    WaveBuffer a = buffer(500);
    ASSERT_TRUE(device_.write(a));
    advance(2000);
    EXPECT_EQ(device_.playedFrames(), 500);
    advance(3000);
    EXPECT_EQ(device_.playedFrames(), 500);

    ASSERT_TRUE(device_.write(a));
    EXPECT_EQ(device_.playedFrames(), 500);
    advance(200);
    EXPECT_EQ(device_.playedFrames(), 700);
}

TEST_F(SilentWaveOutTest, ResetHandsBackEveryQueuedBufferInOrderAndStartsTheCounterAgain)
{
    ASSERT_EQ(device_.open(kRate, owner_.handle()), 0);
    std::vector<WaveBuffer> buffers(3, buffer(1000));
    for (WaveBuffer& b : buffers) {
        ASSERT_TRUE(device_.write(b));
    }
    advance(1500);
    ASSERT_EQ(done_.size(), 1u);
    device_.reset();
    EXPECT_EQ(device_.playedFrames(), 0);
    queue_.processPending();
    ASSERT_EQ(done_.size(), 3u);
    EXPECT_EQ(done_[1].buffer, &buffers[1]);
    EXPECT_EQ(done_[1].ticket, buffers[1].ticket);
    EXPECT_EQ(done_[2].buffer, &buffers[2]);

    advance(10000);
    EXPECT_EQ(done_.size(), 3u) << "no buffer comes back twice";
    EXPECT_EQ(device_.playedFrames(), 0) << "nothing plays after a reset until a write";
    ASSERT_TRUE(device_.write(buffers[0]));
    advance(100);
    EXPECT_EQ(device_.playedFrames(), 100);
}

TEST_F(SilentWaveOutTest, RefusesWritesWhenClosedOrFull)
{
    WaveBuffer one = buffer(10);
    EXPECT_FALSE(device_.write(one));
    EXPECT_EQ(device_.playedFrames(), 0);

    ASSERT_EQ(device_.open(kRate, owner_.handle()), 0);
    std::vector<WaveBuffer> buffers(WaveOut::kMaxQueued + 1, buffer(10));
    for (std::size_t i = 0; i < WaveOut::kMaxQueued; ++i) {
        EXPECT_TRUE(device_.write(buffers[i]));
    }
    EXPECT_FALSE(device_.write(buffers.back()));

    device_.close();
    queue_.processPending();
    EXPECT_EQ(done_.size(), WaveOut::kMaxQueued) << "closing hands back what was queued";
    EXPECT_FALSE(device_.isOpen());
    EXPECT_FALSE(device_.write(one));
}

}  // namespace
}  // namespace Audio
