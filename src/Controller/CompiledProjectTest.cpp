#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

#include "AssertionCapture.h"
#include "Controller/CommandWords.h"
#include "Controller/CompiledProject.h"
#include "Controller/EffectCommand.h"
#include "Controller/OperationCueStateUpdate.h"
#include "Project/CueFireCheck.h"
#include "Project/CueList.h"
#include "Project/Project.h"
#include "Project/ProjectData.h"

namespace Controller {
namespace {

using Words = std::vector<uint32_t>;
using Project::CueCommand;

// One count per millisecond keeps the timer arithmetic readable.
constexpr int64_t kFrequency = 1000;

Words wordsOf(const CompiledProject::Group& group)
{
    Words words;
    for (const auto& command : group.commands) {
        words.push_back(command->getWord());
    }
    return words;
}

class Compile : public ::testing::Test {
protected:
    Project::Cue* add(int format, int frames, const CueCommand& command, int prefire,
                      int duration = 0, int group = 0)
    {
        return cues().add(SMPTE::fromFrameNo(format, frames), command, prefire, duration, group, -1,
                          "");
    }
    Project::CueList& cues() { return data.getCueList(); }

    // In list order: c6 (80), c2 (95), c1 (100), a reminder (110), c3 (120), a pyro cue
    // without address (130), c7 (12:34:56:29). Fire times: 80, 90, 90, -, 120, -, c7's.
    void addClockedShow()
    {
        data.setFormat(SMPTE::SMPTE_30);
        c1 = add(SMPTE::SMPTE_30, 100, CueCommand::pyro(37), 10);  // module 2, pin 5
        c2 = add(SMPTE::SMPTE_30, 95, CueCommand::pyro(16), 5);    // module 1, pin 0
        // 25 frames at 30 fps: trunc(25 / 30 * 40 + 0.5) = 33 ticks.
        c3 = add(SMPTE::SMPTE_30, 120, CueCommand::dmx(1, 10, 200), 0, 25);
        reminder = add(SMPTE::SMPTE_30, 110, CueCommand(CueCommand::TYPE_REMINDER), 0);
        unaddressed = add(SMPTE::SMPTE_30, 130, CueCommand(CueCommand::TYPE_PYRO), 0);
        c6 = add(SMPTE::SMPTE_30, 80, CueCommand::pyro(0), 0);
        c7 = add(SMPTE::SMPTE_30, SMPTE(SMPTE::SMPTE_30, 12, 34, 56, 29).getFrameNo(),
                 CueCommand::pyro(255), 0);
    }

