#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "Platform/ManualClock.h"
#include "Platform/MessageQueue.h"
#include "Platform/MessageWindow.h"
#include "Platform/TestWorker.h"

namespace Platform {
namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kA = kMessageUser + 1;
constexpr std::uint32_t kB = kMessageUser + 2;
constexpr std::uint32_t kC = kMessageUser + 3;

// A queue on the test's thread with a manual clock and one window that records its messages;
// the test drives it with processPending().
class QueueOnThisThread : public ::testing::Test {
protected:
    // The window's codes as seen, timers as "T<id>".
    std::vector<std::string> takeSeen()
    {
        std::vector<std::string> result;
        result.swap(seen_);
        return result;
    }

    void advanceMs(std::int64_t ms) { clock_.advance(clock_.fromMilliseconds(ms)); }

    ManualClock clock_;
    MessageQueue queue_{clock_};
    std::vector<std::string> seen_;
    MessageWindow window_{[this](const Message& m) {
        EXPECT_EQ(m.window, window_.handle());
        if (m.code == kMessageTimer) {
            seen_.push_back("T" + std::to_string(m.wParam));
        } else {
            seen_.push_back(std::string(1, static_cast<char>('A' + m.code - kA)));
        }
        if (m.code == kA) {
            post(window_.handle(), kC);  // arrives behind everything already queued
        }
        return 0;
    }};
};

bool readable(int fd, int timeoutMs)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) == 1;
}

TEST_F(QueueOnThisThread, QuitEndsTheLoopAfterTheMessagesPostedBeforeIt)
{
    post(window_.handle(), kB);
    ASSERT_TRUE(postQuit(window_.handle(), 7));
    post(window_.handle(), kB);
    EXPECT_EQ(queue_.run(), 7);
    EXPECT_EQ(takeSeen(), (std::vector<std::string>{"B"}));
    // the message behind the quit request waits for the next round
    EXPECT_TRUE(queue_.hasPending());
    EXPECT_TRUE(queue_.processPending());
    EXPECT_EQ(takeSeen(), (std::vector<std::string>{"B"}));

    // a handler ends its own thread's loop
    MessageWindow quitter([](const Message&) {
        postQuit(3);
        return 0;
    });
    post(quitter.handle(), kB);
    EXPECT_EQ(queue_.run(), 3);
}

TEST_F(QueueOnThisThread, ATimerFiresEveryPeriodAndOnceWhenLate)
{
    ASSERT_TRUE(window_.setTimer(1, 100));
    EXPECT_EQ(queue_.timerDelayMs(), 100);
    advanceMs(99);
    queue_.processPending();
    EXPECT_TRUE(takeSeen().empty());
    EXPECT_EQ(queue_.timerDelayMs(), 1);

    advanceMs(1);
    queue_.processPending();
    EXPECT_EQ(takeSeen(), (std::vector<std::string>{"T1"}));
    EXPECT_EQ(queue_.timerDelayMs(), 100);

    // five and a half periods late: one message, and the beat is kept (next due at 700 ms)
    advanceMs(550);
    EXPECT_EQ(queue_.timerDelayMs(), 0);
    queue_.processPending();
    queue_.processPending();
    EXPECT_EQ(takeSeen(), (std::vector<std::string>{"T1"}));
    EXPECT_EQ(queue_.timerDelayMs(), 50);
    advanceMs(50);
    queue_.processPending();
    EXPECT_EQ(takeSeen(), (std::vector<std::string>{"T1"}));
}

TEST_F(QueueOnThisThread, TimersComeAfterPostedMessages)
{
    ASSERT_TRUE(window_.setTimer(2, 10));
    advanceMs(10);
    post(window_.handle(), kA);
    post(window_.handle(), kB);
    // A posts C while the round runs: C is not part of this round, and the timer waits for it
    queue_.processPending();
    EXPECT_EQ(takeSeen(), (std::vector<std::string>{"A", "B"}));
    queue_.processPending();
    EXPECT_EQ(takeSeen(), (std::vector<std::string>{"C", "T2"}));
}

TEST_F(QueueOnThisThread, TimersAreKilledRestartedAndGoWithTheirWindow)
{
    ASSERT_TRUE(window_.setTimer(1, 100));
    ASSERT_TRUE(window_.setTimer(2, 30));
    advanceMs(30);
    queue_.processPending();
    EXPECT_EQ(takeSeen(), (std::vector<std::string>{"T2"}));
    EXPECT_TRUE(window_.killTimer(2));
    EXPECT_FALSE(window_.killTimer(2));
    advanceMs(120);  // 150 ms
    queue_.processPending();
    EXPECT_EQ(takeSeen(), (std::vector<std::string>{"T1"}));

    // setting it again starts a new period from now: due at 250 ms, not 200 ms
    ASSERT_TRUE(window_.setTimer(1, 100));
    advanceMs(50);
    queue_.processPending();
    EXPECT_TRUE(takeSeen().empty());
    advanceMs(50);
    queue_.processPending();
    EXPECT_EQ(takeSeen(), (std::vector<std::string>{"T1"}));

    window_.destroy();
    EXPECT_EQ(queue_.timerDelayMs(), -1);
    EXPECT_FALSE(window_.setTimer(1, 100));
    advanceMs(1000);
    queue_.processPending();
    EXPECT_TRUE(takeSeen().empty());
}

