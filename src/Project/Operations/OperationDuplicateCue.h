#pragma once

#include <set>

#include "Project/IOperation.h"
#include "Project/Operations/CapturedCues.h"

namespace Project {

// Duplicates every selected cue under a new id; afterwards only the duplicates are selected.
// A duplicate has the timecode of its original and so is placed after it.
class OperationDuplicateCue : public IOperation {
public:
    bool execute(ProjectData& data) override;
    // Removes the duplicates and selects their originals again.
    bool undo(ProjectData& data) override;
    // Deselects every cue and brings the duplicates back, selected, with their ids.
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    std::wstring getUndoText() const override { return L"UNDO.DUPLICATE_CUE"; }
    std::wstring getRedoText() const override { return L"REDO.DUPLICATE_CUE"; }

private:
    // Copies of the duplicates as they were made.
    CapturedCues duplicates_;
    // The ids of the cues that were duplicated.
    std::set<int> originalIds_;
};

}  // namespace Project
