#include "Project/CueList.h"

#include <iterator>
#include <memory>
#include <utility>

#include "Platform/Assert.h"

namespace Project {

namespace {
constexpr const char* kUnit = "CueList";
}  // namespace

CueList::CueItem::CueItem() : Cue(SMPTE(), CueCommand(), 0, 0, 0, -1, std::string()) {}

CueList::CueItem::CueItem(const SMPTE& timecode, const CueCommand& command, int prefireTime,
                          int duration, int group, int id, const std::string& reminderText)
    : Cue(timecode, command, prefireTime, duration, group, id, reminderText)
{
}

CueList::CueItem::CueItem(const Cue& cue, int id) : Cue(cue)
{
    setId(id);
}

template <typename Member, typename... Args>
void CueList::CueListener::forward(Cue* cue, Member member, const Args&... args)
{
    if (list_->member(cue)) {
        list_->listeners_.notify(member, cue, args...);
    }
}

void CueList::CueListener::cueNumberChanged(Cue* cue)
{
    forward(cue, &Listener::cueNumberChanged);
}

void CueList::CueListener::cueTimecodeChanged(Cue* cue)
{
    CueItem* item = list_->member(cue);
    if (item) {
        // Listeners see the cue already at its new place.
        list_->replace(item);
        list_->listeners_.notify(&Listener::cueTimecodeChanged, cue);
    }
}

void CueList::CueListener::cuePrefireTimeChanged(Cue* cue)
{
    forward(cue, &Listener::cuePrefireTimeChanged);
}

void CueList::CueListener::cueCommandChanged(Cue* cue)
{
    forward(cue, &Listener::cueCommandChanged);
}

void CueList::CueListener::cueDurationChanged(Cue* cue)
{
    forward(cue, &Listener::cueDurationChanged);
}

void CueList::CueListener::cuePyroTypeChanged(Cue* cue)
{
    forward(cue, &Listener::cuePyroTypeChanged);
}

void CueList::CueListener::cueReminderTextChanged(Cue* cue)
{
    forward(cue, &Listener::cueReminderTextChanged);
}

void CueList::CueListener::cueGroupNameChanged(Cue* cue)
{
    forward(cue, &Listener::cueGroupNameChanged);
}

void CueList::CueListener::cueGroupChanged(Cue* cue)
{
    forward(cue, &Listener::cueGroupChanged);
}

void CueList::CueListener::cueQuantityChanged(Cue* cue)
{
    forward(cue, &Listener::cueQuantityChanged);
}

void CueList::CueListener::cueStateChanged(Cue* cue)
{
    forward(cue, &Listener::cueStateChanged);
}

void CueList::CueListener::cueSelectionChanged(Cue* cue)
{
    forward(cue, &Listener::cueSelectionChanged);
}

void CueList::CueListener::cueMetadataInserted(Cue* cue, int index, const std::wstring& key,
                                               const std::wstring& value)
{
    forward(cue, &Listener::cueMetadataInserted, index, key, value);
}

void CueList::CueListener::cueMetadataValueChanged(Cue* cue, int index, const std::wstring& key,
                                                   const std::wstring& value)
{
    forward(cue, &Listener::cueMetadataValueChanged, index, key, value);
}

void CueList::CueListener::cueMetadataRemoved(Cue* cue, int index, const std::wstring& key)
{
    forward(cue, &Listener::cueMetadataRemoved, index, key);
}

void CueList::CueListener::cueMetadataChanged(Cue* cue)
{
    forward(cue, &Listener::cueMetadataChanged);
}

CueList::CueList()
{
    head_.next_ = &tail_;
    tail_.previous_ = &head_;
}

CueList::~CueList()
{
    CueItem* item = head_.next_;
    while (item != &tail_) {
        CueItem* next = item->next_;
        delete item;
        item = next;
    }
}

CueList::CueItem* CueList::add(const SMPTE& timecode, const CueCommand& command, int prefireTime,
                               int duration, int group, int id, const std::string& reminderText)
{
    if (id == -1) {
        id = nextId_++;
    }
    auto item = std::unique_ptr<CueItem>(
        new CueItem(timecode, command, prefireTime, duration, group, id, reminderText));
    item->setQuantity(1);
    return adopt(item.release());
}

CueList::CueItem* CueList::addCopy(const Cue& cue, bool newId)
{
    const int id = newId ? nextId_++ : cue.getId();
    return adopt(new CueItem(cue, id));
}

void CueList::addCopiesAt(const std::vector<PlacedCue>& cues)
{
    const CueItem* previous = nullptr;
    int previousPlace = 0;
    for (const PlacedCue& placed : cues) {
        const SMPTE& timecode = placed.cue->getTimecode();
        const auto sameTime = [&](const CueItem* item) {
            return item != &tail_ && item->getTimecode().compare(timecode) == 0;
        };
        // The cue that takes the place now; the new one goes before it.
        CueItem* successor = nullptr;
        int steps = placed.place;
        if (previous != nullptr && previous->getTimecode().compare(timecode) == 0 &&
            placed.place > previousPlace) {
            successor = previous->next_;
            steps = placed.place - previousPlace - 1;
        } else {
            const auto first = index_.lower_bound(timecode);
            successor = first == index_.end() ? &tail_ : first->second;
        }
        for (; steps > 0 && sameTime(successor); --steps) {
            successor = successor->next_;
        }
        previous = adopt(new CueItem(*placed.cue, placed.cue->getId()), successor);
        previousPlace = placed.place;
    }
}

CueList::CueItem* CueList::adopt(CueItem* item, CueItem* successor)
{
    item->addListener(&forwarder_);
    place(item, successor);
    // The count includes the cue before anyone hears of it, so that a listener sees a list
    // whose count matches its sequence.
    ++count_;
    listeners_.notify(&Listener::cueAdded, static_cast<Cue*>(item));
    return item;
}

bool CueList::remove(Cue* cue)
{
    CueItem* item = member(cue);
    SKY_ASSERT_TEXT(item != nullptr, "cue is in this list", kUnit);
    unlink(item);
    item->removeListener(&forwarder_);
    --count_;
    listeners_.notify(&Listener::cueRemoved, cue);
    delete item;
    return true;
}

void CueList::clear()
{
    while (head_.next_ != &tail_) {
        remove(head_.next_);
    }
}

void CueList::renumber()
{
    // Numbers follow the order only; they can be off only after a cue was placed or taken out.
    if (!numbersStale_) {
        return;
    }
    numbersStale_ = false;
    int number = 1;
    for (CueItem* item = head_.next_; item != &tail_; item = item->next_) {
        item->setNumber(number++);
    }
}

void CueList::place(CueItem* item, CueItem* successor)
{
    // A multimap inserts a key at the upper end of its equal keys, the place a cue equal to
    // others takes in the sequence; with a hint, as close before the hint as the order
    // allows, which is right before a successor of an equal or the next timecode.
    if (successor == nullptr) {
        item->position_ = index_.emplace(item->getTimecode(), item);
    } else {
        const auto hint = successor == &tail_ ? index_.end() : successor->position_;
        item->position_ = index_.emplace_hint(hint, item->getTimecode(), item);
    }
    const auto after = std::next(item->position_);
    CueItem* next = after == index_.end() ? &tail_ : after->second;
    item->next_ = next;
    item->previous_ = next->previous_;
    next->previous_->next_ = item;
    next->previous_ = item;
    item->list_ = this;
    numbersStale_ = true;
}

void CueList::unlink(CueItem* item)
{
    index_.erase(item->position_);
    item->previous_->next_ = item->next_;
    item->next_->previous_ = item->previous_;
    item->next_ = nullptr;
    item->previous_ = nullptr;
    item->list_ = nullptr;
    numbersStale_ = true;
}

void CueList::replace(CueItem* item)
{
    unlink(item);
    place(item);
}

CueList::CueItem* CueList::member(Cue* cue)
{
    auto* item = dynamic_cast<CueItem*>(cue);
    return item != nullptr && item->list_ == this ? item : nullptr;
}

}  // namespace Project
