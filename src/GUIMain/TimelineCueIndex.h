#pragma once

#include <cstddef>
#include <vector>

#include "Project/Cue.h"
#include "Project/CueList.h"

namespace GUIMain {

// The cues by time for drawing: the timeline finds the cues of its visible span with two
// binary searches instead of walking the whole list at every repaint. Built from the cue
// list (which keeps timecode order) when a cue was added, removed or moved; cue states and
// selections are read from the cues themselves, so playing changes nothing here.
class TimelineCueIndex {
public:
    struct Entry {
        double ms;
        const Project::Cue* cue;
    };

    void markStale() { stale_ = true; }
    bool isStale() const { return stale_; }
    void rebuild(const Project::CueList& cues, double framesPerSecond);

    const std::vector<Entry>& entries() const { return entries_; }
    // The entries with from <= ms < to, as a half-open range of indices.
    std::pair<std::size_t, std::size_t> range(double from, double to) const;
    // The longest DMX bar, so that bars starting left of the view are found too.
    double getLongestDurationMs() const { return longestDurationMs_; }

    // A DMX cue's bar length: its duration in frames, or the DMX duration the fixture patch
    // keeps when it has none.
    static double durationMs(const Project::Cue& cue, double framesPerSecond);

private:
    std::vector<Entry> entries_;
    double longestDurationMs_ = 0;
    bool stale_ = true;
};

}  // namespace GUIMain
