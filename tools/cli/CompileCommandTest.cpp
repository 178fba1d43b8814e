#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Platform/TestFolder.h"
#include "Platform/Utf.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/ProjectData.h"

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

// A 25 fps show: cue 1 at frame 25 with prefire 5 on module 1 pin 1, cue 2 at frame 30 with
// prefire 10 on module 1 pin 2 (both fire at frame 20, firing group 1), cue 3 a reminder.
std::string writeShow(const Platform::TestFolder& folder)
{
    using Project::CueCommand;
    Project::ProjectData data;
    data.setFormat(SMPTE::SMPTE_25);
    Project::CueList& cues = data.getCueList();
    cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 25), CueCommand::pyro(17), 5, 0, 1, -1, "");
    cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 30), CueCommand::pyro(18), 10, 0, 1, -1, "");
    cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 40), CueCommand(CueCommand::TYPE_REMINDER), 0, 0,
             1, -1, "Bow");
    std::wstring errorKey;
    EXPECT_TRUE(Project::ProjectFile::save(folder.path("show.fwp"), data, errorKey));
    return (folder.root() / "show.fwp").string();
}

TEST(CompileCommand, PrintsTheWordsOfEveryMode)
{
    Platform::TestFolder folder;
    const std::string show = writeShow(folder);
    const struct {
        const char* mode;
        std::string out;
    } rows[] = {
        {"audio",
         "group=0 index=0 word=0x20000000 cue=-\n"
         "group=0 index=1 word=0x80000101 cue=1\n"
         "group=0 index=2 word=0x80000102 cue=2\n"},
        // Frame 20 at 25 fps is 00:00:00:20: frame tens 2 in bits 16-17.
        {"clock-out",
         "group=0 index=0 word=0x10020000 cue=-\n"
         "group=0 index=1 word=0x80000101 cue=1\n"
         "group=0 index=2 word=0x80000102 cue=2\n"},
        {"clock-in",
         "group=0 index=0 word=0x10020000 cue=-\n"
         "group=0 index=1 word=0x80000101 cue=1\n"
         "group=0 index=2 word=0x80000102 cue=2\n"},
        // One step per timecode, each prefire as a delay: 5 frames 200 ms, 10 frames 400 ms.
        {"manual",
         "group=1 index=0 word=0x30000000 cue=-\n"
         "group=1 index=1 word=0x300000C8 cue=-\n"
         "group=1 index=2 word=0x80000101 cue=1\n"
         "group=1 index=3 word=0x30000000 cue=-\n"
         "group=1 index=4 word=0x30000190 cue=-\n"
         "group=1 index=5 word=0x80000102 cue=2\n"},
    };
    for (const auto& row : rows) {
        const CliRun result = run({"compile", show, "--mode", row.mode});
        EXPECT_EQ(result.code, 0) << result.err;
        EXPECT_EQ(result.out, row.out) << row.mode;
        EXPECT_EQ(result.err, "");
    }
}

TEST(CompileCommand, RefusesBadArgumentsAndUnreadableFiles)
{
    Platform::TestFolder folder;
    folder.writeBytes("junk.fwp", "not a project");
    const struct {
        std::vector<std::string> args;
        int code;
        const char* err;
    } rows[] = {
        {{"compile"}, 2, "give a project file"},
        {{"compile", "a.fwp"}, 2, "give --mode"},
        {{"compile", "a.fwp", "--mode"}, 2, "--mode needs a value"},
        {{"compile", "a.fwp", "--mode", "timecode"}, 2, "unknown mode timecode"},
        {{"compile", "a.fwp", "b.fwp", "--mode", "audio"}, 2, "give one project file"},
        {{"compile", (folder.root() / "missing.fwp").string(), "--mode", "audio"},
         1,
         "ERROR.FAILED_TO_OPEN_FILE_FOR_READING"},
        {{"compile", (folder.root() / "junk.fwp").string(), "--mode", "audio"}, 1, "ERROR."},
    };
    for (const auto& row : rows) {
        const CliRun result = run(row.args);
        EXPECT_EQ(result.code, row.code) << row.err;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(row.err), std::string::npos) << result.err;
    }
}

}  // namespace
