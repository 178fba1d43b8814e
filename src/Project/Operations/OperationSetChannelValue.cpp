#include "Project/Operations/OperationSetChannelValue.h"

#include "Project/ProjectData.h"

namespace Project {

bool OperationSetChannelValue::execute(ProjectData& data)
{
    for (Fixture* fixture : data.getFixtureList()) {
        if (!fixture->isSelected()) {
            continue;
        }
        for (Fixture::ChannelItem* channel = fixture->getFirstChannel(); channel != nullptr;
             channel = channel->getNext()) {
            if (!channel->isSelected()) {
                continue;
            }
            switch (field_) {
                case CHANNEL: channel->setChannel(static_cast<uint16_t>(value_)); break;
                case VALUE: channel->setValue(static_cast<uint8_t>(value_)); break;
                case EXTRA: channel->setExtra(value_); break;
                case DYNAMIC: channel->setDynamic(value_ != 0); break;
                case SAFETY: channel->setSafety(value_ != 0); break;
                case SLOW_SAFETY: channel->setSlowSafety(value_ != 0); break;
                default: break;
            }
        }
    }
    return true;
}

}  // namespace Project
