#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace Controller {

// One received frame: its code and up to 63 payload bytes.
struct Frame {
    static constexpr std::size_t kMaxPayload = 63;

    std::uint8_t code = 0;
    std::array<std::uint8_t, kMaxPayload> payload{};
    std::size_t size = 0;

    // Payload integers, little-endian; bytes beyond the payload count as 0.
    std::uint32_t byteAt(std::size_t index) const { return index < size ? payload[index] : 0; }
    std::uint32_t u16At(std::size_t index) const { return byteAt(index) | byteAt(index + 1) << 8; }
    std::uint32_t u32At(std::size_t index) const { return u16At(index) | u16At(index + 2) << 16; }
};

// Turns the bytes from the firing controller back into frames, one byte at a time. Bytes
// outside a frame are ignored; 'P' starts a new frame wherever it comes (a partial frame is
// dropped); 'Q' ends it; 'R' stores the next byte complemented, unless that byte is 'P' or
// 'Q', which keep their meaning. Of a frame at most 64 bytes (code and 63 payload bytes) are
// kept and the rest dropped; a frame without a code byte is ignored.
class FrameParser {
public:
    static constexpr std::size_t kMaxStored = 1 + Frame::kMaxPayload;

    // True when the byte completed a frame; frame() then holds it until the next byte.
    bool push(std::uint8_t byte);
    const Frame& frame() const { return frame_; }
    // Forgets a partial frame.
    void reset();

private:
    std::array<std::uint8_t, kMaxStored> stored_{};
    std::size_t count_ = 0;
    bool inFrame_ = false;
    bool escaped_ = false;
    Frame frame_;
};

}  // namespace Controller
