#include "Audio/SilentWaveOut.h"

#include <algorithm>
#include <limits>

#include "Audio/AudioMessages.h"
#include "Platform/Assert.h"
#include "Platform/MessageQueue.h"

namespace Audio {

namespace {

constexpr const char* kUnit = "SilentWaveOut";
constexpr std::uint32_t kTimerId = 1;

}  // namespace

SilentWaveOut::SilentWaveOut(const Platform::Clock& clock) : clock_(clock) {}

SilentWaveOut::~SilentWaveOut()
{
    close();
}

int SilentWaveOut::open(std::uint32_t rate, Platform::WindowHandle window)
{
    SKY_ASSERT(rate > 0, kUnit);
    SKY_ASSERT_TEXT(Platform::MessageQueue::current() != nullptr, "thread has a queue", kUnit);
    close();
    timerWindow_ = std::make_unique<Platform::MessageWindow>([this](const Platform::Message& m) {
        if (m.code == Platform::kMessageTimer) {
            onTimer();
        }
        return std::int64_t{0};
    });
    owner_ = window;
    rate_ = rate;
    queuedEnd_ = 0;
    startFrames_ = 0;
    startTime_ = clock_.now();
    return 0;
}

bool SilentWaveOut::write(WaveBuffer& buffer)
{
    if (!isOpen() || queue_.size() >= kMaxQueued) {
        return false;
    }
    const std::int64_t now = clock_.now();
    if (consumedAt(now) >= queuedEnd_) {
        // Idle or run dry: playing starts again with this buffer.
        startFrames_ = queuedEnd_;
        startTime_ = now;
    }
    buffer.ticket = nextTicket_++;
    queuedEnd_ += static_cast<std::int64_t>(buffer.frames());
    queue_.push_back({&buffer, buffer.ticket, queuedEnd_});
    armTimer(now);
    return true;
}

void SilentWaveOut::reset()
{
    while (!queue_.empty()) {
        const Queued q = queue_.front();
        queue_.pop_front();
        Platform::post(owner_, kMessageWaveOutDone, q.ticket,
                       reinterpret_cast<std::int64_t>(q.buffer));
    }
    if (timerWindow_) {
        timerWindow_->killTimer(kTimerId);
    }
    queuedEnd_ = 0;
    startFrames_ = 0;
    startTime_ = clock_.now();
}

std::int64_t SilentWaveOut::playedFrames()
{
    return isOpen() ? consumedAt(clock_.now()) : 0;
}

void SilentWaveOut::close()
{
    if (!isOpen()) {
        return;
    }
    reset();
    timerWindow_.reset();
    rate_ = 0;
}

std::int64_t SilentWaveOut::consumedAt(std::int64_t now) const
{
    const std::int64_t elapsed = std::max<std::int64_t>(0, now - startTime_);
    const __int128 frames = static_cast<__int128>(elapsed) * rate_ / clock_.frequency();
    const __int128 consumed = startFrames_ + frames;
    return static_cast<std::int64_t>(std::min<__int128>(consumed, queuedEnd_));
}

void SilentWaveOut::onTimer()
{
    const std::int64_t consumed = consumedAt(clock_.now());
    while (!queue_.empty() && queue_.front().endFrame <= consumed) {
        const Queued q = queue_.front();
        queue_.pop_front();
        Platform::post(owner_, kMessageWaveOutDone, q.ticket,
                       reinterpret_cast<std::int64_t>(q.buffer));
    }
    armTimer(clock_.now());
}

void SilentWaveOut::armTimer(std::int64_t now)
{
    if (queue_.empty()) {
        timerWindow_->killTimer(kTimerId);
        return;
    }
    // The moment the head buffer's last frame is consumed, rounded up to whole milliseconds
    // so that the timer never fires before it.
    const std::int64_t framesLeft = queue_.front().endFrame - startFrames_;
    const __int128 due =
        startTime_ + (static_cast<__int128>(framesLeft) * clock_.frequency() + rate_ - 1) / rate_;
    const __int128 counts = std::max<__int128>(0, due - now);
    const __int128 ms = (counts * 1000 + clock_.frequency() - 1) / clock_.frequency();
    const auto period = static_cast<std::uint32_t>(
        std::clamp<__int128>(ms, 1, std::numeric_limits<std::uint32_t>::max()));
    timerWindow_->setTimer(kTimerId, period);
}

}  // namespace Audio
