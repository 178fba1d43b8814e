#include "Project/Operations/OperationDeleteFixtureSelection.h"

#include <vector>

#include "Project/Operations/FixtureStoreEdit.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationDeleteFixtureSelection::execute(ProjectData& data)
{
    for (const Fixture* fixture : data.getFixtureList()) {
        if (fixture->isSelected()) {
            saved_.emplace(fixture->getId(), fixture->clone());
        }
    }
    return redo(data);
}

bool OperationDeleteFixtureSelection::redo(ProjectData& data)
{
    std::vector<int32_t> doomed;
    for (const Fixture* fixture : data.getFixtureList()) {
        if (saved_.count(fixture->getId()) != 0) {
            doomed.push_back(fixture->getId());
        }
    }
    for (const int32_t id : doomed) {
        FixtureStoreEdit::remove(data, id);
    }
    return true;
}

bool OperationDeleteFixtureSelection::undo(ProjectData& data)
{
    for (const auto& [id, fixture] : saved_) {
        FixtureStoreEdit::insert(data, fixture->clone());
    }
    return true;
}

}  // namespace Project
