#pragma once

#include <cstdint>
#include <string>

#include "Project/IOperation.h"

namespace Project {

// Adds a fixture preset to the fixture store and the fixture list, which numbers it. Undo
// takes the preset with that number out of both and destroys it ("ERROR.GENERIC" when either
// no longer holds it); redo makes it afresh under the same number.
class OperationAddFixture : public IOperation {
public:
    OperationAddFixture(std::wstring description, std::wstring manufacturer,
                        std::wstring productName, int32_t channelCount, std::wstring comments,
                        int32_t duration);

    bool execute(ProjectData& data) override { return add(data, -2); }
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override { return add(data, id_); }
    bool isUndoable() const override { return true; }
    std::wstring getUndoText() const override { return L"UNDO.ADD_FIXTURE"; }
    std::wstring getRedoText() const override { return L"REDO.ADD_FIXTURE"; }

    // The number the preset got, or -2 before execute.
    int32_t getFixtureId() const { return id_; }

private:
    bool add(ProjectData& data, int32_t id);

    std::wstring description_;
    std::wstring manufacturer_;
    std::wstring productName_;
    int32_t channelCount_;
    std::wstring comments_;
    int32_t duration_;
    int32_t id_ = -2;
};

}  // namespace Project
