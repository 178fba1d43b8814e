#pragma once

#include <cstdint>
#include <vector>

#include "Platform/ListenerSet.h"

namespace Project {

// One DMX512 channel with its level and marker flags: an element of a DMX cue's steps and
// of a fixture preset's channel list. In a preset `channel` counts from 1 within the device;
// in a cue it is the absolute DMX channel. Copies carry the listener set.
class DmxChannelValue {
public:
    // Notifications, one per field that can change, each with the changed value.
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void safetyChanged(DmxChannelValue*) {}
        virtual void slowSafetyChanged(DmxChannelValue*) {}
        virtual void dynamicChanged(DmxChannelValue*) {}
        virtual void channelChanged(DmxChannelValue*) {}
        virtual void valueChanged(DmxChannelValue*) {}
        virtual void selectedChanged(DmxChannelValue*) {}
        virtual void extraChanged(DmxChannelValue*) {}
    };

    DmxChannelValue(uint16_t channel, uint8_t value, int32_t extra, bool dynamic, bool safety,
                    bool slowSafety, int32_t id);
    virtual ~DmxChannelValue() = default;
    DmxChannelValue(const DmxChannelValue&) = default;
    DmxChannelValue& operator=(const DmxChannelValue&) = default;

    uint16_t getChannel() const { return channel_; }
    uint8_t getValue() const { return value_; }
    int32_t getExtra() const { return extra_; }
    bool isSelected() const { return selected_; }
    bool isDynamic() const { return dynamic_; }
    bool isSafety() const { return safety_; }
    bool isSlowSafety() const { return slowSafety_; }
    int32_t getId() const { return id_; }

    void setChannel(uint16_t channel);
    void setValue(uint8_t value);
    void setExtra(int32_t extra);
    void setSelected(bool selected);
    void setDynamic(bool dynamic);
    void setSafety(bool safety);
    void setSlowSafety(bool slowSafety);
    void setId(int32_t id) { id_ = id; }

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }

    // Channel, level, flags and extra equal (selection, id and listeners are not compared).
    bool sameContent(const DmxChannelValue& other) const;

private:
    uint16_t channel_;
    uint8_t value_;
    int32_t extra_;
    bool selected_ = false;
    bool dynamic_;
    bool safety_;
    bool slowSafety_;
    int32_t id_;
    Platform::ListenerSet<Listener> listeners_;
};

// A DMX step: the channel values set together. One step is a scene, several a chase.
using DmxStep = std::vector<DmxChannelValue>;
using DmxSteps = std::vector<DmxStep>;

}  // namespace Project
