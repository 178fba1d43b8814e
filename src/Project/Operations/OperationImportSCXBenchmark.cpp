// The show import. No show database of 10,000 events can be made here (that takes a Jet
// writer), so the import is measured in two parts: the whole path on the sample database,
// where starting the reader process and opening the file dominate, and everything after
// libmdb's reading for 10,000 events: decoding the reader's answer, sorting it by cue and
// making the cues.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "FileIO/JetRecordSet.h"
#include "Project/Operations/OperationImportSCX.h"
#include "Project/Project.h"
#include "Timecode/SMPTE.h"

namespace {

constexpr int kEventCount = 10000;

std::wstring sampleShow()
{
    return (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "FileIO" /
            "testdata" / "foreign" / "show-25.scx")
        .wstring();
}

// The reader's answer for a show of 10,000 events at 25 fps, stored out of cue order.
std::string answerOf10000Events()
{
    using Records = FileIO::JetRecordSet;
    Records records;
    const wchar_t* numbers[] = {L"ID",  L"CUE",  L"HH",   L"MM",  L"SS",    L"FF",
                                L"PFT", L"ADDR", L"CGHZ", L"QTY", L"PRICE1"};
    const wchar_t* texts[] = {
        L"NEXT", L"DUR", L"Effect Description", L"REF", L"ANGLE", L"Event Description", L"POS"};
    for (const wchar_t* name : numbers) {
        records.addColumn(name, Records::Kind::NUMBER);
    }
    for (const wchar_t* name : texts) {
        records.addColumn(name, Records::Kind::TEXT);
    }
    for (int i = 0; i < kEventCount; ++i) {
        const int cue = (i * 7919) % kEventCount + 1;  // a permutation of 1..10000
        const int frame = cue * 8;                     // 8 frames apart
        auto& row = records.addRow();
        const std::wstring values[] = {std::to_wstring(i + 1),
                                       std::to_wstring(cue),
                                       std::to_wstring(frame / 90000),
                                       std::to_wstring(frame / 1500 % 60),
                                       std::to_wstring(frame / 25 % 60),
                                       std::to_wstring(frame % 25),
                                       L"10",
                                       std::to_wstring(cue % 4096),
                                       std::to_wstring(cue % 16),
                                       L"1",
                                       L"3.5000",
                                       L"00:00:08",
                                       L"205",
                                       L"Red peony 75mm",
                                       L"A-100",
                                       L"90",
                                       L"Shell",
                                       L"Centre"};
        for (std::size_t c = 0; c < row.size(); ++c) {
            row[c] = Records::Value{false, values[c]};
        }
    }
    return records.serialize();
}

void BM_ImportSampleShowDatabase(benchmark::State& state)
{
    Project::Project& project = Project::Project::createInstance();
    const std::wstring path = sampleShow();
    for (auto _ : state) {
        Project::OperationImportSCX import(path, 0);
        if (!import.execute(project.getProjectData()) ||
            project.getProjectData().getCueList().getCount() != 4) {
            state.SkipWithError("the sample show did not import");
            break;
        }
    }
    Project::Project::destroyInstance();
}
BENCHMARK(BM_ImportSampleShowDatabase)->Unit(benchmark::kMillisecond);

void BM_Import10000EventsAfterReading(benchmark::State& state)
{
    Project::Project& project = Project::Project::createInstance();
    const std::string answer = answerOf10000Events();
    for (auto _ : state) {
        FileIO::JetRecordSet events;
        events.deserialize(answer);
        events.sortBy(events.findColumn(L"CUE"), false);
        std::vector<int> formats;
        Project::OperationImportSCX::detectFormats(events, formats);
        Project::OperationImportSCX import(L"big.scx", 25);
        if (formats.size() != 1 ||
            !import.importEvents(events, formats.front(), project.getProjectData()) ||
            project.getProjectData().getCueList().getCount() != kEventCount) {
            state.SkipWithError("the events did not import");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kEventCount);
    Project::Project::destroyInstance();
}
BENCHMARK(BM_Import10000EventsAfterReading)->Unit(benchmark::kMillisecond);

}  // namespace
