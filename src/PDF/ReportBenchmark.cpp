#include <benchmark/benchmark.h>

#include <string>

#include "PDF/OperationSaveReport.h"
#include "Project/ProjectData.h"

namespace {

// The show report of a large show: 5,000 cues with article data, as built in memory.
void BM_ShowReport5000Cues(benchmark::State& state)
{
    Project::ProjectData data;
    data.setFormat(SMPTE::SMPTE_25);
    for (int i = 0; i < 5000; ++i) {
        Project::Cue* cue =
            data.getCueList().add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, i * 5),
                                  Project::CueCommand::pyro(0x10 + i % 2000), 0, 75, 1, -1, "");
        cue->getMetadata().insert(-1, L"~POS", L"Ponton " + std::to_wstring(i % 7));
        cue->getMetadata().insert(-1, L"~TYPE", L"Kometen");
        cue->getMetadata().insert(-1, L"~DESC",
                                  L"Goldener Fächer mit Knistern " + std::to_wstring(i));
    }
    const PDF::Translate translate = [](const std::wstring& key) { return key; };
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string pdf = PDF::OperationSaveReport::build(
            PDF::OperationSaveReport::Kind::SHOW, data, translate, true, false);
        bytes = pdf.size();
        benchmark::DoNotOptimize(pdf.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ShowReport5000Cues)->Unit(benchmark::kMillisecond);

}  // namespace
