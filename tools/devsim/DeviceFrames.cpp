#include "DeviceFrames.h"

namespace Devsim {

namespace {

void appendEscaped(std::string& out, uint8_t byte)
{
    if (byte == Frame::kStart || byte == Frame::kEnd || byte == Frame::kEscape) {
        out.push_back(static_cast<char>(Frame::kEscape));
        out.push_back(static_cast<char>(static_cast<uint8_t>(~byte)));
    } else {
        out.push_back(static_cast<char>(byte));
    }
}

}  // namespace

std::string Frame::encode(uint8_t code, std::string_view payload)
{
    std::string out;
    out.reserve(payload.size() * 2 + 4);
    out.push_back(static_cast<char>(kStart));
    appendEscaped(out, code);
    for (char c : payload) {
        appendEscaped(out, static_cast<uint8_t>(c));
    }
    out.push_back(static_cast<char>(kEnd));
    return out;
}

bool FrameReader::push(uint8_t byte, Received& frame)
{
    if (byte == Frame::kStart) {
        inFrame_ = true;
        escaped_ = false;
        stored_.clear();
        return false;
    }
    if (!inFrame_) {
        return false;
    }
    if (byte == Frame::kEnd) {
        inFrame_ = false;
        escaped_ = false;
        if (stored_.empty()) {
            return false;
        }
        frame.code = static_cast<uint8_t>(stored_[0]);
        frame.payload = stored_.substr(1);
        stored_.clear();
        return true;
    }
    if (byte == Frame::kEscape && !escaped_) {
        escaped_ = true;
        return false;
    }
    const uint8_t value = escaped_ ? static_cast<uint8_t>(~byte) : byte;
    escaped_ = false;
    if (stored_.size() < Frame::kMaxStored) {
        stored_.push_back(static_cast<char>(value));
    }
    return false;
}

}  // namespace Devsim
