#pragma once

#include <set>

#include "Controller/ICommand.h"
#include "Project/IOperation.h"

namespace Controller {

// Carries cue states from the running show into the cues, and optionally a module's
// continuity: the controller's worker builds it, the main thread executes it. Passive,
// cannot fail, not undoable.
class OperationCueStateUpdate : public Project::IOperation {
public:
    // Module address: a module number times 16, kAllCues, or kNoModule (states only).
    static constexpr int kAllCues = -2;
    static constexpr int kNoModule = -1;
    // Continuity word: one bit per pin, or kNoAnswer when the module did not answer.
    static constexpr int kNoAnswer = -1;

    explicit OperationCueStateUpdate(CueStateMap states, int moduleAddress = kNoModule,
                                     int continuity = kNoAnswer);

    // For every cue in list order: the mapped state (or the cue's own), and for the module's
    // pyro cues the continuity flags; with kAllCues the pyro cues lose their continuity
    // flags and every other cue is marked tested.
    bool execute(Project::ProjectData& data) override;
    // These cues also get FLAG_OUTCOME_UNKNOWN (kAllCues clears it on every cue).
    void setOutcomeUnknown(std::set<Project::Cue*> cues) { outcomeUnknown_ = std::move(cues); }
    const std::set<Project::Cue*>& getOutcomeUnknown() const { return outcomeUnknown_; }
    bool isPassive() const override { return true; }

    const CueStateMap& getStates() const { return states_; }
    int getModuleAddress() const { return moduleAddress_; }
    int getContinuity() const { return continuity_; }

private:
    CueStateMap states_;
    int moduleAddress_;
    int continuity_;
    std::set<Project::Cue*> outcomeUnknown_;
};

}  // namespace Controller
