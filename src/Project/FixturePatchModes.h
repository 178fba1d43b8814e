#pragma once

#include <cstdint>

// The choices of the start address screen, which patches devices of the selected fixture
// presets into the selected DMX cues from a start address. The values are stored; do not
// renumber them.
namespace Project {

// Which devices are filled and with which fixture. Device k counts from 1; N is the device
// count.
enum class PatchMode : int32_t {
    ALTERNATE = 0,    // two or more fixtures: device k gets fixture (k - 1) mod fixture count
    ODD = 1,          // one fixture: devices 1..N laid out, only odd k get values
    EVEN = 2,         // one fixture: only even k get values
    LEFT = 3,         // one fixture: only k <= N / 2 get values
    RIGHT = 4,        // one fixture: only k > N / 2 get values
    LEFTRIGHT = 5,    // two fixtures: the first half gets the first, the rest the second
    MANUALENTRY = 6,  // the device numbers of a typed comma-separated list
    SAME = 7,         // as MANUALENTRY with the list 1, 2, ..., N
};

// Where one device's step of values goes in the cue's DMX steps.
enum class LocationMode : int32_t {
    RESET = 1,      // the first device replaces all steps; later devices join the last step
    SCENE = 2,      // values join the last step (made when the cue has none)
    CHASE = 3,      // each device adds a new last step
    OWN_SCENE = 4,  // list modes with several fixtures: each fixture starts its own step
};

// The localization key of the mode's radio button.
constexpr const char* patchModeKey(PatchMode mode)
{
    switch (mode) {
        case PatchMode::ALTERNATE: return "PRESET.SCREEN.PATCH.RADIOBUTTON.ALTERNATE";
        case PatchMode::ODD: return "PRESET.SCREEN.PATCH.RADIOBUTTON.ODD";
        case PatchMode::EVEN: return "PRESET.SCREEN.PATCH.RADIOBUTTON.EVEN";
        case PatchMode::LEFT: return "PRESET.SCREEN.PATCH.RADIOBUTTON.LEFT";
        case PatchMode::RIGHT: return "PRESET.SCREEN.PATCH.RADIOBUTTON.RIGHT";
        case PatchMode::LEFTRIGHT: return "PRESET.SCREEN.PATCH.RADIOBUTTON.LEFTRIGHT";
        case PatchMode::MANUALENTRY: return "PRESET.SCREEN.PATCH.RADIOBUTTON.MANUALENTRY";
        case PatchMode::SAME: return "PRESET.SCREEN.PATCH.RADIOBUTTON.SAME";
    }
    return "";
}

constexpr const char* locationModeKey(LocationMode mode)
{
    switch (mode) {
        case LocationMode::RESET: return "PRESET.SCREEN.LOCATION.RADIOBUTTON.RESET";
        case LocationMode::SCENE: return "PRESET.SCREEN.LOCATION.RADIOBUTTON.SCENE";
        case LocationMode::CHASE: return "PRESET.SCREEN.LOCATION.RADIOBUTTON.CHASE";
        case LocationMode::OWN_SCENE: return "PRESET.SCREEN.LOCATION.RADIOBUTTON.OWN.SCENE";
    }
    return "";
}

// Whether the screen offers the mode for N devices and n selected fixtures.
constexpr bool isPatchModeEnabled(PatchMode mode, int deviceCount, int fixtureCount)
{
    const bool twoOrMore = deviceCount >= 2;
    const bool evenCount = twoOrMore && deviceCount % 2 == 0;
    switch (mode) {
        case PatchMode::SAME: return deviceCount > 0;
        case PatchMode::ALTERNATE: return twoOrMore && fixtureCount >= 2;
        case PatchMode::ODD:
        case PatchMode::EVEN: return twoOrMore && fixtureCount == 1;
        case PatchMode::LEFT:
        case PatchMode::RIGHT: return evenCount && fixtureCount == 1;
        case PatchMode::LEFTRIGHT: return evenCount && fixtureCount == 2;
        case PatchMode::MANUALENTRY: return true;
    }
    return false;
}

// The mode in effect: the chosen one while it is enabled, else SAME, else manual entry (which
// is always enabled).
constexpr PatchMode effectivePatchMode(PatchMode chosen, int deviceCount, int fixtureCount)
{
    if (isPatchModeEnabled(chosen, deviceCount, fixtureCount)) {
        return chosen;
    }
    if (isPatchModeEnabled(PatchMode::SAME, deviceCount, fixtureCount)) {
        return PatchMode::SAME;
    }
    return PatchMode::MANUALENTRY;
}

// Own scene is forced for the list modes with several fixtures and refused otherwise (scene
// takes its place).
constexpr LocationMode effectiveLocationMode(LocationMode chosen, PatchMode mode, int fixtureCount)
{
    const bool listMode = mode == PatchMode::MANUALENTRY || mode == PatchMode::SAME;
    if (listMode && fixtureCount > 1) {
        return LocationMode::OWN_SCENE;
    }
    return chosen == LocationMode::OWN_SCENE ? LocationMode::SCENE : chosen;
}

}  // namespace Project
