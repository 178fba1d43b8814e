#pragma once

#include <cstdint>

// The message numbers one service posts to another's worker, defined here once because the
// two services may not see each other: the soundtrack player drives the show clock of the
// controller's worker without either knowing the other.
namespace Platform {

// To the audio player's output worker; lParam: the controller worker's window (its value) that
// takes the clock ticks, or 0 to stop them.
inline constexpr std::uint32_t kMessageAudioClockTarget = 0x44A;
// From the output worker to that window; wParam: output rate; lParam: timeline position in
// samples. A tick while playing, a resync after a locate or stop.
inline constexpr std::uint32_t kMessageAudioClockTick = 0x54A;
inline constexpr std::uint32_t kMessageAudioClockResync = 0x54B;

}  // namespace Platform
