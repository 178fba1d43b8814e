#include "Project/Operations/OperationDeleteChannelSelection.h"

#include <vector>

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationDeleteChannelSelection::execute(ProjectData& data)
{
    const Fixture* fixture = data.getCurrentFixture();
    if (fixture == nullptr) {
        return failOperation(L"");
    }
    for (const Fixture::ChannelItem* channel = fixture->getFirstChannel(); channel != nullptr;
         channel = channel->getNext()) {
        if (channel->isSelected()) {
            saved_.emplace(channel->getId(), DmxChannelValue(*channel));
        }
    }
    return redo(data);
}

bool OperationDeleteChannelSelection::redo(ProjectData& data)
{
    Fixture* fixture = data.getCurrentFixture();
    if (fixture == nullptr) {
        return failOperation(L"");
    }
    std::vector<Fixture::ChannelItem*> doomed;
    for (Fixture::ChannelItem* channel = fixture->getFirstChannel(); channel != nullptr;
         channel = channel->getNext()) {
        if (saved_.count(channel->getId()) != 0) {
            doomed.push_back(channel);
        }
    }
    for (Fixture::ChannelItem* channel : doomed) {
        fixture->removeChannel(channel);
    }
    return true;
}

bool OperationDeleteChannelSelection::undo(ProjectData& data)
{
    Fixture* fixture = data.getCurrentFixture();
    if (fixture == nullptr) {
        return failOperation(L"");
    }
    for (const auto& [id, value] : saved_) {
        Fixture::ChannelItem* channel =
            fixture->addChannel(value.getChannel(), value.getValue(), value.getExtra(),
                                value.isDynamic(), value.isSafety(), value.isSlowSafety(), id);
        channel->setSelected(value.isSelected());
    }
    return true;
}

}  // namespace Project
