#pragma once

#include <cstdint>
#include <map>

namespace Project {
class Cue;
}

namespace Controller {

// What happens to a compiled command; the effect command's cue state follows these.
enum CommandEvent : int {
    EVENT_RESET = 0,
    EVENT_DEACTIVATE = 1,
    EVENT_ACTIVATE = 2,
    EVENT_TICK = 3,
    EVENT_NEXT = 4,
    EVENT_EXECUTED = 5,
    EVENT_SUPPRESSED = 6,
    // The device was placed past the command without a report of whether it ran.
    EVENT_OUTCOME_UNKNOWN = 7,
};

// Cue states that changed since they were last published, by cue. The keys are only
// compared, never followed, by whoever applies the map.
using CueStateMap = std::map<Project::Cue*, int>;

// One compiled command: a 32-bit word the firing controller executes, and for a cue's
// command that cue's state as the controller works through the show.
class ICommand {
public:
    virtual ~ICommand() = default;

    virtual uint32_t getWord() const = 0;
    // The cue the command stands for, or null.
    virtual Project::Cue* getCue() const = 0;
    // Applies the event at performance-counter value `counter`; published state changes go
    // into `stateMap` when given. True when the command is settled (not in prefire and not
    // active).
    virtual bool update(int64_t counter, int event, CueStateMap* stateMap) = 0;
    // The device stops here until something outside the command list lets it go on.
    virtual bool isBlockingWait() const = 0;
    virtual bool isPyro() const = 0;
    virtual bool isDmx() const = 0;
};

}  // namespace Controller
