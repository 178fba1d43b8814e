#include "GUIMain/TimelineCueIndex.h"

#include <algorithm>

namespace GUIMain {

void TimelineCueIndex::rebuild(const Project::CueList& cues, double framesPerSecond)
{
    entries_.clear();
    entries_.reserve(static_cast<std::size_t>(cues.getCount()));
    longestDurationMs_ = 0;
    for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
         cue = cue->getNext()) {
        entries_.push_back({cue->getTimecode().getMilliseconds(), cue});
        if (cue->getCommand().getType() == Project::CueCommand::TYPE_DMX512) {
            longestDurationMs_ = std::max(longestDurationMs_, durationMs(*cue, framesPerSecond));
        }
    }
    // The list keeps timecode order; a stable sort costs one pass when it holds.
    if (!std::is_sorted(entries_.begin(), entries_.end(),
                        [](const Entry& a, const Entry& b) { return a.ms < b.ms; })) {
        std::stable_sort(entries_.begin(), entries_.end(),
                         [](const Entry& a, const Entry& b) { return a.ms < b.ms; });
    }
    stale_ = false;
}

std::pair<std::size_t, std::size_t> TimelineCueIndex::range(double from, double to) const
{
    auto less = [](const Entry& e, double ms) { return e.ms < ms; };
    auto first = std::lower_bound(entries_.begin(), entries_.end(), from, less);
    auto last = std::lower_bound(first, entries_.end(), to, less);
    return {static_cast<std::size_t>(first - entries_.begin()),
            static_cast<std::size_t>(last - entries_.begin())};
}

double TimelineCueIndex::durationMs(const Project::Cue& cue, double framesPerSecond)
{
    if (cue.getDuration() > 0 && framesPerSecond > 0) {
        return cue.getDuration() * 1000.0 / framesPerSecond;
    }
    return std::max(0, cue.getDmxDuration());
}

}  // namespace GUIMain
