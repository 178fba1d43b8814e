#include "Controller/FrameWriter.h"

namespace Controller {

namespace {

void appendEscaped(std::vector<std::uint8_t>& frame, std::uint8_t byte)
{
    if (byte == FrameWriter::kStart || byte == FrameWriter::kEnd || byte == FrameWriter::kEscape) {
        frame.push_back(FrameWriter::kEscape);
        frame.push_back(static_cast<std::uint8_t>(~byte));
    } else {
        frame.push_back(byte);
    }
}

}  // namespace

std::vector<std::uint8_t> FrameWriter::build(std::uint8_t code, const std::uint8_t* payload,
                                             std::size_t size)
{
    std::vector<std::uint8_t> frame;
    frame.reserve(2 * size + 4);
    frame.push_back(kStart);
    appendEscaped(frame, code);
    for (std::size_t i = 0; i < size; ++i) {
        appendEscaped(frame, payload[i]);
    }
    frame.push_back(kEnd);
    return frame;
}

void FrameWriter::appendU16(std::vector<std::uint8_t>& payload, std::uint32_t value)
{
    payload.push_back(static_cast<std::uint8_t>(value));
    payload.push_back(static_cast<std::uint8_t>(value >> 8));
}

void FrameWriter::appendU32(std::vector<std::uint8_t>& payload, std::uint32_t value)
{
    appendU16(payload, value & 0xFFFF);
    appendU16(payload, value >> 16);
}

}  // namespace Controller
