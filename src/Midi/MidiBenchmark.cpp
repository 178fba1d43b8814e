#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Midi/MidiController.h"
#include "Platform/Clock.h"
#include "Platform/MessageQueue.h"

// How exactly the quarter-frame generator keeps its pace: a 25 fps generator sends to a
// stand-in output that notes the steady clock at every send, for two seconds per iteration.
// The ideal moment of send n is the first send plus n quarter frames (10 ms); the counters
// are percentiles of |actual - ideal| in microseconds over the sends of the timer thread.
namespace {

// Notes the moment of every send; the vector is reserved up front, so the sending thread
// does not allocate.
class TimingOutput final : public Midi::IMidiPorts::Output {
public:
    explicit TimingOutput(std::vector<std::int64_t>& moments) : moments_(moments) {}
    unsigned getPortCount() override { return 1; }
    std::string getPortName(unsigned) override { return "timing"; }
    bool openPort(unsigned, const std::string&) override { return open_ = true; }
    void closePort() override { open_ = false; }
    bool isPortOpen() const override { return open_; }
    std::string error() const override { return {}; }
    bool send(const std::uint8_t* bytes, std::size_t) override
    {
        if (bytes[0] == 0xF1 && moments_.size() < moments_.capacity()) {
            moments_.push_back(Platform::Clock::steady().now());
        }
        return true;
    }

private:
    std::vector<std::int64_t>& moments_;
    bool open_ = false;
};

class TimingPorts final : public Midi::IMidiPorts {
public:
    explicit TimingPorts(std::vector<std::int64_t>& moments) : moments_(moments) {}
    std::unique_ptr<Output> createOutput(const std::string&) override
    {
        return std::make_unique<TimingOutput>(moments_);
    }
    std::unique_ptr<Input> createInput(const std::string&, unsigned) override { return nullptr; }
    std::string error() const override { return {}; }

private:
    std::vector<std::int64_t>& moments_;
};

class FixedHost final : public Midi::IMidiHost {
public:
    int getFormat() const override { return SMPTE::SMPTE_25; }
    SMPTE getClockPosition(int format) override { return SMPTE(format, 0, 10, 0, 0); }
    bool isAudioPlaying() const override { return true; }
    void pauseAudio() override {}
    void playAudio(bool) override {}
    bool isRecordRequested() const override { return false; }
    void locate(const SMPTE&) override {}
    void showMessage(const std::wstring&, const std::wstring&, int) override {}
};

double percentile(std::vector<double> values, double p)
{
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
    return values[index];
}

void BM_QuarterFrameJitter25(benchmark::State& state)
{
    constexpr std::int64_t kPeriodNs = 10'000'000;
    Platform::MessageQueue queue;
    FixedHost host;
    std::vector<std::int64_t> moments;
    Midi::MidiController midi(std::make_unique<TimingPorts>(moments), &host);
    if (!midi.chooseMaster(0)) {
        state.SkipWithError("the stand-in output did not open");
        return;
    }
    std::vector<double> jitterUs;
    for (auto _ : state) {
        moments.clear();
        moments.reserve(400);
        midi.startQuarterFrames();
        std::this_thread::sleep_for(std::chrono::seconds(2));
        midi.stopQuarterFrames();
        for (std::size_t n = 1; n < moments.size(); ++n) {
            const std::int64_t ideal = moments[0] + static_cast<std::int64_t>(n) * kPeriodNs;
            jitterUs.push_back(static_cast<double>(std::abs(moments[n] - ideal)) / 1000.0);
        }
    }
    state.counters["realtime"] = midi.hasRealTimePriority() ? 1.0 : 0.0;
    state.counters["sends"] = static_cast<double>(jitterUs.size());
    state.counters["p50_us"] = percentile(jitterUs, 0.50);
    state.counters["p99_us"] = percentile(jitterUs, 0.99);
    state.counters["max_us"] = percentile(jitterUs, 1.0);
}
BENCHMARK(BM_QuarterFrameJitter25)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
