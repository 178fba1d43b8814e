#pragma once

namespace Project {

// The values a cue field takes, as the sidebar's fields let one type them: group 1..16, pyro
// address 0..0xFFF or none (-1, a cleared field), DMX universe 0..0x7F, DMX channel 0..511
// (typed 1..512) or none (-1, a cleared DMX text), DMX value
// 0..255, chase speed 0..1000, pyro type and chase path 1 or 2, prefire time, duration and
// quantity 0 or more. A command word (conversion to pyro or DMX) must decode to a command
// inside these ranges. The fields check typed text with it, and OperationSetCueValue refuses
// any other value with the same key, so that an edit from elsewhere (a script, an import)
// cannot store what the fields would refuse.
namespace CueValueLimits {

// The localization key that tells why `value` is refused for the value type of
// OperationSetCueValue, or nullptr when it is accepted (also for types without a range).
const wchar_t* refusal(int valueType, int value);

}  // namespace CueValueLimits

}  // namespace Project
