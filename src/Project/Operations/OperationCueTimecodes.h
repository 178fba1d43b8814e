#pragma once

#include <map>

#include "Project/IOperation.h"

namespace Project {

// Moves the selected cues to new timecodes, each computed from its own frame count; undo
// moves them back. Each cue takes its new place in the list as it moves. A cue that refuses
// its new timecode (it would fire before frame 0) makes the whole operation fail with
// "ERROR.GENERIC", with every cue back where it was.
class OperationCueTimecodes : public IOperation {
public:
    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    std::wstring getUndoText() const override { return L"UNDO.MOD_TIME"; }
    std::wstring getRedoText() const override { return L"REDO.MOD_TIME"; }

protected:
    OperationCueTimecodes() = default;
    // The frame count a cue at `oldFrame` moves to.
    virtual int newFrame(int oldFrame) const = 0;

private:
    // Sets every recorded cue to the frame count `frameOf` gives for its recorded one.
    template <typename FrameOf>
    bool move(ProjectData& data, FrameOf frameOf) const;

    // Cue id to frame count before execute.
    std::map<int, int> oldFrames_;
};

// Moves every selected cue to the same frame count.
class OperationSetTimecode : public OperationCueTimecodes {
public:
    explicit OperationSetTimecode(int frameNo) : frameNo_(frameNo) {}

protected:
    int newFrame(int /*oldFrame*/) const override { return frameNo_; }

private:
    int frameNo_;
};

// Moves every selected cue by a signed number of frames, not before frame 0.
class OperationTimecodeDelta : public OperationCueTimecodes {
public:
    explicit OperationTimecodeDelta(int delta) : delta_(delta) {}

protected:
    int newFrame(int oldFrame) const override;

private:
    int delta_;
};

}  // namespace Project
