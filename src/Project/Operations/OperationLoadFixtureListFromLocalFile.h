#pragma once

#include <string>
#include <utility>

#include "Project/IOperation.h"
#include "Project/Operations/FileDamage.h"

namespace Project {

// Loads a fixture preset file. An empty path means the per-user file "PresetFile.fwf", which
// replaces the presets (the fixture list is cleared and the store emptied first); the
// presets of a file the user chose are added, and the load notice
// "MESSAGES.LOAD.PRESETFILE.*" is shown. A missing file loads nothing and succeeds, as does
// a chosen file that is not a RIFF file; a file of another form fails with
// "ERROR.INVALID_FWP_TODO", a short channel record with "ERROR.INVALID_FWF" (the presets read
// before it stay). A per-user file that is there but cannot be read (not a RIFF file, another
// form, a short channel record) fails with its key and is renamed with the suffix
// ".damaged", so that the next store cannot overwrite it.
//
// A damaged file (FileDamage) fails with "ERROR.DAMAGED_FILE"; the per-user file is then set
// aside as well.
//
// Neither undoable nor passive: submitting it clears both histories and marks the project
// modified. Undo and redo load again.
class OperationLoadFixtureListFromLocalFile : public IOperation {
public:
    // `salvage` lets a chosen file that is damaged add what could be read of it; the
    // per-user file is never salvaged (it is set aside as damaged).
    explicit OperationLoadFixtureListFromLocalFile(std::wstring path = L"",
                                                   Salvage salvage = Salvage::REFUSE)
        : path_(std::move(path)), salvage_(salvage)
    {
    }

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override { return execute(data); }
    bool redo(ProjectData& data) override { return execute(data); }
    std::wstring getUndoText() const override { return L"UNDO.STORE_EFFECT"; }
    std::wstring getRedoText() const override { return L"REDO.STORE_EFFECT"; }

private:
    std::wstring path_;
    Salvage salvage_;
};

}  // namespace Project
