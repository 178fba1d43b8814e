#pragma once

#include "Project/IOperation.h"

namespace Project {

// Selects every effect of the library (flag true) or none; undo sets the opposite. Passive.
class OperationSelectAllEffects : public IOperation {
public:
    explicit OperationSelectAllEffects(bool selected) : selected_(selected) {}

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override { return execute(data); }
    bool isPassive() const override { return true; }

private:
    static void apply(ProjectData& data, bool selected);

    bool selected_;
};

}  // namespace Project
