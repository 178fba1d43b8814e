#pragma once

// For tests only: a thread with a message queue and one window that runs its loop until it
// is told to quit. A loop that does not end in time (a deadlock) aborts the test program
// with a message instead of hanging it.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <thread>
#include <utility>

#include "Platform/MessageQueue.h"
#include "Platform/MessageWindow.h"

namespace Platform {

// Waits for `future`, or aborts the test program naming `what` after 20 s.
template <typename T>
T getOrAbort(std::future<T>& future, const char* what)
{
    if (future.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        std::fprintf(stderr, "%s did not finish within 20 s: deadlock\n", what);
        std::fflush(stderr);
        std::abort();
    }
    return future.get();
}

class TestWorker {
public:
    // `setUp` runs on the worker's thread after the window was made, before the loop starts.
    using SetUp = std::function<void(MessageQueue&, MessageWindow&)>;

    explicit TestWorker(MessageHandler handler, SetUp setUp = {})
    {
        std::promise<WindowHandle> ready;
        std::future<WindowHandle> readyFuture = ready.get_future();
        done_ = finished_.get_future();
        thread_ = std::thread(
            [this, &ready, handler = std::move(handler), setUp = std::move(setUp)]() mutable {
                MessageQueue queue;
                MessageWindow window(std::move(handler));
                if (setUp) {
                    setUp(queue, window);
                }
                ready.set_value(window.handle());
                const int exitCode = queue.run();
                wakeCount_ = queue.wakeCount();
                finished_.set_value(exitCode);
            });
        window_ = getOrAbort(readyFuture, "worker start");
    }

    ~TestWorker()
    {
        if (thread_.joinable()) {
            postQuit(window_);
            join();
        }
    }

    TestWorker(const TestWorker&) = delete;
    TestWorker& operator=(const TestWorker&) = delete;

    WindowHandle window() const { return window_; }

    // Waits for the loop to return and the thread to end; returns the loop's exit code.
    int join()
    {
        const int exitCode = getOrAbort(done_, "worker loop");
        thread_.join();
        return exitCode;
    }

    // After join(): how often the loop woke from a sleep.
    std::uint64_t wakeCount() const { return wakeCount_; }

private:
    std::promise<int> finished_;
    std::future<int> done_;
    std::thread thread_;
    WindowHandle window_;
    std::uint64_t wakeCount_ = 0;
};

}  // namespace Platform
