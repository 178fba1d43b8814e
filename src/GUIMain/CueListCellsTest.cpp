#include <gtest/gtest.h>

#include <filesystem>

#include "Config/Settings.h"
#include "GUIMain/CueListCells.h"
#include "Platform/Folders.h"
#include "Platform/TestFolder.h"
#include "Project/CueList.h"

namespace GUIMain {
namespace {

// The shipped English texts.
class CueListCellsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(folder_.root() / "user");
        Config::Settings::create(Platform::programFolder(), folder_.path("user") + L"/");
    }
    void TearDown() override { Config::Settings::destroy(); }

    Project::Cue* add(const Project::CueCommand& command)
    {
        return list_.add(SMPTE(SMPTE::SMPTE_25, 0, 0, 2, 0), command, 0, 0, 1, -1, "");
    }
    QString cell(const Project::Cue& cue, int column, bool showMode = false)
    {
        CueCellContext context;
        context.format = SMPTE::SMPTE_25;
        context.metadataKeys = &keys_;
        context.showMode = showMode;
        return cueCellText(cue, column, context);
    }

    Platform::TestFolder folder_;
    Project::CueList list_;
    std::vector<std::wstring> keys_{L"~TYPE",  L"~ARTNR", L"~POS", L"~ANGLE",
                                    L"~PRICE", L"~DESC",  L"Rack"};
};

TEST_F(CueListCellsTest, FixedColumnsShowTheCuesValues)
{
    Project::Cue* cue = add(Project::CueCommand::pyro(0x2a));
    cue->setNumber(12);
    cue->setPrefireTime(30);
    cue->setDuration(26);
    cue->setGroup(3);
    cue->setQuantity(4);
    cue->getMetadata().insert(0, L"Rack", L"R7");
    cue->getMetadata().insert(0, L"~POS", L"left");
    EXPECT_EQ(cell(*cue, 0), "12");
    EXPECT_EQ(cell(*cue, 2), "00:00:02:00");
    EXPECT_EQ(cell(*cue, 3), "1.2 s");
    EXPECT_EQ(cell(*cue, 4), "00:00:01:01");
    EXPECT_EQ(cell(*cue, 5), "Pyro 02A");
    EXPECT_EQ(cell(*cue, 6), "03");
    EXPECT_EQ(cell(*cue, 7), "4");
    EXPECT_EQ(cell(*cue, 10), "left");
    EXPECT_EQ(cell(*cue, 14), "R7");
    EXPECT_EQ(cell(*cue, 8), "");   // no such key on the cue
    EXPECT_EQ(cell(*cue, 15), "");  // no such column
    cue->setGroupName("Finale");
    cue->setDuration(0);
    cue->setPyroType(Project::Cue::PYRO_PARALLEL);
    EXPECT_EQ(cell(*cue, 6), "03 (Finale)");
    EXPECT_EQ(cell(*cue, 4), "");
    cue->setDuration(-26);  // only a damaged file has one
    EXPECT_EQ(cell(*cue, 4), "-00:00:01:01");
    EXPECT_EQ(cell(*cue, 5), "[PARALLEL] Pyro 02A");
}

TEST_F(CueListCellsTest, CommandTexts)
{
    Project::Cue* undefinedPyro = add(Project::CueCommand(Project::CueCommand::TYPE_PYRO));
    EXPECT_EQ(cell(*undefinedPyro, 5), "Pyro (no address)");
    Project::Cue* undefinedDmx = add(Project::CueCommand(Project::CueCommand::TYPE_DMX512));
    EXPECT_EQ(cell(*undefinedDmx, 5), "DMX (no channels)");
    Project::CueCommand one(Project::CueCommand::TYPE_DMX512);
    ASSERT_TRUE(one.setDmxText("12@200"));
    EXPECT_EQ(cell(*add(one), 5), "DMX channel 12 at 200");
    Project::CueCommand scene(Project::CueCommand::TYPE_DMX512);
    ASSERT_TRUE(scene.setDmxText("1@10+2@20+3@30"));
    EXPECT_EQ(cell(*add(scene), 5), "DMX scene of 3 channels");

    // A reminder is shown exactly as typed, "%" and "%s" included.
    Project::Cue* reminder = add(Project::CueCommand(Project::CueCommand::TYPE_REMINDER));
    reminder->setReminderText("Check 100% of %s and %d");
    EXPECT_EQ(cell(*reminder, 5), "Check 100% of %s and %d");
}

