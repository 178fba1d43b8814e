#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Controller {

// Builds the frames of the serial link to the firing controller: 'P' (0x50), the message
// code, the payload, 'Q' (0x51). A code or payload byte that is one of the three framing
// bytes 0x50, 0x51 or 0x52 goes out as 'R' (0x52) followed by its complement.
class FrameWriter {
public:
    static constexpr std::uint8_t kStart = 0x50;
    static constexpr std::uint8_t kEnd = 0x51;
    static constexpr std::uint8_t kEscape = 0x52;

    static std::vector<std::uint8_t> build(std::uint8_t code, const std::uint8_t* payload,
                                           std::size_t size);
    static std::vector<std::uint8_t> build(std::uint8_t code,
                                           const std::vector<std::uint8_t>& payload = {})
    {
        return build(code, payload.data(), payload.size());
    }

    // Little-endian payload integers.
    static void appendU16(std::vector<std::uint8_t>& payload, std::uint32_t value);
    static void appendU32(std::vector<std::uint8_t>& payload, std::uint32_t value);
};

}  // namespace Controller
