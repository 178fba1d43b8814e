#include "Project/Operations/OperationSetCueMeta.h"

#include <algorithm>

#include "Project/ProjectData.h"

namespace Project {

bool OperationSetCueMeta::execute(ProjectData& data)
{
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (allCues_ || cue->isSelected()) {
            const KeyValueList& metadata = cue->getMetadata();
            const int index = metadata.indexOf(key_);
            records_.emplace(cue->getId(), index >= 0 ? Record{index, *metadata.valueAt(index)}
                                                      : Record{-1, kAbsent});
        }
    }
    apply(data, false);
    return true;
}

bool OperationSetCueMeta::undo(ProjectData& data)
{
    apply(data, true);
    return true;
}

bool OperationSetCueMeta::redo(ProjectData& data)
{
    apply(data, false);
    return true;
}

void OperationSetCueMeta::apply(ProjectData& data, bool restore) const
{
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const auto record = records_.find(cue->getId());
        if (record == records_.end()) {
            continue;
        }
        const std::wstring& value = restore ? record->second.value : value_;
        KeyValueList& metadata = cue->getMetadata();
        const int index = metadata.indexOf(key_);
        if (value != kAbsent) {
            if (index >= 0) {
                metadata.setValue(index, value);
            } else {
                // Back at its old place when restored; appended otherwise.
                const int insertAt = restore ? record->second.index : -1;
                metadata.insert(std::min(insertAt, metadata.size()), key_, value);
            }
        } else if (index >= 0) {
            metadata.remove(index);
        }
    }
}

}  // namespace Project
