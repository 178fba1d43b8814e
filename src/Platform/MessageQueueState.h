#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "Platform/Clock.h"
#include "Platform/Message.h"

// The inside of the message layer, shared by MessageQueue and MessageWindow; services use
// those two and never this file.

namespace Platform {

class MessageQueueState;

// One window, bound for life to the queue of the thread that created it.
struct WindowRecord {
    std::uint64_t id = 0;
    std::shared_ptr<MessageQueueState> queue;
    MessageHandler handler;  // called on the owning thread only
    // Cleared once by the owning thread under queue->mutex; other threads read it under that
    // mutex, so a post or send either lands before the window goes or fails.
    bool alive = true;
};

// A send on its way: queued on the target's thread, answered there, while the sender sleeps
// on replyTo's condition variable.
struct PendingSend {
    enum class Outcome { Waiting, Answered, Failed };

    std::shared_ptr<WindowRecord> window;
    Message message;
    std::shared_ptr<MessageQueueState> replyTo;
    Outcome outcome = Outcome::Waiting;  // under replyTo->mutex
    std::int64_t result = 0;
};

// The queue of one thread.
//
// Producers: any thread posts (post, postQuit) or sends (pushSend) to it; they hold the mutex
// only to queue. Consumer: the owning thread alone takes messages out and calls the handlers,
// in run() or processPending() of its MessageQueue, or while it waits in a send of its own
// (then only sends are served). The eventfd is readable while something is queued; the
// condition variable wakes the owner when it waits in a send (for a send to it or the answer
// to its own). Timers belong to the owning thread and are not locked.
class MessageQueueState : public std::enable_shared_from_this<MessageQueueState> {
public:
    explicit MessageQueueState(const Clock& clock);
    ~MessageQueueState();
    MessageQueueState(const MessageQueueState&) = delete;
    MessageQueueState& operator=(const MessageQueueState&) = delete;

    // The queue of the calling thread, or null; MessageQueue sets it.
    static MessageQueueState* current();
    static void setCurrent(MessageQueueState* state);
    // Where the calling thread waits for answers: its queue, or for a thread without one a
    // private state that no window is bound to.
    static std::shared_ptr<MessageQueueState> waiterForThisThread();

    const Clock& clock() const { return clock_; }
    int wakeFd() const { return eventFd_; }

    // Producers, any thread. False when the window was destroyed or its thread's queue ended.
    bool post(const std::shared_ptr<WindowRecord>& window, const Message& message);
    bool postQuit(int exitCode);
    bool pushSend(const std::shared_ptr<PendingSend>& send);
    bool isAlive(const WindowRecord& window) const;

    // Sender, on its own thread: sleeps until `send` is answered or fails, meanwhile serving
    // sends to this thread's windows so that two threads sending to each other both go on.
    std::optional<std::int64_t> waitForAnswer(const std::shared_ptr<PendingSend>& send);

    // Owning thread.
    void addWindow(WindowRecord* window);
    void destroyWindow(WindowRecord& window);
    // The queue ends: its windows count as destroyed, waiting sends fail, posts are dropped.
    void close();
    bool hasPending() const;
    // Serves sends, then the posted messages queued when it began, then the due timers when
    // no posted message waits. Returns the exit code once it reaches a quit request.
    std::optional<int> dispatch();
    bool setTimer(const std::shared_ptr<WindowRecord>& window, std::uint32_t id,
                  std::uint32_t periodMs);
    bool killTimer(const WindowRecord& window, std::uint32_t id);
    // Milliseconds until the next timer is due: -1 with no timer, 0 when one is due.
    int timerDelayMs() const;
    // Called on the owning thread after every setTimer and killTimer.
    void setTimersChanged(std::function<void()> callback) { timersChanged_ = std::move(callback); }

private:
    struct Posted {
        std::shared_ptr<WindowRecord> window;  // null for a quit request
        Message message;
        int exitCode = 0;
    };

    struct Timer {
        std::shared_ptr<WindowRecord> window;
        std::uint32_t id;
        std::int64_t period;
        std::int64_t due;
    };

    static void finish(PendingSend& send, PendingSend::Outcome outcome, std::int64_t result);
    void signalLocked();
    void consumeSignal();
    // Serves one queued send; false when none was queued.
    bool serveOneSend();
    void fireDueTimers();
    void notifyTimersChanged();

    const Clock& clock_;
    int eventFd_ = -1;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Posted> posted_;
    std::deque<std::shared_ptr<PendingSend>> sends_;
    std::vector<WindowRecord*> windows_;  // the windows bound here; changed by the owner only
    bool signaled_ = false;               // the eventfd holds a count
    bool closed_ = false;

    std::vector<Timer> timers_;            // owning thread only
    std::function<void()> timersChanged_;  // owning thread only
};

}  // namespace Platform
