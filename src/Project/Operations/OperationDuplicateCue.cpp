#include "Project/Operations/OperationDuplicateCue.h"

#include <vector>

#include "Project/ProjectData.h"

namespace Project {

bool OperationDuplicateCue::execute(ProjectData& data)
{
    CueList& cues = data.getCueList();
    std::vector<CueList::CueItem*> originals;
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (cue->isSelected()) {
            originals.push_back(cue);
        }
    }
    for (CueList::CueItem* original : originals) {
        original->setSelected(false);
    }
    for (CueList::CueItem* original : originals) {
        CueList::CueItem* duplicate = cues.addCopy(*original, true);
        duplicate->setSelected(true);
        duplicates_.capture(*duplicate);
        originalIds_.insert(original->getId());
    }
    return true;
}

bool OperationDuplicateCue::undo(ProjectData& data)
{
    CueList& cues = data.getCueList();
    duplicates_.removeFrom(cues);
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (originalIds_.count(cue->getId()) != 0) {
            cue->setSelected(true);
        }
    }
    return true;
}

bool OperationDuplicateCue::redo(ProjectData& data)
{
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        cue->setSelected(false);
    }
    // The copies were taken selected.
    duplicates_.addTo(cues);
    return true;
}

}  // namespace Project
