#pragma once

#include <string>

#include "Timecode/SMPTE.h"

namespace Midi {

// What the MIDI time code service needs of the program around it: the project's format,
// the show clock, the soundtrack player, the show state and a way to show a message box. The
// player and the windows live in modules above this one, so the program hands the service an
// adapter. Every call comes from the main thread except getClockPosition().
class IMidiHost {
public:
    enum Icon : int {
        ICON_INFORMATION = 0,
        ICON_ERROR = 1,
    };

    virtual ~IMidiHost() = default;

    // The project's timecode format (an SMPTE::Format).
    virtual int getFormat() const = 0;
    // The show clock's start position as a label in `format`: the soundtrack player's
    // position now. Called on the quarter-frame generator's thread as well, so it must not
    // touch main-thread state (the player's output worker answers it).
    virtual SMPTE getClockPosition(int format) = 0;

    // The soundtrack player plays (paused and stopped do not count).
    virtual bool isAudioPlaying() const = 0;
    virtual void pauseAudio() = 0;
    // Starts the player: as a recording pass when `recording`, plainly otherwise.
    virtual void playAudio(bool recording) = 0;
    // The show state's record request (the record command was given and not yet undone by
    // play, pause or stop).
    virtual bool isRecordRequested() const = 0;
    // The show state's locate: moves the clock source and sends a full frame.
    virtual void locate(const SMPTE& time) = 0;

    virtual void showMessage(const std::wstring& text, const std::wstring& caption, int icon) = 0;
};

}  // namespace Midi
