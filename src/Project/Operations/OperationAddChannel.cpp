#include "Project/Operations/OperationAddChannel.h"

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

bool OperationAddChannel::execute(ProjectData& data)
{
    added_.clear();
    for (Fixture* fixture : data.getFixtureList()) {
        if (fixture->isSelected() && fixture->getChannelCount() > 0) {
            const Fixture::ChannelItem* channel =
                fixture->addChannel(channel_, value_, 0, dynamic_, safety_, slowSafety_, -1);
            added_.push_back({fixture->getId(), channel->getId()});
        }
    }
    return true;
}

bool OperationAddChannel::undo(ProjectData& data)
{
    // Everything is looked up first, so that a missing channel changes nothing.
    std::vector<std::pair<Fixture*, Fixture::ChannelItem*>> found;
    for (const Added& added : added_) {
        const FixtureList::FixtureItem* item = data.getFixtureList().findById(added.fixtureId);
        Fixture::ChannelItem* channel =
            item != nullptr ? item->getFixture()->findChannel(added.channelId) : nullptr;
        if (channel == nullptr) {
            return failOperation(kGenericError);
        }
        found.emplace_back(item->getFixture(), channel);
    }
    for (const auto& [fixture, channel] : found) {
        fixture->removeChannel(channel);
    }
    return true;
}

bool OperationAddChannel::redo(ProjectData& data)
{
    std::vector<Fixture*> fixtures;
    for (const Added& added : added_) {
        const FixtureList::FixtureItem* item = data.getFixtureList().findById(added.fixtureId);
        if (item == nullptr) {
            return failOperation(kGenericError);
        }
        fixtures.push_back(item->getFixture());
    }
    for (std::size_t i = 0; i < added_.size(); ++i) {
        fixtures[i]->addChannel(channel_, value_, 0, dynamic_, safety_, slowSafety_,
                                added_[i].channelId);
    }
    return true;
}

}  // namespace Project
