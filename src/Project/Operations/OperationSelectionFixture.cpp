#include "Project/Operations/OperationSelectionFixture.h"

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationSelectionFixture::execute(ProjectData& data)
{
    apply(data, false);
    return true;
}

bool OperationSelectionFixture::undo(ProjectData& data)
{
    apply(data, true);
    return true;
}

void OperationSelectionFixture::apply(ProjectData& data, bool invert) const
{
    reportSelectionChanging();
    for (Fixture* fixture : data.getFixtureList()) {
        const auto flag = flags_.find(fixture->getId());
        if (flag != flags_.end()) {
            fixture->setSelected(flag->second != invert);
        }
    }
}

}  // namespace Project