TEST_F(CueListCellsTest, FormatsOnlyIntegerConversionsOfTheRightCount)
{
    EXPECT_EQ(formatWithIntegers("Pyro %03X", {42}).value_or("-"), "Pyro 02A");
    EXPECT_EQ(formatWithIntegers("%d at %d", {1, 255}).value_or("-"), "1 at 255");
    EXPECT_EQ(formatWithIntegers("%ld%%", {5}), std::nullopt);       // three "%"
    EXPECT_EQ(formatWithIntegers("Pyro %s", {42}), std::nullopt);    // not an integer
    EXPECT_EQ(formatWithIntegers("Pyro %n", {42}), std::nullopt);    // never written through
    EXPECT_EQ(formatWithIntegers("Pyro 100%", {42}), std::nullopt);  // no conversion
    EXPECT_EQ(formatWithIntegers("%d and %d", {1}), std::nullopt);
}

TEST_F(CueListCellsTest, StatusTextsAndTheShowModeCondition)
{
    Project::Cue* cue = add(Project::CueCommand::pyro(1));
    cue->setState(Project::CUE_DONE, 0, 0);
    EXPECT_EQ(cell(*cue, 1), "Done");
    cue->setState(3, 0, 0);
    EXPECT_EQ(cell(*cue, 1), "");
    cue->setState(Project::CUE_QUEUED, Project::FLAG_TESTED | Project::FLAG_NO_CONTINUITY, -1);
    EXPECT_EQ(cell(*cue, 1), "Queued");
    EXPECT_EQ(cell(*cue, 1, true), QString::fromUtf8("Queued \u00b7 No continuity"));
    Project::Cue* dmx = add(Project::CueCommand::dmx(0, 1, 1));
    dmx->setState(Project::CUE_QUEUED, 0, -1);
    EXPECT_EQ(cell(*dmx, 1, true), "Queued");
}

QString hex(const QColor& color)
{
    return color.name();
}

