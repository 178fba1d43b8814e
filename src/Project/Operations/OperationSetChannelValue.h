#pragma once

#include <cstdint>

#include "Project/IOperation.h"

namespace Project {

// Sets one field of every selected channel value of every selected preset of the fixture
// list. Fields: 0 channel, 1 value, 2 extra, 3 dynamic, 4 safety, 5 slow safety (flags are
// true for values other than 0); another number changes nothing. Neither undoable nor
// passive: it clears the undo history. Undo and redo do nothing and succeed.
class OperationSetChannelValue : public IOperation {
public:
    enum Field { CHANNEL = 0, VALUE = 1, EXTRA = 2, DYNAMIC = 3, SAFETY = 4, SLOW_SAFETY = 5 };

    OperationSetChannelValue(int field, int32_t value) : field_(field), value_(value) {}

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& /*data*/) override { return true; }
    bool redo(ProjectData& /*data*/) override { return true; }

private:
    int field_;
    int32_t value_;
};

}  // namespace Project
