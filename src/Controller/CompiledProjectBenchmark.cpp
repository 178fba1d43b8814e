#include <benchmark/benchmark.h>

#include <random>

#include "Controller/CompiledProject.h"
#include "Project/CueList.h"

namespace {

constexpr int kCueCount = 20000;

// A large show: cues on every other frame with prefire times that reorder their fire times,
// some sharing a time slot, in 16 firing groups; a tenth of them DMX.
void fill(Project::CueList& cues)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> prefire(0, 40);
    for (int i = 0; i < kCueCount; ++i) {
        const int frame = 100 + 2 * (i / 3);
        const Project::CueCommand command = i % 10 == 0 ? Project::CueCommand::dmx(0, i % 512, 255)
                                                        : Project::CueCommand::pyro(i % 2048);
        cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, frame), command, prefire(random), 10, i % 16,
                 -1, "");
    }
}

void compileShow(benchmark::State& state)
{
    Project::CueList cues;
    fill(cues);
    for (auto _ : state) {
        auto compiled = Controller::CompiledProject::compile(
            cues, SMPTE::SMPTE_25, static_cast<int>(state.range(0)), 1000000000);
        benchmark::DoNotOptimize(compiled->getCommandCount());
    }
    state.SetItemsProcessed(state.iterations() * kCueCount);
}
BENCHMARK(compileShow)
    ->Arg(Controller::SHOW_AUDIO_CLOCK)
    ->Arg(Controller::SHOW_CLOCK_OUT)
    ->Arg(Controller::SHOW_MANUAL_FIRE)
    ->Unit(benchmark::kMillisecond);

// Ticks every command of a loaded show, as the controller's worker does every 100 ms.
void collectStates(benchmark::State& state)
{
    Project::CueList cues;
    fill(cues);
    auto compiled = Controller::CompiledProject::compile(cues, SMPTE::SMPTE_25,
                                                         Controller::SHOW_AUDIO_CLOCK, 1000000000);
    compiled->resetAll(0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(compiled->collectStates(0));
    }
}
BENCHMARK(collectStates)->Unit(benchmark::kMicrosecond);

}  // namespace
