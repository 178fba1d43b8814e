#pragma once

#include "Project/Effect.h"
#include "Project/IOperation.h"
#include "Project/Operations/CueSnapshot.h"

namespace Project {

// Applies an effect of the library to the selected cues (article data into the metadata,
// prefire time and duration from the effect), as an undoable change. Undo and redo put back
// the values each cue had before and after, by cue id.
class OperationApplyEffect : public IOperation {
public:
    // The effect is copied: the library may change before the operation runs.
    explicit OperationApplyEffect(const Effect& effect) : effect_(effect) {}

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    std::wstring getUndoText() const override { return L"UNDO.APPLY_EFFECT"; }
    std::wstring getRedoText() const override { return L"REDO.APPLY_EFFECT"; }

    // How many cues kept their prefire time because the effect's would make them fire before
    // frame 0. After a successful submit the operation lives in the undo history, so the
    // caller may ask this to warn the user.
    int getRefusedPrefireCount() const { return refusedPrefire_; }

private:
    Effect effect_;
    CueSnapshots before_;
    CueSnapshots after_;
    int refusedPrefire_ = 0;
};

}  // namespace Project
