#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Project/CueCommand.h"
#include "Project/CueList.h"
#include "Project/DmxChannelValue.h"

namespace Project {

// The fields of a cue that applying an effect or patching fixtures changes: metadata,
// prefire time, duration, command, DMX steps, DMX duration and next patch address. Kept
// before and after such a change, by cue id, to undo and redo it.
struct CueSnapshot {
    std::vector<std::pair<std::wstring, std::wstring>> metadata;
    int prefireTime = 0;
    int duration = 0;
    CueCommand command;
    DmxSteps dmxSteps;
    bool slowOnlyChannel = false;
    int dmxDuration = 0;
    int nextAddress = 1;

    static CueSnapshot of(const Cue& cue);
    // Gives the cue these values; false when the cue refuses the prefire time (its timecode
    // is not the one the snapshot was taken with).
    bool applyTo(Cue& cue) const;
};

// Snapshots by cue id.
class CueSnapshots {
public:
    void take(const Cue& cue) { snapshots_.insert_or_assign(cue.getId(), CueSnapshot::of(cue)); }
    bool empty() const { return snapshots_.empty(); }
    int size() const { return static_cast<int>(snapshots_.size()); }
    bool contains(int id) const { return snapshots_.count(id) != 0; }
    // Gives every listed cue with a snapshot its values; false when a cue refused.
    bool applyTo(CueList& cues) const;

private:
    std::map<int, CueSnapshot> snapshots_;
};

}  // namespace Project