TEST_F(QueueOnThisThread, AHostLoopIsWokenByPostsAndSends)
{
    const int fd = queue_.wakeFd();
    EXPECT_FALSE(readable(fd, 0));

    std::thread([&] { post(window_.handle(), kB); }).join();
    EXPECT_TRUE(readable(fd, 0));
    EXPECT_TRUE(queue_.processPending());
    EXPECT_EQ(takeSeen(), (std::vector<std::string>{"B"}));
    EXPECT_FALSE(readable(fd, 0));

    // a send from another thread is answered by the host's pump
    auto answer = std::async(std::launch::async, [&] { return send(window_.handle(), kB); });
    ASSERT_TRUE(readable(fd, 20000));
    EXPECT_TRUE(queue_.processPending());
    EXPECT_EQ(getOrAbort(answer, "send to the host loop"), 0);
    EXPECT_EQ(takeSeen(), (std::vector<std::string>{"B"}));

    // what a handler posts during a round keeps the descriptor readable for the next round
    post(window_.handle(), kA);
    EXPECT_TRUE(queue_.processPending());
    EXPECT_TRUE(readable(fd, 0));
    EXPECT_TRUE(queue_.processPending());
    EXPECT_EQ(takeSeen(), (std::vector<std::string>{"A", "C"}));
    EXPECT_FALSE(readable(fd, 0));
}

TEST_F(QueueOnThisThread, AHostLoopHearsOfEveryTimerChange)
{
    // The delay the host would arm its own timer with, at each notice.
    std::vector<int> notices;
    queue_.setTimersChangedCallback([&] { notices.push_back(queue_.timerDelayMs()); });
    ASSERT_TRUE(window_.setTimer(1, 100));
    ASSERT_TRUE(window_.setTimer(2, 30));
    advanceMs(10);
    ASSERT_TRUE(window_.setTimer(2, 50));  // restarted: due later
    EXPECT_TRUE(window_.killTimer(1));
    EXPECT_FALSE(window_.killTimer(1));  // nothing changed, no notice
    EXPECT_EQ(notices, (std::vector<int>{100, 30, 50, 50}));

    queue_.setTimersChangedCallback({});
    ASSERT_TRUE(window_.setTimer(3, 10));
    EXPECT_EQ(notices.size(), 4u);
}

TEST(MessageQueue, TimersFireInTheRunningLoop)
{
    int fired = 0;
    TestWorker worker(
        [&](const Message& m) {
            if (m.code == kMessageTimer && ++fired == 5) {
                postQuit();
            }
            return 0;
        },
        [](MessageQueue&, MessageWindow& window) { window.setTimer(1, 5); });
    worker.join();
    EXPECT_EQ(fired, 5);
}

// runUntil ends on a message, on a condition another thread makes true without one, and at
// its time-out; the manual clock does not hold it.
TEST_F(QueueOnThisThread, RunUntilEndsOnItsConditionOrItsTimeOut)
{
    post(window_.handle(), kB);
    EXPECT_TRUE(queue_.runUntil([&] { return !seen_.empty(); }, 5s));
    EXPECT_EQ(takeSeen(), std::vector<std::string>{"B"});

    std::atomic<bool> flag{false};
    std::thread setter([&] {
        std::this_thread::sleep_for(30ms);
        flag = true;
    });
    EXPECT_TRUE(queue_.runUntil([&] { return flag.load(); }, 5s));
    setter.join();

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(queue_.runUntil([] { return false; }, 50ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
}

TEST(MessageQueue, AnIdleLoopStaysAsleep)
{
    // a window with a timer far off: the loop sleeps until the quit request
    TestWorker worker([](const Message&) { return 0; },
                      [](MessageQueue&, MessageWindow& window) { window.setTimer(1, 60000); });
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(postQuit(worker.window()));
    worker.join();
    // the quit request wakes it once (a 1 ms polling loop would count about 300)
    EXPECT_LE(worker.wakeCount(), 2u);
}

TEST(MessageQueue, AWatchedDescriptorWakesTheLoop)
{
    int pipeFds[2];
    ASSERT_EQ(::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK), 0);
    const int readEnd = pipeFds[0];
    const int writeEnd = pipeFds[1];
    std::string received;
    std::thread::id callbackThread;
    std::promise<void> unwatched;
    TestWorker worker([](const Message&) { return 0; },
                      [&](MessageQueue& queue, MessageWindow&) {
                          queue.watchFd(readEnd, POLLIN, [&, q = &queue](short revents) {
                              EXPECT_TRUE(revents & POLLIN);
                              callbackThread = std::this_thread::get_id();
                              char c;
                              while (::read(readEnd, &c, 1) == 1) {
                                  received += c;
                              }
                              if (received.find('u') != std::string::npos) {
                                  EXPECT_TRUE(q->unwatchFd(readEnd));
                                  unwatched.set_value();
                              }
                          });
                      });
    std::future<void> unwatchedFuture = unwatched.get_future();
    ASSERT_EQ(::write(writeEnd, "xu", 2), 2);
    getOrAbort(unwatchedFuture, "descriptor callback");
    // no longer watched: this byte stays in the pipe
    ASSERT_EQ(::write(writeEnd, "z", 1), 1);
    ASSERT_TRUE(postQuit(worker.window()));
    worker.join();
    EXPECT_EQ(received, "xu");
    EXPECT_NE(callbackThread, std::this_thread::get_id());
    char c = 0;
    EXPECT_EQ(::read(readEnd, &c, 1), 1);
    EXPECT_EQ(c, 'z');
    ::close(readEnd);
    ::close(writeEnd);
}

}  // namespace
}  // namespace Platform
