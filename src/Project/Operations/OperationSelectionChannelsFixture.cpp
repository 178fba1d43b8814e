#include "Project/Operations/OperationSelectionChannelsFixture.h"

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationSelectionChannelsFixture::execute(ProjectData& data)
{
    apply(data, false);
    return true;
}

bool OperationSelectionChannelsFixture::undo(ProjectData& data)
{
    apply(data, true);
    return true;
}

void OperationSelectionChannelsFixture::apply(ProjectData& data, bool invert) const
{
    reportSelectionChanging();
    for (const Fixture* fixture : data.getFixtureList()) {
        if (!fixture->isSelected()) {
            continue;
        }
        for (Fixture::ChannelItem* channel = fixture->getFirstChannel(); channel != nullptr;
             channel = channel->getNext()) {
            const auto flag = flags_.find(channel->getId());
            if (flag != flags_.end()) {
                channel->setSelected(flag->second != invert);
            }
        }
    }
}

}  // namespace Project
