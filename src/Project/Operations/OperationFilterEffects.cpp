#include "Project/Operations/OperationFilterEffects.h"

#include "Project/EffectSearch.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationFilterEffects::execute(ProjectData& data)
{
    searchEffects(data.getEffectList(), data.getFullEffectList(), criteria_);
    return true;
}

}  // namespace Project
