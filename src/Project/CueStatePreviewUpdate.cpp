#include "Project/CueStatePreviewUpdate.h"

#include "Project/Cue.h"
#include "Project/CueList.h"
#include "Project/CueStatePreview.h"
#include "Project/ProjectData.h"

namespace Project {

namespace {

constexpr int kStateFlagMask = FLAG_TESTED | FLAG_NO_CONTINUITY | FLAG_COMMFAIL;

}  // namespace

int CueStatePreviewUpdate::previewState(int timecode, int prefire, int duration, int position,
                                        std::optional<int64_t>& nextFire)
{
    // 64 bits wide: a damaged prefire or duration near the int limits must not wrap.
    const int64_t end =
        static_cast<int64_t>(timecode) + (duration == 0 ? kMinimumActiveFrames : duration);
    const int64_t fire = static_cast<int64_t>(timecode) - prefire;
    if (!nextFire && fire > position) {
        nextFire = fire;
        return CUE_NEXT;
    }
    if (nextFire && fire == *nextFire) {
        return CUE_NEXT;
    }
    if (position < fire) {
        return CUE_QUEUED;
    }
    if (position < timecode) {
        return CUE_PREFIRE;
    }
    if (position < end) {
        return CUE_ACTIVE;
    }
    return CUE_DONE;
}

bool CueStatePreviewUpdate::execute(ProjectData& data)
{
    CueList& cues = data.getCueList();
    if (preview_ != nullptr) {
        preview_->apply(cues, positionFrames_);
        return true;
    }
    std::optional<int64_t> nextFire;
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const int state = previewState(cue->getTimecode().getFrameNo(), cue->getPrefireTime(),
                                       cue->getDuration(), positionFrames_, nextFire);
        cue->setState(state, FLAG_TESTED, kStateFlagMask);
    }
    return true;
}

}  // namespace Project
