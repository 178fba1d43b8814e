#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "FileIO/RiffFileReader.h"
#include "FileIO/RiffIntegrityRecord.h"
#include "Platform/Utf.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/Operations/ProjectFileSample.h"

// Saving and opening a show of 100,000 cues (six metadata pairs each, every fourth a DMX
// chase) with the integrity record: the save writes it, the open checks it. Beside them the
// open of the same show as an older file without the record. The files go to the temporary
// folder.
namespace {

using Project::ProjectData;
using Project::ProjectFile;

constexpr int kCues = 100000;

const ProjectData& show()
{
    static const std::unique_ptr<ProjectData> data = [] {
        auto filled = std::make_unique<ProjectData>();
        Project::Sample::fillShow(*filled, kCues);
        return filled;
    }();
    return *data;
}

std::wstring scratchPath(const std::string& name)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("sky-bench-integrity-" + std::to_string(::getpid()) + "-" + name);
    return Platform::fromUtf8(path.string());
}

bool endsWithRecord(const std::wstring& path)
{
    FileIO::RiffFileReader reader;
    return reader.open(path) &&
           reader.checkIntegrityRecord() == FileIO::RiffFileReader::IntegrityRecord::MATCHES;
}

void BM_SaveProjectWithIntegrityRecord(benchmark::State& state)
{
    const ProjectData& data = show();
    const std::wstring path = scratchPath("save.fwp");
    std::wstring error;
    for (auto _ : state) {
        if (!ProjectFile::save(path, data, error)) {
            state.SkipWithError(Platform::toUtf8(error).c_str());
            break;
        }
    }
    if (!endsWithRecord(path)) {
        state.SkipWithError("the saved file has no matching integrity record");
    }
    state.counters["bytes"] =
        static_cast<double>(std::filesystem::file_size(Platform::toUtf8(path)));
    std::filesystem::remove(Platform::toUtf8(path));
}

// `withRecord` false cuts the record off and mends the RIFF size: the file an older
// version of the program wrote.
void openProject(benchmark::State& state, bool withRecord)
{
    const std::wstring path = scratchPath(withRecord ? "open.fwp" : "older.fwp");
    std::string bytes = ProjectFile::toBytes(show());
    if (!withRecord) {
        bytes.resize(bytes.size() - FileIO::RiffIntegrityRecord::kChunkSize);
        const uint32_t size = static_cast<uint32_t>(bytes.size() - 8);
        for (int i = 0; i < 4; ++i) {
            bytes[4 + i] = static_cast<char>(size >> (8 * i));
        }
    }
    std::ofstream(Platform::toUtf8(path), std::ios::binary) << bytes;
    if (endsWithRecord(path) != withRecord) {
        state.SkipWithError("the file to open is not of the kind measured");
    }
    std::wstring error;
    for (auto _ : state) {
        auto data = std::make_unique<ProjectData>();
        if (!ProjectFile::load(path, *data, error) || data->getCueList().getCount() != kCues) {
            state.SkipWithError(("open failed: " + Platform::toUtf8(error)).c_str());
            break;
        }
        state.PauseTiming();
        data.reset();
        state.ResumeTiming();
    }
    std::filesystem::remove(Platform::toUtf8(path));
}

void BM_OpenProjectWithIntegrityRecord(benchmark::State& state)
{
    openProject(state, true);
}

void BM_OpenOlderProjectWithoutRecord(benchmark::State& state)
{
    openProject(state, false);
}

BENCHMARK(BM_SaveProjectWithIntegrityRecord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenProjectWithIntegrityRecord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenOlderProjectWithoutRecord)->Unit(benchmark::kMillisecond);

}  // namespace
