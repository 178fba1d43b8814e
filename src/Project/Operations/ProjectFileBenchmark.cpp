#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

#include "Platform/Utf.h"
#include "Project/Operations/CsvExport.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/Operations/ProjectFileSample.h"
#include "Project/Operations/ShowFile.h"

// Opening, saving and exporting shows of 20,000 and 100,000 cues, each with six metadata
// pairs and every fourth a DMX chase with its text. The files go to the temporary folder.
namespace {

using Project::ProjectData;

// One show per size, made once.
const ProjectData& show(int cues)
{
    static std::map<int, std::unique_ptr<ProjectData>> shows;
    auto& data = shows[cues];
    if (!data) {
        data = std::make_unique<ProjectData>();
        Project::Sample::fillShow(*data, cues);
    }
    return *data;
}

std::wstring scratchPath(const std::string& name)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("sky-bench-" + std::to_string(::getpid()) + "-" + name);
    return Platform::fromUtf8(path.string());
}

void checked(benchmark::State& state, bool ok, const std::wstring& error)
{
    if (!ok) {
        state.SkipWithError(Platform::toUtf8(error).c_str());
    }
}

void BM_SaveProject(benchmark::State& state)
{
    const ProjectData& data = show(static_cast<int>(state.range(0)));
    const std::wstring path = scratchPath("save.fwp");
    std::wstring error;
    for (auto _ : state) {
        checked(state, Project::ProjectFile::save(path, data, error), error);
    }
    std::filesystem::remove(Platform::toUtf8(path));
}

void BM_OpenProject(benchmark::State& state)
{
    const std::wstring path = scratchPath("open.fwp");
    std::wstring error;
    Project::ProjectFile::save(path, show(static_cast<int>(state.range(0))), error);
    for (auto _ : state) {
        auto data = std::make_unique<ProjectData>();
        checked(state, Project::ProjectFile::load(path, *data, error), error);
        benchmark::DoNotOptimize(data->getCueList().getCount());
        state.PauseTiming();
        data.reset();
        state.ResumeTiming();
    }
    std::filesystem::remove(Platform::toUtf8(path));
}

void BM_ExportCsv(benchmark::State& state)
{
    const ProjectData& data = show(static_cast<int>(state.range(0)));
    const std::wstring path = scratchPath("cues.csv");
    const auto translate = [](const std::wstring& key) { return key; };
    std::wstring error;
    for (auto _ : state) {
        checked(state, Project::CsvExport::save(path, data, translate, error), error);
    }
    std::filesystem::remove(Platform::toUtf8(path));
}

void BM_ExportShowFile(benchmark::State& state)
{
    const ProjectData& data = show(static_cast<int>(state.range(0)));
    const std::wstring path = scratchPath("show.fws");
    std::wstring error;
    for (auto _ : state) {
        checked(state,
                Project::ShowFile::save(path, data, Project::ShowFile::defaultOptions(), error),
                error);
    }
    std::filesystem::remove(Platform::toUtf8(path));
}

BENCHMARK(BM_SaveProject)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenProject)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportShowFile)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
