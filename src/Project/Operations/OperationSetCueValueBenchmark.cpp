#include <benchmark/benchmark.h>

#include <memory>

#include "Project/Operations/OperationSetCueValue.h"
#include "Project/Project.h"

namespace {

constexpr int kCueCount = 20000;

// A project of 20,000 selected cues, pyro and DMX alternating, whose durations were set by
// one operation that is now on the undo history.
struct ShowWithOneEdit {
    ShowWithOneEdit() : project(Project::Project::createInstance())
    {
        Project::ProjectData& data = project.getProjectData();
        data.setFormat(SMPTE::SMPTE_25);
        Project::CueList& cues = data.getCueList();
        Project::CueCommand dmx = Project::CueCommand::dmx(0, 4, 200);
        dmx.setDmxText("(1@255+2@0)+(1@0+2@255)");
        for (int i = 0; i < kCueCount; ++i) {
            const SMPTE timecode = SMPTE::fromFrameNo(SMPTE::SMPTE_25, i * 3);
            Project::Cue* cue =
                cues.add(timecode, i % 2 ? dmx : Project::CueCommand::pyro(i), 0, 5, 1, -1, "");
            cue->setSelected(true);
        }
        project.submit(std::make_unique<Project::OperationSetCueValue>(
            Project::OperationSetCueValue::DURATION, 25));
    }
    ~ShowWithOneEdit() { Project::Project::destroyInstance(); }

    Project::Project& project;
};

void undoSetValue(benchmark::State& state)
{
    ShowWithOneEdit show;
    for (auto _ : state) {
        show.project.undo();
        state.PauseTiming();
        show.project.redo();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCueCount);
}

void redoSetValue(benchmark::State& state)
{
    ShowWithOneEdit show;
    for (auto _ : state) {
        state.PauseTiming();
        show.project.undo();
        state.ResumeTiming();
        show.project.redo();
    }
    state.SetItemsProcessed(state.iterations() * kCueCount);
}

}  // namespace

// Goal: under 50 ms each for 20,000 cues.
BENCHMARK(undoSetValue)->Unit(benchmark::kMillisecond);
BENCHMARK(redoSetValue)->Unit(benchmark::kMillisecond);