    Project::ProjectData data;
    Project::Cue* c1 = nullptr;
    Project::Cue* c2 = nullptr;
    Project::Cue* c3 = nullptr;
    Project::Cue* reminder = nullptr;
    Project::Cue* unaddressed = nullptr;
    Project::Cue* c6 = nullptr;
    Project::Cue* c7 = nullptr;
};

TEST_F(Compile, ClockedModesShareSlotsInFireTimeOrder)
{
    addClockedShow();
    // The DMX word: 0x90000000 + (0x01000000 | universe 1 << 17 | channel 10 << 8 | 200).
    const uint32_t dmxDuration = 0x90000021, dmxSet = 0x91020AC8;
    const struct {
        int mode;
        Words words;
    } rows[] = {
        {SHOW_AUDIO_CLOCK,
         {0x20000000, 0x80000000, 0x20000000, 0x80000100, 0x80000205, 0x20000000, dmxDuration,
          dmxSet, 0x20000000, 0x80000F0F}},
        // Frame 80 is 00:00:02:20: frame tens 2 in bits 16-17, second units 2 in bits 4-7.
        // 12:34:56:29: units 9, 6, 4, 2 in the low 16 bits; tens 2, 5, 3, 1 above them.
        {SHOW_CLOCK_OUT,
         {0x10020020, 0x80000000, 0x10000030, 0x80000100, 0x80000205, 0x10000040, dmxDuration,
          dmxSet, 0x11762469, 0x80000F0F}},
        {SHOW_CLOCK_IN,
         {0x10020020, 0x80000000, 0x10000030, 0x80000100, 0x80000205, 0x10000040, dmxDuration,
          dmxSet, 0x11762469, 0x80000F0F}},
    };
    for (const auto& row : rows) {
        const auto compiled =
            CompiledProject::compile(cues(), SMPTE::SMPTE_30, row.mode, kFrequency);
        EXPECT_EQ(compiled->getShowMode(), row.mode);
        EXPECT_EQ(compiled->getCurrentGroupKey(), -1);
        ASSERT_EQ(compiled->getGroups().size(), 1u) << row.mode;
        EXPECT_EQ(wordsOf(compiled->getGroups().at(0)), row.words) << "mode " << row.mode;
    }
}

TEST_F(Compile, ManualFireGroupsStepsAndDelays)
{
    data.setFormat(SMPTE::SMPTE_25);
    const int f = SMPTE::SMPTE_25;
    add(f, 30, CueCommand::pyro(7), 0, 0, 2);
    add(f, 40, CueCommand::pyro(5), 0, 0, 1);
    // Duration 1 frame at 25 fps: trunc(1.6 + 0.5) = 2 ticks; duration 0 still gets 1.
    add(f, 40, CueCommand::dmx(0, 0, 255), 0, 1, 1);
    add(f, 40, CueCommand::dmx(0, 1, 0), 0, 0, 1);
    add(f, 50, CueCommand::pyro(1), 0, 0, 2);
    add(f, 50, CueCommand::pyro(2), 10, 0, 2);
    add(f, 50, CueCommand::pyro(3), 5, 0, 2);
    add(f, 50, CueCommand::pyro(4), 10, 0, 2);
    add(f, 60, CueCommand::pyro(6), 0, 0, 2);

    const auto compiled = CompiledProject::compile(cues(), f, SHOW_MANUAL_FIRE, kFrequency);
    ASSERT_EQ(compiled->getGroups().size(), 2u);
    // Group 2 comes first in the list; its step at 50 orders by prefire: 0, then 5 frames
    // (200 ms) after a delay, then both 10-frame cues (400 ms) after one delay.
    EXPECT_EQ(wordsOf(compiled->getGroups().at(2)),
              (Words{0x30000000, 0x80000007, 0x30000000, 0x80000001, 0x300000C8, 0x80000003,
                     0x30000190, 0x80000002, 0x80000004, 0x30000000, 0x80000006}));
    EXPECT_EQ(wordsOf(compiled->getGroups().at(1)),
              (Words{0x30000000, 0x80000005, 0x90000002, 0x910000FF, 0x90000001, 0x91000100}));

    const auto& step = compiled->getGroups().at(2).commands;
    EXPECT_TRUE(step[0]->isBlockingWait());
    EXPECT_FALSE(step[4]->isBlockingWait());  // a delay runs out by itself
    EXPECT_TRUE(dynamic_cast<const EffectCommand&>(*step[5]).isImmediate());
}

TEST_F(Compile, ManualDelaysUseTheRealDropFrameRate)
{
    data.setFormat(SMPTE::SMPTE_30DF);
    add(SMPTE::SMPTE_30DF, 10, CueCommand::pyro(1), 1);
    const auto compiled =
        CompiledProject::compile(cues(), SMPTE::SMPTE_30DF, SHOW_MANUAL_FIRE, kFrequency);
    // 1 frame at 29.97 fps: trunc(33.37 + 0.5) = 33 ms.
    EXPECT_EQ(wordsOf(compiled->getGroups().at(0)), (Words{0x30000000, 0x30000021, 0x80000001}));
}

// Only what the controller's words carry exactly may reach it: a pyro address above 0xFFF
// used to become module 256 and up or wrap into module 0 (0x100005 fired module 0 pin 5),
// and a DMX text without a channel went out as universe 127, channel 512, full. The cue check
// refuses such a cue and the compile leaves it out, as it does a pyro cue without address.
TEST(CompileRanges, CheckAndCompileAgreeOnWhatTheControllerCanCarry)
{
    using Project::CueFireCheck::Problem;
    // Imports and edit scripts can hand over values outside the typed ranges.
    const auto dmx = [](int universe, int channel, int value, const char* text = "") {
        CueCommand command = CueCommand::dmx(universe, channel, value);
        if (*text != '\0') {
            EXPECT_TRUE(command.setDmxText(text));
        }
        return command;
    };
    constexpr uint32_t kNone = 0;
    const struct {
        const char* name;
        CueCommand command;
        Problem problem;
        uint32_t word;  // the compiled effect word, kNone when the cue is left out
    } rows[] = {
        {"address 0", CueCommand::pyro(0), Problem::FIREABLE, 0x80000000},
        {"address 0xFFF", CueCommand::pyro(0xFFF), Problem::FIREABLE, 0x8000FF0F},
        {"address 0x1000", CueCommand::pyro(0x1000), Problem::ADDRESS_OUT_OF_RANGE, kNone},
        {"address 0x100005", CueCommand::pyro(0x100005), Problem::ADDRESS_OUT_OF_RANGE, kNone},
        {"no address", CueCommand(CueCommand::TYPE_PYRO), Problem::NO_COMMAND, kNone},
        {"DMX text, no channel", dmx(0, CueCommand::kNoAddress, 0, "5@255"), Problem::NO_CHANNEL,
         kNone},
        {"channel 511", dmx(127, 511, 255), Problem::FIREABLE, 0x91FFFFFF},
        {"channel 512", dmx(0, 512, 7), Problem::ADDRESS_OUT_OF_RANGE, kNone},
        {"universe 128", dmx(128, 0, 7), Problem::UNIVERSE_OUT_OF_RANGE, kNone},
        {"value 256", dmx(0, 3, 256), Problem::VALUE_OUT_OF_RANGE, kNone},
    };
    for (const auto& row : rows) {
        Project::Project project;
        Project::CueList& cues = project.getProjectData().getCueList();
        cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 50), row.command, 0, 0, 1, -1, "");
        EXPECT_EQ(Project::CueFireCheck::cueProblem(*cues.first()), row.problem) << row.name;
        EXPECT_EQ(project.checkCues(), row.problem == Problem::FIREABLE) << row.name;
        for (const int mode : {SHOW_AUDIO_CLOCK, SHOW_CLOCK_IN, SHOW_MANUAL_FIRE}) {
            const auto compiled = CompiledProject::compile(cues, SMPTE::SMPTE_25, mode, kFrequency);
            Words effects;
            for (const auto& [key, group] : compiled->getGroups()) {
                for (const auto& command : group.commands) {
                    if (command->getCue() != nullptr) {
                        effects.push_back(command->getWord());
                    }
                }
            }
            EXPECT_EQ(effects, row.word == kNone ? Words{} : Words{row.word})
                << row.name << ", mode " << mode;
        }
    }
    // The word packers refuse what would spill into a neighbouring field.
    EXPECT_INVARIANT(CommandWords::fireWord(0x1000), "address >= 0 && address <= 0xFFF",
                     "CommandWords");
    EXPECT_INVARIANT(CommandWords::dmxWord(0, 512, 0), "channel >= 0 && channel <= 511",
                     "CommandWords");
}

