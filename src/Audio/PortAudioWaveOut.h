#pragma once

#include <cstdint>
#include <memory>
#include <portaudio.h>
#include <string>

#include "Audio/PlaybackQueue.h"
#include "Audio/WaveOut.h"

namespace Audio {

// The wave-out on a sound device through PortAudio.
//
// PortAudio calls back on its own thread for every block of output. That callback only
// takes frames from the PlaybackQueue and, when a buffer is finished, writes to an eventfd;
// the owning thread's message queue watches the eventfd, takes the finished buffers back and
// posts their done messages. The played counter comes from the DAC times the callback
// reports, compared with the stream time, so it counts what was heard.
//
// The stream starts at the first write after open() or reset(); reset() aborts it (which
// waits for a running callback to return), so afterwards the owner alone touches the queue.
class PortAudioWaveOut final : public WaveOut {
public:
    // Starts PortAudio and chooses the output: the device named `device`, else the default
    // output. Null when there is no output device at all.
    static std::unique_ptr<PortAudioWaveOut> create(const std::wstring& device);
    ~PortAudioWaveOut() override;

    std::wstring name() const override { return name_; }
    int open(std::uint32_t rate, Platform::WindowHandle window) override;
    bool isOpen() const override { return stream_ != nullptr; }
    std::uint32_t rate() const override { return rate_; }
    bool write(WaveBuffer& buffer) override;
    void reset() override;
    std::int64_t playedFrames() override;
    void close() override;

private:
    PortAudioWaveOut(int deviceIndex, std::wstring name);

    // PortAudio's stream callback.
    static int callback(const void* input, void* output, unsigned long frames,
                        const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags,
                        void* self);
    // Owning thread: takes the finished buffers back and posts their done messages.
    void takeFinished();
    void postDone(WaveBuffer* buffer);

    int deviceIndex_;
    std::wstring name_;
    PaStream* stream_ = nullptr;
    std::uint32_t rate_ = 0;
    double latency_ = 0;  // stands in for a DAC time the host does not report
    bool started_ = false;
    int eventFd_ = -1;
    Platform::WindowHandle owner_;
    std::uint64_t nextTicket_ = 1;
    PlaybackQueue queue_;
};

}  // namespace Audio
