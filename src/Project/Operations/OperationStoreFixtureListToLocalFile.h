#pragma once

#include <string>
#include <utility>

#include "Project/IOperation.h"

namespace Project {

// Stores the fixture presets in a preset file: an empty path means the per-user file
// "PresetFile.fwf". With `selectedOnly` only the presets selected in the fixture list are
// stored (all of them when none is selected). The file is replaced only when all of it was
// written; failures are "ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING_TODO" and
// "ERROR.FAILED_TO_WRITE_TO_FILE_TODO".
//
// Neither undoable nor passive: submitting it clears both histories and marks the project
// modified. Undo and redo store again.
class OperationStoreFixtureListToLocalFile : public IOperation {
public:
    explicit OperationStoreFixtureListToLocalFile(std::wstring path = L"",
                                                  bool selectedOnly = false)
        : path_(std::move(path)), selectedOnly_(selectedOnly)
    {
    }

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override { return execute(data); }
    bool redo(ProjectData& data) override { return execute(data); }
    std::wstring getUndoText() const override { return L"UNDO.STORE_EFFECT"; }
    std::wstring getRedoText() const override { return L"REDO.STORE_EFFECT"; }

private:
    std::wstring path_;
    bool selectedOnly_;
};

}  // namespace Project
