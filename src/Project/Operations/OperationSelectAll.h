#pragma once

#include "Project/IOperation.h"

namespace Project {

// Selects every cue (flag true) or none (flag false). Passive, as every selection.
class OperationSelectAll : public IOperation {
public:
    explicit OperationSelectAll(bool selected) : selected_(selected) {}

    bool execute(ProjectData& data) override;
    bool undo(ProjectData& data) override;
    bool redo(ProjectData& data) override { return execute(data); }
    bool isPassive() const override { return true; }

    bool getFlag() const { return selected_; }

private:
    void apply(ProjectData& data, bool selected) const;

    bool selected_;
};

}  // namespace Project
