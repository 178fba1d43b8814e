#include "Project/Operations/OperationSelection.h"

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationSelection::execute(ProjectData& data)
{
    apply(data, false);
    return true;
}

bool OperationSelection::undo(ProjectData& data)
{
    apply(data, true);
    return true;
}

void OperationSelection::apply(ProjectData& data, bool invert) const
{
    reportSelectionChanging();
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const auto entry = entries_.find(cue->getId());
        if (entry != entries_.end()) {
            cue->setSelected(entry->second != invert);
        }
    }
}

}  // namespace Project
