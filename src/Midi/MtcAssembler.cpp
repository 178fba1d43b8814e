#include "Midi/MtcAssembler.h"

namespace Midi {

std::optional<MtcMessage::ReceivedTime> MtcAssembler::add(std::uint8_t dataByte)
{
    const int piece = dataByte >> 4;
    const int value = dataByte & 0x0F;
    if (piece < 7) {
        nibbles_[piece] = value;
        received_ |= 1u << piece;
        return std::nullopt;
    }
    if (piece != 7) {
        return std::nullopt;  // not a data byte
    }
    const bool complete = received_ == 0x7F;
    received_ = 0;
    if (!complete) {
        return std::nullopt;
    }
    MtcMessage::ReceivedTime time;
    time.hours = (value & 1) * 16 + nibbles_[6];
    time.minutes = nibbles_[4] + 16 * nibbles_[5];
    time.seconds = nibbles_[2] + 16 * nibbles_[3];
    time.frames = nibbles_[0] + 16 * nibbles_[1];
    time.rate = (value >> 1) & 3;
    return time;
}

}  // namespace Midi
