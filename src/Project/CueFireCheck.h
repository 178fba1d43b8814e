#pragma once

#include <cstdint>

#include "Project/Cue.h"
#include "Project/CueCommand.h"

namespace Project {

// Whether the firing controller can carry out a cue exactly as it stands. The controller's
// words carry a pyro address as module and pin, a DMX channel as universe, channel and value
// in fixed bit fields, a slot's time as a label of one day and a manual step's delay in 24
// bits of milliseconds; a value outside those would land in another field, or wrap, and fire
// or set something else or at another time. Such a cue is refused before a show, never
// wrapped.
namespace CueFireCheck {

// The ranges the program lets one type: pyro addresses 0..0xFFF (module 0..255, pin 0..15),
// DMX universe 0..127, channel 0..511 (typed as 1..512), value 0..255.
constexpr int kMaxPyroAddress = 0xFFF;
constexpr int kMaxDmxUniverse = 127;
constexpr int kMaxDmxChannel = 511;
constexpr int kMaxDmxValue = 255;
// The longest prefire time a manual step's delay word holds, in milliseconds.
constexpr int64_t kMaxPrefireMilliseconds = 0xFFFFFF;

enum Problem {
    FIREABLE = 0,
    FIRES_BEFORE_ZERO,      // timecode minus prefire below frame 0
    NO_COMMAND,             // no address and no DMX text, a reminder, or a pyro cue without address
    ADDRESS_OUT_OF_RANGE,   // pyro address or DMX channel outside the typed range
    NO_CHANNEL,             // a DMX cue with a DMX text but no channel the controller can set
    VALUE_OUT_OF_RANGE,     // DMX value outside 0..255
    UNIVERSE_OUT_OF_RANGE,  // DMX universe outside 0..127
    NEGATIVE_PREFIRE,       // a prefire below 0 would fire the cue after its timecode
    FIRES_AFTER_DAY,        // timecode or firing moment at or past 24 hours
    PREFIRE_TOO_LONG,       // longer than a manual step's delay can hold (about 4 h 39 min)
};

// The command's problem, FIREABLE when it compiles to a controller word that means it.
Problem commandProblem(const CueCommand& command);
// The cue's problem: its timing first (prefire, firing moment), then the command's.
Problem cueProblem(const Cue& cue);

// The localization key that explains a problem; its text takes the cue's number ("%d").
// nullptr for FIREABLE.
const wchar_t* problemKey(Problem problem);
// A short English name of the problem for machine-readable output ("fires-before-zero").
// nullptr for FIREABLE.
const char* problemName(Problem problem);

}  // namespace CueFireCheck

}  // namespace Project
