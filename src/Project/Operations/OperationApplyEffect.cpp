#include "Project/Operations/OperationApplyEffect.h"

#include "Project/EffectAssignment.h"
#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationApplyEffect::execute(ProjectData& data)
{
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (cue->isSelected()) {
            before_.take(*cue);
        }
    }
    refusedPrefire_ = applyEffectToSelectedCues(cues, effect_, data.getFormat());
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (before_.contains(cue->getId())) {
            after_.take(*cue);
        }
    }
    return true;
}

bool OperationApplyEffect::undo(ProjectData& data)
{
    return before_.applyTo(data.getCueList()) || failOperation(kGenericError);
}

bool OperationApplyEffect::redo(ProjectData& data)
{
    return after_.applyTo(data.getCueList()) || failOperation(kGenericError);
}

}  // namespace Project
