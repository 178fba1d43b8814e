#pragma once

#include <string>

namespace Project {

class ProjectData;

// One change of the project data (or one command that reads it for a file), handed to
// Project::submit, which takes ownership. Operations refer to cues by id, never by pointer:
// cues may be destroyed and re-created between execute, undo and redo.
//
// A failing execute, undo or redo returns false and leaves a localization key as the
// project's last error.
class IOperation {
public:
    virtual ~IOperation() = default;

    virtual bool execute(ProjectData& data) = 0;
    virtual bool undo(ProjectData& /*data*/) { return false; }
    virtual bool redo(ProjectData& /*data*/) { return false; }

    // The operation goes into the undo history.
    virtual bool isUndoable() const { return false; }
    // The operation runs beside the history (it leaves both histories alone) and may run
    // while show mode is on.
    virtual bool isPassive() const { return false; }
    // After it the project counts as not modified.
    virtual bool leavesProjectClean() const { return false; }

    // Localization keys naming the undo and redo actions.
    virtual std::wstring getUndoText() const { return L"UNDO.NOTHING"; }
    virtual std::wstring getRedoText() const { return L"REDO.NOTHING"; }
};

}  // namespace Project
