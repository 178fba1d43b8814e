#include "Project/Fixture.h"

#include <chrono>
#include <limits>
#include <utility>

#include "Platform/Assert.h"

namespace Project {

namespace {

int64_t systemMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

Fixture::Clock& currentClock()
{
    static Fixture::Clock clock = systemMilliseconds;
    return clock;
}

// The clock has millisecond resolution, so two selections can share a time; this counter
// orders them. Main thread only, like every fixture.
uint64_t nextSelectionSequence()
{
    static uint64_t sequence = 0;
    return ++sequence;
}

}  // namespace

Fixture::ChannelItem::ChannelItem(uint16_t channel, uint8_t value, int32_t extra, bool dynamic,
                                  bool safety, bool slowSafety, int32_t id)
    : DmxChannelValue(channel, value, extra, dynamic, safety, slowSafety, id)
{
}

Fixture::ChannelItem* Fixture::ChannelItem::getNext() const
{
    // The tail sentinel is the only item without a successor.
    return next_ != nullptr && next_->next_ != nullptr ? next_ : nullptr;
}

Fixture::ChannelItem* Fixture::ChannelItem::getPrevious() const
{
    return previous_ != nullptr && previous_->previous_ != nullptr ? previous_ : nullptr;
}

void Fixture::DmxChannelValueListener::safetyChanged(DmxChannelValue* value)
{
    fixture_.listeners_.notify(&Listener::safetyChanged, value);
}

void Fixture::DmxChannelValueListener::slowSafetyChanged(DmxChannelValue* value)
{
    fixture_.listeners_.notify(&Listener::slowSafetyChanged, value);
}

void Fixture::DmxChannelValueListener::dynamicChanged(DmxChannelValue* value)
{
    fixture_.listeners_.notify(&Listener::dynamicChanged, value);
}

void Fixture::DmxChannelValueListener::channelChanged(DmxChannelValue* value)
{
    fixture_.listeners_.notify(&Listener::channelChanged, value);
}

void Fixture::DmxChannelValueListener::valueChanged(DmxChannelValue* value)
{
    fixture_.listeners_.notify(&Listener::valueChanged, value);
}

void Fixture::DmxChannelValueListener::selectedChanged(DmxChannelValue* value)
{
    fixture_.listeners_.notify(&Listener::selectedChanged, value);
}

void Fixture::DmxChannelValueListener::extraChanged(DmxChannelValue* value)
{
    fixture_.listeners_.notify(&Listener::extraChanged, value);
}

Fixture::Clock Fixture::setClock(Clock clock)
{
    Clock previous = std::move(currentClock());
    currentClock() = clock ? std::move(clock) : Clock(systemMilliseconds);
    return previous;
}

Fixture::Fixture(std::wstring description, std::wstring manufacturer, std::wstring productName,
                 int32_t channelCount, std::wstring comments, int32_t duration, int32_t id)
    : head_(0, 0, 0, true, false, false, -1),
      tail_(0, 0, 0, true, false, false, -1),
      forwarder_(*this),
      description_(std::move(description)),
      manufacturer_(std::move(manufacturer)),
      channelCount_(channelCount),
      productName_(std::move(productName)),
      comments_(std::move(comments)),
      duration_(duration),
      id_(id)
{
    head_.next_ = &tail_;
    tail_.previous_ = &head_;
}

Fixture::~Fixture()
{
    ChannelItem* item = head_.next_;
    while (item != &tail_) {
        ChannelItem* next = item->next_;
        delete item;
        item = next;
    }
}

std::unique_ptr<Fixture> Fixture::clone() const
{
    auto copy = std::make_unique<Fixture>(description_, manufacturer_, productName_, channelCount_,
                                          comments_, duration_, id_);
    for (ChannelItem* item = getFirstChannel(); item != nullptr; item = item->getNext()) {
        ChannelItem* added = copy->addChannel(item->getChannel(), item->getValue(),
                                              item->getExtra(), item->isDynamic(), item->isSafety(),
                                              item->isSlowSafety(), item->getId());
        added->setSelected(item->isSelected());
    }
    copy->nextId_ = nextId_;
    copy->selected_ = selected_;
    copy->selectionTime_ = selectionTime_;
    copy->selectionSequence_ = selectionSequence_;
    return copy;
}

void Fixture::setDescription(const std::wstring& description)
{
    if (description_ != description) {
        description_ = description;
        listeners_.notify(&Listener::descriptionChanged, this);
    }
}

void Fixture::setManufacturer(const std::wstring& manufacturer)
{
    if (manufacturer_ != manufacturer) {
        manufacturer_ = manufacturer;
        listeners_.notify(&Listener::manufacturerChanged, this);
    }
}

void Fixture::setProductName(const std::wstring& productName)
{
    if (productName_ != productName) {
        productName_ = productName;
        listeners_.notify(&Listener::productNameChanged, this);
    }
}

void Fixture::setComments(const std::wstring& comments)
{
    if (comments_ != comments) {
        comments_ = comments;
        listeners_.notify(&Listener::commentsChanged, this);
    }
}

void Fixture::setChannelCount(int32_t channelCount)
{
    if (channelCount_ != channelCount) {
        channelCount_ = channelCount;
        listeners_.notify(&Listener::channelCountChanged, this);
    }
}

void Fixture::setDuration(int32_t duration)
{
    if (duration_ != duration) {
        duration_ = duration;
        listeners_.notify(&Listener::durationChanged, this);
    }
}

void Fixture::setSelected(bool selected)
{
    if (selected_ == selected) {
        return;
    }
    selected_ = selected;
    selectionTime_ = currentClock()();
    selectionSequence_ = nextSelectionSequence();
    for (ChannelItem* item = getFirstChannel(); item != nullptr; item = item->getNext()) {
        item->setSelected(false);
    }
    listeners_.notify(&Listener::fixtureSelectedChanged, this);
}

Fixture::ChannelItem* Fixture::addChannel(uint16_t channel, uint8_t value, int32_t extra,
                                          bool dynamic, bool safety, bool slowSafety, int32_t id)
{
    if (id == -1) {
        id = nextId_++;
    } else if (id >= nextId_ && id < std::numeric_limits<int32_t>::max()) {
        nextId_ = id + 1;
    }
    auto* item = new ChannelItem(channel, value, extra, dynamic, safety, slowSafety, id);
    item->owner_ = this;
    linkAtEnd(item);
    item->addListener(&forwarder_);
    listeners_.notify(&Listener::channelAdded, item);
    ++count_;
    return item;
}

void Fixture::removeChannel(ChannelItem* item)
{
    SKY_ASSERT(item != nullptr && item->owner_ == this, "Fixture");
    unlink(item);
    listeners_.notify(&Listener::channelRemoved, item);
    --count_;
    delete item;
}

void Fixture::clearChannels()
{
    while (ChannelItem* item = getFirstChannel()) {
        removeChannel(item);
    }
    listeners_.notify(&Listener::channelsCleared);
}

Fixture::ChannelItem* Fixture::findChannel(int32_t id) const
{
    for (ChannelItem* item = getFirstChannel(); item != nullptr; item = item->getNext()) {
        if (item->getId() == id) {
            return item;
        }
    }
    return nullptr;
}

void Fixture::linkAtEnd(ChannelItem* item)
{
    ChannelItem* last = tail_.previous_;
    item->previous_ = last;
    item->next_ = &tail_;
    last->next_ = item;
    tail_.previous_ = item;
}

void Fixture::unlink(ChannelItem* item)
{
    item->previous_->next_ = item->next_;
    item->next_->previous_ = item->previous_;
    item->next_ = nullptr;
    item->previous_ = nullptr;
}

}  // namespace Project
