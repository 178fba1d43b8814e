#pragma once

// For tests and benchmarks only: WAVE files made to order, a wave-out that records what it
// is given, and a pump for the calling thread's queue.

#include <chrono>
#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Audio/SilentWaveOut.h"
#include "Audio/WaveOut.h"
#include "Platform/MessageQueue.h"

namespace Audio::TestSupport {

// The bytes of a PCM WAVE file of 16-bit stereo frames (interleaved samples).
inline std::string waveBytes(const std::vector<std::int16_t>& samples, std::uint32_t rate)
{
    auto u16 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
    };
    auto u32 = [&](std::uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); };
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    std::string bytes = "RIFF" + u32(36 + dataSize) + "WAVE";
    bytes += "fmt " + u32(16) + u16(1) + u16(2) + u32(rate) + u32(rate * 4) + u16(4) + u16(16);
    bytes += "data" + u32(dataSize);
    bytes.reserve(bytes.size() + dataSize);
    for (std::int16_t s : samples) {
        bytes += u16(static_cast<std::uint16_t>(s));
    }
    return bytes;
}

// `frames` frames whose left and right samples come from `sample(frame, channel)`.
inline std::vector<std::int16_t> makeSamples(
    std::size_t frames, const std::function<std::int16_t(std::size_t, int)>& sample)
{
    std::vector<std::int16_t> samples(2 * frames);
    for (std::size_t i = 0; i < frames; ++i) {
        samples[2 * i] = sample(i, 0);
        samples[2 * i + 1] = sample(i, 1);
    }
    return samples;
}

inline void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Handles the calling thread's messages until `done()` holds or `timeout` passed; returns
// done().
inline bool pumpUntil(Platform::MessageQueue& queue, const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10))
{
    return queue.runUntil(done, timeout);
}

// Handles the calling thread's messages for `duration`.
inline void pumpFor(Platform::MessageQueue& queue, std::chrono::milliseconds duration)
{
    pumpUntil(
        queue, [] { return false; }, duration);
}

// What a RecordingWaveOut was given; shared with the test thread under a lock.
struct WaveOutRecord {
    std::mutex mutex;
    std::vector<std::uint32_t> openRates;
    std::vector<std::vector<std::int16_t>> writes;  // the samples of every buffer queued
    int resets = 0;
};

// The silent device, recording every open, write and reset.
class RecordingWaveOut final : public WaveOut {
public:
    RecordingWaveOut(const Platform::Clock& clock, std::shared_ptr<WaveOutRecord> record)
        : device_(clock), record_(std::move(record))
    {
    }

    std::wstring name() const override { return L"recording"; }
    int open(std::uint32_t rate, Platform::WindowHandle window) override
    {
        std::lock_guard<std::mutex> lock(record_->mutex);
        record_->openRates.push_back(rate);
        return device_.open(rate, window);
    }
    bool isOpen() const override { return device_.isOpen(); }
    std::uint32_t rate() const override { return device_.rate(); }
    bool write(WaveBuffer& buffer) override
    {
        {
            std::lock_guard<std::mutex> lock(record_->mutex);
            record_->writes.push_back(buffer.samples);
        }
        return device_.write(buffer);
    }
    void reset() override
    {
        {
            std::lock_guard<std::mutex> lock(record_->mutex);
            ++record_->resets;
        }
        device_.reset();
    }
    std::int64_t playedFrames() override { return device_.playedFrames(); }
    void close() override { device_.close(); }

private:
    SilentWaveOut device_;
    std::shared_ptr<WaveOutRecord> record_;
};

}  // namespace Audio::TestSupport
