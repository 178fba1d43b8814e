#pragma once

#include <string>
#include <utility>

#include "Project/IOperation.h"
#include "Project/Operations/FileDamage.h"

namespace Project {

// Loads an effect library file. An empty path means the per-user file "EffectFile.fwe",
// which replaces the library (the shown and the full list are cleared first); a file the
// user chose is added to the library (duplicates are dropped), and the load notice
// "MESSAGES.LOAD.EFFECTFILE.*" is shown. A missing file loads nothing and succeeds; a chosen
// file that is not a RIFF file loads nothing and succeeds too. A file of another form fails
// with "ERROR.INVALID_FWP_TODO". A per-user file that is there but cannot be read fails with
// that key as well and is renamed with the suffix ".damaged", so that the next store cannot
// overwrite it.
//
// A damaged file (FileDamage) fails with "ERROR.DAMAGED_FILE"; the per-user file is then set
// aside as well.
//
// Neither undoable nor passive: submitting it clears both histories and marks the project
// modified. Undo and redo load again.
class OperationLoadEffectListFromLocalFile : public IOperation {
public:
    // `salvage` lets a chosen file that is damaged add what could be read of it; the
    // per-user file is never salvaged (it is set aside as damaged).
    explicit OperationLoadEffectListFromLocalFile(std::wstring path = L"",
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
