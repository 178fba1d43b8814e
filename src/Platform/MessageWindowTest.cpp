#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "AssertionCapture.h"
#include "Platform/MessageQueue.h"
#include "Platform/MessageWindow.h"
#include "Platform/TestWorker.h"

namespace Platform {
namespace {

constexpr std::uint32_t kPing = kMessageUser + 1;
constexpr std::uint32_t kGo = kMessageUser + 2;
constexpr std::uint32_t kAsk = kMessageUser + 3;
constexpr std::uint32_t kInner = kMessageUser + 4;
constexpr std::uint32_t kInnermost = kMessageUser + 5;

TEST(MessageWindow, PostsArriveInOrderOfEachPosterOnTheOwningThread)
{
    std::vector<Message> seen;
    std::thread::id handlerThread;
    TestWorker worker([&](const Message& m) {
        seen.push_back(m);
        handlerThread = std::this_thread::get_id();
        return 0;
    });
    constexpr int kCount = 300;
    auto poster = [&](std::uint64_t tag) {
        for (int i = 0; i < kCount; ++i) {
            ASSERT_TRUE(post(worker.window(), kPing, tag, i));
        }
    };
    std::thread first(poster, 1);
    std::thread second(poster, 2);
    first.join();
    second.join();
    ASSERT_TRUE(postQuit(worker.window(), 5));
    EXPECT_EQ(worker.join(), 5);

    ASSERT_EQ(seen.size(), 2u * kCount);
    std::int64_t next[3] = {0, 0, 0};
    for (const Message& m : seen) {
        EXPECT_EQ(m.window, worker.window());
        EXPECT_EQ(m.code, kPing);
        ASSERT_TRUE(m.wParam == 1 || m.wParam == 2);
        EXPECT_EQ(m.lParam, next[m.wParam]++) << "poster " << m.wParam;
    }
    EXPECT_NE(handlerThread, std::this_thread::get_id());
}

TEST(MessageWindow, SendReturnsTheResultOfTheOwningThread)
{
    std::thread::id handlerThread;
    TestWorker worker([&](const Message& m) {
        handlerThread = std::this_thread::get_id();
        return static_cast<std::int64_t>(m.wParam) + m.lParam;
    });
    // from a thread without a queue of its own
    EXPECT_EQ(send(worker.window(), kPing, 40, -1 - (std::int64_t{1} << 40)),
              39 - (std::int64_t{1} << 40));
    EXPECT_NE(handlerThread, std::this_thread::get_id());
}

TEST(MessageWindow, SendToAWindowOfTheCallingThreadCallsTheHandlerDirectly)
{
    MessageQueue queue;
    int calls = 0;
    MessageWindow window([&](const Message& m) {
        ++calls;
        return m.lParam * 2;
    });
    // no loop runs: only a direct call can answer
    EXPECT_EQ(send(window.handle(), kPing, 0, 21), 42);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(queue.hasPending());
}

TEST(MessageWindow, TwoThreadsSendingToEachOtherAtOnceDoNotDeadlock)
{
    constexpr int kRounds = 200;
    struct Side {
        std::atomic<std::uint64_t> peer{0};
        int answered = 0;
        std::promise<void> finished;
    };
    Side sides[2];
    auto handlerFor = [&](Side& self) {
        return [&self](const Message& m) -> std::int64_t {
            if (m.code == kGo) {
                for (int i = 0; i < kRounds; ++i) {
                    auto answer = send(WindowHandle(self.peer.load()), kPing, i);
                    if (answer && *answer == i + 1) {
                        ++self.answered;
                    }
                }
                self.finished.set_value();
                return 0;
            }
            return static_cast<std::int64_t>(m.wParam) + 1;
        };
    };
    TestWorker a(handlerFor(sides[0]));
    TestWorker b(handlerFor(sides[1]));
    sides[0].peer = b.window().value();
    sides[1].peer = a.window().value();
    std::future<void> aDone = sides[0].finished.get_future();
    std::future<void> bDone = sides[1].finished.get_future();
    ASSERT_TRUE(post(a.window(), kGo));
    ASSERT_TRUE(post(b.window(), kGo));
    getOrAbort(aDone, "sends from a to b");
    getOrAbort(bDone, "sends from b to a");
    ASSERT_TRUE(postQuit(a.window()));
    ASSERT_TRUE(postQuit(b.window()));
    a.join();
    b.join();
    EXPECT_EQ(sides[0].answered, kRounds);
    EXPECT_EQ(sides[1].answered, kRounds);
}

TEST(MessageWindow, NestedSendsAreServedByTheBlockedThreads)
{
    // main sends to the worker, whose handler sends back to main, whose handler sends to the
    // worker again: each thread serves the inner send while it waits for its own.
    MessageQueue queue;
    std::atomic<std::uint64_t> mainWindow{0};
    std::thread::id innermostThread;
    TestWorker worker([&](const Message& m) -> std::int64_t {
        if (m.code == kAsk) {
            return send(WindowHandle(mainWindow.load()), kInner).value_or(-100) * 10;
        }
        innermostThread = std::this_thread::get_id();
        return 4;
    });
    std::thread::id innerThread;
    MessageWindow window([&](const Message&) -> std::int64_t {
        innerThread = std::this_thread::get_id();
        return send(worker.window(), kInnermost).value_or(-100) + 1;
    });
    mainWindow = window.handle().value();

    EXPECT_EQ(send(worker.window(), kAsk), 50);
    EXPECT_EQ(innerThread, std::this_thread::get_id());
    ASSERT_TRUE(postQuit(worker.window()));
    worker.join();  // quit first: the join orders the worker's writes before the check
    EXPECT_NE(innermostThread, std::this_thread::get_id());
}

TEST(MessageWindow, ADestroyedWindowRefusesPostsAndSends)
{
    MessageQueue queue;
    int calls = 0;
    auto window = std::make_unique<MessageWindow>([&](const Message&) {
        ++calls;
        return 1;
    });
    const WindowHandle handle = window->handle();
    ASSERT_TRUE(post(handle, kPing));
    EXPECT_TRUE(isWindow(handle));
    window.reset();

    EXPECT_FALSE(isWindow(handle));
    EXPECT_FALSE(post(handle, kPing));
    EXPECT_FALSE(send(handle, kPing).has_value());
    EXPECT_FALSE(postQuit(handle));
    EXPECT_FALSE(post(WindowHandle(), kPing));
    // the message queued before the window went is dropped with it
    EXPECT_TRUE(queue.processPending());
    EXPECT_EQ(calls, 0);
}

TEST(MessageWindow, AWindowOfAThreadThatEndedRefusesPostsAndSends)
{
    auto worker = std::make_unique<TestWorker>([](const Message&) { return 1; });
    const WindowHandle handle = worker->window();
    worker.reset();
    EXPECT_FALSE(isWindow(handle));
    EXPECT_FALSE(post(handle, kPing));
    EXPECT_FALSE(send(handle, kPing).has_value());
}

// How the target of a waiting send goes away.
enum class Ending { DestroyWindow, EndThread };

class SendToAVanishingWindow : public ::testing::TestWithParam<Ending> {};

TEST_P(SendToAVanishingWindow, FailsInsteadOfHanging)
{
    // The owning thread does not serve the send: it waits until the send is queued, then
    // destroys the window, or ends without destroying it (its queue goes first).
    std::atomic<bool> targetCalled{false};
    std::promise<WindowHandle> made;
    std::future<WindowHandle> madeFuture = made.get_future();
    std::thread owner([&] {
        std::unique_ptr<MessageWindow> window;
        MessageQueue queue;
        window = std::make_unique<MessageWindow>([&](const Message&) {
            targetCalled = true;
            return 1;
        });
        made.set_value(window->handle());
        while (!queue.hasPending()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (GetParam() == Ending::DestroyWindow) {
            window.reset();
        }
    });
    const WindowHandle target = getOrAbort(madeFuture, "window");
    auto result = std::async(std::launch::async, [&] { return send(target, kPing); });
    EXPECT_FALSE(getOrAbort(result, "send to a vanishing window").has_value());
    owner.join();
    EXPECT_FALSE(targetCalled.load());
}

INSTANTIATE_TEST_SUITE_P(Endings, SendToAVanishingWindow,
                         ::testing::Values(Ending::DestroyWindow, Ending::EndThread),
                         [](const auto& info) {
                             return info.param == Ending::DestroyWindow ? "DestroyWindow"
                                                                        : "EndThread";
                         });

TEST(MessageWindow, NeedsAQueueOnItsThread)
{
    EXPECT_INVARIANT(MessageWindow([](const Message&) { return 0; }), "thread has a queue",
                     "MessageWindow");
    MessageQueue queue;
    EXPECT_INVARIANT(MessageQueue second, "one queue per thread", "MessageQueue");
}

}  // namespace
}  // namespace Platform
