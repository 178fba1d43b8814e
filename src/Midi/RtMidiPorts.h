#pragma once

#include <memory>
#include <string>

#include "Midi/IMidiPorts.h"

namespace Midi {

// The system's MIDI devices through RtMidi (ALSA sequencer or JACK on Linux). RtMidi's
// exceptions and error reports stop here and come back as results with the library's text.
class RtMidiPorts final : public IMidiPorts {
public:
    std::unique_ptr<Output> createOutput(const std::string& clientName) override;
    std::unique_ptr<Input> createInput(const std::string& clientName, unsigned queueLimit) override;
    std::string error() const override { return error_; }

private:
    std::string error_;
};

}  // namespace Midi
