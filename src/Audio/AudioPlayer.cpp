#include "Audio/AudioPlayer.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <future>
#include <utility>

#include "Audio/MonitorWorker.h"
#include "Audio/OutputWorker.h"
#include "Config/Settings.h"
#include "Platform/Assert.h"
#include "Platform/MessageQueue.h"
#include "Project/Project.h"

namespace Audio {

namespace {

constexpr const char* kUnit = "AudioPlayer";

AudioPlayer* instance = nullptr;

// A frame count of the label format from a count of seconds, rounded, kept in the range a
// label holds.
int labelFrames(double seconds, int format)
{
    const double frames = std::trunc(seconds * SMPTE::framesPerSecond(format) + 0.5);
    return static_cast<int>(std::clamp(frames, 0.0, static_cast<double>(INT_MAX)));
}

}  // namespace

AudioPlayer::AudioPlayer(Project::ProjectData* projectData, Options options)
    : projectData_(projectData)
{
    SKY_ASSERT_TEXT(Platform::MessageQueue::current() != nullptr, "thread has a queue", kUnit);
    const Platform::Clock* clock = options.clock ? options.clock : &Platform::Clock::steady();
    OutputWorker::DeviceFactory makeDevice = std::move(options.makeDevice);
    if (!makeDevice) {
        std::wstring device = options.device;
        if (device.empty()) {
            if (const Config::Settings* settings = Config::Settings::getInstance()) {
                device = settings->getString(L"audio.device", L"");
            }
        }
        makeDevice = [device](const Platform::Clock& c) { return WaveOut::create(device, c); };
    }
    localWindow_ = std::make_unique<Platform::MessageWindow>(
        [this](const Platform::Message& m) { return handle(m); });
    const Platform::WindowHandle front = localWindow_->handle();

    // Each worker hands its window back once, so that the player can always end it; the
    // rest of their traffic is messages.
    std::promise<Platform::WindowHandle> outputReady;
    std::future<Platform::WindowHandle> outputStarted = outputReady.get_future();
    outputThread_ =
        std::thread([front, makeDevice, clock, ready = std::move(outputReady)]() mutable {
            OutputWorker worker(front, makeDevice, *clock);
            worker.run(ready);
        });
    std::promise<Platform::WindowHandle> monitorReady;
    std::future<Platform::WindowHandle> monitorStarted = monitorReady.get_future();
    monitorThread_ = std::thread([front, clock, ready = std::move(monitorReady)]() mutable {
        MonitorWorker worker(front, *clock);
        worker.run(ready);
    });
    outputThreadWindow_ = outputStarted.get();
    monitorThreadWindow_ = monitorStarted.get();

    if (projectData_) {
        projectData_->addListener(this);
        // The workers learn a nonzero offset when they announce themselves.
        offsetLabel_ = projectData_->getAudioOffset();
        offset_ = offsetFrames();
    }
}

AudioPlayer::~AudioPlayer()
{
    if (projectData_) {
        projectData_->removeListener(this);
    }
    // Sent, not posted: while the main thread waits, it still answers the monitor's sends,
    // so a batch of results on its way cannot hold the monitor up.
    Platform::send(outputThreadWindow_, kMessageQuit);
    Platform::send(monitorThreadWindow_, kMessageQuit);
    outputThread_.join();
    monitorThread_.join();
    localWindow_.reset();
}

AudioPlayer* AudioPlayer::getInstance()
{
    return instance;
}

AudioPlayer& AudioPlayer::createInstance(Options options)
{
    SKY_ASSERT_TEXT(instance == nullptr, "one audio player", kUnit);
    Project::Project* project = Project::getInstance();
    instance = new AudioPlayer(project ? &project->getProjectData() : nullptr, std::move(options));
    return *instance;
}

void AudioPlayer::destroyInstance()
{
    delete instance;
    instance = nullptr;
}

int AudioPlayer::load(const std::wstring& path)
{
    if (!outputWindow_) {
        return -1;
    }
    Platform::send(outputWindow_, kMessageStop, 1);
    if (monitorWindow_) {
        Platform::send(monitorWindow_, kMessageLoad, 0, reinterpret_cast<std::int64_t>(&path));
    }
    const std::optional<std::int64_t> result =
        Platform::send(outputWindow_, kMessageLoad, 0, reinterpret_cast<std::int64_t>(&path));
    return result ? static_cast<int>(*result) : -1;
}

void AudioPlayer::play()
{
    if (!outputWindow_) {
        return;
    }
    recording_ = false;
    listeners_.notify(&Listener::onStateChanged);
    Platform::post(outputWindow_, kMessagePlay);
}

void AudioPlayer::playRecording()
{
    if (!outputWindow_) {
        return;
    }
    recording_ = true;
    listeners_.notify(&Listener::onStateChanged);
    Platform::post(outputWindow_, kMessagePlay);
}

void AudioPlayer::pause()
{
    if (outputWindow_ && state_ != STATE_STOPPED) {
        Platform::post(outputWindow_, kMessagePause);
    }
}

void AudioPlayer::stop()
{
    if (!outputWindow_) {
        return;
    }
    recording_ = false;
    listeners_.notify(&Listener::onStateChanged);
    Platform::post(outputWindow_, kMessageStop, 0);
}

void AudioPlayer::locate(const SMPTE& time)
{
    if (!outputWindow_) {
        return;
    }
    const double milliseconds = time.getFrameNo() * 1000.0 / time.getFramesPerSecond();
    const auto frames = static_cast<std::int64_t>(milliseconds * 0.001 * trackRate() + 0.5);
    Platform::post(outputWindow_, kMessagePosition, 1, frames);
}

std::int64_t AudioPlayer::getPositionFrames()
{
    if (!outputWindow_) {
        return 0;
    }
    return Platform::send(outputWindow_, kMessagePosition, 0).value_or(0);
}

SMPTE AudioPlayer::getPosition(int format)
{
    if (!outputWindow_) {
        return SMPTE(format);
    }
    const double seconds = static_cast<double>(getPositionFrames()) / trackRate();
    return SMPTE::fromFrameNo(format, labelFrames(seconds, format));
}

SMPTE AudioPlayer::getLength(int format) const
{
    const double seconds = static_cast<double>(length_ + offset_) / trackRate();
    return SMPTE::fromFrameNo(format, labelFrames(seconds, format));
}

void AudioPlayer::setSpeed(int speed)
{
    speed = std::max(1, speed);
    if (speed == speed_ || !outputWindow_) {
        return;
    }
    speed_ = speed;
    listeners_.notify(&Listener::onSpeedChanged, speed);
    Platform::post(outputWindow_, kMessageSpeed, 0, speed);
}

void AudioPlayer::requestAnalysis(Platform::WindowHandle requester, std::int64_t generation,
                                  std::vector<AnalysisPair> pairs)
{
    auto* request = new AnalysisRequest{requester, generation, std::move(pairs)};
    if (!monitorWindow_ || !Platform::post(monitorWindow_, kMessageAnalysisRequest, 0,
                                           reinterpret_cast<std::int64_t>(request))) {
        delete request;
    }
}

void AudioPlayer::audioOffsetChanged(const SMPTE& offset)
{
    offsetLabel_ = offset;
    applyOffset();
    listeners_.notify(&Listener::onTimingChanged);
    listeners_.notify(&Listener::onTrackChanged);
}

std::int64_t AudioPlayer::offsetFrames() const
{
    const SMPTE& label = *offsetLabel_;
    const double milliseconds = label.getFrameNo() * 1000.0 / label.getFramesPerSecond();
    return static_cast<std::int64_t>(
        std::trunc(std::trunc(milliseconds * 0.001 * trackRate()) + 0.5));
}

void AudioPlayer::applyOffset()
{
    offset_ = offsetFrames();
    if (outputWindow_) {
        Platform::post(outputWindow_, kMessageOffset, 0, offset_);
    }
    if (monitorWindow_) {
        Platform::post(monitorWindow_, kMessageOffset, 0, offset_);
    }
}

std::int64_t AudioPlayer::handle(const Platform::Message& m)
{
    switch (m.code) {
        case kMessageOutputReady:
            outputWindow_ = Platform::WindowHandle(m.wParam);
            if (monitorWindow_) {
                Platform::post(outputWindow_, kMessageMonitorWindow, monitorWindow_.value());
            }
            if (offset_ != 0) {
                Platform::post(outputWindow_, kMessageOffset, 0, offset_);
            }
            return 0;
        case kMessageMonitorReady:
            monitorWindow_ = Platform::WindowHandle(m.wParam);
            if (outputWindow_) {
                Platform::post(outputWindow_, kMessageMonitorWindow, monitorWindow_.value());
            }
            if (offset_ != 0) {
                Platform::post(monitorWindow_, kMessageOffset, 0, offset_);
            }
            return 0;
        case kMessageState: onState(static_cast<int>(m.wParam)); return 0;
        case kMessageTrackLoaded:
            onTrackLoaded(static_cast<int>(m.wParam), m.lParam, true);
            return 0;
        case kMessageFormatChanged:
            onTrackLoaded(static_cast<int>(m.wParam), m.lParam, false);
            return 0;
        case kMessagePositionReport: onPositionReport(m.wParam, m.lParam); return 0;
        case kMessageLevels:
            listeners_.notify(&Listener::onLevels, static_cast<int>((m.lParam >> 16) & 0xFFFF),
                              static_cast<int>(m.lParam & 0xFFFF));
            return 0;
        case kMessageAnalysisRequest: {
            auto* request = reinterpret_cast<AnalysisRequest*>(m.lParam);
            if (!monitorWindow_ ||
                !Platform::post(monitorWindow_, kMessageAnalysisRequest, 0, m.lParam)) {
                delete request;
            }
            return 0;
        }
        default: return 0;
    }
}

void AudioPlayer::onState(int state)
{
    if (state == state_) {
        return;
    }
    state_ = state;
    if (state == STATE_STOPPED) {
        recording_ = false;
    }
    if (state == STATE_NO_TRACK) {
        rate_ = 44100;
        rateSpeed_ = 1;
        length_ = 0;
        recording_ = false;
    }
    listeners_.notify(&Listener::onStateChanged);
    if (state == STATE_NO_TRACK) {
        listeners_.notify(&Listener::onTrackChanged);
        listeners_.notify(&Listener::onTimingChanged);
    }
}

void AudioPlayer::onTrackLoaded(int rate, std::int64_t frames, bool stateChange)
{
    rate_ = std::max(1, rate);
    rateSpeed_ = speed_;
    length_ = frames;
    // The offset is kept in frames of the track's rate; a track of another rate needs it
    // counted again.
    if (offsetLabel_ && offsetFrames() != offset_) {
        applyOffset();
    }
    if (stateChange) {
        state_ = STATE_STOPPED;
        listeners_.notify(&Listener::onStateChanged);
    }
    listeners_.notify(&Listener::onTrackChanged);
    listeners_.notify(&Listener::onTimingChanged);
}

void AudioPlayer::onPositionReport(std::uint64_t rate, std::int64_t position)
{
    if (rate == 0) {
        return;
    }
    // A report at the rate the front knows was made with the speed in force then; a report
    // at a new rate comes from the speed asked for last.
    const int speed = static_cast<int>(rate) == rate_ ? rateSpeed_ : speed_;
    const double milliseconds =
        static_cast<double>(position) / (static_cast<double>(rate) * speed) * 1000.0;
    listeners_.notify(&Listener::onPositionChanged, milliseconds);
}

}  // namespace Audio
