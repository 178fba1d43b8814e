#pragma once

#include "Controller/ICommand.h"

namespace Controller {

// A wait for a timecode, for the PC's trigger or for the operator's step, or a delay inside
// a manual firing step.
class WaitCommand : public ICommand {
public:
    explicit WaitCommand(uint32_t word);

    uint32_t getWord() const override { return word_; }
    Project::Cue* getCue() const override { return nullptr; }
    bool update(int64_t /*counter*/, int /*event*/, CueStateMap* /*stateMap*/) override
    {
        return true;
    }
    // Every wait blocks except a delay, which ends by itself.
    bool isBlockingWait() const override { return blocking_; }
    bool isPyro() const override { return false; }
    bool isDmx() const override { return false; }

private:
    uint32_t word_;
    bool blocking_;
};

}  // namespace Controller