TEST_F(CueListCellsTest, RowColoursByTypeAndState)
{
    const QColor highlight(1, 2, 3);
    const QColor highlightText(4, 5, 6);
    struct Case {
        int type;
        int state;
        const char* background;
        const char* text;
    };
    // Pyro base (0, 168, 255), DMX (0, 234, 255), reminder (255, 153, 0).
    const Case cases[] = {
        {Project::CueCommand::TYPE_PYRO, Project::CUE_DISABLED, "#9abbcd", "#000000"},
        {Project::CueCommand::TYPE_PYRO, Project::CUE_QUEUED, "#397597", "#ffffff"},
        {Project::CueCommand::TYPE_PYRO, Project::CUE_NEXT, "#e6f6ff", "#000000"},
        {Project::CueCommand::TYPE_PYRO, Project::CUE_PREFIRE, "#e6be1a", "#000000"},
        {Project::CueCommand::TYPE_PYRO, Project::CUE_ACTIVE, "#cc3a4c", "#000000"},
        {Project::CueCommand::TYPE_PYRO, Project::CUE_DONE, "#114d6f", "#ffffff"},
        {Project::CueCommand::TYPE_PYRO, Project::CUE_SKIPPED, "#4d76b3", "#000000"},
        {Project::CueCommand::TYPE_PYRO, 3, "#00a8ff", "#000000"},
        {Project::CueCommand::TYPE_DMX512, Project::CUE_NEXT, "#e6fdff", "#000000"},
        {Project::CueCommand::TYPE_DMX512, Project::CUE_DONE, "#114d6f", "#ffffff"},
        // Reminders change colour only when active or skipped.
        {Project::CueCommand::TYPE_REMINDER, Project::CUE_QUEUED, "#ff9900", "#000000"},
        {Project::CueCommand::TYPE_REMINDER, Project::CUE_DONE, "#ff9900", "#000000"},
        {Project::CueCommand::TYPE_REMINDER, Project::CUE_ACTIVE, "#ff3719", "#000000"},
        {Project::CueCommand::TYPE_REMINDER, Project::CUE_SKIPPED, "#ff6b00", "#000000"},
    };
    for (const Case& c : cases) {
        Project::CueCommand command(c.type);
        command.setAddress(1);
        Project::Cue* cue = add(command);
        cue->setState(c.state, 0, 0);
        const CueRowColors colors = cueRowColors(*cue, false, highlight, highlightText);
        EXPECT_EQ(hex(colors.background), c.background) << c.type << " state " << c.state;
        EXPECT_EQ(hex(colors.text), c.text) << c.type << " state " << c.state;
        EXPECT_EQ(colors.commandBackground, colors.background);
        // Selected: the highlight colours, whatever the state.
        cue->setSelected(true);
        const CueRowColors selected = cueRowColors(*cue, true, highlight, highlightText);
        EXPECT_EQ(selected.background, highlight);
        EXPECT_EQ(selected.commandBackground, highlight);
        EXPECT_EQ(selected.text, highlightText);
    }
}

TEST_F(CueListCellsTest, UndefinedCommandCellAndConditionBackground)
{
    const QColor highlight(1, 2, 3);
    Project::Cue* pyro = add(Project::CueCommand(Project::CueCommand::TYPE_PYRO));
    pyro->setState(3, Project::FLAG_TESTED, -1);
    CueRowColors colors = cueRowColors(*pyro, false, highlight, highlight);
    EXPECT_EQ(hex(colors.commandBackground),
              blendColor(QColor(0, 168, 255), QColor(255, 96, 64), 0.8).name());
    EXPECT_EQ(colors.conditionBackground, colors.background);
    // A reminder has no command to be undefined.
    Project::Cue* reminder = add(Project::CueCommand(Project::CueCommand::TYPE_REMINDER));
    colors = cueRowColors(*reminder, false, highlight, highlight);
    EXPECT_EQ(colors.commandBackground, colors.background);

    // In show mode: not tested, no continuity (unless done), busy.
    pyro->setState(Project::CUE_QUEUED, 0, -1);
    colors = cueRowColors(*pyro, true, highlight, highlight);
    EXPECT_EQ(colors.conditionBackground, blendColor(colors.background, QColor(255, 128, 64), 0.6));
    pyro->setState(Project::CUE_QUEUED, Project::FLAG_TESTED | Project::FLAG_NO_CONTINUITY, -1);
    colors = cueRowColors(*pyro, true, highlight, highlight);
    EXPECT_EQ(colors.conditionBackground, blendColor(colors.background, QColor(255, 96, 64), 0.6));
    pyro->setState(Project::CUE_DONE, Project::FLAG_TESTED | Project::FLAG_NO_CONTINUITY, -1);
    colors = cueRowColors(*pyro, true, highlight, highlight);
    EXPECT_EQ(colors.conditionBackground, colors.background);
    pyro->setState(Project::CUE_DONE, Project::FLAG_TESTED | Project::FLAG_BUSY, -1);
    colors = cueRowColors(*pyro, true, highlight, highlight);
    EXPECT_EQ(colors.conditionBackground, blendColor(colors.background, QColor(255, 96, 64), 0.8));
    // Outside show mode the condition is not shown.
    colors = cueRowColors(*pyro, false, highlight, highlight);
    EXPECT_EQ(colors.conditionBackground, colors.background);
}

}  // namespace
}  // namespace GUIMain
