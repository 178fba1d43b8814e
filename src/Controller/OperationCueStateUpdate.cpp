#include "Controller/OperationCueStateUpdate.h"

#include <utility>

#include "Project/Cue.h"
#include "Project/CueList.h"
#include "Project/ProjectData.h"

namespace Controller {

namespace {

constexpr int kStateFlagMask =
    Project::FLAG_TESTED | Project::FLAG_NO_CONTINUITY | Project::FLAG_COMMFAIL;

}  // namespace

OperationCueStateUpdate::OperationCueStateUpdate(CueStateMap states, int moduleAddress,
                                                 int continuity)
    : states_(std::move(states)), moduleAddress_(moduleAddress), continuity_(continuity)
{
}

bool OperationCueStateUpdate::execute(Project::ProjectData& data)
{
    Project::CueList& cues = data.getCueList();
    for (Project::CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const auto found = states_.find(cue);
        const int state = found != states_.end() ? found->second : cue->getState();
        int flags = 0;
        int mask = 0;
        const Project::CueCommand& command = cue->getCommand();
        if (command.getType() == Project::CueCommand::TYPE_PYRO) {
            const int address = command.getAddress();
            if (moduleAddress_ == kAllCues) {
                mask = kStateFlagMask;
            } else if (moduleAddress_ >= 0 && address >= 0 && (address & ~0xF) == moduleAddress_) {
                mask = kStateFlagMask;
                if (continuity_ == kNoAnswer) {
                    flags = Project::FLAG_TESTED | Project::FLAG_COMMFAIL;
                } else if ((continuity_ >> (address % 16)) & 1) {
                    flags = Project::FLAG_TESTED;
                } else {
                    flags = Project::FLAG_TESTED | Project::FLAG_NO_CONTINUITY;
                }
            }
        } else if (moduleAddress_ == kAllCues) {
            flags = Project::FLAG_TESTED;
            mask = kStateFlagMask;
        }
        if (moduleAddress_ == kAllCues) {
            mask |= Project::FLAG_OUTCOME_UNKNOWN;
        }
        if (!outcomeUnknown_.empty() && outcomeUnknown_.count(cue) != 0) {
            flags |= Project::FLAG_OUTCOME_UNKNOWN;
            mask |= Project::FLAG_OUTCOME_UNKNOWN;
        }
        cue->setState(state, flags, mask);
    }
    return true;
}

}  // namespace Controller
