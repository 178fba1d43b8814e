#include "Project/Operations/OperationSelectionEffect.h"

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationSelectionEffect::execute(ProjectData& data)
{
    apply(data, false);
    return true;
}

bool OperationSelectionEffect::undo(ProjectData& data)
{
    apply(data, true);
    return true;
}

void OperationSelectionEffect::apply(ProjectData& data, bool invert) const
{
    reportSelectionChanging();
    for (EffectList::EffectItem* effect : data.getEffectList()) {
        const auto flag = flags_.find(effect->getId());
        if (flag != flags_.end()) {
            effect->setSelected(flag->second != invert);
        }
    }
}

}  // namespace Project
