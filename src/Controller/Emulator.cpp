#include "Controller/Emulator.h"

#include <cwchar>

#include "Controller/CommandWords.h"
#include "Platform/Assert.h"
#include "Platform/Clock.h"
#include "Platform/Log.h"
#include "Project/CueList.h"
#include "Project/Project.h"

namespace Controller {

namespace {

constexpr int kMaxAddress = Emulator::kModules * Emulator::kPins - 1;

}  // namespace

Emulator::Emulator(const Platform::Clock* clock)
    : clock_(clock != nullptr ? *clock : Platform::Clock::steady())
{
}

void Emulator::reset()
{
    Project::Project* project = Project::getInstance();
    reset(project != nullptr ? &project->getProjectData().getCueList() : nullptr);
}

void Emulator::reset(const Project::CueList* cues)
{
    for (ModuleState& module : modules_) {
        module.tested = false;
        module.testMoment = 0;
        module.responsive = true;
        for (PinState& pin : module.pins) {
            pin.flags = static_cast<uint8_t>((pin.flags & PIN_KEPT) | PIN_CONTINUITY_BEFORE);
            pin.fireMoment = 0;
        }
    }
    if (cues != nullptr) {
        for (const Project::CueList::CueItem* cue = cues->first(); cue != cues->end();
             cue = cue->getNext()) {
            const Project::CueCommand& command = cue->getCommand();
            const int address = command.getAddress();
            if (command.isDefined() && command.getType() == Project::CueCommand::TYPE_PYRO &&
                address >= 0 && address <= kMaxAddress) {
                modules_[static_cast<std::size_t>(address / kPins)]
                    .pins[static_cast<std::size_t>(address % kPins)]
                    .flags |= PIN_ASSIGNED;
            }
        }
    }
    dmxDuration_ = 0;
    channels_.fill(ChannelState{});
    listeners_.notify(&Listener::onEmulatorReset);
}

void Emulator::execute(uint32_t word)
{
    const uint32_t kind = CommandWords::kind(word);
    if (kind == CommandWords::kFire) {
        const uint32_t module = (word >> 8) & 0xFFFF;
        const uint32_t pin = word & 0xFF;
        if (module >= kModules || pin >= kPins) {
            return;
        }
        ModuleState& state = modules_[module];
        PinState& fired = state.pins[pin];
        fired.flags |= PIN_FIRED;
        fired.fireMoment = clock_.now();
        for (PinState& other : state.pins) {
            other.flags &= static_cast<uint8_t>(~PIN_FIRING);
        }
        fired.flags = static_cast<uint8_t>((fired.flags & ~PIN_TESTED) | PIN_FIRING);
        listeners_.notify(&Listener::onModuleChanged, static_cast<int>(module),
                          static_cast<const ModuleState*>(&state));
        return;
    }
    switch (word & 0xFF000000u) {
        case 0x90000000u: dmxDuration_ = static_cast<int>(word & CommandWords::kDelayMask); break;
        case 0x91000000u: {
            if (((word >> 17) & 0x7F) != 0) {
                return;  // only universe 0 is emulated
            }
            const int channel = static_cast<int>((word >> 8) & 0x1FF);
            const int value = static_cast<int>(word & 0xFF);
            ChannelState& state = channels_[static_cast<std::size_t>(channel)];
            if (dmxDuration_ == 0) {
                if (state.value != value) {
                    state.value = static_cast<uint16_t>(value);
                    listeners_.notify(&Listener::onDmxChannelChanged, channel, value, false);
                }
            } else {
                state.timedValue = static_cast<uint16_t>(value);
                state.timedUntil = clock_.now() + dmxDuration_ * clock_.frequency() / 40;
                listeners_.notify(&Listener::onDmxChannelChanged, channel, value, true);
            }
            break;
        }
        case CommandWords::kDmxAllOff:
            channels_.fill(ChannelState{});
            listeners_.notify(&Listener::onDmxCleared);
            break;
        default: break;
    }
}

bool Emulator::moduleTested(int module, bool responsive, int continuity)
{
    if (module < 0 || module >= kModules) {
        return false;
    }
    // A diagnostic line, never on standard output: the command-line program keeps that for
    // its results.
    wchar_t line[80];
    std::swprintf(line, sizeof line / sizeof line[0],
                  L"EMULATOR: Pyro %02X checked, responsive: %d, continuity: %04X", module,
                  responsive ? 1 : 0, static_cast<unsigned>(continuity));
    Platform::logLine(line);
    ModuleState& state = modules_[static_cast<std::size_t>(module)];
    state.tested = true;
    state.testMoment = clock_.now();
    state.responsive = responsive;
    if (responsive) {
        for (int n = 0; n < kPins; ++n) {
            PinState& pin = state.pins[static_cast<std::size_t>(n)];
            const bool connected = ((continuity >> n) & 1) != 0;
            pin.flags = static_cast<uint8_t>((pin.flags & ~PIN_CONTINUITY) | PIN_TESTED |
                                             (connected ? PIN_CONTINUITY : 0));
            if ((pin.flags & PIN_FIRED) == 0) {
                pin.flags =
                    static_cast<uint8_t>((pin.flags & ~PIN_CONTINUITY_BEFORE) | PIN_TESTED_BEFORE |
                                         (connected ? PIN_CONTINUITY_BEFORE : 0));
            }
        }
    }
    listeners_.notify(&Listener::onModuleChanged, module, static_cast<const ModuleState*>(&state));
    return true;
}

bool Emulator::hasRunningTimers() const
{
    for (const ModuleState& state : modules_) {
        for (const PinState& pin : state.pins) {
            if ((pin.flags & PIN_FIRING) != 0) {
                return true;
            }
        }
    }
    for (const ChannelState& state : channels_) {
        if (state.timedUntil != kNoTime) {
            return true;
        }
    }
    return false;
}

void Emulator::tick()
{
    const int64_t now = clock_.now();
    const auto halfSecond = static_cast<int64_t>(static_cast<float>(clock_.frequency()) * 0.5f);
    for (int m = 0; m < kModules; ++m) {
        ModuleState& state = modules_[static_cast<std::size_t>(m)];
        bool changed = false;
        for (PinState& pin : state.pins) {
            if ((pin.flags & PIN_FIRING) != 0 && pin.fireMoment + halfSecond < now) {
                pin.flags &= static_cast<uint8_t>(~PIN_FIRING);
                changed = true;
            }
        }
        if (changed) {
            listeners_.notify(&Listener::onModuleChanged, m,
                              static_cast<const ModuleState*>(&state));
        }
    }
    for (int c = 0; c < kChannels; ++c) {
        ChannelState& state = channels_[static_cast<std::size_t>(c)];
        if (state.timedUntil != kNoTime && state.timedUntil < now) {
            state.timedUntil = kNoTime;
            listeners_.notify(&Listener::onDmxChannelChanged, c, static_cast<int>(state.value),
                              false);
        }
    }
}

Emulator::ModuleState Emulator::getModuleState(int address) const
{
    SKY_ASSERT(address >= 0, "Emulator");
    SKY_ASSERT(address < 128, "Emulator");
    return modules_[static_cast<std::size_t>(address)];
}

Emulator::ChannelState Emulator::getChannelState(int channel) const
{
    SKY_ASSERT(channel >= 0, "Emulator");
    SKY_ASSERT(channel < 512, "Emulator");
    return channels_[static_cast<std::size_t>(channel)];
}

}  // namespace Controller
