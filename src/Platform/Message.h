#pragma once

#include <cstdint>
#include <functional>

namespace Platform {

// Message codes every window understands. A service numbers its own messages from
// kMessageUser (0x400) up, and those numbers are fixed per service: the audio player uses
// 0x440 and up, the controller's worker 0x540 and up.
inline constexpr std::uint32_t kMessageTimer = 0x0113;  // wParam: timer id
inline constexpr std::uint32_t kMessageUser = 0x0400;

// Names a message window. It is a plain number so that it can travel in a message parameter
// (a worker announces its window to the front that way); 0 is no window. Numbers are never
// reused, so a handle kept after its window was destroyed fails instead of reaching another.
class WindowHandle {
public:
    constexpr WindowHandle() = default;
    constexpr explicit WindowHandle(std::uint64_t value) : value_(value) {}

    constexpr std::uint64_t value() const { return value_; }
    constexpr explicit operator bool() const { return value_ != 0; }
    friend constexpr bool operator==(WindowHandle, WindowHandle) = default;

private:
    std::uint64_t value_ = 0;
};

struct Message {
    WindowHandle window;
    std::uint32_t code = 0;
    std::uint64_t wParam = 0;
    std::int64_t lParam = 0;
};

// Handles one message on the thread that owns the window. The result is what send() returns
// to the sender; for posted messages and timers it is dropped.
using MessageHandler = std::function<std::int64_t(const Message&)>;

}  // namespace Platform
