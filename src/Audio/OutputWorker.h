#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <string>

#include "Audio/WaveOut.h"
#include "FileIO/WaveFileReader.h"
#include "Platform/Clock.h"
#include "Platform/Message.h"
#include "Platform/MessageWindow.h"

namespace Audio {

// The audio player's output worker ("AudioWindow"): owns a reader of the track, the output
// device and three buffers; plays, pauses, stops and locates on the front's messages and
// reports the position every millisecond while playing.
//
// Positions are timeline frames: track frame + offset. The device's played counter was zero
// at timeline frame `base`, so the current position is base + played frames.
class OutputWorker {
public:
    using DeviceFactory = std::function<std::unique_ptr<WaveOut>(const Platform::Clock&)>;

    static constexpr std::size_t kBufferCount = 3;
    static constexpr std::size_t kBufferFrames = 16384;  // 65536 bytes of 16-bit stereo

    OutputWorker(Platform::WindowHandle front, DeviceFactory makeDevice,
                 const Platform::Clock& clock);
    ~OutputWorker();
    OutputWorker(const OutputWorker&) = delete;
    OutputWorker& operator=(const OutputWorker&) = delete;

    // The worker's thread: makes its queue, window and device, hands the window to `ready`,
    // announces it to the front and serves messages until quit. Closes everything on the way
    // out.
    void run(std::promise<Platform::WindowHandle>& ready);

private:
    std::int64_t handle(const Platform::Message& message);

    int load(const std::wstring& path);
    void play();
    void pause();
    void stop(bool returnToOffset);
    std::int64_t setPosition(std::int64_t position);
    void changeSpeed(std::int64_t speed);
    void onTimer();
    void onBufferDone(const Platform::Message& message);

    std::int64_t currentPosition();
    std::uint32_t fileRate() const;
    std::int64_t frameCount() const;
    // Fills a buffer from the track's stream (silence without a track) and queues it.
    void queueBuffer(WaveBuffer& buffer);
    // Resets or closes the device between the two resetting messages, so the buffers it
    // returns are not queued again.
    void resetDevice();
    void closeDevice();
    void forgetTickets();
    // To the front and the monitor.
    void notify(std::uint32_t code, std::uint64_t wParam, std::int64_t lParam = 0);
    void postState(int state);
    void toController(std::uint32_t code, std::int64_t position);

    const Platform::Clock& clock_;
    DeviceFactory makeDevice_;
    Platform::WindowHandle front_;
    Platform::WindowHandle monitor_;
    Platform::WindowHandle controller_;
    Platform::MessageWindow* window_ = nullptr;
    std::unique_ptr<WaveOut> device_;
    std::unique_ptr<FileIO::WaveFileReader> reader_;
    std::array<WaveBuffer, kBufferCount> buffers_;
    std::int64_t base_ = 0;
    std::int64_t offset_ = 0;
    std::int64_t monitorPosition_ = 0;  // the last position the monitor was told
    bool playing_ = false;
    bool resetting_ = false;
    std::uint32_t timerPeriod_ = 0;  // the armed position-report period in ms, 0 when none
    std::int64_t speed_ = 1;
    std::uint32_t outputRate_ = 44100;
};

}  // namespace Audio
