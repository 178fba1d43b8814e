#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Platform/Clock.h"
#include "Platform/Message.h"

namespace Audio {

// One block of output: 16-bit stereo frames, left then right.
struct WaveBuffer {
    std::vector<std::int16_t> samples;  // two per frame

    std::size_t frames() const { return samples.size() / 2; }

    // Set by the wave-out each time the buffer is queued; the done message carries it in
    // wParam. A done message that was still on its way when the owner reset the device and
    // queued the buffer again carries an older ticket, so the owner can tell it is stale.
    std::uint64_t ticket = 0;
};

// The sound output: a device that plays queued buffers one after the other at a fixed rate
// and hands each back when it is finished with it.
//
// A wave-out belongs to the thread that opens it (the audio player's output worker), which
// must have a message queue; every call comes from that thread. Finished buffers come back as
// kMessageWaveOutDone posted to the window given to open(), with wParam = the buffer's ticket
// and lParam = the WaveBuffer*. Until then the buffer belongs to the device and must not be
// touched.
class WaveOut {
public:
    virtual ~WaveOut() = default;

    // "silent", or the name of the sound device.
    virtual std::wstring name() const = 0;

    // Opens the output at `rate` frames per second, 2 channels of 16 bits. Returns 0, or the
    // device's error code (never 0) with the output left closed. Opening an open output
    // closes it first.
    virtual int open(std::uint32_t rate, Platform::WindowHandle window) = 0;
    virtual bool isOpen() const = 0;
    virtual std::uint32_t rate() const = 0;

    // Queues a buffer behind those queued before; playing starts with the first buffer after
    // open() or reset(). False when the output is closed or holds kMaxQueued buffers.
    virtual bool write(WaveBuffer& buffer) = 0;

    // Stops at once and returns every queued buffer: their done messages are posted, in queue
    // order, before reset() returns. The played-frames counter goes back to 0.
    virtual void reset() = 0;

    // Frames that have reached the listener since open() or the last reset(): what has been
    // heard, not what was queued. It stops while the queue is empty and never goes back.
    virtual std::int64_t playedFrames() = 0;

    // Resets (returning the queued buffers) and releases the device.
    virtual void close() = 0;

    // The most buffers a wave-out holds at once.
    static constexpr std::size_t kMaxQueued = 16;

    // The output the setting "audio.device" names: "silent" for the silent device, "" or
    // "default" for the system's default output, anything else for the sound device of that
    // name (the default output when none has it). Without any sound output the silent device
    // stands in, and a line says so in the log.
    static std::unique_ptr<WaveOut> create(const std::wstring& device,
                                           const Platform::Clock& clock);
};

}  // namespace Audio
