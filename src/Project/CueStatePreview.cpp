#include "Project/CueStatePreview.h"

#include <algorithm>
#include <climits>

#include "Project/Cue.h"
#include "Project/CueList.h"
#include "Project/CueStatePreviewUpdate.h"

namespace Project {

namespace {

constexpr int kStateFlagMask = FLAG_TESTED | FLAG_NO_CONTINUITY | FLAG_COMMFAIL;

struct ByFireTime {
    bool operator()(const std::pair<int64_t, int32_t>& a, int64_t b) const { return a.first < b; }
    bool operator()(int64_t a, const std::pair<int64_t, int32_t>& b) const { return a < b.first; }
};

class ApplyingScope {
public:
    explicit ApplyingScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~ApplyingScope() { flag_ = false; }
    ApplyingScope(const ApplyingScope&) = delete;
    ApplyingScope& operator=(const ApplyingScope&) = delete;

private:
    bool& flag_;
};

}  // namespace

void CueStatePreview::rebuild(CueList& cues)
{
    entries_.clear();
    fireRunningMax_.clear();
    boundaries_.clear();
    byFire_.clear();
    entries_.reserve(static_cast<size_t>(cues.getCount()));
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const int64_t timecode = cue->getTimecode().getFrameNo();
        const int64_t fire = timecode - cue->getPrefireTime();
        const int64_t end =
            timecode + (cue->getDuration() == 0 ? CueStatePreviewUpdate::kMinimumActiveFrames
                                                : cue->getDuration());
        const auto index = static_cast<int32_t>(entries_.size());
        entries_.push_back({cue, fire, timecode, end});
        fireRunningMax_.push_back(fireRunningMax_.empty() ? fire
                                                          : std::max(fireRunningMax_.back(), fire));
        boundaries_.emplace_back(fire, index);
        boundaries_.emplace_back(timecode, index);
        boundaries_.emplace_back(end, index);
        byFire_.emplace_back(fire, index);
    }
    std::sort(boundaries_.begin(), boundaries_.end());
    std::sort(byFire_.begin(), byFire_.end());
}

std::optional<int64_t> CueStatePreview::nextFireAfter(int64_t position) const
{
    // The running maximum first exceeds the position at the first cue that fires after it.
    const auto first = std::upper_bound(fireRunningMax_.begin(), fireRunningMax_.end(), position);
    if (first == fireRunningMax_.end()) {
        return std::nullopt;
    }
    return entries_[static_cast<size_t>(first - fireRunningMax_.begin())].fire;
}

void CueStatePreview::setState(const Entry& entry, int64_t position)
{
    int state = CUE_DONE;
    if (nextFire_ && entry.fire == *nextFire_) {
        state = CUE_NEXT;
    } else if (position < entry.fire) {
        state = CUE_QUEUED;
    } else if (position < entry.timecode) {
        state = CUE_PREFIRE;
    } else if (position < entry.end) {
        state = CUE_ACTIVE;
    }
    entry.cue->setState(state, FLAG_TESTED, kStateFlagMask);
}

void CueStatePreview::apply(CueList& cues, int positionFrames)
{
    const ApplyingScope applying(applying_);
    const int64_t position = positionFrames;
    if (!valid_) {
        rebuild(cues);
        valid_ = true;
        position_ = position;
        nextFire_ = nextFireAfter(position);
        for (const Entry& entry : entries_) {
            setState(entry, position);
        }
        return;
    }
    if (position == position_) {
        return;
    }
    const std::optional<int64_t> oldNext = nextFire_;
    nextFire_ = nextFireAfter(position);
    const int64_t low = std::min(position, position_);
    const int64_t high = std::max(position, position_);
    position_ = position;

    // A boundary b changes "position < b" exactly when it lies in (low, high].
    const auto from =
        std::upper_bound(boundaries_.begin(), boundaries_.end(), std::make_pair(low, INT32_MAX));
    const auto to =
        std::upper_bound(boundaries_.begin(), boundaries_.end(), std::make_pair(high, INT32_MAX));
    for (auto it = from; it != to; ++it) {
        setState(entries_[static_cast<size_t>(it->second)], position);
    }
    if (oldNext != nextFire_) {
        for (const std::optional<int64_t>& fire : {oldNext, nextFire_}) {
            if (!fire) {
                continue;
            }
            const auto range =
                std::equal_range(byFire_.begin(), byFire_.end(), *fire, ByFireTime{});
            for (auto it = range.first; it != range.second; ++it) {
                setState(entries_[static_cast<size_t>(it->second)], position);
            }
        }
    }
}

}  // namespace Project
