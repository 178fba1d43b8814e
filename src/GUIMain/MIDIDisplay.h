#pragma once

#include <string>

#include "GUI/D2DComponent.h"
#include "Midi/MidiController.h"

namespace GUIMain {

// The MIDI time code state in the status display: "No MTC" with no time code port open,
// "Send MTC" while the program is master, "Receive MTC" while it follows another's clock.
class MIDIDisplay : public GUI::D2DComponent {
public:
    MIDIDisplay();

    std::wstring getWindowClassName() const override { return L"MIDIDisplay"; }
    void draw(GUI::RenderTarget& target) override;

    void setMode(Midi::MidiController::Mode mode);
    Midi::MidiController::Mode getMode() const { return mode_; }
    std::wstring getText() const { return textOf(mode_); }
    static std::wstring textOf(Midi::MidiController::Mode mode);

private:
    Midi::MidiController::Mode mode_ = Midi::MidiController::Mode::kNone;
};

}  // namespace GUIMain
