#pragma once

#include <string>
#include <utility>

#include "Project/IOperation.h"

namespace Project {

// Loads a fixture preset file. An empty path means the per-user file "PresetFile.fwf", which
// replaces the presets (the fixture list is cleared and the store emptied first); the
// presets of a file the user chose are added, and the load notice
// "MESSAGES.LOAD.PRESETFILE.*" is shown. A missing or unreadable file loads nothing and
// succeeds; a file of another form fails with "ERROR.INVALID_FWP_TODO", a short channel
// record with "ERROR.INVALID_FWF" (the presets read before it stay).
//
// Neither undoable nor passive: submitting it clears both histories and marks the project
// modified. Undo and redo load again.
class OperationLoadFixtureListFromLocalFile : public IOperation {
public:
    explicit OperationLoadFixtureListFromLocalFile(std::wstring path = L"") : path_(std::move(path))
    {
    }

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override { return execute(data); }
    bool redo(ProjectData& data) override { return execute(data); }
    std::wstring getUndoText() const override { return L"UNDO.STORE_EFFECT"; }
    std::wstring getRedoText() const override { return L"REDO.STORE_EFFECT"; }

private:
    std::wstring path_;
};

}  // namespace Project
