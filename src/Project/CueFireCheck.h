#pragma once

#include "Project/Cue.h"
#include "Project/CueCommand.h"

namespace Project {

// Whether the firing controller can carry out a cue exactly as it stands. The controller's
// words carry a pyro address as module and pin and a DMX channel as universe, channel and
// value in fixed bit fields; a value outside the typed ranges would land in another field
// and fire or set something else. Such a cue is refused before a show, never wrapped.
namespace CueFireCheck {

// The ranges the program lets one type: pyro addresses 0..0xFFF (module 0..255, pin 0..15),
// DMX universe 0..127, channel 0..511 (typed as 1..512), value 0..255.
constexpr int kMaxPyroAddress = 0xFFF;
constexpr int kMaxDmxUniverse = 127;
constexpr int kMaxDmxChannel = 511;
constexpr int kMaxDmxValue = 255;

enum Problem {
    FIREABLE = 0,
    FIRES_BEFORE_ZERO,     // timecode minus prefire below frame 0
    NO_COMMAND,            // no address and no DMX text, a reminder, or a pyro cue without address
    ADDRESS_OUT_OF_RANGE,  // pyro address, DMX universe or DMX channel outside the typed range
    NO_CHANNEL,            // a DMX cue with a DMX text but no channel the controller can set
    VALUE_OUT_OF_RANGE,    // DMX value outside 0..255
};

// The command's problem, FIREABLE when it compiles to a controller word that means it.
Problem commandProblem(const CueCommand& command);
// The cue's problem: a fire time before zero first, then the command's.
Problem cueProblem(const Cue& cue);

}  // namespace CueFireCheck

}  // namespace Project