// A cue never fires before its time because of a damaged number: the firing moment is
// computed in 64 bits and must lie inside the day, a negative prefire is refused rather than
// delaying the cue, and a manual step's delay must fit its 24 bits. The cue check names the
// reason with its own key, and the compile leaves the cue out in every mode, so that no word
// carries a wrapped time.
TEST(CompileRanges, FiringMomentsOutsideTheDayNeverReachTheController)
{
    using Project::CueFireCheck::Problem;
    const int day = SMPTE::framesPerDay(SMPTE::SMPTE_25);
    const int fourHours39 = (4 * 3600 + 39 * 60) * 25;
    const struct {
        const char* name;
        int frames;
        int prefire;
        Problem problem;
        Words words;  // manual fire's words of the cue's step, empty when it is left out
    } rows[] = {
        // one flipped bit: -2147483648 frames used to wrap to a moment before 0 (fired at 0)
        {"prefire INT_MIN", 240, INT32_MIN, Problem::NEGATIVE_PREFIRE, {}},
        {"prefire -1", 240, -1, Problem::NEGATIVE_PREFIRE, {}},
        {"prefire one frame past the timecode", 240, 241, Problem::FIRES_BEFORE_ZERO, {}},
        {"prefire INT_MAX", 240, INT32_MAX, Problem::FIRES_BEFORE_ZERO, {}},
        {"timecode 24:00:00:00", day, 0, Problem::FIRES_AFTER_DAY, {}},
        {"timecode 40:00:00:00", day / 24 * 40, 0, Problem::FIRES_AFTER_DAY, {}},
        {"prefire 4 h 40 min", day - 1, fourHours39 + 25 * 60, Problem::PREFIRE_TOO_LONG, {}},
        {"prefire 4 h 39 min",
         day - 1,
         fourHours39,
         Problem::FIREABLE,
         {0x30000000, 0x30000000 | 16740000, 0x80000001}},
        {"last frame of the day", day - 1, 0, Problem::FIREABLE, {0x30000000, 0x80000001}},
    };
    for (const auto& row : rows) {
        Project::Project project;
        Project::CueList& cues = project.getProjectData().getCueList();
        cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, row.frames), CueCommand::pyro(1), row.prefire,
                 0, 1, -1, "");
        EXPECT_EQ(Project::CueFireCheck::cueProblem(*cues.first()), row.problem) << row.name;
        const bool fireable = row.problem == Problem::FIREABLE;
        EXPECT_EQ(project.checkCues(), fireable) << row.name;
        if (!fireable) {
            ASSERT_EQ(project.getCheckFailures().size(), 1u) << row.name;
            EXPECT_EQ(project.getCheckFailures()[0].problem, row.problem) << row.name;
            EXPECT_EQ(project.getLastError(), Project::CueFireCheck::problemKey(row.problem));
        }
        for (const int mode : {SHOW_AUDIO_CLOCK, SHOW_CLOCK_OUT, SHOW_CLOCK_IN, SHOW_MANUAL_FIRE}) {
            const auto compiled = CompiledProject::compile(cues, SMPTE::SMPTE_25, mode, kFrequency);
            Words words;
            for (const auto& [key, group] : compiled->getGroups()) {
                const Words groupWords = wordsOf(group);
                words.insert(words.end(), groupWords.begin(), groupWords.end());
            }
            if (!fireable) {
                EXPECT_EQ(words, Words{}) << row.name << ", mode " << mode;
            } else if (mode == SHOW_MANUAL_FIRE) {
                EXPECT_EQ(words, row.words) << row.name;
            } else if (mode != SHOW_AUDIO_CLOCK) {
                // 23:59:59:24 less the prefire, as a label of the day
                const SMPTE at = SMPTE::fromFrameNo(SMPTE::SMPTE_25, row.frames - row.prefire);
                ASSERT_EQ(words.size(), 2u) << row.name;
                EXPECT_EQ(words[0], CommandWords::timecodeWait(at.getHours(), at.getMinutes(),
                                                               at.getSeconds(), at.getFrames()))
                    << row.name;
            }
        }
    }
    // The packer refuses a label it cannot carry rather than wrapping it.
    EXPECT_INVARIANT(CommandWords::timecodeWait(40, 0, 0, 0),
                     "hours >= 0 && hours <= 23 && minutes >= 0 && minutes <= 59 && seconds >= 0 "
                     "&& seconds <= 59 && frames >= 0 && frames <= 29",
                     "CommandWords");
}

