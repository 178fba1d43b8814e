#pragma once

#include <map>
#include <string>

#include "Project/IOperation.h"

namespace Project {

// Names a group: the name is stored in every cue of the group of the first selected cue,
// selected or not. Nothing changes when no cue is selected.
class OperationSetGroupName : public IOperation {
public:
    // The name as typed: each character's low byte is kept.
    explicit OperationSetGroupName(const std::wstring& name);

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    std::wstring getUndoText() const override { return L"UNDO.MOD_GROUPNAME"; }
    std::wstring getRedoText() const override { return L"REDO.MOD_GROUPNAME"; }

private:
    void apply(ProjectData& data, bool restore) const;

    std::string name_;
    // Cue id to the group name before execute.
    std::map<int, std::string> oldNames_;
};

}  // namespace Project
