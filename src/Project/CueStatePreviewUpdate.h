#pragma once

#include <cstdint>
#include <optional>

#include "Project/IOperation.h"

namespace Project {

class CueStatePreview;

// Sets every cue's state to what the play position alone implies, outside show mode: queued
// before its fire time (timecode minus prefire), prefire until its timecode, active for its
// duration (3 frames when it has none), then done. The first cue in list order whose fire
// time lies after the position is next, together with every cue of exactly that fire time.
// Every cue shows as tested, with no continuity or communication fault. Passive, cannot fail.
// The show state submits it after every position change; it lives with the model, as the
// show state does, so that the model needs nothing from the operations above it.
class CueStatePreviewUpdate : public IOperation {
public:
    // A cue without a duration shows as active for this many frames.
    static constexpr int kMinimumActiveFrames = 3;

    // With `preview`, only the cues whose state the move since its last update can change are
    // set (see CueStatePreview); without, every cue is.
    CueStatePreviewUpdate(int positionFrames, int frameRate, CueStatePreview* preview = nullptr)
        : positionFrames_(positionFrames), frameRate_(frameRate), preview_(preview)
    {
    }

    bool execute(ProjectData& data) override;
    bool isPassive() const override { return true; }

    int getPositionFrames() const { return positionFrames_; }
    // The frame rate rounded to a whole number: 24, 25 or 30.
    int getFrameRate() const { return frameRate_; }

    // The preview state of one cue (frames throughout); `nextFire` carries the walk's next
    // fire time from cue to cue in list order and starts empty.
    static int previewState(int timecode, int prefire, int duration, int position,
                            std::optional<int64_t>& nextFire);

private:
    int positionFrames_;
    int frameRate_;
    CueStatePreview* preview_;
};

}  // namespace Project
