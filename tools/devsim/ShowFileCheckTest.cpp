#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

#include "DeviceSimulator.h"
#include "Project/Operations/ShowFile.h"
#include "ShowFileCheck.h"

// The firing system's check of a show file, fed with files the program itself writes.
namespace Devsim {
namespace {

std::string programShowFile(int cues)
{
    Project::ProjectData data;
    data.setFormat(SMPTE::SMPTE_30);
    for (int i = 0; i < cues; ++i) {
        data.getCueList().add(SMPTE::fromFrameNo(data.getFormat(), 100 + i * 7),
                              Project::CueCommand::pyro(0x20 + i), 2, 0, 1, -1, "");
    }
    Project::ShowFile::Options options;
    options.random = [] { return 4; };
    options.exportTime = 0x01020304;
    return Project::ShowFile::build(data, options);
}

TEST(ShowFileCheck, AcceptsWhatTheProgramWrites)
{
    for (int cues : {0, 1, 3}) {
        ShowFileSummary summary;
        std::string reason;
        EXPECT_TRUE(checkShowFile(programShowFile(cues), summary, reason)) << reason;
        EXPECT_EQ(summary.records, cues);
        EXPECT_EQ(summary.format, SMPTE::SMPTE_30);
        EXPECT_EQ(summary.exportTime, 0x01020304u);
    }
}

TEST(ShowFileCheck, RefusesDamagedFiles)
{
    const std::string good = programShowFile(2);
    const size_t trailer = good.size() - 16;
    struct Case {
        const char* name;
        std::string file;
        const char* reason;
    };
    std::string lastByteChanged = good;
    lastByteChanged.back() = static_cast<char>(lastByteChanged.back() ^ 0x01);
    std::string markerChanged = good;
    markerChanged[trailer - 1] = 'X';
    std::string recordCut = good;
    recordCut.erase(3, 1);
    // a record added in front, copied from the first: the trailer's count is then wrong
    const size_t oneRecord = (trailer - 2) / 2;
    const std::string extraRecord = good.substr(0, oneRecord) + good;
    // 65,536 records more: a count compared modulo 65,536 would still match
    std::string wrapped;
    for (int i = 0; i < 65536; ++i) {
        wrapped += good.substr(0, oneRecord);
    }
    wrapped += good;
    const Case cases[] = {
        {"too short", good.substr(trailer), "shorter"},
        {"trailer damaged", lastByteChanged, "decipher"},
        {"marker missing", markerChanged, "?^"},
        {"record cut", recordCut, "record 1"},
        {"count differs", extraRecord, "counts 2 records, the file has 3"},
        {"count wrapped", wrapped, "counts 2 records, the file has 65538"},
    };
    for (const Case& c : cases) {
        ShowFileSummary summary;
        std::string reason;
        EXPECT_FALSE(checkShowFile(c.file, summary, reason)) << c.name;
        EXPECT_NE(reason.find(c.reason), std::string::npos) << c.name << ": " << reason;
    }
}

int runCheck(const std::string& path)
{
    const std::string command = Testing::DeviceSimulator::defaultExecutable() + " check-fws '" +
                                path + "' 2>/dev/null >/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ShowFileCheck, ProgramExitsZeroOnlyForAGoodFile)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("sky-devsim-fws-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string good = programShowFile(2);
    std::ofstream((folder / "good.fws").string(), std::ios::binary) << good;
    std::ofstream((folder / "bad.fws").string(), std::ios::binary) << good.substr(1);
    EXPECT_EQ(runCheck((folder / "good.fws").string()), 0);
    EXPECT_EQ(runCheck((folder / "bad.fws").string()), 1);
    EXPECT_EQ(runCheck((folder / "missing.fws").string()), 1);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace Devsim
