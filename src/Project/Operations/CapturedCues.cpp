#include "Project/Operations/CapturedCues.h"

namespace Project {

std::unique_ptr<Cue> CapturedCues::detachedCopy(const Cue& cue)
{
    auto copy = std::make_unique<Cue>(cue.getTimecode(), cue.getCommand(), cue.getPrefireTime(),
                                      cue.getDuration(), cue.getGroup(), cue.getId(),
                                      cue.getReminderText());
    // The copy has no listeners yet, so none of these setters notifies anyone.
    copy->setNumber(cue.getNumber());
    copy->setGroupName(cue.getGroupName());
    copy->setQuantity(cue.getQuantity());
    copy->setPyroType(cue.getPyroType());
    copy->setState(cue.getState(), cue.getFlags(), ~0);
    copy->setSelected(cue.isSelected());
    copy->setNextAddress(cue.getNextAddress());
    copy->setDmxDuration(cue.getDmxDuration());
    copy->setDmxSteps(cue.getDmxSteps());
    if (cue.hasSlowOnlyChannel()) {
        // The mark is only ever derived from the steps while their text is rebuilt; rebuild,
        // then put the original command and steps back.
        copy->rebuildDmxText();
        copy->setCommand(cue.getCommand());
        copy->setDmxSteps(cue.getDmxSteps());
    }
    for (const DmxChannelValue& value : cue.getFixtureChannelValues()) {
        copy->addFixtureChannelValue(value);
    }
    const KeyValueList& metadata = cue.getMetadata();
    for (int i = 0; i < metadata.size(); ++i) {
        copy->getMetadata().insert(-1, *metadata.keyAt(i), *metadata.valueAt(i));
    }
    return copy;
}

void CapturedCues::capture(const Cue& cue, int place)
{
    if (contains(cue.getId())) {
        return;
    }
    cues_.push_back(detachedCopy(cue));
    places_.push_back(place);
    byId_.emplace(cue.getId(), cues_.back().get());
}

void CapturedCues::captureSelected(const CueList& list)
{
    int place = 0;
    const CueList::CueItem* previous = nullptr;
    for (const CueList::CueItem* cue = list.first(); cue != list.end(); cue = cue->getNext()) {
        const bool sameTime =
            previous != nullptr && previous->getTimecode().compare(cue->getTimecode()) == 0;
        place = sameTime ? place + 1 : 0;
        previous = cue;
        if (cue->isSelected()) {
            capture(*cue, place);
        }
    }
}

void CapturedCues::removeFrom(CueList& list) const
{
    std::vector<Cue*> doomed;
    for (CueList::CueItem* cue = list.first(); cue != list.end(); cue = cue->getNext()) {
        if (contains(cue->getId())) {
            doomed.push_back(cue);
        }
    }
    for (Cue* cue : doomed) {
        list.remove(cue);
    }
}

void CapturedCues::addTo(CueList& list) const
{
    std::vector<CueList::PlacedCue> placed;
    for (std::size_t i = 0; i < cues_.size(); ++i) {
        if (places_[i] != kNoPlace) {
            placed.push_back({cues_[i].get(), places_[i]});
        }
    }
    list.addCopiesAt(placed);
    for (std::size_t i = 0; i < cues_.size(); ++i) {
        if (places_[i] == kNoPlace) {
            list.addCopy(*cues_[i], false);
        }
    }
}

}  // namespace Project
