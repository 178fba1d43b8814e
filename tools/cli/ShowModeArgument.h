#pragma once

#include <optional>
#include <string>

#include "Controller/ShowMode.h"

namespace Cli {

// The --mode argument of the show commands: audio, clock-out, clock-in or manual.
inline std::optional<int> parseShowMode(const std::string& text)
{
    if (text == "audio") {
        return Controller::SHOW_AUDIO_CLOCK;
    }
    if (text == "clock-out") {
        return Controller::SHOW_CLOCK_OUT;
    }
    if (text == "clock-in") {
        return Controller::SHOW_CLOCK_IN;
    }
    if (text == "manual") {
        return Controller::SHOW_MANUAL_FIRE;
    }
    return std::nullopt;
}

}  // namespace Cli
