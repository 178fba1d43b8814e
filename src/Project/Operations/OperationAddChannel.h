#pragma once

#include <cstdint>
#include <vector>

#include "Project/IOperation.h"

namespace Project {

// Appends one channel value (extra 0) to every selected preset of the fixture list that has
// channels (channel count above 0). Undo removes each added channel by preset and channel
// number ("ERROR.GENERIC" when one is gone); redo adds them again under the same numbers.
class OperationAddChannel : public IOperation {
public:
    OperationAddChannel(uint16_t channel, uint8_t value, bool dynamic, bool safety, bool slowSafety)
        : channel_(channel),
          value_(value),
          dynamic_(dynamic),
          safety_(safety),
          slowSafety_(slowSafety)
    {
    }

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override;
    bool isUndoable() const override { return true; }
    std::wstring getUndoText() const override { return L"UNDO.ADD_CHANNEL"; }
    std::wstring getRedoText() const override { return L"REDO.ADD_CHANNEL"; }

private:
    struct Added {
        int32_t fixtureId;
        int32_t channelId;
    };

    uint16_t channel_;
    uint8_t value_;
    bool dynamic_;
    bool safety_;
    bool slowSafety_;
    std::vector<Added> added_;
};

}  // namespace Project
