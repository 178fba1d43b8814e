#include "Project/Operations/OperationPatchFixtures.h"

#include <string>

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationPatchFixtures::execute(ProjectData& data)
{
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (cue->isSelected() && cue->getCommand().getType() == CueCommand::TYPE_DMX512) {
            before_.take(*cue);
        }
    }
    std::wstring errorKey;
    const bool patched =
        patchFixturesIntoCues(cues, fixtures_, settings_, data.getFormat(), &errorKey);
    // The presets may be gone by the time of a redo.
    fixtures_.clear();
    if (!patched) {
        return failOperation(errorKey.empty() ? kGenericError : errorKey);
    }
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (before_.contains(cue->getId())) {
            after_.take(*cue);
        }
    }
    return true;
}

bool OperationPatchFixtures::undo(ProjectData& data)
{
    return before_.applyTo(data.getCueList()) || failOperation(kGenericError);
}

bool OperationPatchFixtures::redo(ProjectData& data)
{
    return after_.applyTo(data.getCueList()) || failOperation(kGenericError);
}

}  // namespace Project
