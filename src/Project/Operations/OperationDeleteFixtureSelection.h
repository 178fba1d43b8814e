#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "Project/Fixture.h"
#include "Project/IOperation.h"

namespace Project {

// Deletes the selected presets of the fixture list from the list and the store. Undo puts
// copies of them (same numbers, channels and channel numbers) back at the end of both, in
// ascending number order. Passive when nothing was selected.
class OperationDeleteFixtureSelection : public IOperation {
public:
    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    bool isPassive() const override { return saved_.empty(); }
    std::wstring getUndoText() const override { return L"UNDO.REMOVE_FIXTURES"; }
    std::wstring getRedoText() const override { return L"REDO.REMOVE_FIXTURES"; }

private:
    // Copies that are never listed themselves: each undo lists fresh clones of them.
    std::map<int32_t, std::unique_ptr<Fixture>> saved_;
};

}  // namespace Project
