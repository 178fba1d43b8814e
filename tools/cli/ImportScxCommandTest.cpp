#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Platform/TestFolder.h"
#include "Platform/Utf.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/ProjectData.h"
#include "Timecode/SMPTE.h"

namespace {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

CliRun run(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = Cli::dispatch(args, out, err);
    return {code, out.str(), err.str()};
}

std::string foreign(const char* name)
{
    return (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "src" /
            "FileIO" / "testdata" / "foreign" / name)
        .string();
}

TEST(ImportScxCommand, WritesTheProjectOrListsTheRatesLeft)
{
    Platform::TestFolder folder;
    const std::string out = Platform::toUtf8(folder.path("show.fwp"));

    CliRun r = run({"import-scx", foreign("show-ambiguous.scx"), out});
    EXPECT_EQ(r.code, 3) << r.err;
    EXPECT_EQ(r.out, "24 25 29 30\n");
    EXPECT_FALSE(std::filesystem::exists(out));

    r = run({"import-scx", foreign("show-ambiguous.scx"), out, "--rate", "24"});
    ASSERT_EQ(r.code, 0) << r.err;
    Project::ProjectData data;
    std::wstring error;
    ASSERT_TRUE(Project::ProjectFile::load(Platform::fromUtf8(out), data, error));
    EXPECT_EQ(data.getFormat(), SMPTE::SMPTE_24);
    EXPECT_EQ(data.getCueList().getCount(), 3);

    r = run({"import-scx", foreign("show-25.scx"), out});
    ASSERT_EQ(r.code, 0) << r.err;
    Project::ProjectData again;
    ASSERT_TRUE(Project::ProjectFile::load(Platform::fromUtf8(out), again, error));
    EXPECT_EQ(again.getFormat(), SMPTE::SMPTE_25);
    EXPECT_EQ(again.getCueList().getCount(), 4);
}

TEST(ImportScxCommand, ReportsRefusedFilesAndUsageErrors)
{
    Platform::TestFolder folder;
    const std::string out = Platform::toUtf8(folder.path("show.fwp"));
    CliRun r = run({"import-scx", foreign("show-bad-hours.scx"), out});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "import-scx: ERROR.INVALID_SCX\n");
    EXPECT_FALSE(std::filesystem::exists(out));

    EXPECT_EQ(run({"import-scx", foreign("show-25.scx"), out, "--rate", "60"}).code, 2);
    EXPECT_EQ(run({"import-scx", foreign("show-25.scx")}).code, 2);
}

}  // namespace
