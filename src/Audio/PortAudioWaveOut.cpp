#include "Audio/PortAudioWaveOut.h"

#include <cstring>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

#include "Audio/AudioMessages.h"
#include "Platform/Assert.h"
#include "Platform/Log.h"
#include "Platform/MessageQueue.h"
#include "Platform/MessageWindow.h"
#include "Platform/Utf.h"

#ifdef SKY_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif
#ifdef SKY_HAVE_JACK
#include <jack/jack.h>
#endif

namespace Audio {

namespace {

constexpr const char* kUnit = "PortAudioWaveOut";

#ifdef SKY_HAVE_ALSA
void ignoreAlsa(const char*, int, const char*, int, const char*, ...) {}
#endif
#ifdef SKY_HAVE_JACK
void ignoreJack(const char*) {}
#endif

// PortAudio probes every sound system it knows when it starts; on a machine without sound
// cards (or without a JACK server) those libraries print dozens of lines to standard error.
// The program says in one line of its own when it falls back to the silent device.
void quietSoundLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] {
#ifdef SKY_HAVE_ALSA
        snd_lib_error_set_handler(ignoreAlsa);
#endif
#ifdef SKY_HAVE_JACK
        jack_set_error_function(ignoreJack);
        jack_set_info_function(ignoreJack);
#endif
    });
}

std::wstring errorText(PaError error)
{
    return Platform::fromUtf8(Pa_GetErrorText(error));
}

}  // namespace

std::unique_ptr<PortAudioWaveOut> PortAudioWaveOut::create(const std::wstring& device)
{
    quietSoundLibraries();
    const PaError started = Pa_Initialize();
    if (started != paNoError) {
        Platform::logLine(L"Audio: PortAudio did not start: " + errorText(started));
        return nullptr;
    }
    int chosen = paNoDevice;
    if (!device.empty() && device != L"default") {
        const std::string wanted = Platform::toUtf8(device);
        const int count = Pa_GetDeviceCount();
        for (int i = 0; i < count; ++i) {
            const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
            if (info && info->maxOutputChannels > 0 && wanted == info->name) {
                chosen = i;
                break;
            }
        }
        if (chosen == paNoDevice) {
            Platform::logLine(L"Audio: no output device is named \"" + device +
                              L"\"; using the default output");
        }
    }
    if (chosen == paNoDevice) {
        chosen = Pa_GetDefaultOutputDevice();
    }
    const PaDeviceInfo* info = chosen == paNoDevice ? nullptr : Pa_GetDeviceInfo(chosen);
    if (!info || info->maxOutputChannels <= 0) {
        Pa_Terminate();
        return nullptr;
    }
    return std::unique_ptr<PortAudioWaveOut>(
        new PortAudioWaveOut(chosen, Platform::fromUtf8(info->name)));
}

PortAudioWaveOut::PortAudioWaveOut(int deviceIndex, std::wstring name)
    : deviceIndex_(deviceIndex),
      name_(std::move(name)),
      eventFd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    SKY_ASSERT_TEXT(eventFd_ >= 0, "eventfd created", kUnit);
}

PortAudioWaveOut::~PortAudioWaveOut()
{
    close();
    ::close(eventFd_);
    Pa_Terminate();
}

int PortAudioWaveOut::open(std::uint32_t rate, Platform::WindowHandle window)
{
    SKY_ASSERT(rate > 0, kUnit);
    Platform::MessageQueue* queue = Platform::MessageQueue::current();
    SKY_ASSERT_TEXT(queue != nullptr, "thread has a queue", kUnit);
    close();
    const PaDeviceInfo* info = Pa_GetDeviceInfo(deviceIndex_);
    PaStreamParameters parameters{};
    parameters.device = deviceIndex_;
    parameters.channelCount = 2;
    parameters.sampleFormat = paInt16;
    // The high latency: the buffers are long, and the counter accounts for the latency.
    parameters.suggestedLatency = info ? info->defaultHighOutputLatency : 0.1;
    PaStream* stream = nullptr;
    const PaError error = Pa_OpenStream(&stream, nullptr, &parameters, rate,
                                        paFramesPerBufferUnspecified, paNoFlag, &callback, this);
    if (error != paNoError) {
        Platform::logLine(L"Audio: the output \"" + name_ + L"\" did not open at " +
                          std::to_wstring(rate) + L" Hz: " + errorText(error));
        return error;
    }
    const PaStreamInfo* streamInfo = Pa_GetStreamInfo(stream);
    latency_ = streamInfo ? streamInfo->outputLatency : 0;
    stream_ = stream;
    rate_ = rate;
    owner_ = window;
    started_ = false;
    queue_.setRate(rate);
    queue->watchFd(eventFd_, POLLIN, [this](short) { takeFinished(); });
    return 0;
}

bool PortAudioWaveOut::write(WaveBuffer& buffer)
{
    if (!isOpen()) {
        return false;
    }
    buffer.ticket = nextTicket_++;
    if (!queue_.submit(&buffer)) {
        return false;
    }
    if (!started_) {
        const PaError error = Pa_StartStream(stream_);
        if (error != paNoError) {
            // The buffer stays queued and comes back at the next reset; the counter stands.
            Platform::logLine(L"Audio: the output \"" + name_ + L"\" did not start: " +
                              errorText(error));
        } else {
            started_ = true;
        }
    }
    return true;
}

void PortAudioWaveOut::reset()
{
    if (!isOpen()) {
        return;
    }
    if (started_) {
        // Waits for a callback that runs now; from here on this thread alone uses the queue.
        Pa_AbortStream(stream_);
        started_ = false;
    }
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t drained = ::read(eventFd_, &count, sizeof count);
    std::vector<WaveBuffer*> returned;
    queue_.clear(returned);
    for (WaveBuffer* buffer : returned) {
        postDone(buffer);
    }
}

std::int64_t PortAudioWaveOut::playedFrames()
{
    if (!isOpen()) {
        return 0;
    }
    return queue_.playedAt(started_ ? Pa_GetStreamTime(stream_) : 0.0);
}

void PortAudioWaveOut::close()
{
    if (!isOpen()) {
        return;
    }
    reset();
    if (Platform::MessageQueue* queue = Platform::MessageQueue::current()) {
        queue->unwatchFd(eventFd_);
    }
    Pa_CloseStream(stream_);
    stream_ = nullptr;
    rate_ = 0;
}

void PortAudioWaveOut::takeFinished()
{
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t drained = ::read(eventFd_, &count, sizeof count);
    while (WaveBuffer* buffer = queue_.takeFinished()) {
        postDone(buffer);
    }
}

void PortAudioWaveOut::postDone(WaveBuffer* buffer)
{
    Platform::post(owner_, kMessageWaveOutDone, buffer->ticket,
                   reinterpret_cast<std::int64_t>(buffer));
}

int PortAudioWaveOut::callback(const void*, void* output, unsigned long frames,
                               const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags,
                               void* self)
{
    // Runs on PortAudio's thread: no allocation, no lock, no log.
    auto* out = static_cast<PortAudioWaveOut*>(self);
    double dacTime = time ? time->outputBufferDacTime : 0;
    if (dacTime <= 0) {
        // Some hosts report no DAC time; the frames then leave one latency after now.
        const double now =
            time && time->currentTime > 0 ? time->currentTime : Pa_GetStreamTime(out->stream_);
        dacTime = now + out->latency_;
    }
    if (out->queue_.render(static_cast<std::int16_t*>(output), frames, dacTime)) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(out->eventFd_, &one, sizeof one);
    }
    return paContinue;
}

}  // namespace Audio
