#include "Project/Operations/OperationSetGroupName.h"

#include "Platform/Utf.h"
#include "Project/ProjectData.h"

namespace Project {

OperationSetGroupName::OperationSetGroupName(const std::wstring& name)
    : name_(Platform::toLowBytes(name))
{
}

bool OperationSetGroupName::execute(ProjectData& data)
{
    CueList& cues = data.getCueList();
    const CueList::CueItem* first = cues.first();
    while (first != cues.end() && !first->isSelected()) {
        first = first->getNext();
    }
    if (first != cues.end()) {
        const int group = first->getGroup();
        for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
            if (cue->getGroup() == group) {
                oldNames_.emplace(cue->getId(), cue->getGroupName());
            }
        }
    }
    apply(data, false);
    return true;
}

bool OperationSetGroupName::undo(ProjectData& data)
{
    apply(data, true);
    return true;
}

bool OperationSetGroupName::redo(ProjectData& data)
{
    apply(data, false);
    return true;
}

void OperationSetGroupName::apply(ProjectData& data, bool restore) const
{
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const auto old = oldNames_.find(cue->getId());
        if (old != oldNames_.end()) {
            cue->setGroupName(restore ? old->second : name_);
        }
    }
}

}  // namespace Project