TEST_F(Compile, CuesWithoutAnythingToFireKeepTheirState)
{
    addClockedShow();
    reminder->setState(Project::CUE_DONE, 0, 0);
    unaddressed->setState(Project::CUE_DONE, 0, 0);
    auto compiled = CompiledProject::compile(cues(), SMPTE::SMPTE_30, SHOW_AUDIO_CLOCK, kFrequency);
    auto reset = compiled->resetAll(0);
    auto update = compiled->collectStates(0);
    ASSERT_NE(update, nullptr);
    EXPECT_EQ(update->getStates().count(reminder), 0u);
    EXPECT_EQ(update->getStates().count(unaddressed), 0u);
    EXPECT_EQ(update->getStates().at(c6), Project::CUE_NEXT);
    EXPECT_EQ(update->getStates().at(c1), Project::CUE_QUEUED);
    reset->execute(data);
    update->execute(data);
    EXPECT_EQ(reminder->getState(), Project::CUE_DONE);
    EXPECT_EQ(c6->getState(), Project::CUE_NEXT);
    EXPECT_EQ(compiled->collectStates(0), nullptr);  // nothing new to publish
}

// The audio-clock show: 0 W, 1 c6, 2 W, 3 c2, 4 c1, 5 W, 6 duration, 7 c3, 8 W, 9 c7.
class Running : public Compile {
protected:
    void SetUp() override
    {
        addClockedShow();
        compiled = CompiledProject::compile(cues(), SMPTE::SMPTE_30, SHOW_AUDIO_CLOCK, kFrequency);
        compiled->resetAll(0);
        group = compiled->getCurrentGroup();
        ASSERT_NE(group, nullptr);
    }
    int stateOf(int index) const
    {
        return dynamic_cast<const EffectCommand&>(*group->commands[static_cast<std::size_t>(index)])
            .getState();
    }
    std::vector<int> effectStates() const
    {
        return {stateOf(1), stateOf(3), stateOf(4), stateOf(7), stateOf(9)};
    }

