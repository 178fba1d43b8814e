#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "Platform/Message.h"

namespace Platform {

struct WindowRecord;

// A message window: a handler bound for life to the thread that created it (which must have a
// MessageQueue). Other threads reach it through its handle with post() and send(); its own
// thread runs every one of its messages. The owner (a service's front or worker) keeps the
// object; destroying it, on its own thread, destroys the window: messages still queued for it
// are dropped, and senders still waiting for it are told it failed.
class MessageWindow {
public:
    explicit MessageWindow(MessageHandler handler);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    WindowHandle handle() const { return handle_; }

    // Destroys the window before the object goes (a worker that ends before its owner does).
    void destroy();

    // A timer on this window: every `periodMs` (at least 1) the window gets kMessageTimer
    // with wParam = id, after the messages posted before it. A timer that could not fire in
    // time fires once, not once per missed period. Setting an id again restarts its period.
    // Owning thread only; false once the window was destroyed.
    bool setTimer(std::uint32_t id, std::uint32_t periodMs);
    bool killTimer(std::uint32_t id);

private:
    std::shared_ptr<WindowRecord> record_;
    WindowHandle handle_;
};

// Queues a message for the window and returns at once; false when the window was destroyed
// (or its thread's queue ended). Messages posted by one thread arrive in order.
bool post(WindowHandle window, std::uint32_t code, std::uint64_t wParam = 0,
          std::int64_t lParam = 0);

// Has the window's thread handle the message and returns the handler's result. To a window of
// the calling thread it calls the handler directly. Otherwise it blocks until the owning
// thread has handled it, serving meanwhile the sends that reach the calling thread's own
// windows, so two threads that send to each other both go on. Nothing (no result) when the
// window was destroyed, before or while the send waited.
std::optional<std::int64_t> send(WindowHandle window, std::uint32_t code, std::uint64_t wParam = 0,
                                 std::int64_t lParam = 0);

// Asks the loop of the thread that owns the window to return with `exitCode`; false when the
// window was destroyed.
bool postQuit(WindowHandle window, int exitCode = 0);

// True while the window exists.
bool isWindow(WindowHandle window);

}  // namespace Platform
