#include "Project/Operations/OperationAddCue.h"

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationAddCue::execute(ProjectData& data)
{
    add(data.getCueList());
    return true;
}

bool OperationAddCue::undo(ProjectData& data)
{
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (cue->getId() == cueId_) {
            cues.remove(cue);
            return true;
        }
    }
    return failOperation(kGenericError);
}

bool OperationAddCue::redo(ProjectData& data)
{
    add(data.getCueList());
    return true;
}

void OperationAddCue::add(CueList& cues)
{
    // The first run takes a new id; redo brings the cue back under the same one.
    Cue* added = cues.add(timecode_, command_, 0, duration_, 1, cueId_, std::string());
    cueId_ = added->getId();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        cue->setSelected(cue == added);
    }
}

}  // namespace Project
