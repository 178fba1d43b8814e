// Show-control timing against the device simulator: how close to its fire time each cue of
// an audio-clocked show reaches the device, and what a loaded show costs while nothing plays.
//
// Both benchmarks run the program's own pieces end to end: the project and its show state,
// the audio player on the silent device, the controller service on the simulator's
// pseudo-terminal. The simulator's log carries the moment each frame arrived; its start line
// gives its clock's origin on the system-wide steady clock, which is the clock of the silent
// device, so both sides of a measurement share one time base.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "Audio/AudioPlayer.h"
#include "Audio/AudioTestSupport.h"
#include "Audio/SilentWaveOut.h"
#include "Controller/Controller.h"
#include "Controller/ShowMode.h"
#include "DeviceSimulator.h"
#include "Platform/Clock.h"
#include "Platform/MessageQueue.h"
#include "Platform/Utf.h"
#include "Project/Project.h"
#include "Project/ProjectState.h"
#include "Show/ShowSession.h"

namespace {

using namespace std::chrono_literals;

constexpr int kCueCount = 200;
constexpr int kFirstFrame = 25;  // the first cue at 00:00:01:00
constexpr int kFps = 25;
constexpr std::uint32_t kRate = 44100;
constexpr int kTrackSeconds = 24;

// Cue i fires 100 ms after cue i - 1, on the frame grid: 2 or 3 frames (80 or 120 ms) apart.
int cueFrame(int i)
{
    return kFirstFrame + i * 5 / 2;
}

// Where the silent device's played-frames counter started counting: the moment on the steady
// clock and the frames counted before it. It starts at the first write after open or reset,
// and again at a write after the queue ran dry (the counter stands still meanwhile).
struct CounterStart {
    std::int64_t time;
    std::int64_t frames;
};

// A reading of the counter: the output worker reads it for every position report, so the
// first reading at or past a cue's fire time is the tick that carried the trigger.
struct CounterRead {
    std::int64_t time;
    std::int64_t frames;
};

struct CounterLog {
    std::mutex mutex;
    std::vector<CounterStart> starts;
    std::vector<CounterRead> reads;
};

// The silent device, noting where its counter started.
class TimedSilentWaveOut final : public Audio::WaveOut {
public:
    TimedSilentWaveOut(const Platform::Clock& clock, std::shared_ptr<CounterLog> log)
        : clock_(clock), device_(clock), log_(std::move(log))
    {
    }

