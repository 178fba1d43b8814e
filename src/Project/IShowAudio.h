#pragma once

#include "Timecode/SMPTE.h"

namespace Project {

// What the show state needs of the soundtrack player. The player lives in a higher module;
// an adapter there implements this and forwards the player's events to the show state.
class IShowAudio {
public:
    virtual ~IShowAudio() = default;

    // Play also clears the player's recording flag, as stop does.
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual void locate(const SMPTE& time) = 0;

    // The playback position and the track's length as labels in `format`; the length is
    // 00:00:00:00 when no track is loaded.
    virtual SMPTE getPosition(int format) = 0;
    virtual SMPTE getLength(int format) const = 0;
    // A track is loaded.
    virtual bool isLoaded() const = 0;
    // Neither playing nor paused (no track counts as stopped).
    virtual bool isStopped() const = 0;
    virtual bool isRecording() const = 0;
};

}  // namespace Project