    std::unique_ptr<CompiledProject> compiled;
    CompiledProject::Group* group = nullptr;
};

constexpr int Q = Project::CUE_QUEUED, N = Project::CUE_NEXT, P = Project::CUE_PREFIRE,
              A = Project::CUE_ACTIVE, D = Project::CUE_DONE, S = Project::CUE_SKIPPED,
              X = Project::CUE_DISABLED;

TEST_F(Running, ProgressExecutesMarksNextAndHandsWordsToTheEmulator)
{
    EXPECT_EQ(effectStates(), (std::vector<int>{N, Q, Q, Q, Q}));
    Words emulated;
    // c6 has neither prefire nor duration: done as soon as it is executed.
    group->progress(2, 1000, false, false, &emulated);
    EXPECT_EQ(group->executedCount, 2);
    EXPECT_EQ(effectStates(), (std::vector<int>{D, N, N, Q, Q}));
    EXPECT_EQ(emulated, Words{0x80000000});

    // Not above the executed count: nothing happens.
    group->progress(2, 5000, false, false, &emulated);
    group->progress(1, 5000, false, false, &emulated);
    EXPECT_EQ(group->executedCount, 2);
    EXPECT_EQ(emulated, Words{0x80000000});

    // Pyro output off: the fire words are suppressed and not emulated; DMX still runs (c3
    // has no prefire, so it is active at once for its 25 frames).
    group->progress(8, 1000, true, false, &emulated);
    EXPECT_EQ(effectStates(), (std::vector<int>{D, S, S, A, N}));
    group->commands[7]->update(1833, EVENT_TICK, nullptr);
    EXPECT_EQ(stateOf(7), D);
    EXPECT_EQ(emulated, (Words{0x80000000, 0x90000021, 0x91020AC8}));

    // A count past the end is held at the end.
    group->progress(100, 1000, false, true, &emulated);
    EXPECT_EQ(group->executedCount, 10);
    EXPECT_EQ(emulated, (Words{0x80000000, 0x90000021, 0x91020AC8, 0x80000F0F}));
}

// A report that stops inside a slot (a slot longer than one block of words): the command the
// device stands at is next as well as those after it.
TEST_F(Running, ADevicePartwayThroughASlotHasItsPositionNext)
{
    group->progress(3, 0, false, false);
    EXPECT_EQ(effectStates(), (std::vector<int>{D, N, N, Q, Q}));
}

