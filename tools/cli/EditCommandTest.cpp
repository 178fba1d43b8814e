#include <gtest/gtest.h>

#include <string>

#include "CliTestSupport.h"
#include "Platform/TestFolder.h"

namespace {

using CliTest::run;

class EditCommand : public ::testing::Test {
protected:
    EditCommand()
    {
        project = (folder.root() / "p.fwp").string();
        out = (folder.root() / "out.fwp").string();
        EXPECT_EQ(run({"new", "--format", "25", project}).code, 0);
    }

    CliTest::Run edit(const std::string& script)
    {
        const std::string ops = (folder.root() / "ops.txt").string();
        CliTest::writeFile(ops, script);
        return run({"edit", project, "--ops", ops, "--out", out});
    }

    Platform::TestFolder folder;
    std::string project;
    std::string out;
};

TEST_F(EditCommand, StepsGoThroughTheHistoryAsInTheProgram)
{
    const CliTest::Run r = edit(
        "# three cues\n"
        "add-pyro 00:00:01:00\n"
        "add-dmx 2:00 3:00\n"
        "add-reminder 4:00\r\n"
        "\n"
        "select 1,3\n"
        "set-value 8 0x3\n"
        "undo\n"
        "undo\n"
        "redo\n"
        "select none\n"
        "delete\n"
        "set-timecode 1:00\n"
        "set-value 0 100\n"
        "select 2\n"
        "set-value 11 1@255\n"
        "set-group-name Finale one\n"
        "check\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "ok undo=UNDO.ADD_CUE redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.ADD_CUE redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.ADD_REMINDER redo=REDO.NOTHING modified=1\n"
              // selections leave the history alone
              "ok undo=UNDO.ADD_REMINDER redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.MOD_QTY redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.ADD_REMINDER redo=REDO.MOD_QTY modified=1\n"
              "ok undo=UNDO.ADD_CUE redo=REDO.ADD_REMINDER modified=1\n"
              "ok undo=UNDO.ADD_REMINDER redo=REDO.MOD_QTY modified=1\n"
              "ok undo=UNDO.ADD_REMINDER redo=REDO.MOD_QTY modified=1\n"
              // nothing selected: nothing deleted, the history stays
              "ok undo=UNDO.ADD_REMINDER redo=REDO.MOD_QTY modified=1\n"
              "ok undo=UNDO.MOD_TIME redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.MOD_PFT redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.MOD_PFT redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.MOD_DMX_COMMAND redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.MOD_GROUPNAME redo=REDO.NOTHING modified=1\n"
              // the pyro cue has no address, the reminder none at all
              "failed CHECK.NO_COMMAND undo=UNDO.MOD_GROUPNAME redo=REDO.NOTHING modified=1\n");
    const CliTest::Run info = run({"info", out});
    ASSERT_EQ(info.code, 0);
    EXPECT_NE(info.out.find("\"dmxText\":\"1@255\""), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"groupName\":\"Finale one\""), std::string::npos);
    EXPECT_EQ(info.out.find("\"quantity\":3"), std::string::npos);
}

TEST_F(EditCommand, AFailedStepIsReportedAndTheScriptGoesOn)
{
    const CliTest::Run r = edit(
        "add-pyro 1:00\n"
        "select all\n"
        "set-meta ~POS left\n"
        "set-meta ~TYPE cake\n"
        "rename-meta ~POS ~TYPE\n"
        "link-wave " +
        CliTest::sourceFile("tools/cli/CommandLine.h") + "\n" + "link-wave " +
        CliTest::sourceFile("src/FileIO/testdata/mono8.wav") + "\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "ok undo=UNDO.ADD_CUE redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.ADD_CUE redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.MOD_CUE redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.MOD_CUE redo=REDO.NOTHING modified=1\n"
              "failed ERROR.COULD_NOT_RENAME_BECAUSE_CUE_META_KEY_ALREADY_EXISTS "
              "undo=UNDO.MOD_CUE redo=REDO.NOTHING modified=1\n"
              "failed ERROR.FAILED_TO_OPEN_WAVE undo=UNDO.MOD_CUE redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.LINK_WAVE redo=REDO.NOTHING modified=1\n");
    // The soundtrack went beside the saved project.
    EXPECT_TRUE(std::filesystem::exists(folder.root() / "out.wav"));
    EXPECT_NE(run({"info", out}).out.find("\"waveLinked\":true"), std::string::npos);
}

