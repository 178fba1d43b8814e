#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Audio/SpscRing.h"
#include "Audio/WaveOut.h"

namespace Audio {

// The buffers between a wave-out's owner and the sound device's callback thread, and the
// record of when the rendered frames reach the listener. The device's part (render) neither
// allocates nor locks nor logs: it only copies samples and moves ring indexes.
//
// Two rings carry buffer pointers: submitted (owner -> callback) and finished (callback ->
// owner). The owner never has more than WaveOut::kMaxQueued buffers in them together, so
// the finished ring cannot overflow.
//
// For the played counter the callback publishes, per call, the stream time at which its
// first frame leaves the converter (the DAC time), how many queued frames were rendered
// before the call and how many in it (the rest of a call that ran dry is silence). The owner
// asks with the stream time now and gets the queued frames whose DAC time has passed, so the
// show clock never runs ahead of what the audience hears.
class PlaybackQueue {
public:
    PlaybackQueue() = default;
    PlaybackQueue(const PlaybackQueue&) = delete;
    PlaybackQueue& operator=(const PlaybackQueue&) = delete;

    // Owner, while the callback is stopped.
    void setRate(std::uint32_t rate) { rate_ = rate; }

    // Owner: queues a buffer behind the others. False when kMaxQueued are in the queue.
    bool submit(WaveBuffer* buffer);
    // Owner: the next buffer the callback has finished with, or null.
    WaveBuffer* takeFinished();
    // Owner: buffers submitted and not yet taken back.
    std::size_t inFlight() const { return inFlight_; }
    // Owner, while the callback is stopped: appends every buffer not yet taken back to
    // `returned` (the finished ones first, all in queue order), empties the queue and starts
    // the played counter again at 0.
    void clear(std::vector<WaveBuffer*>& returned);
    // Owner: the queued frames that have reached the listener by stream time `now` (seconds,
    // the device's clock); it never goes back between clears.
    std::int64_t playedAt(double now);

    // Callback: fills `frames` frames of `out` (interleaved stereo) from the queued buffers,
    // silence once they run out; the first frame is heard at stream time `dacTime`. True when
    // a buffer was finished and waits in the finished ring.
    bool render(std::int16_t* out, std::size_t frames, double dacTime);

private:
    // One callback's record, guarded by its own sequence number (a seqlock): the callback
    // sets the sequence to 0, then a release fence, the fields, and the sequence n with
    // release; the owner reads the sequence with acquire, the fields, an acquire fence and
    // the sequence again, and trusts the fields only when both reads gave n.
    struct Entry {
        std::atomic<std::uint64_t> sequence{0};
        std::atomic<double> dacTime{0};
        std::atomic<std::int64_t> before{0};
        std::atomic<std::int64_t> count{0};
    };
    static_assert(std::atomic<double>::is_always_lock_free);
    // More calls than the device's latency can hold ahead of the present.
    static constexpr std::size_t kEntries = 64;

    SpscRing<WaveBuffer*, WaveOut::kMaxQueued> submitted_;
    SpscRing<WaveBuffer*, WaveOut::kMaxQueued> finished_;
    std::array<Entry, kEntries> entries_;
    // The number of the last published entry (entries count from 1); release by the callback.
    std::atomic<std::uint64_t> published_{0};

    // Owner only.
    std::uint32_t rate_ = 44100;
    std::size_t inFlight_ = 0;
    std::int64_t lastPlayed_ = 0;

    // Callback only (and the owner in clear(), while the callback is stopped).
    std::size_t headOffset_ = 0;  // frames of the head buffer already rendered
    std::int64_t rendered_ = 0;   // queued frames rendered since the last clear
};

}  // namespace Audio
