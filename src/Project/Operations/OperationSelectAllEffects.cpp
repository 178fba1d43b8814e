#include "Project/Operations/OperationSelectAllEffects.h"

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationSelectAllEffects::execute(ProjectData& data)
{
    apply(data, selected_);
    return true;
}

bool OperationSelectAllEffects::undo(ProjectData& data)
{
    apply(data, !selected_);
    return true;
}

void OperationSelectAllEffects::apply(ProjectData& data, bool selected)
{
    reportSelectionChanging();
    for (EffectList::EffectItem* effect : data.getEffectList()) {
        effect->setSelected(selected);
    }
}

}  // namespace Project
