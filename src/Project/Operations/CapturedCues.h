#pragma once

#include <map>
#include <memory>
#include <vector>

#include "Project/Cue.h"
#include "Project/CueList.h"

namespace Project {

// Copies of cues kept by an operation, by cue id, to put them back into the cue list later.
//
// A plain copy of a listed cue would carry the listeners of the cue, its list's forwarder
// among them; put back after that list was gone, it would call into freed memory. These
// copies are made field by field and listen to nothing; the list they are added to hooks
// them up as it does any new cue.
class CapturedCues {
public:
    // A full copy of the cue (id, values, selection, state, metadata, DMX steps and fixture
    // channel values) without any listener.
    static std::unique_ptr<Cue> detachedCopy(const Cue& cue);

    // Keeps a copy of the cue under its id; a cue already captured is kept as it was.
    void capture(const Cue& cue);
    bool contains(int id) const { return byId_.count(id) != 0; }
    bool empty() const { return cues_.empty(); }
    int size() const { return static_cast<int>(cues_.size()); }
    // The copies in the order they were captured.
    const std::vector<std::unique_ptr<Cue>>& cues() const { return cues_; }

    // Removes every listed cue whose id is captured.
    void removeFrom(CueList& list) const;
    // Adds a copy of every captured cue to the list, each with its own id, in the order of
    // capture: cues of equal timecode come back in the order they had.
    void addTo(CueList& list) const;

private:
    std::vector<std::unique_ptr<Cue>> cues_;
    std::map<int, const Cue*> byId_;
};

}  // namespace Project
