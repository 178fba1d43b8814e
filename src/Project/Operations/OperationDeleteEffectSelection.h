#pragma once

#include <cstdint>
#include <map>

#include "Project/Effect.h"
#include "Project/IOperation.h"

namespace Project {

// Deletes the selected effects of the library, and every effect of the full library copy
// with the same article data, so that a search cannot bring them back. Undo appends saved
// copies (same number and selection) to the library in ascending number order; the full copy
// is not restored. Passive when nothing was selected.
class OperationDeleteEffectSelection : public IOperation {
public:
    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    bool isPassive() const override { return saved_.empty(); }
    std::wstring getUndoText() const override { return L"UNDO.REMOVE_CUES"; }
    std::wstring getRedoText() const override { return L"REDO.REMOVE_CUES"; }

private:
    std::map<int32_t, Effect> saved_;
};

}  // namespace Project
