#include "Project/Operations/OperationSelectAllChannelsInFixture.h"

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationSelectAllChannelsInFixture::execute(ProjectData& data)
{
    apply(data, selected_);
    return true;
}

bool OperationSelectAllChannelsInFixture::undo(ProjectData& data)
{
    apply(data, !selected_);
    return true;
}

void OperationSelectAllChannelsInFixture::apply(ProjectData& data, bool selected)
{
    reportSelectionChanging();
    for (const Fixture* fixture : data.getFixtureList()) {
        if (!fixture->isSelected()) {
            continue;
        }
        for (Fixture::ChannelItem* channel = fixture->getFirstChannel(); channel != nullptr;
             channel = channel->getNext()) {
            channel->setSelected(selected);
        }
    }
}

}  // namespace Project
