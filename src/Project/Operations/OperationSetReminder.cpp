#include "Project/Operations/OperationSetReminder.h"

#include "Platform/Utf.h"
#include "Project/ProjectData.h"

namespace Project {

OperationSetReminder::OperationSetReminder(const std::wstring& text)
    : text_(Platform::toLowBytes(text))
{
}

bool OperationSetReminder::execute(ProjectData& data)
{
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (cue->isSelected()) {
            oldTexts_.emplace(cue->getId(), cue->getReminderText());
        }
    }
    apply(data, false);
    return true;
}

bool OperationSetReminder::undo(ProjectData& data)
{
    apply(data, true);
    return true;
}

bool OperationSetReminder::redo(ProjectData& data)
{
    apply(data, false);
    return true;
}

void OperationSetReminder::apply(ProjectData& data, bool restore) const
{
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const auto old = oldTexts_.find(cue->getId());
        if (old != oldTexts_.end()) {
            cue->setReminderText(restore ? old->second : text_);
        }
    }
}

}  // namespace Project
