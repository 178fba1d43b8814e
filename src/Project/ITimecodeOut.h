#pragma once

#include "Timecode/SMPTE.h"

namespace Project {

// What the show state needs of the MIDI time code output. The MIDI service lives in a higher
// module and implements this (directly or through an adapter).
class ITimecodeOut {
public:
    virtual ~ITimecodeOut() = default;

    // A MIDI output is open.
    virtual bool isOutputOpen() const = 0;
    // Full-frame mode: every change of the show position is sent as a full-frame message.
    virtual bool isFullFrameMode() const = 0;
    virtual void setFullFrameMode(bool on) = 0;
    // Sends one full-frame message for `time` (nothing when no output is open).
    virtual void sendFullFrame(const SMPTE& time) = 0;
    // Starts and stops the quarter-frame generator.
    virtual void startQuarterFrames() = 0;
    virtual void stopQuarterFrames() = 0;
};

}  // namespace Project
