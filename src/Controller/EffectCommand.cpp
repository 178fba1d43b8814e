#include "Controller/EffectCommand.h"

#include <algorithm>
#include <cmath>

#include "Controller/CommandWords.h"
#include "Project/Cue.h"
#include "Project/CueCommand.h"
#include "Timecode/SMPTE.h"

namespace Controller {

namespace {

bool isRunning(int state)
{
    return state == Project::CUE_PREFIRE || state == Project::CUE_ACTIVE;
}

}  // namespace

EffectCommand::EffectCommand(Project::Cue* cue, bool immediate, int64_t counterFrequency)
    : cue_(cue),
      word_(0),
      pyro_(cue->getCommand().getType() == Project::CueCommand::TYPE_PYRO),
      dmx_(cue->getCommand().getType() == Project::CueCommand::TYPE_DMX512),
      immediate_(immediate),
      counterFrequency_(counterFrequency),
      state_(cue->getState()),
      publishedState_(cue->getState())
{
    if (pyro_) {
        word_ = CommandWords::fireWord(cue->getCommand().getAddress());
    } else if (dmx_) {
        // From the command's channel fields, never its "no channel" word: a DMX text alone
        // used to go out as universe 127, channel 512, full. The compile leaves such cues out.
        const Project::CueCommand& command = cue->getCommand();
        word_ =
            CommandWords::dmxWord(command.getUniverse(), command.getAddress(), command.getValue());
    }
}

int64_t EffectCommand::toCounts(int frames) const
{
    // A negative time is none (the cue check refuses a negative prefire before a show), and
    // the count stays far from the 64-bit limit for any int of frames.
    const double fps = SMPTE::framesPerSecond(cue_->getTimecode().getFormat());
    const double counts =
        std::trunc(std::max(frames, 0) * static_cast<double>(counterFrequency_) / fps);
    return static_cast<int64_t>(std::min(counts, 0x1p60));
}

void EffectCommand::applyEvent(int64_t counter, int event)
{
    switch (event) {
        case EVENT_RESET:
            state_ = Project::CUE_DISABLED;
            fireMoment_ = 0;
            executed_ = false;
            suppressed_ = false;
            break;
        case EVENT_DEACTIVATE:
            if (state_ == Project::CUE_QUEUED || state_ == Project::CUE_NEXT) {
                state_ = Project::CUE_DISABLED;
            }
            break;
        case EVENT_ACTIVATE:
            if (state_ == Project::CUE_DISABLED) {
                state_ = executed_     ? Project::CUE_DONE
                         : suppressed_ ? Project::CUE_SKIPPED
                                       : Project::CUE_QUEUED;
            }
            break;
        case EVENT_NEXT:
            if (!isRunning(state_)) {
                state_ = Project::CUE_NEXT;
            }
            break;
        case EVENT_EXECUTED:
            if (!isRunning(state_)) {
                fireMoment_ = counter;
                prefireEnd_ = counter + (immediate_ ? 0 : toCounts(cue_->getPrefireTime()));
                activeEnd_ = prefireEnd_ + toCounts(cue_->getDuration());
                state_ = Project::CUE_PREFIRE;
            }
            executed_ = true;
            break;
        case EVENT_SUPPRESSED:
            if (!isRunning(state_) && state_ != Project::CUE_DONE) {
                state_ = executed_ ? Project::CUE_DONE : Project::CUE_SKIPPED;
            }
            suppressed_ = true;
            break;
        case EVENT_OUTCOME_UNKNOWN:
            // A cue that is known to have run keeps its state; any other is given up.
            if (!isRunning(state_) && state_ != Project::CUE_DONE) {
                state_ = Project::CUE_SKIPPED;
                suppressed_ = true;
            }
            break;
        default:  // EVENT_TICK and anything else: the timers only
            break;
    }
}

void EffectCommand::runTimers(int64_t counter)
{
    if (state_ == Project::CUE_PREFIRE && counter >= prefireEnd_) {
        state_ = Project::CUE_ACTIVE;
    }
    if (state_ == Project::CUE_ACTIVE && counter >= activeEnd_) {
        state_ = Project::CUE_DONE;
    }
}

bool EffectCommand::update(int64_t counter, int event, CueStateMap* stateMap)
{
    applyEvent(counter, event);
    runTimers(counter);
    if (stateMap != nullptr && state_ != publishedState_) {
        (*stateMap)[cue_] = state_;
        publishedState_ = state_;
    }
    return !isRunning(state_);
}

}  // namespace Controller
