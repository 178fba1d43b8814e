#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "Timecode/SMPTE.h"

// The bytes of MIDI time code: quarter frames, full frames and the set-up message sent when
// the output opens.
namespace Midi::MtcMessage {

inline constexpr std::uint8_t kQuarterFrame = 0xF1;
inline constexpr std::uint8_t kSysExStart = 0xF0;
inline constexpr std::uint8_t kSysExEnd = 0xF7;

using QuarterFrame = std::array<std::uint8_t, 2>;
using FullFrame = std::array<std::uint8_t, 10>;
using UserBits = std::array<std::uint8_t, 14>;

// The rate code of a format: 0 for 24, 1 for 25, 2 for 29.97 drop-frame, 3 for 30 fps. The
// codes are the SMPTE::Format numbers.
int rateCode(int format);

// The data byte of quarter-frame piece 0..7 of `time`: piece << 4 | value, where pieces 0 to
// 6 carry the low and high nibbles of frames, seconds, minutes and hours in this order and
// piece 7 the rate code and bit 4 of the hours. Hours count on a 24-hour clock.
std::uint8_t quarterFramePiece(const SMPTE& time, int piece);
QuarterFrame quarterFrame(const SMPTE& time, int piece);

// F0 7F 7F 01 01 hh mm ss ff F7, the rate code in bits 5 and 6 of the hours byte.
FullFrame fullFrame(const SMPTE& time);

// The user-bits message sent once an output opens: all bits clear.
UserBits userBits();

// A time assembled from eight quarter frames, as received: nothing is checked yet.
struct ReceivedTime {
    int rate = 0;
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int frames = 0;

    // Hours, minutes, seconds and frames make a label of the rate (frames below 24, 25 or 30),
    // so it can be built without tripping the timecode's range checks.
    bool isPossible() const;
    friend bool operator==(const ReceivedTime&, const ReceivedTime&) = default;
};

}  // namespace Midi::MtcMessage
