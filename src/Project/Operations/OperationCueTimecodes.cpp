#include "Project/Operations/OperationCueTimecodes.h"

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

int OperationTimecodeDelta::newFrame(int oldFrame) const
{
    const long long frame = static_cast<long long>(oldFrame) + delta_;
    return static_cast<int>(std::clamp(frame, 0LL, static_cast<long long>(INT_MAX)));
}

bool OperationCueTimecodes::execute(ProjectData& data)
{
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (cue->isSelected()) {
            oldFrames_.emplace(cue->getId(), cue->getTimecode().getFrameNo());
        }
    }
    return redo(data);
}

bool OperationCueTimecodes::undo(ProjectData& data)
{
    // The recorded places were accepted before, with the prefire times the cues have again.
    if (move(data, [](int oldFrame) { return oldFrame; })) {
        return true;
    }
    return failOperation(kGenericError);
}

bool OperationCueTimecodes::redo(ProjectData& data)
{
    if (move(data, [this](int oldFrame) { return newFrame(oldFrame); })) {
        return true;
    }
    move(data, [](int oldFrame) { return oldFrame; });
    return failOperation(kGenericError);
}

template <typename FrameOf>
bool OperationCueTimecodes::move(ProjectData& data, FrameOf frameOf) const
{
    // Collected first: a cue that moves changes its place in the list being walked.
    std::vector<std::pair<CueList::CueItem*, int>> moves;
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const auto old = oldFrames_.find(cue->getId());
        if (old != oldFrames_.end()) {
            moves.emplace_back(cue, frameOf(old->second));
        }
    }
    const int format = data.getFormat();
    for (const auto& [cue, frame] : moves) {
        if (!cue->setTimecode(SMPTE::fromFrameNo(format, frame))) {
            return false;
        }
    }
    return true;
}

}  // namespace Project
