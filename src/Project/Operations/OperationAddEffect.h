#pragma once

#include <cstdint>

#include "Project/Effect.h"
#include "Project/IOperation.h"

namespace Project {

// Adds an effect from the fifteen texts of the entry form and makes it the only selected
// effect. An effect equal to one already held adds nothing: the operation then counts as
// passive, so it neither enters the history nor marks the project modified. Undo removes the
// effect by its number; redo adds it again under the same number.
class OperationAddEffect : public IOperation {
public:
    explicit OperationAddEffect(const EffectTexts& texts);

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    bool isPassive() const override { return executed_ && id_ < 0; }
    std::wstring getUndoText() const override { return L"UNDO.ADD_CUE"; }
    std::wstring getRedoText() const override { return L"REDO.ADD_CUE"; }

    // The number of the added effect, or -1 when nothing was added.
    int32_t getEffectId() const { return id_; }

private:
    bool add(ProjectData& data, int32_t id);

    // The values read once from the texts, as the list would read them.
    Effect values_;
    int32_t id_ = -1;
    bool executed_ = false;
};

}  // namespace Project
