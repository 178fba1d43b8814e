#pragma once

#include <cstdint>
#include <iterator>

#include "Platform/ListenerSet.h"
#include "Project/Fixture.h"

namespace Project {

// The fixture presets shown on the fixture screen: all of the fixture store, or the hits of a
// search. The list owns its items but not the fixtures, which belong to the store. It gives
// each fixture its number the first time the fixture is listed and repeats every fixture
// notification to its own listeners. Main thread only.
class FixtureList {
public:
    class FixtureItem {
    public:
        Fixture* getFixture() const { return fixture_; }
        // The neighbours in the list, or null at either end.
        FixtureItem* getNext() const;
        FixtureItem* getPrevious() const;

    private:
        friend class FixtureList;
        FixtureItem(Fixture* fixture, const FixtureList* owner) : fixture_(fixture), owner_(owner)
        {
        }

        Fixture* fixture_;
        const FixtureList* owner_;
        FixtureItem* next_ = nullptr;
        FixtureItem* previous_ = nullptr;
    };

    // The fixture notifications arrive with the listed fixture (channel notifications with the
    // channel); the list adds its own three.
    class Listener : public Fixture::Listener {
    public:
        virtual void fixtureAdded(FixtureItem*) {}
        // Sent after the item is unlinked and just before it is destroyed.
        virtual void fixtureRemoved(FixtureItem*) {}
        virtual void listCleared() {}
    };

    // Registered on every listed fixture; repeats each of its notifications to the list's
    // listeners.
    class FixtureListener : public Fixture::Listener {
    public:
        explicit FixtureListener(FixtureList& list) : list_(list) {}

        void safetyChanged(DmxChannelValue* value) override;
        void slowSafetyChanged(DmxChannelValue* value) override;
        void dynamicChanged(DmxChannelValue* value) override;
        void channelChanged(DmxChannelValue* value) override;
        void valueChanged(DmxChannelValue* value) override;
        void selectedChanged(DmxChannelValue* value) override;
        void extraChanged(DmxChannelValue* value) override;
        void manufacturerChanged(Fixture* fixture) override;
        void durationChanged(Fixture* fixture) override;
        void commentsChanged(Fixture* fixture) override;
        void channelCountChanged(Fixture* fixture) override;
        void productNameChanged(Fixture* fixture) override;
        void descriptionChanged(Fixture* fixture) override;
        void fixtureSelectedChanged(Fixture* fixture) override;
        void channelAdded(Fixture::ChannelItem* item) override;
        void channelRemoved(Fixture::ChannelItem* item) override;
        void channelsCleared() override;

    private:
        FixtureList& list_;
    };

    // Iterates the listed fixtures, first to last.
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Fixture*;
        using difference_type = std::ptrdiff_t;
        using pointer = Fixture* const*;
        using reference = Fixture*;

        Iterator() = default;
        explicit Iterator(FixtureItem* item) : item_(item) {}
        Fixture* operator*() const { return item_->getFixture(); }
        Iterator& operator++()
        {
            item_ = item_->getNext();
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const Iterator&) const = default;

    private:
        FixtureItem* item_ = nullptr;
    };

    FixtureList();
    // Frees the items without touching the fixtures, which may be gone already. Fixtures that
    // outlive the list still hold its forwarder: clear the list first unless they are
    // destroyed next (a fixture sends nothing while it is destroyed).
    ~FixtureList();
    FixtureList(const FixtureList&) = delete;
    FixtureList& operator=(const FixtureList&) = delete;

    // Lists the fixture at the end unless it is listed already (then its item is returned and
    // nothing happens). An unnumbered fixture (id -2) gets the next number.
    FixtureItem* addFixture(Fixture* fixture);
    // Unlinks the item, notifies fixtureRemoved and destroys the item; the fixture stays. The
    // item must be this list's.
    void removeFixture(FixtureItem* item);
    // Removes every item as removeFixture does, restarts the numbering and notifies
    // listCleared once.
    void clear();

    FixtureItem* findItem(const Fixture* fixture) const;
    // The item of the listed fixture with this number, or null.
    FixtureItem* findById(int32_t id) const;
    FixtureItem* getFirst() const { return head_.getNext(); }
    FixtureItem* getLast() const { return tail_.getPrevious(); }
    Iterator begin() const { return Iterator(getFirst()); }
    Iterator end() const { return Iterator(); }
    int32_t getCount() const { return count_; }
    int32_t getNextId() const { return nextId_; }

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }

private:
    int32_t nextId_ = 0;
    int32_t count_ = 0;
    // The highest number this list has given or seen on a fixture it listed; never reset, so
    // that a fixture listed again after a clear cannot share its number with a new one.
    int32_t highestId_ = -1;
    Platform::ListenerSet<Listener> listeners_;
    // Sentinels: never reported, never iterated.
    FixtureItem head_;
    FixtureItem tail_;
    FixtureListener forwarder_;
};

}  // namespace Project
