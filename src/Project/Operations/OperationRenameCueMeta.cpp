#include "Project/Operations/OperationRenameCueMeta.h"

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationRenameCueMeta::execute(ProjectData& data)
{
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const KeyValueList& metadata = cue->getMetadata();
        if (!cue->isSelected() || metadata.indexOf(oldKey_) < 0) {
            continue;
        }
        if (metadata.indexOf(newKey_) >= 0) {
            cueIds_.clear();
            return failOperation(L"ERROR.COULD_NOT_RENAME_BECAUSE_CUE_META_KEY_ALREADY_EXISTS");
        }
        cueIds_.insert(cue->getId());
    }
    rename(data, oldKey_, newKey_);
    return true;
}

bool OperationRenameCueMeta::undo(ProjectData& data)
{
    rename(data, newKey_, oldKey_);
    return true;
}

bool OperationRenameCueMeta::redo(ProjectData& data)
{
    rename(data, oldKey_, newKey_);
    return true;
}

void OperationRenameCueMeta::rename(ProjectData& data, const std::wstring& from,
                                    const std::wstring& to) const
{
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (cueIds_.count(cue->getId()) != 0) {
            KeyValueList& metadata = cue->getMetadata();
            metadata.setKey(metadata.indexOf(from), to);
        }
    }
}

}  // namespace Project
