#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace Project {

class CueList;
class Cue;

// Keeps the cue states of the position preview up to date as the position moves, touching
// only the cues whose state the move can change. A cue's preview state depends on the
// position only through three boundaries (its fire time, its timecode, its end) and on which
// fire time is next; so a move from p0 to p1 changes the cues with a boundary in
// (min(p0, p1), max(p0, p1)] and the cues of the old and the new next fire time, nothing else.
// While a show plays that is a handful of cues a frame instead of the whole list.
//
// The first apply() after invalidate() walks the whole list and builds the index; the owner
// invalidates on every change to the cues that it does not make itself (cues added, removed or
// moved, fire times and durations, states set by anyone else). The states it sets are those of
// CueStatePreviewUpdate::previewState, walked in list order.
class CueStatePreview {
public:
    void invalidate() { valid_ = false; }
    bool isValid() const { return valid_; }
    // True while apply() sets states: the cue events it causes are its own.
    bool isApplying() const { return applying_; }

    // Sets the preview state of every cue whose state the position implies differently from
    // the last call; the first call after invalidate() sets every cue.
    void apply(CueList& cues, int positionFrames);

private:
    struct Entry {
        Cue* cue;
        int64_t fire;
        int64_t timecode;
        int64_t end;
    };

    void rebuild(CueList& cues);
    // The fire time of the first cue in list order whose fire time lies after the position.
    std::optional<int64_t> nextFireAfter(int64_t position) const;
    void setState(const Entry& entry, int64_t position);

    std::vector<Entry> entries_;  // in list order
    // The largest fire time among entries 0..i: rising, so the first cue in list order that
    // fires after a position is found by binary search.
    std::vector<int64_t> fireRunningMax_;
    // Every entry's three boundaries, by time.
    std::vector<std::pair<int64_t, int32_t>> boundaries_;
    // Entry indices by fire time: the cues that share the next fire time.
    std::vector<std::pair<int64_t, int32_t>> byFire_;
    bool valid_ = false;
    bool applying_ = false;
    int64_t position_ = 0;
    std::optional<int64_t> nextFire_;
};

}  // namespace Project
