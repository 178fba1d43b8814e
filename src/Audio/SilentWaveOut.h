#pragma once

#include <cstdint>
#include <deque>
#include <memory>

#include "Audio/WaveOut.h"
#include "Platform/Clock.h"
#include "Platform/MessageWindow.h"

namespace Audio {

// A wave-out without a sound device: it consumes the queued frames at the output rate as
// measured on its clock and hands the buffers back as a device would, so that playback, the
// show clock and everything fed by them run on machines without sound and in tests. With a
// ManualClock (the same one the owning thread's queue runs on) its timing is exact.
//
// Playing starts at the first write after open() or reset(), and again at a write after the
// queue ran dry; the frames of a dry spell are not counted, as a device's counter stops when
// it has nothing to play. Done messages are posted from a timer on the owning thread at the
// end of each buffer, so an idle silent device never wakes its thread.
class SilentWaveOut final : public WaveOut {
public:
    explicit SilentWaveOut(const Platform::Clock& clock = Platform::Clock::steady());
    ~SilentWaveOut() override;

    std::wstring name() const override { return L"silent"; }
    int open(std::uint32_t rate, Platform::WindowHandle window) override;
    bool isOpen() const override { return rate_ != 0; }
    std::uint32_t rate() const override { return rate_; }
    bool write(WaveBuffer& buffer) override;
    void reset() override;
    std::int64_t playedFrames() override;
    void close() override;

private:
    struct Queued {
        WaveBuffer* buffer;
        std::uint64_t ticket;
        std::int64_t endFrame;  // counted like queuedEnd_
    };

    // Frames consumed by `now`: never more than were queued.
    std::int64_t consumedAt(std::int64_t now) const;
    // Posts the done messages of the buffers consumed by now and arms the timer for the next.
    void onTimer();
    void armTimer(std::int64_t now);

    const Platform::Clock& clock_;
    std::unique_ptr<Platform::MessageWindow> timerWindow_;  // on the owning thread, while open
    Platform::WindowHandle owner_;
    std::uint32_t rate_ = 0;
    std::uint64_t nextTicket_ = 1;
    std::deque<Queued> queue_;
    std::int64_t queuedEnd_ = 0;    // frames queued since open or reset
    std::int64_t startFrames_ = 0;  // frames consumed when playing last started
    std::int64_t startTime_ = 0;    // clock counts when playing last started
};

}  // namespace Audio