    std::wstring name() const override { return L"silent"; }
    int open(std::uint32_t rate, Platform::WindowHandle window) override
    {
        queued_ = 0;
        return device_.open(rate, window);
    }
    bool isOpen() const override { return device_.isOpen(); }
    std::uint32_t rate() const override { return device_.rate(); }
    bool write(Audio::WaveBuffer& buffer) override
    {
        // The device takes its start moment inside write(); this one is read a few hundred
        // nanoseconds before it.
        const std::int64_t now = clock_.now();
        if (device_.isOpen() && device_.playedFrames() >= queued_) {
            std::lock_guard<std::mutex> lock(log_->mutex);
            log_->starts.push_back({now, queued_});
        }
        const bool written = device_.write(buffer);
        if (written) {
            queued_ += static_cast<std::int64_t>(buffer.frames());
        }
        return written;
    }
    void reset() override
    {
        queued_ = 0;
        device_.reset();
    }
    std::int64_t playedFrames() override
    {
        const std::int64_t now = clock_.now();
        const std::int64_t frames = device_.playedFrames();
        std::lock_guard<std::mutex> lock(log_->mutex);
        log_->reads.push_back({now, frames});
        return frames;
    }
    void close() override { device_.close(); }

private:
    const Platform::Clock& clock_;
    Audio::SilentWaveOut device_;
    std::shared_ptr<CounterLog> log_;
    std::int64_t queued_ = 0;  // frames queued since open or reset
};

// A quiet soundtrack in the temporary folder, removed at exit.
class Soundtrack {
public:
    Soundtrack()
        : path_(std::filesystem::temp_directory_path() /
                ("sky-show-timing-" + std::to_string(::getpid()) + ".wav"))
    {
        const auto samples = Audio::TestSupport::makeSamples(
            static_cast<std::size_t>(kTrackSeconds) * kRate, [](std::size_t i, int channel) {
                return static_cast<std::int16_t>(((i * 2654435761u) >> 24) % 64 - 32 + channel);
            });
        Audio::TestSupport::writeFile(path_.string(),
                                      Audio::TestSupport::waveBytes(samples, kRate));
    }
    ~Soundtrack() { std::filesystem::remove(path_); }
    std::wstring path() const { return Platform::fromUtf8(path_.string()); }

private:
    std::filesystem::path path_;
};

// Handles the calling thread's messages as the program's main loop does: it sleeps until a
// message arrives or its next timer is due.
void runMainLoop(Platform::MessageQueue& queue, std::chrono::milliseconds duration)
{
    // Nothing to recheck: the loop wakes only for messages and timers.
    queue.runUntil([] { return false; }, duration, duration);
}

// One line of the simulator's log, reduced to what the benchmarks read.
struct LogEvent {
    double t = 0;  // ms since the simulator's start
    std::string event;
    std::string text;
};

std::optional<std::string> field(const std::string& line, const std::string& name)
{
    const std::string key = "\"" + name + "\":";
    const std::size_t at = line.find(key);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    std::size_t begin = at + key.size();
    std::size_t end;
    if (line[begin] == '"') {
        ++begin;
        end = line.find('"', begin);
    } else {
        end = line.find_first_of(",}", begin);
    }
    return line.substr(begin, end - begin);
}

std::vector<LogEvent> readLog(const Testing::DeviceSimulator& device)
{
    std::vector<LogEvent> events;
    for (const std::string& line : device.logLines()) {
        LogEvent e;
        e.t = std::strtod(field(line, "t").value_or("0").c_str(), nullptr);
        e.event = field(line, "event").value_or("");
        e.text = line;
        events.push_back(std::move(e));
    }
    return events;
}

// The program's pieces for one show, made by the show session as the program makes them:
// project with its show state, audio player on the silent device, MIDI, controller service on
// the simulator, the adapters between them.
class ShowRig {
public:
    explicit ShowRig(std::shared_ptr<CounterLog> counter)
    {
        Show::ShowSessionOptions options;
        options.audio.makeDevice = [counter](const Platform::Clock& clock) {
            return std::make_unique<TimedSilentWaveOut>(clock, counter);
        };
        options.controller.findPorts = [this] {
            return std::vector<std::string>{device_.portPath()};
        };
        session_ = std::make_unique<Show::ShowSession>(std::move(options));
    }
    ~ShowRig()
    {
        session_.reset();  // leaves show mode and disconnects first
        device_.stop();
    }

    // Starts everything and compiles the show for `mode`; an error text, or empty.
    std::string start(int mode, const std::wstring& track)
    {
        if (!device_.start()) {
            return "simulator: " + device_.error();
        }
        Project::ProjectData& data = session_->project().getProjectData();
        data.setFormat(SMPTE::SMPTE_25);
        for (int i = 0; i < kCueCount; ++i) {
            data.getCueList().add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, cueFrame(i)),
                                  Project::CueCommand::pyro(i), 0, 0, 0, -1, "");
        }
        if (!session_->waitUntilReady(10s)) {
            return "the workers did not start";
        }
        if (session_->player().load(track) != 0) {
            return "the soundtrack did not load";
        }
        if (!session_->connect()) {
            return "the controller did not connect";
        }
        if (!session_->enterShowMode(mode)) {
            return "the show did not compile";
        }
        // Let the first blocks of words reach the device.
        Audio::TestSupport::pumpFor(queue_, 500ms);
        return {};
    }

    Project::ProjectState& state() { return session_->state(); }
    Platform::MessageQueue& queue() { return queue_; }
    Controller::Controller& controller() { return session_->controller(); }
    Testing::DeviceSimulator& device() { return device_; }

private:
    Platform::MessageQueue queue_;
    Testing::DeviceSimulator device_;
    std::unique_ptr<Show::ShowSession> session_;
};

double at(const std::vector<double>& sorted, double q)
{
    return sorted.empty() ? 0.0 : sorted[static_cast<std::size_t>(q * (sorted.size() - 1) + 0.5)];
}

