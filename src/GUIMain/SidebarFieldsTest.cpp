#include <gtest/gtest.h>

#include "GUIMain/SidebarFields.h"
#include "Project/CueCommand.h"
#include "Project/CueList.h"
#include "Project/IOperation.h"
#include "Timecode/SMPTE.h"

namespace GUIMain::SidebarFields {
namespace {

using Project::CueCommand;
constexpr int kFormat = SMPTE::SMPTE_25;

Project::Cue* add(Project::CueList& cues, int frames, const CueCommand& command, int group = 1)
{
    Project::Cue* cue = cues.add(SMPTE::fromFrameNo(kFormat, frames), command, 0, 0, group, -1, "");
    cue->setSelected(true);
    return cue;
}

// Each field considers the cues of its kind only and shows their common text, "..." when they
// differ, and nothing without a considered cue.
TEST(SidebarFields, ShowTheCommonTextOfTheConsideredCues)
{
    Project::CueList cues;
    add(cues, 25, CueCommand::pyro(0x011), 3);
    add(cues, 50, CueCommand::pyro(0x012), 4);
    add(cues, 75, CueCommand::dmx(2, 4, 200), 3)->setPrefireTime(5);
    add(cues, 100, CueCommand(CueCommand::TYPE_REMINDER), 3)->setSelected(false);

    Summary s = summarize(cues);
    EXPECT_EQ(s.selectedCount, 3);
    EXPECT_EQ(s.texts[kGroup], L"...");
    EXPECT_EQ(s.texts[kTimecode], L"...");
    EXPECT_EQ(s.texts[kPyroAddress], L"...");
    EXPECT_EQ(s.texts[kDmxChannel], L"5");  // the one DMX cue: channel 4 typed as 5
    EXPECT_EQ(s.texts[kDmxUniverse], L"02");
    EXPECT_EQ(s.texts[kDmxValue], L"200");
    EXPECT_EQ(s.texts[kPrefire], L"...");  // 0 and 2 tenths
    EXPECT_EQ(s.texts[kReminder], L"");
    EXPECT_TRUE(s.has(Summary::kAnyPyro) && s.has(Summary::kAnyDmx) && s.has(Summary::kAnySingle));
    EXPECT_FALSE(s.has(Summary::kAnyReminder)) << "the reminder is not selected";

    cues.first()->getNext()->setSelected(false);  // the second pyro cue
    cues.first()->getNext()->getNext()->setSelected(false);
    s = summarize(cues);
    EXPECT_EQ(s.texts[kGroup], L"03");
    EXPECT_EQ(s.texts[kPyroAddress], L"011");
    EXPECT_EQ(s.texts[kTimecode], L"00:00:01:00");
    EXPECT_EQ(s.texts[kDmxValue], L"") << "no DMX cue selected";
    EXPECT_FALSE(s.has(Summary::kAnyDmx));
}

// The commit table: what each field takes, what it refuses, and what "..." does (nothing).
TEST(SidebarFields, CommitTakesTheFieldsRangesAndRefusesTheRest)
{
    struct Case {
        int kind;
        const wchar_t* text;
        bool refused;
        std::size_t operations;
    };
    const Case cases[] = {
        {kGroup, L"0", true, 0},
        {kGroup, L"17", true, 0},
        {kGroup, L"16", false, 1},
        {kGroup, L"1x", true, 0},
        {kGroup, L"...", false, 0},
        {kPyroAddress, L"1000", true, 0},
        {kPyroAddress, L"FFF", false, 1},
        {kPyroAddress, L"", false, 1},
        {kPyroAddress, L"G1", true, 0},
        {kDmxChannel, L"513", true, 0},
        {kDmxChannel, L"0", true, 0},
        {kDmxChannel, L"512", false, 1},
        {kDmxUniverse, L"80", true, 0},
        {kDmxUniverse, L"7F", false, 1},
        {kDmxValue, L"256", true, 0},
        {kDmxValue, L"255", false, 1},
        {kChaseSpeed, L"1001", true, 0},
        {kChaseSpeed, L"1000", false, 1},
        {kQuantity, L"-1", true, 0},
        {kQuantity, L"0", false, 1},
        {kTimecode, L"24:00:00:00", true, 0},
        {kTimecode, L"00:00:02:00", false, 1},
        {kDuration, L"00:00:01:00", false, 1},
        {kPrefire, L"15", false, 1},
        {kReminder, L"", false, 1},
        {kGroupName, L"Finale", false, 1},
        {kDmxText, L"1@255+2@128", false, 1},
        {kDmxText, L"1@x", true, 0},
        {kDmxText, L"", false, 2},  // the text and the channel cleared
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " text \"" << c.text << "\"");
        const Commit result = commit(c.kind, c.text, kFormat);
        EXPECT_EQ(result.refused, c.refused);
        EXPECT_EQ(result.operations.size(), c.operations);
    }
}

}  // namespace
}  // namespace GUIMain::SidebarFields
