#include "Project/Operations/OperationSelectAllFixtures.h"

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationSelectAllFixtures::execute(ProjectData& data)
{
    apply(data, selected_);
    return true;
}

bool OperationSelectAllFixtures::undo(ProjectData& data)
{
    apply(data, !selected_);
    return true;
}

void OperationSelectAllFixtures::apply(ProjectData& data, bool selected)
{
    reportSelectionChanging();
    for (Fixture* fixture : data.getFixtureList()) {
        fixture->setSelected(selected);
    }
}

}  // namespace Project