// An audio-clocked show of 200 pyro cues 100 ms apart, armed and played from the start on the
// silent device. For every cue: the moment its trigger (0x14) reached the simulator minus
// the moment the player's position passed the cue's fire time, in milliseconds (positive:
// late). One iteration is the whole show, about 22 s.
void BM_AudioClockTriggerLatency(benchmark::State& state)
{
    static const Soundtrack track;
    for (auto _ : state) {
        auto counter = std::make_shared<CounterLog>();
        counter->reads.reserve(1 << 16);  // a minute of readings, so none waits for memory
        ShowRig rig(counter);
        if (const std::string error = rig.start(Controller::SHOW_AUDIO_CLOCK, track.path());
            !error.empty()) {
            state.SkipWithError(error.c_str());
            return;
        }
        rig.controller().arm(true, -1);
        runMainLoop(rig.queue(), 200ms);
        rig.state().play();
        const int lastFrame = cueFrame(kCueCount - 1);
        runMainLoop(rig.queue(), std::chrono::milliseconds(lastFrame * 1000 / kFps + 1500));
        rig.state().stop();
        runMainLoop(rig.queue(), 200ms);

        std::vector<CounterStart> starts;
        std::vector<CounterRead> reads;
        {
            std::lock_guard<std::mutex> lock(counter->mutex);
            starts = counter->starts;
            reads = counter->reads;
        }
        const std::vector<LogEvent> log = readLog(rig.device());
        std::optional<std::int64_t> origin;  // the simulator's start, steady clock in µs
        std::vector<double> released;        // ms since its start
        int triggers = 0;
        int fired = 0;
        for (const LogEvent& e : log) {
            if (e.event == "start") {
                if (const auto us = field(e.text, "steady_us")) {
                    origin = std::strtoll(us->c_str(), nullptr, 10);
                }
            } else if (e.event == "rx" && field(e.text, "code") == "0x14") {
                ++triggers;
            } else if (e.event == "exec" && field(e.text, "kind") == "trigger-wait" &&
                       field(e.text, "result") == "released") {
                released.push_back(e.t);
            } else if (e.event == "exec" && field(e.text, "result") == "fired") {
                ++fired;
            }
        }
        if (!origin) {
            state.SkipWithError("the simulator's log has no steady-clock origin");
            return;
        }
        if (starts.empty()) {
            state.SkipWithError("the silent device never started");
            return;
        }
        if (released.size() != static_cast<std::size_t>(kCueCount)) {
            std::fprintf(stderr, "only %zu of %d triggers released a cue\n", released.size(),
                         kCueCount);
        }

        // The position passes frame f at f / 25 s of played frames; the counter start that
        // covers that many frames gives the moment (the speed is 1). The lateness splits
        // into the tick's (the first reading at or past that many frames) and the delivery
        // from that reading to the simulator.
        std::vector<double> late;
        std::vector<double> tickLate;
        std::vector<double> delivery;
        std::size_t read = 0;
        for (std::size_t i = 0; i < released.size(); ++i) {
            const double frames = static_cast<double>(cueFrame(static_cast<int>(i))) * kRate / kFps;
            const CounterStart* covering = &starts.front();
            for (const CounterStart& s : starts) {
                if (static_cast<double>(s.frames) <= frames) {
                    covering = &s;
                }
            }
            const double fireUs = static_cast<double>(covering->time) / 1000.0 +
                                  (frames - static_cast<double>(covering->frames)) * 1e6 / kRate;
            const double receivedUs = static_cast<double>(*origin) + released[i] * 1000.0;
            late.push_back((receivedUs - fireUs) / 1000.0);
            while (read < reads.size() && static_cast<double>(reads[read].frames) < frames) {
                ++read;
            }
            const double tickUs =
                read < reads.size() ? static_cast<double>(reads[read].time) / 1000.0 : fireUs;
            tickLate.push_back((tickUs - fireUs) / 1000.0);
            delivery.push_back((receivedUs - tickUs) / 1000.0);
            if (std::abs(late.back()) > 2.0) {
                std::fprintf(stderr, "cue %zu (frame %d): %+.3f ms (tick %+.3f, delivery %+.3f)\n",
                             i + 1, cueFrame(static_cast<int>(i)), late.back(), tickLate.back(),
                             delivery.back());
            }
        }
        std::sort(tickLate.begin(), tickLate.end());
        std::sort(delivery.begin(), delivery.end());
        std::vector<double> sorted = late;
        std::sort(sorted.begin(), sorted.end());
        std::vector<double> error;
        for (double d : late) {
            error.push_back(std::abs(d));
        }
        std::sort(error.begin(), error.end());
        state.counters["cues"] = static_cast<double>(late.size());
        state.counters["triggers_sent"] = triggers;
        state.counters["fired"] = fired;
        state.counters["late_ms_median"] = at(sorted, 0.5);
        state.counters["late_ms_p99"] = at(sorted, 0.99);
        state.counters["late_ms_max"] = sorted.empty() ? 0.0 : sorted.back();
        state.counters["late_ms_min"] = sorted.empty() ? 0.0 : sorted.front();
        state.counters["abs_ms_median"] = at(error, 0.5);
        state.counters["abs_ms_p99"] = at(error, 0.99);
        state.counters["abs_ms_worst"] = error.empty() ? 0.0 : error.back();
        state.counters["tick_ms_median"] = at(tickLate, 0.5);
        state.counters["tick_ms_p99"] = at(tickLate, 0.99);
        state.counters["delivery_ms_median"] = at(delivery, 0.5);
        state.counters["delivery_ms_p99"] = at(delivery, 0.99);
        // More than one start: the device ran dry during the show.
        state.counters["counter_starts"] = static_cast<double>(starts.size());
    }
}
BENCHMARK(BM_AudioClockTriggerLatency)->Unit(benchmark::kSecond)->Iterations(1);

