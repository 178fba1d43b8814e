#include "Project/Operations/OperationSelectAll.h"

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationSelectAll::execute(ProjectData& data)
{
    apply(data, selected_);
    return true;
}

bool OperationSelectAll::undo(ProjectData& data)
{
    apply(data, !selected_);
    return true;
}

void OperationSelectAll::apply(ProjectData& data, bool selected) const
{
    reportSelectionChanging();
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        cue->setSelected(selected);
    }
}

}  // namespace Project
