#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "Audio/AudioPlayer.h"
#include "Audio/AudioTestSupport.h"
#include "Audio/WaveformAnalyzer.h"
#include "FileIO/WaveFileReader.h"
#include "Platform/MessageQueue.h"
#include "Platform/MessageWindow.h"
#include "Platform/Utf.h"

namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kRate = 44100;
constexpr int kColumns = 2000;

// A stereo WAVE file of `seconds` at 44.1 kHz in the temporary folder, removed at exit.
class BenchWave {
public:
    explicit BenchWave(int seconds)
        : path_(std::filesystem::temp_directory_path() /
                ("sky-audio-bench-" + std::to_string(::getpid()) + "-" + std::to_string(seconds) +
                 ".wav"))
    {
        const std::size_t frames = static_cast<std::size_t>(seconds) * kRate;
        const auto samples = Audio::TestSupport::makeSamples(frames, [](std::size_t i, int c) {
            // a sweep with a little of everything, so no column is silent
            const double t = static_cast<double>(i) / kRate;
            return static_cast<std::int16_t>(9000 * std::sin(2 * 3.14159265 * (200 + 30 * t) * t) +
                                             (c ? 2000 : -2000) +
                                             static_cast<int>((i * 2654435761u) >> 20) % 2000);
        });
        Audio::TestSupport::writeFile(path_.string(),
                                      Audio::TestSupport::waveBytes(samples, kRate));
    }
    ~BenchWave() { std::filesystem::remove(path_); }

    std::wstring path() const { return Platform::fromUtf8(path_.string()); }
    std::int64_t frames(int seconds) const { return static_cast<std::int64_t>(seconds) * kRate; }

private:
    std::filesystem::path path_;
};

const BenchWave& tenMinutes()
{
    static const BenchWave wave(600);
    return wave;
}

std::vector<Audio::AnalysisPair> columns(std::int64_t frames)
{
    std::vector<Audio::AnalysisPair> pairs;
    for (int i = 0; i < kColumns; ++i) {
        pairs.push_back({frames * i / kColumns, i});
    }
    return pairs;
}

// The monitor worker's work for 2000 columns of a ten-minute track, on this thread: position,
// read 512 frames, analyse.
void BM_AnalyseColumnsWork(benchmark::State& state)
{
    FileIO::WaveFileReader reader;
    if (!reader.open(tenMinutes().path())) {
        state.SkipWithError("cannot open the benchmark file");
        return;
    }
    Audio::WaveformAnalyzer analyzer;
    std::vector<std::int16_t> frames(2 * Audio::WaveformAnalyzer::kFrames);
    const std::vector<Audio::AnalysisPair> pairs = columns(reader.getFrameCount());
    float sink = 0;
    for (auto _ : state) {
        for (const Audio::AnalysisPair& pair : pairs) {
            reader.setStreamPosition(
                std::min<std::int64_t>(reader.getFrameCount(), pair.position - 256));
            reader.readStream(frames.data(), Audio::WaveformAnalyzer::kFrames);
            sink += analyzer.analyse(frames.data())[4];
        }
    }
    benchmark::DoNotOptimize(sink);
    state.SetItemsProcessed(state.iterations() * kColumns);
}
BENCHMARK(BM_AnalyseColumnsWork)->Unit(benchmark::kMillisecond);

// The same request through the player: from requestAnalysis on this (main) thread until the
// last of the 2000 results has arrived here.
void BM_AnalyseColumnsThroughPlayer(benchmark::State& state)
{
    Platform::MessageQueue queue;
    Audio::AudioPlayer::Options options;
    options.device = L"silent";
    Audio::AudioPlayer player(nullptr, options);
    Audio::TestSupport::pumpUntil(queue, [&] { return player.isReady(); });
    if (player.load(tenMinutes().path()) != 0) {
        state.SkipWithError("cannot load the benchmark file");
        return;
    }
    std::size_t received = 0;
    int batches = 0;
    Platform::MessageWindow requester([&](const Platform::Message& m) {
        if (m.code == Audio::kMessageAnalysisResults) {
            received += Audio::AnalysisBatch::of(m).count;
            ++batches;
        }
        return std::int64_t{0};
    });
    std::int64_t generation = 0;
    for (auto _ : state) {
        received = 0;
        player.requestAnalysis(requester.handle(), ++generation, columns(tenMinutes().frames(600)));
        Audio::TestSupport::pumpUntil(
            queue, [&] { return received >= kColumns; }, 60s);
    }
    state.counters["batches"] = benchmark::Counter(batches, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_AnalyseColumnsThroughPlayer)->Unit(benchmark::kMillisecond);

// Context switches of every thread of the process but the calling one.
long long otherThreadSwitches()
{
    const long self = ::syscall(SYS_gettid);
    long long total = 0;
    DIR* dir = ::opendir("/proc/self/task");
    if (!dir) {
        return -1;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.' || std::stol(entry->d_name) == self) {
            continue;
        }
        std::ifstream status(std::string("/proc/self/task/") + entry->d_name + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.starts_with("voluntary_ctxt_switches:") ||
                line.starts_with("nonvoluntary_ctxt_switches:")) {
                total += std::stoll(line.substr(line.find(':') + 1));
            }
        }
    }
    ::closedir(dir);
    return total;
}

