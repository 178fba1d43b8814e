#include "Audio/PlaybackQueue.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Audio {

bool PlaybackQueue::submit(WaveBuffer* buffer)
{
    if (inFlight_ >= WaveOut::kMaxQueued || !submitted_.push(buffer)) {
        return false;
    }
    ++inFlight_;
    return true;
}

WaveBuffer* PlaybackQueue::takeFinished()
{
    const std::optional<WaveBuffer*> buffer = finished_.pop();
    if (!buffer) {
        return nullptr;
    }
    --inFlight_;
    return *buffer;
}

void PlaybackQueue::clear(std::vector<WaveBuffer*>& returned)
{
    while (WaveBuffer* buffer = takeFinished()) {
        returned.push_back(buffer);
    }
    while (const std::optional<WaveBuffer*> buffer = submitted_.pop()) {
        returned.push_back(*buffer);
    }
    inFlight_ = 0;
    headOffset_ = 0;
    rendered_ = 0;
    for (Entry& entry : entries_) {
        entry.sequence.store(0, std::memory_order_relaxed);
    }
    published_.store(0, std::memory_order_release);
    lastPlayed_ = 0;
}

std::int64_t PlaybackQueue::playedAt(double now)
{
    const std::uint64_t newest = published_.load(std::memory_order_acquire);
    // The newest record whose first frame has been heard tells how far playing has come.
    for (std::uint64_t n = newest; n >= 1 && n + kEntries > newest; --n) {
        const Entry& entry = entries_[n % kEntries];
        if (entry.sequence.load(std::memory_order_acquire) != n) {
            break;  // overwritten by a newer call: the older ones are gone as well
        }
        const double dacTime = entry.dacTime.load(std::memory_order_relaxed);
        const std::int64_t before = entry.before.load(std::memory_order_relaxed);
        const std::int64_t count = entry.count.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if (entry.sequence.load(std::memory_order_relaxed) != n) {
            break;
        }
        if (dacTime <= now) {
            const double heard = std::floor((now - dacTime) * rate_);
            const std::int64_t played =
                before +
                (heard >= static_cast<double>(count) ? count : static_cast<std::int64_t>(heard));
            lastPlayed_ = std::max(lastPlayed_, played);
            break;
        }
    }
    return lastPlayed_;
}

bool PlaybackQueue::render(std::int16_t* out, std::size_t frames, double dacTime)
{
    const std::int64_t before = rendered_;
    std::size_t written = 0;
    bool finished = false;
    while (written < frames) {
        WaveBuffer* const* head = submitted_.front();
        if (!head) {
            break;
        }
        WaveBuffer* buffer = *head;
        const std::size_t n = std::min(buffer->frames() - headOffset_, frames - written);
        if (n > 0) {
            std::memcpy(out + 2 * written, buffer->samples.data() + 2 * headOffset_,
                        n * 2 * sizeof(std::int16_t));
        }
        written += n;
        headOffset_ += n;
        if (headOffset_ == buffer->frames()) {
            submitted_.pop();
            headOffset_ = 0;
            finished_.push(buffer);
            finished = true;
        }
    }
    if (written < frames) {
        std::memset(out + 2 * written, 0, (frames - written) * 2 * sizeof(std::int16_t));
    }
    rendered_ += static_cast<std::int64_t>(written);

    const std::uint64_t n = published_.load(std::memory_order_relaxed) + 1;
    Entry& entry = entries_[n % kEntries];
    entry.sequence.store(0, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    entry.dacTime.store(dacTime, std::memory_order_relaxed);
    entry.before.store(before, std::memory_order_relaxed);
    entry.count.store(static_cast<std::int64_t>(written), std::memory_order_relaxed);
    entry.sequence.store(n, std::memory_order_release);
    published_.store(n, std::memory_order_release);
    return finished;
}

}  // namespace Audio
