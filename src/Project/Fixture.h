#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Platform/ListenerSet.h"
#include "Project/DmxChannelValue.h"

namespace Project {

// A fixture preset: one kind of DMX512 device (a flame unit, a strobe, a moving light) with its
// name data, the number of consecutive DMX channels one device occupies, the length of its
// effect and the level each of its channels gets when the device is triggered.
//
// The project's fixture store owns every preset; fixture lists only refer to them. A fixture
// must be taken out of every list that shows it before it is destroyed. Main thread only.
class Fixture {
public:
    // One channel value of the preset, linked into the fixture's channel chain. The fixture
    // owns its items. `channel` counts from 1 within the device.
    class ChannelItem : public DmxChannelValue {
    public:
        ChannelItem(uint16_t channel, uint8_t value, int32_t extra, bool dynamic, bool safety,
                    bool slowSafety, int32_t id);
        ChannelItem(const ChannelItem&) = delete;
        ChannelItem& operator=(const ChannelItem&) = delete;

        // The neighbours in the chain, or null at either end.
        ChannelItem* getNext() const;
        ChannelItem* getPrevious() const;

    private:
        friend class Fixture;
        ChannelItem* next_ = nullptr;
        ChannelItem* previous_ = nullptr;
        const Fixture* owner_ = nullptr;
    };

    // The seven channel notifications arrive with the channel that changed; the fixture's own
    // notifications follow. The fixture's selection is fixtureSelectedChanged, not a second
    // selectedChanged: an overload would hide the channel's selectedChanged in every listener
    // that overrides only one of them (a -Woverloaded-virtual warning under clang's -Wall).
    class Listener : public DmxChannelValue::Listener {
    public:
        virtual void manufacturerChanged(Fixture*) {}
        virtual void durationChanged(Fixture*) {}
        virtual void commentsChanged(Fixture*) {}
        virtual void channelCountChanged(Fixture*) {}
        virtual void productNameChanged(Fixture*) {}
        virtual void descriptionChanged(Fixture*) {}
        virtual void fixtureSelectedChanged(Fixture*) {}
        virtual void channelAdded(ChannelItem*) {}
        // Sent after the item is unlinked and just before it is destroyed.
        virtual void channelRemoved(ChannelItem*) {}
        virtual void channelsCleared() {}
    };

    // Registered on every channel of the fixture; repeats each channel notification to the
    // fixture's listeners.
    class DmxChannelValueListener : public DmxChannelValue::Listener {
    public:
        explicit DmxChannelValueListener(Fixture& fixture) : fixture_(fixture) {}

        void safetyChanged(DmxChannelValue* value) override;
        void slowSafetyChanged(DmxChannelValue* value) override;
        void dynamicChanged(DmxChannelValue* value) override;
        void channelChanged(DmxChannelValue* value) override;
        void valueChanged(DmxChannelValue* value) override;
        void selectedChanged(DmxChannelValue* value) override;
        void extraChanged(DmxChannelValue* value) override;

    private:
        Fixture& fixture_;
    };

    // Milliseconds of the system clock. Tests replace it to control selection times.
    using Clock = std::function<int64_t()>;
    // Installs a clock and returns the previous one; an empty clock restores the system clock.
    static Clock setClock(Clock clock);

    // id -2 means "not yet numbered": the fixture list numbers it when it is first added.
    Fixture(std::wstring description, std::wstring manufacturer, std::wstring productName,
            int32_t channelCount, std::wstring comments, int32_t duration, int32_t id = -2);
    // Destroys the channels without notifications.
    ~Fixture();
    Fixture(const Fixture&) = delete;
    Fixture& operator=(const Fixture&) = delete;

    // A copy of every field (number, selection and selection time included) and of every
    // channel value with its own fields, selection and id. The copy has no listeners: it is
    // not in any list yet.
    std::unique_ptr<Fixture> clone() const;

    const std::wstring& getDescription() const { return description_; }
    const std::wstring& getManufacturer() const { return manufacturer_; }
    const std::wstring& getProductName() const { return productName_; }
    const std::wstring& getComments() const { return comments_; }
    int32_t getChannelCount() const { return channelCount_; }
    // Milliseconds.
    int32_t getDuration() const { return duration_; }
    int32_t getId() const { return id_; }
    bool isSelected() const { return selected_; }
    // Milliseconds of the clock at the last change of the selection.
    int64_t getSelectionTime() const { return selectionTime_; }
    // Orders changes of the selection made within the same millisecond: every change of any
    // fixture's selection takes the next number of one process-wide counter.
    uint64_t getSelectionSequence() const { return selectionSequence_; }

    void setDescription(const std::wstring& description);
    void setManufacturer(const std::wstring& manufacturer);
    void setProductName(const std::wstring& productName);
    void setComments(const std::wstring& comments);
    void setChannelCount(int32_t channelCount);
    void setDuration(int32_t duration);
    // Also deselects every channel of the fixture (each channel notifies) before the fixture
    // notifies.
    void setSelected(bool selected);
    // The number is given by the fixture list; only it and the operations that restore a
    // fixture set it.
    void setId(int32_t id) { id_ = id; }

    // Appends a channel value (no duplicate check). id -1 takes the next free number; any other
    // id is kept, and the next free number moves past it so later numbers stay unique.
    ChannelItem* addChannel(uint16_t channel, uint8_t value, int32_t extra, bool dynamic,
                            bool safety, bool slowSafety, int32_t id = -1);
    // Unlinks the item, notifies channelRemoved and destroys it. The item must be this
    // fixture's.
    void removeChannel(ChannelItem* item);
    // Removes every channel as removeChannel does, then notifies channelsCleared once. Channel
    // numbers are not reused afterwards.
    void clearChannels();

    // The channel with this number, or null.
    ChannelItem* findChannel(int32_t id) const;
    // First and last channel in insertion order, or null when there is none.
    ChannelItem* getFirstChannel() const { return head_.getNext(); }
    ChannelItem* getLastChannel() const { return tail_.getPrevious(); }
    int32_t getCount() const { return count_; }
    int32_t getNextId() const { return nextId_; }

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }
    bool hasListener(Listener* listener) const { return listeners_.contains(listener); }

private:
    void linkAtEnd(ChannelItem* item);
    void unlink(ChannelItem* item);

    int32_t nextId_ = 0;
    int32_t count_ = 0;
    // Sentinels (channel 0, value 0, dynamic, id -1): never reported, never iterated.
    ChannelItem head_;
    ChannelItem tail_;
    DmxChannelValueListener forwarder_;
    bool selected_ = false;
    int64_t selectionTime_ = 0;
    uint64_t selectionSequence_ = 0;
    std::wstring description_;
    std::wstring manufacturer_;
    int32_t channelCount_;
    std::wstring productName_;
    std::wstring comments_;
    int32_t duration_;
    int32_t id_;
    Platform::ListenerSet<Listener> listeners_;
};

// Every fixture preset of the library, owned, in store order.
using FixtureStore = std::vector<std::unique_ptr<Fixture>>;

}  // namespace Project
