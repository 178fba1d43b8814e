#pragma once

#include <map>
#include <utility>
#include <vector>

#include "Project/IOperation.h"

namespace Project {

// Gives the selected pyro cues firing addresses, in the order the cue list view shows them.
//
// An address is a module base (a multiple of 0x10) plus an output 0..15. Cues that share a
// grouping key (their "~POS" metadata followed by their "~TYPE") share modules: a cue takes
// the first free output of the lowest module of its key, unless that module already fires
// a cue at the same moment (timecode minus prefire time); otherwise it opens a new module.
// Addresses of unselected pyro cues stay taken. New modules are counted upwards from 0x010
// (module 0x000 is never handed out) and skip 0x?A0..0x?F0, continuing at the next multiple
// of 0x100. When the 12-bit address space has no module left for a cue, the operation
// fails with "ERROR.NO_FREE_PYRO_ADDRESS" and changes nothing.
class OperationAutoSetPyroAddresses : public IOperation {
public:
    // The ids of the cues in the order the view shows them; read during execute only.
    explicit OperationAutoSetPyroAddresses(std::vector<int> viewOrder)
        : viewOrder_(std::move(viewOrder))
    {
    }

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    std::wstring getUndoText() const override { return L"UNDO.AUTO_SET_ADDR"; }
    std::wstring getRedoText() const override { return L"UNDO.AUTO_SET_ADDR"; }

private:
    // Gives every listed cue with an address in `addresses` a pyro command with it.
    static void apply(ProjectData& data, const std::map<int, int>& addresses);

    std::vector<int> viewOrder_;
    std::map<int, int> oldAddresses_;
    std::map<int, int> newAddresses_;
};

}  // namespace Project
