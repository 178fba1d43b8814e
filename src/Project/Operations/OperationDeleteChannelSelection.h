#pragma once

#include <cstdint>
#include <map>

#include "Project/DmxChannelValue.h"
#include "Project/IOperation.h"

namespace Project {

// Deletes the selected channel values of the edited preset. Undo appends saved copies (same
// numbers) to the edited preset again. Execute, undo and redo fail without a message (the
// last error is cleared) while no preset is being edited. Passive when nothing was selected.
class OperationDeleteChannelSelection : public IOperation {
public:
    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    bool isPassive() const override { return saved_.empty(); }
    std::wstring getUndoText() const override { return L"UNDO.REMOVE_CHANNELS"; }
    std::wstring getRedoText() const override { return L"REDO.REMOVE_CHANNELS"; }

private:
    std::map<int32_t, DmxChannelValue> saved_;
};

}  // namespace Project