// A value the program's field would refuse is refused by the step, with that field's key,
// and nothing changes: "set-value 5 300" used to store 300 (and the file kept 44).
TEST_F(EditCommand, ValuesAreHeldToTheRangesOfTheProgramsFields)
{
    const CliTest::Run r = edit(
        "add-dmx 1:00\n"
        "add-pyro 2:00\n"
        "select all\n"
        "set-value 4 9\n"
        "set-value 5 44\n"
        "set-value 5 300\n"
        "set-value 1 17\n"
        "set-value 2 0x1000\n"
        "set-value 0 -1\n"
        "set-value 10 1001\n"
        "set-value 7 0x123456\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "ok undo=UNDO.ADD_CUE redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.ADD_CUE redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.ADD_CUE redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.MOD_DMX_CHANNEL redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.MOD_DMX_VALUE redo=REDO.NOTHING modified=1\n"
              "failed ERROR.VALUE.DMX_VALUE undo=UNDO.MOD_DMX_VALUE redo=REDO.NOTHING modified=1\n"
              "failed ERROR.VALUE.GROUP undo=UNDO.MOD_DMX_VALUE redo=REDO.NOTHING modified=1\n"
              "failed ERROR.VALUE.PYRO_ADDRESS undo=UNDO.MOD_DMX_VALUE redo=REDO.NOTHING "
              "modified=1\n"
              "failed ERROR.VALUE.PREFIRE undo=UNDO.MOD_DMX_VALUE redo=REDO.NOTHING modified=1\n"
              "failed ERROR.VALUE.CHASE_SPEED undo=UNDO.MOD_DMX_VALUE redo=REDO.NOTHING "
              "modified=1\n"
              "failed ERROR.VALUE.PYRO_ADDRESS undo=UNDO.MOD_DMX_VALUE redo=REDO.NOTHING "
              "modified=1\n");
    const CliTest::Run info = run({"info", out});
    ASSERT_EQ(info.code, 0);
    EXPECT_NE(info.out.find("\"value\":44"), std::string::npos) << info.out;
    EXPECT_EQ(info.out.find("\"value\":300"), std::string::npos) << info.out;
    EXPECT_EQ(info.out.find("\"group\":17"), std::string::npos) << info.out;
}

TEST_F(EditCommand, ALineThatCannotBeReadStopsTheScriptAsAUsageError)
{
    const struct {
        const char* script;
        const char* message;
    } cases[] = {
        {"add-pyro 1:00\nfly away\n", "ops.txt:2: unknown step 'fly'"},
        {"set-value 1 x2\n", "ops.txt:1: bad number 'x2'"},
        {"select 1,,2\n", "ops.txt:1: bad number ''"},
        {"set-value 1 2 absolute\n", "ops.txt:1: expected 'relative', not 'absolute'"},
        {"add-dmx 1:00 2:00 3:00\n", "ops.txt:1: wrong number of values for 'add-dmx'"},
        {"apply-effect lib.fwe\n", "ops.txt:1: wrong number of values for 'apply-effect'"},
        // a number beyond an int used to be cut to its low bits (4294967340 became 44)
        {"set-value 5 4294967340\n", "ops.txt:1: number out of range '4294967340'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        const CliTest::Run r = edit(c.script);
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    EXPECT_EQ(run({"edit", project, "--ops", "ops.txt"}).code, 2);
    const CliTest::Run missing = run({"edit", (folder.root() / "none.fwp").string(), "--ops",
                                      (folder.root() / "ops.txt").string(), "--out", out});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "skyfirewright-cli edit: ERROR.FAILED_TO_OPEN_FILE_FOR_READING\n");
}

TEST_F(EditCommand, EffectsAndPresetsComeFromLibraryFiles)
{
    const std::string library =
        CliTest::sourceFile("src/Project/Operations/EffectFileFuzz.corpus/library.fwe");
    const std::string presets =
        CliTest::sourceFile("src/Project/Operations/PresetFileFuzz.corpus/presets.fwf");
    const CliTest::Run r = edit(
        "add-pyro 1:00\n"
        "apply-effect " +
        library + " 1\n" + "add-dmx 2:00 3:00\n" + "patch " + presets + " 0 10 2 7 2\n" + "patch " +
        presets + " 0,1 10 2 9 2\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "ok undo=UNDO.ADD_CUE redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.APPLY_EFFECT redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.ADD_CUE redo=REDO.NOTHING modified=1\n"
              "ok undo=UNDO.PATCH_FIXTURES redo=REDO.NOTHING modified=1\n"
              "failed ERROR.PATCH_MODE undo=UNDO.PATCH_FIXTURES redo=REDO.NOTHING modified=1\n");
    const std::string info = run({"info", out}).out;
    EXPECT_NE(info.find("[\"~DESC\",\"Blue\"]"), std::string::npos) << info;
    EXPECT_NE(info.find("[10,255,true,false],[11,10,false,true]"), std::string::npos) << info;

    const CliTest::Run missing = edit("apply-effect " + library + " 7\n");
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find("the library has no effect 7"), std::string::npos);
}

}  // namespace
