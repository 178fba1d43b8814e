#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "Platform/TestFolder.h"
#include "Platform/Utf.h"
#include "Project/Operations/EffectFile.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/Operations/ProjectFileSample.h"

namespace {

using CliTest::run;

// Every command that reads a project or library file refuses a damaged one with its key and
// exit 1; with --salvage it goes on with what could be read and warns on standard error.
TEST(SalvageOption, EveryCommandRefusesADamagedFileUnlessSalvaging)
{
    Platform::TestFolder folder;
    const auto path = [&](const std::string& name) { return (folder.root() / name).string(); };
    Project::ProjectData data;
    Project::Sample::fillShow(data, 10);
    // Bytes after the end of the RIFF list: the file is damaged, its cues all readable.
    CliTest::writeFile(path("damaged.fwp"), Project::ProjectFile::toBytes(data) + "JUNK");
    Project::EffectList effects;
    effects.addEffectFromText(Project::EffectTexts{L"Red"});
    CliTest::writeFile(path("damaged.fwe"), Project::EffectFile::toBytes(effects) + "JUNK");
    CliTest::writeFile(path("ops.txt"), "");

    const std::string project = path("damaged.fwp");
    const std::vector<std::vector<std::string>> commands = {
        {"info", project},
        {"export-csv", project, path("out.csv")},
        {"export-fws", project, path("out.fws")},
        {"compile", project, "--mode", "manual"},
        {"report", "show", project, path("out.pdf")},
        {"edit", project, "--ops", path("ops.txt"), "--out", path("out.fwp")},
        {"library-info", path("damaged.fwe")},
    };
    for (const std::vector<std::string>& command : commands) {
        SCOPED_TRACE(command[0]);
        const CliTest::Run refused = run(command);
        EXPECT_EQ(refused.code, 1);
        EXPECT_NE(refused.err.find("ERROR.DAMAGED_FILE"), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find("--salvage"), std::string::npos) << refused.err;

        std::vector<std::string> salvaging = command;
        salvaging.push_back("--salvage");
        const CliTest::Run salvaged = run(salvaging);
        EXPECT_EQ(salvaged.code, 0) << salvaged.err;
        EXPECT_NE(salvaged.err.find("warning: the file is damaged"), std::string::npos)
            << salvaged.err;
    }
    // What could be read is all there: the ten cues.
    const CliTest::Run info = run({"info", "--salvage", project});
    EXPECT_EQ(info.code, 0);
    std::size_t cues = 0;
    for (std::size_t at = info.out.find("\"timecode\""); at != std::string::npos;
         at = info.out.find("\"timecode\"", at + 1)) {
        ++cues;
    }
    EXPECT_EQ(cues, 10u);
    // The show command refuses before it connects to anything.
    const CliTest::Run show =
        run({"show", project, "--mode", "manual", "--audio", "silent", "--port", path("none")});
    EXPECT_EQ(show.code, 1);
    EXPECT_NE(show.err.find("ERROR.DAMAGED_FILE"), std::string::npos) << show.err;
}

}  // namespace
