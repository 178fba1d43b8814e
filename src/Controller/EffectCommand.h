#pragma once

#include <cstdint>

#include "Controller/ICommand.h"

namespace Controller {

// The command of one pyro or DMX cue. It keeps its own copy of the cue's state while the
// controller works through the show, with the moments (performance-counter values) at which
// the prefire and active phases end.
class EffectCommand : public ICommand {
public:
    // `counterFrequency` is the performance counter's counts per second. An immediate command
    // belongs to a manual firing step: its prefire was already waited out by a delay word,
    // so it goes active as soon as it is executed.
    EffectCommand(Project::Cue* cue, bool immediate, int64_t counterFrequency);

    uint32_t getWord() const override { return word_; }
    Project::Cue* getCue() const override { return cue_; }
    bool update(int64_t counter, int event, CueStateMap* stateMap) override;
    bool isBlockingWait() const override { return false; }
    bool isPyro() const override { return pyro_; }
    bool isDmx() const override { return dmx_; }

    int getState() const { return state_; }
    int getPublishedState() const { return publishedState_; }
    bool isExecuted() const { return executed_; }
    bool isSuppressed() const { return suppressed_; }
    bool isImmediate() const { return immediate_; }
    int64_t getFireMoment() const { return fireMoment_; }
    int64_t getPrefireEnd() const { return prefireEnd_; }
    int64_t getActiveEnd() const { return activeEnd_; }

private:
    void applyEvent(int64_t counter, int event);
    void runTimers(int64_t counter);
    // Frames of the cue's own format in performance-counter counts.
    int64_t toCounts(int frames) const;

    Project::Cue* cue_;
    uint32_t word_;
    bool pyro_;
    bool dmx_;
    bool immediate_;
    int64_t counterFrequency_;
    int state_;
    int publishedState_;
    int64_t fireMoment_ = 0;
    int64_t prefireEnd_ = 0;
    int64_t activeEnd_ = 0;
    bool executed_ = false;
    bool suppressed_ = false;
};

}  // namespace Controller
