#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "Project/IOperation.h"

namespace Project {

// Sets the selection of the channel values named by number in every selected preset of the
// fixture list; undo sets the opposite flags. Passive.
class OperationSelectionChannelsFixture : public IOperation {
public:
    explicit OperationSelectionChannelsFixture(std::map<int32_t, bool> flags)
        : flags_(std::move(flags))
    {
    }

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override { return execute(data); }
    bool isPassive() const override { return true; }

private:
    void apply(ProjectData& data, bool invert) const;

    std::map<int32_t, bool> flags_;
};

}  // namespace Project
