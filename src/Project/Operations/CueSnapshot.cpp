#include "Project/Operations/CueSnapshot.h"

namespace Project {

CueSnapshot CueSnapshot::of(const Cue& cue)
{
    CueSnapshot snapshot;
    const KeyValueList& metadata = cue.getMetadata();
    snapshot.metadata.reserve(metadata.size());
    for (int i = 0; i < metadata.size(); ++i) {
        snapshot.metadata.emplace_back(*metadata.keyAt(i), *metadata.valueAt(i));
    }
    snapshot.prefireTime = cue.getPrefireTime();
    snapshot.duration = cue.getDuration();
    snapshot.command = cue.getCommand();
    snapshot.dmxSteps = cue.getDmxSteps();
    snapshot.slowOnlyChannel = cue.hasSlowOnlyChannel();
    snapshot.dmxDuration = cue.getDmxDuration();
    snapshot.nextAddress = cue.getNextAddress();
    return snapshot;
}

bool CueSnapshot::applyTo(Cue& cue) const
{
    if (!cue.setPrefireTime(prefireTime)) {
        return false;
    }
    cue.setDuration(duration);
    cue.setDmxSteps(dmxSteps);
    if (cue.hasSlowOnlyChannel() != slowOnlyChannel) {
        // The mark follows the steps only while their text is rebuilt; the command is set
        // right after, so the rebuilt text does not stay.
        cue.rebuildDmxText();
    }
    cue.setCommand(command);
    // Setting the command takes its steps; the cue's own steps may differ from them.
    cue.setDmxSteps(dmxSteps);
    cue.setDmxDuration(dmxDuration);
    cue.setNextAddress(nextAddress);

    KeyValueList& list = cue.getMetadata();
    bool same = list.size() == static_cast<int>(metadata.size());
    for (int i = 0; same && i < list.size(); ++i) {
        same = *list.keyAt(i) == metadata[i].first && *list.valueAt(i) == metadata[i].second;
    }
    if (!same) {
        list.clear();
        for (const auto& [key, value] : metadata) {
            list.insert(-1, key, value);
        }
    }
    return true;
}

bool CueSnapshots::applyTo(CueList& cues) const
{
    bool applied = true;
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const auto snapshot = snapshots_.find(cue->getId());
        if (snapshot != snapshots_.end() && !snapshot->second.applyTo(*cue)) {
            applied = false;
        }
    }
    return applied;
}

}  // namespace Project
