#include "Project/Operations/OperationResetCue.h"

#include <memory>

#include "Project/ProjectData.h"

namespace Project {

namespace {

// The cue as a reset leaves it.
std::unique_ptr<Cue> resetCopy(const Cue& cue)
{
    auto reset =
        std::make_unique<Cue>(cue.getTimecode(), CueCommand(cue.getCommand().getType()),
                              cue.getPrefireTime(), 0, 1, cue.getId(), cue.getReminderText());
    // The renumbering after the operation gives the real number.
    reset->setNumber(1);
    reset->setGroupName(cue.getGroupName());
    reset->setQuantity(cue.getQuantity());
    reset->setPyroType(cue.getPyroType());
    reset->setState(cue.getState(), cue.getFlags(), ~0);
    reset->setSelected(cue.isSelected());
    reset->setNextAddress(cue.getNextAddress());
    reset->setDmxDuration(cue.getDmxDuration());
    return reset;
}

}  // namespace

bool OperationResetCue::execute(ProjectData& data)
{
    // The reset copies take the places of their originals, so that cues sharing a timecode
    // keep their order through the reset, its undo and its redo.
    originals_.captureSelected(data.getCueList());
    for (std::size_t i = 0; i < originals_.cues().size(); ++i) {
        resetCues_.capture(*resetCopy(*originals_.cues()[i]), originals_.placeAt(i));
    }
    return redo(data);
}

bool OperationResetCue::undo(ProjectData& data)
{
    CueList& cues = data.getCueList();
    resetCues_.removeFrom(cues);
    originals_.addTo(cues);
    return true;
}

bool OperationResetCue::redo(ProjectData& data)
{
    CueList& cues = data.getCueList();
    originals_.removeFrom(cues);
    resetCues_.addTo(cues);
    return true;
}

}  // namespace Project