// Processor time of a process in microseconds, from /proc/PID/stat; -1 when unreadable.
long long processCpuUs(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) {
        return -1;
    }
    std::istringstream fields(text.substr(close + 2));
    std::string value;
    long long utime = 0;
    long long stime = 0;
    // Fields 3 onwards; utime and stime are fields 14 and 15.
    for (int i = 3; i <= 15 && fields >> value; ++i) {
        if (i == 14) {
            utime = std::stoll(value);
        } else if (i == 15) {
            stime = std::stoll(value);
        }
    }
    return (utime + stime) * 1000000LL / ::sysconf(_SC_CLK_TCK);
}

long long cpuUs(const rusage& r)
{
    return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1000000LL + r.ru_utime.tv_usec +
           r.ru_stime.tv_usec;
}

// A compiled show loaded with the transport stopped, for 10 s: the clock-out show with the
// controller's clock, or the audio-clocked show with the player stopped. The process's
// processor time as a percentage of one core (every thread, the main loop included), its
// voluntary context switches (wake-ups) per second, and the simulator's processor time.
void BM_IdleLoadedStoppedShow(benchmark::State& state)
{
    static const Soundtrack track;
    const int mode = static_cast<int>(state.range(0));
    for (auto _ : state) {
        ShowRig rig(std::make_shared<CounterLog>());
        if (const std::string error = rig.start(mode, track.path()); !error.empty()) {
            state.SkipWithError(error.c_str());
            return;
        }
        rig.state().stop();
        runMainLoop(rig.queue(), 500ms);

        rusage before{};
        ::getrusage(RUSAGE_SELF, &before);
        const long long deviceBefore = processCpuUs(rig.device().pid());
        const auto start = std::chrono::steady_clock::now();
        runMainLoop(rig.queue(), 10s);
        const double wallUs =
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count();
        rusage after{};
        ::getrusage(RUSAGE_SELF, &after);
        const long long deviceAfter = processCpuUs(rig.device().pid());

        state.counters["cpu_pct_of_core"] =
            100.0 * static_cast<double>(cpuUs(after) - cpuUs(before)) / wallUs;
        state.counters["wakeups_per_s"] =
            static_cast<double>(after.ru_nvcsw - before.ru_nvcsw) / (wallUs / 1e6);
        state.counters["preempted_per_s"] =
            static_cast<double>(after.ru_nivcsw - before.ru_nivcsw) / (wallUs / 1e6);
        state.counters["devsim_cpu_pct"] =
            deviceBefore < 0 || deviceAfter < 0
                ? -1.0
                : 100.0 * static_cast<double>(deviceAfter - deviceBefore) / wallUs;
    }
}
BENCHMARK(BM_IdleLoadedStoppedShow)
    ->ArgName("mode")
    ->Arg(Controller::SHOW_CLOCK_OUT)
    ->Arg(Controller::SHOW_AUDIO_CLOCK)
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

}  // namespace
