#include "Project/FixtureList.h"

#include <algorithm>
#include <limits>

#include "Platform/Assert.h"

namespace Project {

FixtureList::FixtureItem* FixtureList::FixtureItem::getNext() const
{
    // The tail sentinel is the only item without a successor.
    return next_ != nullptr && next_->next_ != nullptr ? next_ : nullptr;
}

FixtureList::FixtureItem* FixtureList::FixtureItem::getPrevious() const
{
    return previous_ != nullptr && previous_->previous_ != nullptr ? previous_ : nullptr;
}

void FixtureList::FixtureListener::safetyChanged(DmxChannelValue* value)
{
    list_.listeners_.notify(&Listener::safetyChanged, value);
}

void FixtureList::FixtureListener::slowSafetyChanged(DmxChannelValue* value)
{
    list_.listeners_.notify(&Listener::slowSafetyChanged, value);
}

void FixtureList::FixtureListener::dynamicChanged(DmxChannelValue* value)
{
    list_.listeners_.notify(&Listener::dynamicChanged, value);
}

void FixtureList::FixtureListener::channelChanged(DmxChannelValue* value)
{
    list_.listeners_.notify(&Listener::channelChanged, value);
}

void FixtureList::FixtureListener::valueChanged(DmxChannelValue* value)
{
    list_.listeners_.notify(&Listener::valueChanged, value);
}

void FixtureList::FixtureListener::selectedChanged(DmxChannelValue* value)
{
    list_.listeners_.notify(&Listener::selectedChanged, value);
}

void FixtureList::FixtureListener::extraChanged(DmxChannelValue* value)
{
    list_.listeners_.notify(&Listener::extraChanged, value);
}

void FixtureList::FixtureListener::manufacturerChanged(Fixture* fixture)
{
    list_.listeners_.notify(&Listener::manufacturerChanged, fixture);
}

void FixtureList::FixtureListener::durationChanged(Fixture* fixture)
{
    list_.listeners_.notify(&Listener::durationChanged, fixture);
}

void FixtureList::FixtureListener::commentsChanged(Fixture* fixture)
{
    list_.listeners_.notify(&Listener::commentsChanged, fixture);
}

void FixtureList::FixtureListener::channelCountChanged(Fixture* fixture)
{
    list_.listeners_.notify(&Listener::channelCountChanged, fixture);
}

void FixtureList::FixtureListener::productNameChanged(Fixture* fixture)
{
    list_.listeners_.notify(&Listener::productNameChanged, fixture);
}

void FixtureList::FixtureListener::descriptionChanged(Fixture* fixture)
{
    list_.listeners_.notify(&Listener::descriptionChanged, fixture);
}

void FixtureList::FixtureListener::fixtureSelectedChanged(Fixture* fixture)
{
    list_.listeners_.notify(&Listener::fixtureSelectedChanged, fixture);
}

void FixtureList::FixtureListener::channelAdded(Fixture::ChannelItem* item)
{
    list_.listeners_.notify(&Listener::channelAdded, item);
}

void FixtureList::FixtureListener::channelRemoved(Fixture::ChannelItem* item)
{
    list_.listeners_.notify(&Listener::channelRemoved, item);
}

void FixtureList::FixtureListener::channelsCleared()
{
    list_.listeners_.notify(&Listener::channelsCleared);
}

FixtureList::FixtureList() : head_(nullptr, nullptr), tail_(nullptr, nullptr), forwarder_(*this)
{
    head_.next_ = &tail_;
    tail_.previous_ = &head_;
}

FixtureList::~FixtureList()
{
    FixtureItem* item = head_.next_;
    while (item != &tail_) {
        FixtureItem* next = item->next_;
        delete item;
        item = next;
    }
}

FixtureList::FixtureItem* FixtureList::addFixture(Fixture* fixture)
{
    SKY_ASSERT(fixture != nullptr, "FixtureList");
    // A listed fixture has the list's forwarder among its listeners; only then is the list
    // walked, so that filling a list stays linear.
    if (fixture->hasListener(&forwarder_)) {
        if (FixtureItem* listed = findItem(fixture)) {
            return listed;
        }
    }
    auto* item = new FixtureItem(fixture, this);
    fixture->addListener(&forwarder_);
    if (fixture->getId() == -2) {
        // After a clear nextId starts again at 0 while fixtures listed before keep their
        // numbers, so a new number also has to lie above every number handed out or seen.
        const int64_t id = std::max<int64_t>(nextId_, int64_t{highestId_} + 1);
        SKY_ASSERT(id < std::numeric_limits<int32_t>::max(), "FixtureList");
        fixture->setId(static_cast<int32_t>(id));
        nextId_ = static_cast<int32_t>(id + 1);
    }
    highestId_ = std::max(highestId_, fixture->getId());

    FixtureItem* last = tail_.previous_;
    item->previous_ = last;
    item->next_ = &tail_;
    last->next_ = item;
    tail_.previous_ = item;

    listeners_.notify(&Listener::fixtureAdded, item);
    ++count_;
    return item;
}

void FixtureList::removeFixture(FixtureItem* item)
{
    SKY_ASSERT(item != nullptr && item->owner_ == this, "FixtureList");
    item->previous_->next_ = item->next_;
    item->next_->previous_ = item->previous_;
    item->next_ = nullptr;
    item->previous_ = nullptr;
    item->fixture_->removeListener(&forwarder_);
    listeners_.notify(&Listener::fixtureRemoved, item);
    --count_;
    delete item;
}

void FixtureList::clear()
{
    while (FixtureItem* item = getFirst()) {
        removeFixture(item);
    }
    nextId_ = 0;
    count_ = 0;
    listeners_.notify(&Listener::listCleared);
}

FixtureList::FixtureItem* FixtureList::findItem(const Fixture* fixture) const
{
    for (FixtureItem* item = getFirst(); item != nullptr; item = item->getNext()) {
        if (item->fixture_ == fixture) {
            return item;
        }
    }
    return nullptr;
}

FixtureList::FixtureItem* FixtureList::findById(int32_t id) const
{
    for (FixtureItem* item = getFirst(); item != nullptr; item = item->getNext()) {
        if (item->fixture_->getId() == id) {
            return item;
        }
    }
    return nullptr;
}

}  // namespace Project
