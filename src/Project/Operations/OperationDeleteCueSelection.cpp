#include "Project/Operations/OperationDeleteCueSelection.h"

#include "Project/ProjectData.h"

namespace Project {

bool OperationDeleteCueSelection::execute(ProjectData& data)
{
    executed_ = true;
    // With their places, so that undo puts each cue back where it was among the cues of its
    // timecode.
    captured_.captureSelected(data.getCueList());
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