TEST_F(Running, SeekBackMakesDoneCommandsNextAgain)
{
    group->progress(2, 0, false, false);
    group->commands[1]->update(1000, EVENT_TICK, nullptr);  // c6: no prefire, no duration
    EXPECT_EQ(stateOf(1), D);
    group->seek(5, 1000);
    EXPECT_EQ(effectStates(), (std::vector<int>{D, Q, Q, N, Q}));
    group->seek(0, 1000);
    EXPECT_EQ(group->executedCount, 0);
    EXPECT_EQ(group->sentCount, 0);
    EXPECT_EQ(effectStates(), (std::vector<int>{N, Q, Q, Q, Q}));
}

TEST_F(Running, TimeLookups)
{
    const struct {
        int frames;
        bool byFireTime;
        int index;
    } finds[] = {
        {0, true, 0},
        {80, true, 0},
        {81, true, 2},
        {90, true, 2},
        {91, true, 5},
        // By timecode, c1 (100) is the first cue at 96; its slot opens at index 2.
        {96, false, 2},
        {101, false, 5},
        {2000000, true, 10},
    };
    for (const auto& find : finds) {
        EXPECT_EQ(group->findIndexForTime(find.frames, find.byFireTime), find.index) << find.frames;
    }

    // At the start the device waits for c6 (fire time 80); the slots after it open at 90,
    // 120 and c7's time.
    EXPECT_EQ(group->nextTriggerTime(), 80);
    EXPECT_EQ(group->triggerTimeAhead(1), 90);
    EXPECT_EQ(group->triggerTimeAhead(3), c7->getTimecode().getFrameNo());
    EXPECT_EQ(group->triggerTimeAhead(4), -1);
    EXPECT_FALSE(group->isBeforeExecuted(0));  // nothing executed yet
    EXPECT_FALSE(group->needsResync(82));
    EXPECT_TRUE(group->needsResync(83));
    group->progress(2, 0, false, false);
    EXPECT_EQ(group->nextTriggerTime(), 90);
    EXPECT_FALSE(group->needsResync(80));
    EXPECT_TRUE(group->needsResync(79));  // the clock went back before c6
    EXPECT_TRUE(group->isBeforeExecuted(79));
    EXPECT_FALSE(group->isBeforeExecuted(80));
    EXPECT_EQ(group->triggerTimeAhead(1), 120);
    EXPECT_FALSE(group->needsResync(92));
    EXPECT_TRUE(group->needsResync(93));
    group->progress(3, 0, false, false);
    EXPECT_EQ(group->nextTriggerTime(), -1);  // not at a trigger wait
    group->progress(10, 0, false, false);
    EXPECT_EQ(group->nextTriggerTime(), -1);
    EXPECT_FALSE(group->needsResync(c7->getTimecode().getFrameNo()));
}

TEST_F(Running, TakeWordsStreamsFromTheFirstUnsent)
{
    uint32_t buffer[16] = {};
    EXPECT_EQ(group->takeWords(buffer, 3), 3);
    EXPECT_EQ((Words{buffer, buffer + 3}), (Words{0x20000000, 0x80000000, 0x20000000}));
    EXPECT_EQ(group->takeWords(buffer, 16), 7);
    EXPECT_EQ(buffer[6], 0x80000F0Fu);
    EXPECT_EQ(group->takeWords(buffer, 16), 0);
    // A seek resends from the device's place.
    group->seek(2, 0);
    EXPECT_EQ(group->takeWords(buffer, 1), 1);
    EXPECT_EQ(buffer[0], 0x20000000u);
    EXPECT_EQ(group->sentCount, 3);
}

