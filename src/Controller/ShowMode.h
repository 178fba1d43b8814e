#pragma once

namespace Controller {

// How a show is clocked, chosen when it is compiled.
enum ShowMode : int {
    SHOW_AUDIO_CLOCK = 0,  // the PC triggers each time slot from the soundtrack
    SHOW_CLOCK_OUT = 1,    // the controller's own timecode clock, which it sends out
    SHOW_CLOCK_IN = 2,     // the controller follows incoming timecode
    SHOW_MANUAL_FIRE = 3,  // the operator steps through the firing groups by hand
};

}  // namespace Controller