// How often the player's two workers wake while a track is loaded and stopped.
void BM_IdleWakeupsLoadedAndStopped(benchmark::State& state)
{
    Platform::MessageQueue queue;
    Audio::AudioPlayer::Options options;
    options.device = L"silent";
    Audio::AudioPlayer player(nullptr, options);
    Audio::TestSupport::pumpUntil(queue, [&] { return player.isReady(); });
    static const BenchWave track(5);
    player.load(track.path());
    player.play();
    Audio::TestSupport::pumpFor(queue, 200ms);
    player.stop();
    Audio::TestSupport::pumpFor(queue, 200ms);  // settle
    double perSecond = 0;
    for (auto _ : state) {
        const long long before = otherThreadSwitches();
        std::this_thread::sleep_for(3s);
        perSecond = static_cast<double>(otherThreadSwitches() - before) / 3.0;
    }
    state.counters["wakeups_per_s"] = perSecond;
}
BENCHMARK(BM_IdleWakeupsLoadedAndStopped)->Unit(benchmark::kSecond)->Iterations(1);

// Whether the position reports follow real time: 60 s of playback on the silent device; each
// report is compared with the real time that passed since the first one, as the main
// thread receives it (so the figures include the time a report takes to arrive).
void BM_PositionReportsFollowRealTime(benchmark::State& state)
{
    struct Clock : Audio::AudioPlayer::Listener {
        void onPositionChanged(double ms) override
        {
            const auto now = std::chrono::steady_clock::now();
            if (deviations.empty() && reports++ == 0) {
                first = now;
                firstMs = ms;
                return;
            }
            const double real = std::chrono::duration<double, std::milli>(now - first).count();
            deviations.push_back((ms - firstMs) - real);
        }
        std::chrono::steady_clock::time_point first;
        double firstMs = 0;
        long long reports = 0;
        std::vector<double> deviations;  // positive: ahead of real time
    };
    static const BenchWave track(65);
    for (auto _ : state) {
        Platform::MessageQueue queue;
        Audio::AudioPlayer::Options options;
        options.device = L"silent";
        Audio::AudioPlayer player(nullptr, options);
        Clock clock;
        clock.deviations.reserve(100000);
        player.addListener(&clock);
        Audio::TestSupport::pumpUntil(queue, [&] { return player.isReady(); });
        player.load(track.path());
        player.play();
        Audio::TestSupport::pumpFor(queue, std::chrono::milliseconds(state.range(0) * 1000));
        player.stop();
        player.removeListener(&clock);

        std::vector<double> lag;
        for (double d : clock.deviations) {
            lag.push_back(-d);
        }
        std::sort(lag.begin(), lag.end());
        auto at = [&](double q) {
            return lag.empty() ? 0.0 : lag[static_cast<std::size_t>(q * (lag.size() - 1))];
        };
        state.counters["reports"] = static_cast<double>(lag.size() + 1);
        state.counters["ahead_ms_max"] = lag.empty() ? 0.0 : std::max(0.0, -lag.front());
        state.counters["behind_ms_median"] = at(0.5);
        state.counters["behind_ms_p999"] = at(0.999);
        state.counters["behind_ms_max"] = lag.empty() ? 0.0 : lag.back();
        state.counters["over_1ms"] = static_cast<double>(
            std::count_if(lag.begin(), lag.end(), [](double d) { return std::abs(d) > 1.0; }));
        state.counters["behind_ms_last"] = lag.empty() ? 0.0 : -clock.deviations.back();
    }
}
BENCHMARK(BM_PositionReportsFollowRealTime)->Arg(60)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
