#pragma once

#include <string>
#include <vector>

#include "Project/CueList.h"
#include "Project/Fixture.h"
#include "Project/FixturePatchModes.h"

namespace Project {

// What the start address screen collected.
struct PatchSettings {
    int startAddress = -1;  // first DMX channel of the first device, 1..512
    int deviceCount = -1;   // N
    PatchMode patchMode = PatchMode::SAME;
    LocationMode locationMode = LocationMode::SCENE;
    std::wstring manualEntry = L"1,3,8,9";  // device numbers for MANUALENTRY
};

// How the screen reads the start address and the device count: the trimmed text as a whole
// number; unreadable or negative text gives -1.
int readPatchNumber(const std::wstring& text);

// Lays devices of the fixtures (in selection order) out on consecutive DMX channels from the
// start address and writes each device's channel levels into the DMX steps of every selected
// DMX cue, then rebuilds the cues' DMX texts from their steps.
//
// Refused, with nothing changed and `errorKey` set, when no fixture is given, the start address
// is outside 1..512, a typed device number is below 1, the mode does not fit the device and
// fixture counts, or a device would reach past channel 512 (the universe ends there, and a
// channel beyond it would wrap onto a low channel in the command word).
bool patchFixturesIntoCues(CueList& cues, const std::vector<Fixture*>& fixtures,
                           const PatchSettings& settings, int format, std::wstring* errorKey);

}  // namespace Project