TEST(EffectCommandStates, FollowTheEvents)
{
    Project::CueList cues;
    // At 25 fps and 1000 counts a second a frame is 40 counts: prefire 200, active 400.
    Project::Cue* cue =
        cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 100), CueCommand::pyro(1), 5, 10, 0, -1, "");
    EffectCommand command(cue, false, kFrequency);
    const struct {
        int event;
        int64_t t;
        int state;
    } steps[] = {
        {EVENT_RESET, 0, X},
        {EVENT_ACTIVATE, 0, Q},
        {EVENT_NEXT, 0, N},
        {EVENT_DEACTIVATE, 0, X},
        {EVENT_ACTIVATE, 0, Q},
        {EVENT_EXECUTED, 1000, P},
        {EVENT_NEXT, 1100, P},
        {EVENT_DEACTIVATE, 1100, P},
        {EVENT_TICK, 1199, P},
        {EVENT_TICK, 1200, A},
        {EVENT_EXECUTED, 1300, A},
        {EVENT_SUPPRESSED, 1300, A},
        {EVENT_TICK, 1599, A},
        {EVENT_TICK, 1600, D},
        {EVENT_SUPPRESSED, 1600, D},
        {EVENT_NEXT, 1600, N},
        {EVENT_DEACTIVATE, 1600, X},
        {EVENT_ACTIVATE, 1600, D},
        {EVENT_RESET, 2000, X},
        {EVENT_SUPPRESSED, 2000, S},
        {EVENT_ACTIVATE, 2000, S},
        {EVENT_DEACTIVATE, 2000, S},
        {EVENT_RESET, 2000, X},
        {EVENT_ACTIVATE, 2000, Q},
        {EVENT_DEACTIVATE, 2000, X},
        // A skipped command that the device executes after all still runs its phases.
        {EVENT_SUPPRESSED, 2000, S},
        {EVENT_EXECUTED, 3000, P},
        // Both phases can end in one evaluation.
        {EVENT_TICK, 3600, D},
    };
    int row = 0;
    for (const auto& step : steps) {
        const bool settled = command.update(step.t, step.event, nullptr);
        EXPECT_EQ(command.getState(), step.state) << "row " << row;
        EXPECT_EQ(settled, step.state != P && step.state != A) << "row " << row;
        ++row;
    }
    EXPECT_EQ(command.getPrefireEnd(), 3200);
    EXPECT_EQ(command.getActiveEnd(), 3600);
}

TEST(EffectCommandStates, ImmediateCommandsSkipThePrefireAndPublishOnlyChanges)
{
    Project::CueList cues;
    Project::Cue* cue =
        cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 100), CueCommand::pyro(1), 5, 0, 0, -1, "");
    cue->setState(Project::CUE_QUEUED, 0, 0);
    EffectCommand command(cue, true, kFrequency);
    CueStateMap map;
    EXPECT_TRUE(command.update(0, EVENT_TICK, &map));
    EXPECT_TRUE(map.empty());  // the cue's own state is already published
    // Executed at 500 with no duration: done at once; published on the next tick only.
    EXPECT_TRUE(command.update(500, EVENT_EXECUTED, nullptr));
    EXPECT_EQ(command.getState(), Project::CUE_DONE);
    EXPECT_EQ(command.getPublishedState(), Project::CUE_QUEUED);
    EXPECT_TRUE(command.update(600, EVENT_TICK, &map));
    EXPECT_EQ(map, (CueStateMap{{cue, Project::CUE_DONE}}));
}

