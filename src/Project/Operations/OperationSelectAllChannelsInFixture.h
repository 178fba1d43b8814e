#pragma once

#include "Project/IOperation.h"

namespace Project {

// Selects every channel value (flag true) or none in every selected preset of the fixture
// list; undo sets the opposite. Passive.
class OperationSelectAllChannelsInFixture : public IOperation {
public:
    explicit OperationSelectAllChannelsInFixture(bool selected) : selected_(selected) {}

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override { return execute(data); }
    bool isPassive() const override { return true; }

private:
    static void apply(ProjectData& data, bool selected);

    bool selected_;
};

}  // namespace Project
