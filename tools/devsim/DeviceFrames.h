#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Devsim {

// The serial frame as the firing controller sees it: 'P' (0x50), the code, the payload, 'Q'
// (0x51). A code or payload byte of 0x50, 0x51 or 0x52 travels as 'R' (0x52) and the byte's
// complement. This is the device's own reading of the framing, kept apart from the program's
// serial code so that each can find the other's mistakes.
namespace Frame {
constexpr uint8_t kStart = 0x50;
constexpr uint8_t kEnd = 0x51;
constexpr uint8_t kEscape = 0x52;
// Code and payload bytes kept of one frame; later bytes of the frame are dropped.
constexpr size_t kMaxStored = 64;

std::string encode(uint8_t code, std::string_view payload);
}  // namespace Frame

// Receive side: bytes outside a frame are ignored, 'P' starts a new frame wherever it comes
// (a partial one is dropped), 'Q' ends one, and 'R' stores the next byte complemented unless
// that byte is 'P' or 'Q'. A frame with no code byte is ignored.
class FrameReader {
public:
    struct Received {
        uint8_t code = 0;
        std::string payload;
    };

    // True when `byte` completed a frame, which is then in `frame`.
    bool push(uint8_t byte, Received& frame);

private:
    bool inFrame_ = false;
    bool escaped_ = false;
    std::string stored_;
};

}  // namespace Devsim