TEST_F(Compile, ResetAllInManualFireSelectsAnEmptyGroupZero)
{
    data.setFormat(SMPTE::SMPTE_25);
    add(SMPTE::SMPTE_25, 40, CueCommand::pyro(5), 0, 0, 1);
    add(SMPTE::SMPTE_25, 30, CueCommand::pyro(6), 0, 0, 1);
    add(SMPTE::SMPTE_25, 60, CueCommand::pyro(7), 0, 0, 3);
    auto compiled = CompiledProject::compile(cues(), SMPTE::SMPTE_25, SHOW_MANUAL_FIRE, kFrequency);
    const auto update = compiled->resetAll(0);
    EXPECT_EQ(update->getModuleAddress(), OperationCueStateUpdate::kAllCues);
    EXPECT_TRUE(update->getStates().empty());
    EXPECT_EQ(compiled->getCurrentGroupKey(), 0);
    ASSERT_NE(compiled->getCurrentGroup(), nullptr);
    EXPECT_EQ(compiled->getCurrentGroup()->size(), 0);
    EXPECT_EQ(compiled->getStepTime().toNarrowString(), "00:00:00:00");

    // Group 1: its first step's cue (frame 30) is next.
    compiled->selectGroup(1, 0);
    EXPECT_EQ(compiled->getStepTime().toNarrowString(), "00:00:01:05");
    compiled->getCurrentGroup()->progress(4, 0, false, false);
    // Nothing next any more: the group's last cue (frame 40).
    EXPECT_EQ(compiled->getStepTime().toNarrowString(), "00:00:01:15");

    // Every command whose state moved since the compile is published once.
    compiled->selectGroup(3, 0);
    const auto states = compiled->collectStates(0);
    ASSERT_NE(states, nullptr);
    EXPECT_EQ(states->getModuleAddress(), OperationCueStateUpdate::kNoModule);
    EXPECT_EQ(states->getStates().size(), 3u);
    compiled->selectGroup(-1, 0);
    EXPECT_EQ(compiled->getCurrentGroup(), nullptr);
    EXPECT_EQ(compiled->getStepTime().toNarrowString(), "00:00:00:00");
}

TEST(CueStateUpdate, AppliesStatesAndContinuity)
{
    Project::ProjectData data;
    Project::CueList& cues = data.getCueList();
    const SMPTE t = SMPTE::fromFrameNo(SMPTE::SMPTE_30, 10);
    Project::Cue* p1 = cues.add(t, CueCommand::pyro(37), 0, 0, 0, -1, "");  // module 2, pin 5
    Project::Cue* p2 = cues.add(t, CueCommand::pyro(38), 0, 0, 0, -1, "");  // module 2, pin 6
    Project::Cue* p3 = cues.add(t, CueCommand::pyro(5), 0, 0, 0, -1, "");   // module 0
    Project::Cue* d1 = cues.add(t, CueCommand::dmx(0, 3, 9), 0, 0, 0, -1, "");
    const int start = Project::FLAG_NO_CONTINUITY | Project::FLAG_DUPLICATE;
    for (Project::Cue* cue : {p1, p2, p3, d1}) {
        cue->setState(Project::CUE_QUEUED, start, 0xFF);
    }
    const int T = Project::FLAG_TESTED, NC = Project::FLAG_NO_CONTINUITY,
              CF = Project::FLAG_COMMFAIL, DUP = Project::FLAG_DUPLICATE;
    const struct {
        CueStateMap states;
        int module;
        int continuity;
        std::vector<int> flags;  // p1, p2, p3, d1
    } rows[] = {
        {{{p3, Project::CUE_DONE}}, 32, 0x0020, {T | DUP, T | NC | DUP, start, start}},
        {{}, 32, OperationCueStateUpdate::kNoAnswer, {T | CF | DUP, T | CF | DUP, start, start}},
        {{}, OperationCueStateUpdate::kAllCues, 0, {DUP, DUP, DUP, T | DUP}},
        {{{d1, Project::CUE_ACTIVE}},
         OperationCueStateUpdate::kNoModule,
         0,
         {DUP, DUP, DUP, T | DUP}},
    };
    for (const auto& row : rows) {
        OperationCueStateUpdate update(row.states, row.module, row.continuity);
        EXPECT_TRUE(update.isPassive());
        EXPECT_TRUE(update.execute(data));
        EXPECT_EQ(
            (std::vector<int>{p1->getFlags(), p2->getFlags(), p3->getFlags(), d1->getFlags()}),
            row.flags)
            << "module " << row.module;
    }
    EXPECT_EQ(p1->getState(), Project::CUE_QUEUED);
    EXPECT_EQ(p3->getState(), Project::CUE_DONE);
    EXPECT_EQ(d1->getState(), Project::CUE_ACTIVE);
}

}  // namespace
}  // namespace Controller
