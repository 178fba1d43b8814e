#include "Project/Operations/OperationDeleteCueSelection.h"

#include "Project/ProjectData.h"

namespace Project {

bool OperationDeleteCueSelection::execute(ProjectData& data)
{
    executed_ = true;
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (cue->isSelected()) {
            captured_.capture(*cue);
        }
    }
    return redo(data);
}

bool OperationDeleteCueSelection::undo(ProjectData& data)
{
    captured_.addTo(data.getCueList());
    return true;
}

bool OperationDeleteCueSelection::redo(ProjectData& data)
{
    captured_.removeFrom(data.getCueList());
    return true;
}

}  // namespace Project
