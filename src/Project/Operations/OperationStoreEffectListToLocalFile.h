#pragma once

#include <string>
#include <utility>

#include "Project/IOperation.h"

namespace Project {

// Stores the effect library in an effect file: an empty path means the per-user file
// "EffectFile.fwe". The file is replaced only when all of it was written; failures are
// "ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING_TODO" and "ERROR.FAILED_TO_WRITE_TO_FILE_TODO".
//
// Neither undoable nor passive: submitting it clears both histories and marks the project
// modified. Undo and redo store again.
class OperationStoreEffectListToLocalFile : public IOperation {
public:
    explicit OperationStoreEffectListToLocalFile(std::wstring path = L"") : path_(std::move(path))
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
