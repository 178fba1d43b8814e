#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "Midi/MtcMessage.h"

namespace Midi {

// Puts incoming quarter frames together into times. Pieces 0 to 6 are kept as they come;
// piece 7 completes a time, but only when every piece 0 to 6 arrived since the last
// completion (or reset), so a receiver that joins in the middle of a sequence never yields a
// time made of stale and fresh halves. One thread only.
class MtcAssembler {
public:
    // Takes the data byte of one quarter frame; the time once piece 7 completes one.
    std::optional<MtcMessage::ReceivedTime> add(std::uint8_t dataByte);
    // Forgets which pieces arrived (the kept values stay, as they would on the wire).
    void reset() { received_ = 0; }

private:
    std::array<int, 7> nibbles_{};
    unsigned received_ = 0;  // bit n: piece n arrived since the last completion
};

}  // namespace Midi
