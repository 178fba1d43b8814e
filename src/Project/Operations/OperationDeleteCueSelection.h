#pragma once

#include "Project/IOperation.h"
#include "Project/Operations/CapturedCues.h"

namespace Project {

// Removes the selected cues. Undo adds them back (selected, as they were) with their ids.
//
// Passive once it ran and found nothing to delete: then it leaves the history and the
// modified state alone. Before it ran it is not passive, so that show mode refuses it.
class OperationDeleteCueSelection : public IOperation {
public:
    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    bool isPassive() const override { return executed_ && captured_.empty(); }
    std::wstring getUndoText() const override { return L"UNDO.REMOVE_CUES"; }
    std::wstring getRedoText() const override { return L"REDO.REMOVE_CUES"; }

private:
    CapturedCues captured_;
    bool executed_ = false;
};

}  // namespace Project
