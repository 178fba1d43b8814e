#include "Project/DmxChannelValue.h"

namespace Project {

DmxChannelValue::DmxChannelValue(uint16_t channel, uint8_t value, int32_t extra, bool dynamic,
                                 bool safety, bool slowSafety, int32_t id)
    : channel_(channel),
      value_(value),
      extra_(extra),
      dynamic_(dynamic),
      safety_(safety),
      slowSafety_(slowSafety),
      id_(id)
{
}

void DmxChannelValue::setChannel(uint16_t channel)
{
    if (channel_ != channel) {
        channel_ = channel;
        listeners_.notify(&Listener::channelChanged, this);
    }
}

void DmxChannelValue::setValue(uint8_t value)
{
    if (value_ != value) {
        value_ = value;
        listeners_.notify(&Listener::valueChanged, this);
    }
}

void DmxChannelValue::setExtra(int32_t extra)
{
    if (extra_ != extra) {
        extra_ = extra;
        listeners_.notify(&Listener::extraChanged, this);
    }
}

void DmxChannelValue::setSelected(bool selected)
{
    if (selected_ != selected) {
        selected_ = selected;
        listeners_.notify(&Listener::selectedChanged, this);
    }
}

void DmxChannelValue::setDynamic(bool dynamic)
{
    if (dynamic_ != dynamic) {
        dynamic_ = dynamic;
        listeners_.notify(&Listener::dynamicChanged, this);
    }
}

void DmxChannelValue::setSafety(bool safety)
{
    if (safety_ != safety) {
        safety_ = safety;
        listeners_.notify(&Listener::safetyChanged, this);
    }
}

void DmxChannelValue::setSlowSafety(bool slowSafety)
{
    if (slowSafety_ != slowSafety) {
        slowSafety_ = slowSafety;
        listeners_.notify(&Listener::slowSafetyChanged, this);
    }
}

bool DmxChannelValue::sameContent(const DmxChannelValue& other) const
{
    return channel_ == other.channel_ && value_ == other.value_ && extra_ == other.extra_ &&
           dynamic_ == other.dynamic_ && safety_ == other.safety_ &&
           slowSafety_ == other.slowSafety_;
}

}  // namespace Project
