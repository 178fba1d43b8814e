#include "Project/Operations/OperationFilterFixtures.h"

#include "Project/ProjectData.h"

namespace Project {

bool OperationFilterFixtures::execute(ProjectData& data)
{
    searchFixtures(data.getFixtureStore(), data.getFixtureList(), criteria_);
    return true;
}

}  // namespace Project
