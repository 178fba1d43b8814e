#pragma once

#include <cstdint>

#include "Platform/Assert.h"

namespace Controller {

// The command words of the firing controller. The top four bits give the kind.
namespace CommandWords {

constexpr uint32_t kKindMask = 0xF0000000u;
constexpr uint32_t kTimecodeWait = 0x10000000u;  // | packed label: wait for that timecode
constexpr uint32_t kTriggerWait = 0x20000000u;   // wait for the PC's trigger
constexpr uint32_t kStepWait = 0x30000000u;      // wait for the operator's step; | ms: delay
constexpr uint32_t kFire = 0x80000000u;          // | module << 8 | pin
constexpr uint32_t kDmxDuration = 0x90000000u;   // | duration in 1/40 s
constexpr uint32_t kDmxKind = 0x90000000u;       // kind of every DMX word
constexpr uint32_t kDmxAllOff = 0x92000000u;
constexpr uint32_t kDelayMask = 0x00FFFFFFu;

inline uint32_t kind(uint32_t word)
{
    return word & kKindMask;
}

// Fire one pin: module = address / 16 in bits 8-15, pin = address % 16. Only addresses
// 0..0xFFF fit; larger ones used to wrap into another module (0x100005 fired module 0 pin 5),
// so the cue check and the compile leave such cues out before they get here.
inline uint32_t fireWord(int address)
{
    SKY_ASSERT(address >= 0 && address <= 0xFFF, "CommandWords");
    const auto a = static_cast<uint32_t>(address);
    return kFire | (a / 16) << 8 | (a % 16);
}

// Set one DMX channel: universe in bits 17-23, channel (0..511) in bits 8-16, value in bits
// 0-7. Out-of-range fields would spill into their neighbours and set another channel.
inline uint32_t dmxWord(int universe, int channel, int value)
{
    SKY_ASSERT(universe >= 0 && universe <= 127, "CommandWords");
    SKY_ASSERT(channel >= 0 && channel <= 511, "CommandWords");
    SKY_ASSERT(value >= 0 && value <= 255, "CommandWords");
    return kDmxKind | 0x01000000u | static_cast<uint32_t>(universe) << 17 |
           static_cast<uint32_t>(channel) << 8 | static_cast<uint32_t>(value);
}

// 0x1 followed by the label's BCD digits: frame units in bits 0-3, second, minute and hour
// units above them, then frame tens in bits 16-17, second tens 18-20, minute tens 21-23 and
// hour tens 24-25.
inline uint32_t timecodeWait(int hours, int minutes, int seconds, int frames)
{
    // A label past the day or a field beyond its digits would wrap into another time.
    SKY_ASSERT(hours >= 0 && hours <= 23 && minutes >= 0 && minutes <= 59 && seconds >= 0 &&
                   seconds <= 59 && frames >= 0 && frames <= 29,
               "CommandWords");
    const auto u = [](int v) { return static_cast<uint32_t>(v % 10); };
    const auto t = [](int v) { return static_cast<uint32_t>(v / 10); };
    return kTimecodeWait | u(frames) | u(seconds) << 4 | u(minutes) << 8 | u(hours) << 12 |
           (t(frames) & 0x3u) << 16 | (t(seconds) & 0x7u) << 18 | (t(minutes) & 0x7u) << 21 |
           (t(hours) & 0x3u) << 24;
}

}  // namespace CommandWords

}  // namespace Controller
