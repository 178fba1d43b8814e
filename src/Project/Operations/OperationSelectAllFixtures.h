#pragma once

#include "Project/IOperation.h"

namespace Project {

// Selects every preset of the fixture list (flag true) or none; undo sets the opposite.
// Passive.
class OperationSelectAllFixtures : public IOperation {
public:
    explicit OperationSelectAllFixtures(bool selected) : selected_(selected) {}

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override { return execute(data); }
    bool isPassive() const override { return true; }

private:
    static void apply(ProjectData& data, bool selected);

    bool selected_;
};

}  // namespace Project
