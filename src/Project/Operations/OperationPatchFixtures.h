#pragma once

#include <utility>
#include <vector>

#include "Project/FixturePatch.h"
#include "Project/IOperation.h"
#include "Project/Operations/CueSnapshot.h"

namespace Project {

class Fixture;

// Patches devices of fixture presets into the selected DMX cues from a start address, as an
// undoable change. A patch the settings do not allow fails with the patch's error key and
// changes nothing. Undo and redo put back the values each cue had before and after, by cue
// id, so they need neither the presets nor the settings again.
class OperationPatchFixtures : public IOperation {
public:
    // The presets in selection order; they are read during execute only.
    OperationPatchFixtures(std::vector<Fixture*> fixtures, PatchSettings settings)
        : fixtures_(std::move(fixtures)), settings_(std::move(settings))
    {
    }

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    std::wstring getUndoText() const override { return L"UNDO.PATCH_FIXTURES"; }
    std::wstring getRedoText() const override { return L"REDO.PATCH_FIXTURES"; }

private:
    std::vector<Fixture*> fixtures_;
    PatchSettings settings_;
    CueSnapshots before_;
    CueSnapshots after_;
};

}  // namespace Project
