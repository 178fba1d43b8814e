#include "Controller/FrameParser.h"

#include <algorithm>

#include "Controller/FrameWriter.h"

namespace Controller {

bool FrameParser::push(std::uint8_t byte)
{
    if (byte == FrameWriter::kStart) {
        inFrame_ = true;
        escaped_ = false;
        count_ = 0;
        return false;
    }
    if (!inFrame_) {
        return false;
    }
    if (byte == FrameWriter::kEnd) {
        inFrame_ = false;
        escaped_ = false;
        if (count_ == 0) {
            return false;
        }
        frame_.code = stored_[0];
        frame_.size = count_ - 1;
        std::copy(stored_.begin() + 1, stored_.begin() + count_, frame_.payload.begin());
        return true;
    }
    if (byte == FrameWriter::kEscape && !escaped_) {
        escaped_ = true;
        return false;
    }
    const std::uint8_t value = escaped_ ? static_cast<std::uint8_t>(~byte) : byte;
    escaped_ = false;
    if (count_ < kMaxStored) {
        stored_[count_++] = value;
    }
    return false;
}

void FrameParser::reset()
{
    inFrame_ = false;
    escaped_ = false;
    count_ = 0;
}

}  // namespace Controller
