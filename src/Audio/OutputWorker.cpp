#include "Audio/OutputWorker.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "Audio/AudioMessages.h"
#include "Platform/MessageQueue.h"

namespace Audio {

namespace {

constexpr std::uint32_t kPositionTimer = 1;
// Position reports. A show clocked by the audio fires on the controller's ticks, so those
// come every millisecond; without a controller the reports only move the display and the
// show position, whose frames last 33 to 42 ms, and every 10 ms is plenty. The reported
// position is read from the device counter either way, so it is exact whenever it comes.
constexpr std::uint32_t kShowClockPeriodMs = 1;
constexpr std::uint32_t kDisplayPeriodMs = 10;
constexpr std::uint32_t kRateWithoutTrack = 44100;
constexpr std::int64_t kMonitorStep = 256;

}  // namespace

OutputWorker::OutputWorker(Platform::WindowHandle front, DeviceFactory makeDevice,
                           const Platform::Clock& clock)
    : clock_(clock), makeDevice_(std::move(makeDevice)), front_(front)
{
}

OutputWorker::~OutputWorker() = default;

void OutputWorker::run(std::promise<Platform::WindowHandle>& ready)
{
    Platform::MessageQueue queue(clock_);
    Platform::MessageWindow window([this](const Platform::Message& m) { return handle(m); });
    window_ = &window;
    device_ = makeDevice_(clock_);
    ready.set_value(window.handle());
    Platform::post(front_, kMessageOutputReady, window.handle().value());
    queue.run();
    closeDevice();
    device_.reset();
    reader_.reset();
    window_ = nullptr;
}

std::int64_t OutputWorker::handle(const Platform::Message& m)
{
    switch (m.code) {
        case kMessageQuit:
            closeDevice();
            reader_.reset();
            Platform::postQuit();
            return 0;
        case kMessageLoad: return load(*reinterpret_cast<const std::wstring*>(m.lParam));
        case kMessagePlay: play(); return 0;
        case kMessagePause: pause(); return 0;
        case kMessageStop: stop(m.wParam != 0); return 0;
        case kMessageOffset:
            offset_ = m.lParam;
            stop(true);
            return 0;
        case kMessagePosition: return m.wParam == 0 ? currentPosition() : setPosition(m.lParam);
        case kMessageMonitorWindow: monitor_ = Platform::WindowHandle(m.wParam); return 0;
        case kMessageControllerWindow:
            controller_ = Platform::WindowHandle(static_cast<std::uint64_t>(m.lParam));
            return 0;
        case kMessageSpeed: changeSpeed(m.lParam); return 0;
        case kMessageResetting: resetting_ = m.wParam != 0; return 0;
        case Platform::kMessageTimer: onTimer(); return 0;
        case kMessageWaveOutDone: onBufferDone(m); return 0;
        default: return 0;
    }
}

int OutputWorker::load(const std::wstring& path)
{
    if (device_->isOpen()) {
        stop(true);
        closeDevice();
    }
    reader_.reset();
    postState(0);
    auto reader = std::make_unique<FileIO::WaveFileReader>();
    if (!path.empty() && reader->open(path)) {
        reader_ = std::move(reader);
    }
    // The slow-down in force applies to the new track as well, so that the front's
    // conversions (output rate x speed) stay true.
    outputRate_ = std::max<std::uint32_t>(1, fileRate() / static_cast<std::uint32_t>(speed_));
    if (const int error = device_->open(outputRate_, window_->handle())) {
        return error;
    }
    for (WaveBuffer& buffer : buffers_) {
        buffer.samples.assign(2 * kBufferFrames, 0);
        buffer.ticket = 0;
    }
    Platform::post(front_, kMessageTrackLoaded, outputRate_, frameCount());
    postState(1);
    return 0;
}

void OutputWorker::play()
{
    if (playing_ || !device_->isOpen()) {
        return;
    }
    playing_ = true;
    if (reader_) {
        // Negative before the track: the stream plays silence until the track begins.
        reader_->setStreamPosition(std::min(frameCount(), base_ - offset_));
    }
    for (WaveBuffer& buffer : buffers_) {
        queueBuffer(buffer);
    }
    postState(2);
    Platform::post(window_->handle(), Platform::kMessageTimer, kPositionTimer);
}

void OutputWorker::pause()
{
    if (!playing_) {
        play();
        return;
    }
    base_ = currentPosition();
    resetDevice();
    postState(3);
    playing_ = false;
}

void OutputWorker::stop(bool returnToOffset)
{
    std::int64_t target = offset_;
    // A second stop at the offset goes on to the start of the timeline.
    if (!returnToOffset && target == base_ && !playing_) {
        target = 0;
    }
    base_ = target;
    notify(kMessagePositionReport, outputRate_, base_);
    toController(kMessageControllerResync, base_);
    if (playing_) {
        resetDevice();
        postState(1);
        playing_ = false;
    } else if (device_->isOpen()) {
        // Without a device there is no track to be stopped: the front stays at "no track".
        postState(1);
    }
}

std::int64_t OutputWorker::setPosition(std::int64_t position)
{
    if (!device_->isOpen()) {
        return 0;
    }
    const bool wasPlaying = playing_;
    if (playing_) {
        pause();
    }
    base_ = position;
    notify(kMessagePositionReport, outputRate_, position);
    toController(kMessageControllerResync, position);
    if (wasPlaying) {
        Platform::post(window_->handle(), kMessagePlay);
    }
    return position;
}

void OutputWorker::changeSpeed(std::int64_t speed)
{
    speed_ = std::clamp<std::int64_t>(speed, 1, 0xFFFF);
    if (!device_->isOpen()) {
        return;
    }
    const std::int64_t position = currentPosition();
    const std::uint32_t rate =
        std::max<std::uint32_t>(1, fileRate() / static_cast<std::uint32_t>(speed_));
    notify(kMessagePositionReport, rate, position);
    closeDevice();
    base_ = position;
    outputRate_ = rate;
    if (device_->open(outputRate_, window_->handle()) != 0) {
        // Nothing can play any more: the front goes back to "no track".
        postState(0);
        return;
    }
    Platform::post(front_, kMessageFormatChanged, outputRate_, frameCount());
    play();
}

void OutputWorker::onTimer()
{
    if (playing_) {
        const std::uint32_t period = controller_ ? kShowClockPeriodMs : kDisplayPeriodMs;
        if (timerPeriod_ != period) {
            window_->setTimer(kPositionTimer, period);
            timerPeriod_ = period;
        }
    } else if (timerPeriod_ != 0) {
        window_->killTimer(kPositionTimer);
        timerPeriod_ = 0;
    }
    const std::int64_t position = currentPosition();
    Platform::post(front_, kMessagePositionReport, outputRate_, position);
    // A level reading spans 256 frames (6 ms at 44.1 kHz); the monitor hears of a position
    // once playing has moved on by one reading, instead of waking a thousand times a second
    // for readings that would overlap almost entirely.
    if (monitor_ && std::abs(position - monitorPosition_) >= kMonitorStep) {
        Platform::post(monitor_, kMessagePositionReport, outputRate_, position);
        monitorPosition_ = position;
    }
    toController(kMessageControllerTick, position);
}

void OutputWorker::onBufferDone(const Platform::Message& m)
{
    for (WaveBuffer& buffer : buffers_) {
        if (reinterpret_cast<std::int64_t>(&buffer) != m.lParam) {
            continue;
        }
        // A done message from before a reset carries a ticket the buffer no longer has.
        if (m.wParam == 0 || buffer.ticket != m.wParam) {
            return;
        }
        buffer.ticket = 0;
        if (!resetting_ && playing_) {
            queueBuffer(buffer);
        }
        return;
    }
}

std::int64_t OutputWorker::currentPosition()
{
    return device_->isOpen() ? base_ + device_->playedFrames() : 0;
}

std::uint32_t OutputWorker::fileRate() const
{
    return reader_ ? reader_->getSampleRate() : kRateWithoutTrack;
}

std::int64_t OutputWorker::frameCount() const
{
    return reader_ ? reader_->getFrameCount() : 0;
}

void OutputWorker::queueBuffer(WaveBuffer& buffer)
{
    if (reader_) {
        reader_->readStream(buffer.samples.data(), kBufferFrames);
    } else {
        std::fill(buffer.samples.begin(), buffer.samples.end(), std::int16_t{0});
    }
    device_->write(buffer);
}

void OutputWorker::resetDevice()
{
    Platform::post(window_->handle(), kMessageResetting, 1);
    device_->reset();
    Platform::post(window_->handle(), kMessageResetting, 0);
    forgetTickets();
}

void OutputWorker::closeDevice()
{
    if (!device_ || !device_->isOpen()) {
        return;
    }
    Platform::post(window_->handle(), kMessageResetting, 1);
    device_->close();
    Platform::post(window_->handle(), kMessageResetting, 0);
    forgetTickets();
    playing_ = false;
}

void OutputWorker::forgetTickets()
{
    for (WaveBuffer& buffer : buffers_) {
        buffer.ticket = 0;
    }
}

void OutputWorker::notify(std::uint32_t code, std::uint64_t wParam, std::int64_t lParam)
{
    Platform::post(front_, code, wParam, lParam);
    if (monitor_) {
        Platform::post(monitor_, code, wParam, lParam);
    }
    if (code == kMessagePositionReport) {
        monitorPosition_ = lParam;
    }
}

void OutputWorker::postState(int state)
{
    notify(kMessageState, static_cast<std::uint64_t>(state));
}

void OutputWorker::toController(std::uint32_t code, std::int64_t position)
{
    if (controller_) {
        Platform::post(controller_, code, outputRate_, position);
    }
}

}  // namespace Audio
