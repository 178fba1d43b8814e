#pragma once

#include <array>
#include <cstdint>

#include "Platform/ListenerSet.h"

namespace Platform {
class Clock;
}

namespace Project {
class CueList;
}

namespace Controller {

// The field hardware behind the firing controller, as far as the program can know it: 128
// firing modules of 16 pins and 512 DMX channels. It replays the command words the device
// executed, keeps the module check results, and lets the firing marks and timed DMX values
// run out on a 100 ms tick. It talks to no device. Main thread only.
class Emulator {
public:
    static constexpr int kModules = 128;
    static constexpr int kPins = 16;
    static constexpr int kChannels = 512;
    static constexpr int64_t kNoTime = -1;  // all bits set: no timed value

    enum PinFlag : uint8_t {
        PIN_ASSIGNED = 0x01,           // a pyro cue of the project uses the pin
        PIN_FIRED = 0x02,              // a fire word for it was executed
        PIN_FIRING = 0x04,             // fired less than half a second ago
        PIN_CONTINUITY = 0x08,         // continuity at the last check
        PIN_TESTED = 0x10,             // tested since it last fired
        PIN_CONTINUITY_BEFORE = 0x20,  // continuity at the last check before it fired
        PIN_TESTED_BEFORE = 0x40,      // tested before it fired
        PIN_KEPT = 0x80,               // survives a reset; never set here
    };

    struct PinState {
        uint8_t flags = PIN_CONTINUITY_BEFORE;
        int64_t fireMoment = 0;
    };

    struct ModuleState {
        bool tested = false;
        int64_t testMoment = 0;
        bool responsive = true;
        std::array<PinState, kPins> pins{};
    };

    struct ChannelState {
        uint16_t value = 0;
        uint16_t timedValue = 0;
        int64_t timedUntil = kNoTime;
    };

    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void onEmulatorReset() {}
        virtual void onModuleChanged(int /*module*/, const ModuleState* /*state*/) {}
        virtual void onDmxCleared() {}
        virtual void onDmxChannelChanged(int /*channel*/, int /*value*/, bool /*timed*/) {}
    };

    // Times are read from `clock` (the steady clock unless a test hands in its own).
    explicit Emulator(const Platform::Clock* clock = nullptr);

    bool addListener(Listener* listener) { return listeners_.add(listener); }
    bool removeListener(Listener* listener) { return listeners_.remove(listener); }

    // Nothing fired, nothing tested, all DMX off; the pins the cues use marked assigned.
    // Without a list, the process-wide project's cues (none when there is no project).
    void reset(const Project::CueList* cues);
    void reset();
    void execute(uint32_t word);
    // A module's check result; continuity 0 when it did not answer. Module numbers come
    // from the device: one outside 0..127 is ignored (false).
    bool moduleTested(int module, bool responsive, int continuity);
    void tick();
    // Something runs out on a later tick: a pin's firing indication or a timed DMX value.
    bool hasRunningTimers() const;

    ModuleState getModuleState(int module) const;
    ChannelState getChannelState(int channel) const;
    int getDmxDuration() const { return dmxDuration_; }

private:
    const Platform::Clock& clock_;
    Platform::ListenerSet<Listener> listeners_;
    std::array<ModuleState, kModules> modules_{};
    std::array<ChannelState, kChannels> channels_{};
    int dmxDuration_ = 0;
};

}  // namespace Controller
