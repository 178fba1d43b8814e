#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "Project/CueList.h"

namespace {

constexpr int kCueCount = 100000;

std::vector<SMPTE> timecodesInOrder()
{
    std::vector<SMPTE> timecodes;
    timecodes.reserve(kCueCount);
    for (int frame = 0; frame < kCueCount; ++frame) {
        timecodes.push_back(SMPTE::fromFrameNo(SMPTE::SMPTE_25, frame));
    }
    return timecodes;
}

// Builds a list of the cues in the given order and numbers it, as loading a show does.
void addAndRenumber(benchmark::State& state, const std::vector<SMPTE>& timecodes)
{
    const Project::CueCommand command = Project::CueCommand::pyro(0x101);
    for (auto _ : state) {
        auto list = std::make_unique<Project::CueList>();
        for (const SMPTE& timecode : timecodes) {
            list->add(timecode, command, 0, 0, 1, -1, "");
        }
        list->renumber();
        benchmark::DoNotOptimize(list->last()->getNumber());

        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCueCount);
}

void BM_CueListAddInOrder(benchmark::State& state)
{
    addAndRenumber(state, timecodesInOrder());
}

void BM_CueListAddInRandomOrder(benchmark::State& state)
{
    std::vector<SMPTE> timecodes = timecodesInOrder();
    std::mt19937 random(20240611);
    std::shuffle(timecodes.begin(), timecodes.end(), random);
    addAndRenumber(state, timecodes);
}

BENCHMARK(BM_CueListAddInOrder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CueListAddInRandomOrder)->Unit(benchmark::kMillisecond);

}  // namespace
