#pragma once

#include <set>
#include <string>
#include <utility>

#include "Project/IOperation.h"

namespace Project {

// Renames a metadata key on the selected cues that have it. Fails, changing nothing, with
// "ERROR.COULD_NOT_RENAME_BECAUSE_CUE_META_KEY_ALREADY_EXISTS" when one of them already has
// the new key.
class OperationRenameCueMeta : public IOperation {
public:
    OperationRenameCueMeta(std::wstring oldKey, std::wstring newKey)
        : oldKey_(std::move(oldKey)), newKey_(std::move(newKey))
    {
    }

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    std::wstring getUndoText() const override { return L"UNDO.MOD_CUE"; }
    std::wstring getRedoText() const override { return L"UNDO.MOD_CUE"; }

private:
    void rename(ProjectData& data, const std::wstring& from, const std::wstring& to) const;

    std::wstring oldKey_;
    std::wstring newKey_;
    std::set<int> cueIds_;
};

}  // namespace Project
