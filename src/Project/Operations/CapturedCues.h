#pragma once

#include <cstddef>
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

    // Keeps a copy of the cue under its id; a cue already captured is kept as it was. With a
    // place (the number of cues of its timecode before it in the list), addTo puts the copy
    // back there.
    static constexpr int kNoPlace = -1;
    void capture(const Cue& cue, int place = kNoPlace);
    // Captures every selected cue of the list with its place, in list order.
    void captureSelected(const CueList& list);
    // The place the index-th captured cue was taken with.
    int placeAt(std::size_t index) const { return places_[index]; }
    bool contains(int id) const { return byId_.count(id) != 0; }
    bool empty() const { return cues_.empty(); }
    int size() const { return static_cast<int>(cues_.size()); }
    // The copies in the order they were captured.
    const std::vector<std::unique_ptr<Cue>>& cues() const { return cues_; }

    // Removes every listed cue whose id is captured.
    void removeFrom(CueList& list) const;
    // Adds a copy of every captured cue to the list, each with its own id: those captured
    // with a place back at that place (the list must then hold what it held when they were
    // removed, as an undo history ensures), the others after the cues of their timecode, in
    // the order of capture.
    void addTo(CueList& list) const;

private:
    std::vector<std::unique_ptr<Cue>> cues_;
    std::vector<int> places_;
    std::map<int, const Cue*> byId_;
};

}  // namespace Project
