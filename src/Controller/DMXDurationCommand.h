#pragma once

#include "Controller/ICommand.h"

namespace Controller {

// Sets how long the DMX values that follow it last, in 1/40 s (0 for no limit).
class DMXDurationCommand : public ICommand {
public:
    explicit DMXDurationCommand(uint32_t ticks);

    uint32_t getWord() const override { return word_; }
    Project::Cue* getCue() const override { return nullptr; }
    bool update(int64_t /*counter*/, int /*event*/, CueStateMap* /*stateMap*/) override
    {
        return true;
    }
    bool isBlockingWait() const override { return false; }
    bool isPyro() const override { return false; }
    bool isDmx() const override { return false; }

private:
    uint32_t word_;
};

}  // namespace Controller
