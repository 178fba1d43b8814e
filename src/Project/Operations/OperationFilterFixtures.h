#pragma once

#include <utility>

#include "Project/FixtureSearch.h"
#include "Project/IOperation.h"

namespace Project {

// Refills the fixture list from the store with the presets that meet the five criteria (all
// presets when every criterion is empty). Passive; it is never in a history, so undo and
// redo fail without doing anything.
class OperationFilterFixtures : public IOperation {
public:
    explicit OperationFilterFixtures(FixtureSearchCriteria criteria)
        : criteria_(std::move(criteria))
    {
    }

    bool execute(ProjectData& data) override;
    bool isPassive() const override { return true; }

private:
    FixtureSearchCriteria criteria_;
};

}  // namespace Project
