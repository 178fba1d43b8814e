#pragma once

#include "Project/IOperation.h"
#include "Project/Operations/CapturedCues.h"

namespace Project {

// Resets the selected cues: no metadata, no fixture channel values, duration 0, group 1 and
// an empty command of the cue's type (no address, universe 0, value 0, no DMX text, sine
// chase at speed 0). Timecode, prefire time, texts and the other fields stay.
//
// Each reset cue is replaced by a reset copy under the same id and at the same place among
// the cues of its timecode (the cue has no way to drop its fixture channel values in place);
// undo puts the captured originals back the same way.
class OperationResetCue : public IOperation {
public:
    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    std::wstring getUndoText() const override { return L"UNDO.RESET_CUE"; }
    std::wstring getRedoText() const override { return L"REDO.RESET_CUE"; }

private:
    CapturedCues originals_;
    CapturedCues resetCues_;
};

}  // namespace Project
