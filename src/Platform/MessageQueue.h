#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "Platform/Clock.h"
#include "Platform/Message.h"

namespace Platform {

class MessageQueueState;

// The message queue of one thread and its loop. A thread that owns windows makes one, on its
// own stack or as a member of its worker object, before it creates them; the queue then
// belongs to that thread, and every call below except wakeFd() must come from it.
//
// Who produces, who consumes: any thread posts and sends to the windows bound here; only
// this thread takes the messages out and calls the windows' handlers. The queue's mutex
// lives inside the layer; the handlers run on this thread alone and need no locks.
//
// A worker calls run(), which sleeps in one poll() on the queue, the next timer and the file
// descriptors it watches (a serial port), and wakes only for them. A thread with a loop of
// its own (the GUI's) instead watches wakeFd(), which is readable while messages wait, arms a
// single-shot timer for timerDelayMs() (again whenever setTimersChangedCallback() says the
// timers changed), and calls processPending() when either fires.
class MessageQueue {
public:
    using FdCallback = std::function<void(short revents)>;

    explicit MessageQueue(const Clock& clock = Clock::steady());
    // Windows still bound here count as destroyed from now on, senders still waiting for
    // them get their failure, posted messages are dropped.
    ~MessageQueue();
    MessageQueue(const MessageQueue&) = delete;
    MessageQueue& operator=(const MessageQueue&) = delete;

    // The queue of the calling thread, or null.
    static MessageQueue* current();

    // Handles messages until it reaches a quit request (postQuit); returns its exit code.
    // Messages posted after the quit request stay queued.
    int run();

    // Handles messages, timers and watched descriptors until `done()` holds, for at most
    // `timeout` of real time; returns done(). `done` may turn true on another thread without
    // a message (a device's reply, a file written), so it is asked at least every `recheck`.
    // Ends early at a quit request (exitCode() tells its code).
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
                  std::chrono::milliseconds recheck = std::chrono::milliseconds(10));

    // One round for a host loop: the sends, the messages posted before the call, the due
    // timers (when no posted message waits), then the watched descriptors that are ready.
    // Returns false when it reached a quit request (exitCode() tells its code).
    bool processPending();
    int exitCode() const { return exitCode_; }

    // True while a posted message or a send waits. A long job on this thread checks it to
    // yield to its messages between pieces of work.
    bool hasPending() const;

    // Readable while messages wait; any thread may poll it.
    int wakeFd() const;
    // Milliseconds until the next timer is due: -1 with no timer, 0 when one is due.
    int timerDelayMs() const;
    // For a host loop: called on this thread whenever a timer of this queue is set or
    // killed, from a message handler or from anywhere else, so that the host arms its own
    // timer for timerDelayMs() again. Empty to stop.
    void setTimersChangedCallback(std::function<void()> callback);

    // Calls `callback` with poll()'s revents whenever `fd` is ready for `events` (POLLIN for
    // "readable"). One watch per descriptor; watching it again replaces the callback.
    void watchFd(int fd, short events, FdCallback callback);
    bool unwatchFd(int fd);

    // How often run() woke from a sleep, for checks that an idle loop stays asleep.
    std::uint64_t wakeCount() const { return wakeCount_.load(); }

    const Clock& clock() const { return clock_; }

private:
    struct Watch {
        int fd;
        short events;
        std::shared_ptr<FdCallback> callback;
    };

    // Polls the wake descriptor and the watches for up to `timeoutMs`, then calls the
    // callbacks of the watches that are ready.
    void pollAndServe(int timeoutMs);

    const Clock& clock_;
    std::shared_ptr<MessageQueueState> state_;
    std::vector<Watch> watches_;
    int exitCode_ = 0;
    std::atomic<std::uint64_t> wakeCount_{0};
};

// Asks the loop of the calling thread to return with `exitCode`, after the messages posted
// before. The thread must have a queue.
void postQuit(int exitCode = 0);

}  // namespace Platform
