#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "Project/Effect.h"
#include "Project/Fixture.h"
#include "Project/Operations/OperationAddCue.h"
#include "Project/Operations/OperationApplyEffect.h"
#include "Project/Operations/OperationAutoSetPyroAddresses.h"
#include "Project/Operations/OperationCueTimecodes.h"
#include "Project/Operations/OperationDeleteCueSelection.h"
#include "Project/Operations/OperationDuplicateCue.h"
#include "Project/Operations/OperationPatchFixtures.h"
#include "Project/Operations/OperationRenameCueMeta.h"
#include "Project/Operations/OperationResetCue.h"
#include "Project/Operations/OperationSetCueMeta.h"
#include "Project/Operations/OperationSetCueValue.h"
#include "Project/Operations/OperationSetGroupName.h"
#include "Project/Operations/OperationSetReminder.h"
#include "Project/Operations/OperationTestSupport.h"

namespace Project {
namespace {

// Every cue editing operation on one varied show: the operation must change the cues, undo
// must bring back exactly the state before and redo exactly the state after. Undoing an add
// removes the new cue but does not select the cues that were selected before it.
struct RoundTripCase {
    const char* name;
    std::function<std::unique_ptr<IOperation>(const std::vector<int>& viewOrder)> make;
    bool undoRestoresSelection = true;
};

void PrintTo(const RoundTripCase& c, std::ostream* out)
{
    *out << c.name;
}

std::vector<std::string> withoutSelection(std::vector<std::string> lines)
{
    for (std::string& line : lines) {
        const std::size_t at = line.find(" selected");
        if (at != std::string::npos) {
            line.erase(at, 9);
        }
    }
    return lines;
}

std::unique_ptr<Fixture> twoChannelPreset()
{
    auto fixture = std::make_unique<Fixture>(L"wash", L"maker", L"PAR", 2, L"", 800);
    fixture->addChannel(1, 255, 0, true, true, false);
    fixture->addChannel(2, 40, 0, true, false, true);
    return fixture;
}

const std::unique_ptr<Fixture> kPreset = twoChannelPreset();

std::unique_ptr<IOperation> value(int type, int v, bool relative = false)
{
    return std::make_unique<OperationSetCueValue>(type, v, relative);
}

const RoundTripCase kCases[] = {
    {"AddPyro", [](auto&) { return std::make_unique<OperationAddPyroCue>(SMPTE(1, 0, 0, 5, 0)); },
     false},
    {"AddDmx",
     [](auto&) {
         return std::make_unique<OperationAddDMXCue>(SMPTE(1, 0, 0, 5, 0), SMPTE(1, 0, 0, 6, 0));
     },
     false},
    {"AddReminder",
     [](auto&) { return std::make_unique<OperationAddReminderCue>(SMPTE(1, 0, 0, 5, 0)); }, false},
    {"Duplicate", [](auto&) { return std::make_unique<OperationDuplicateCue>(); }},
    {"Delete", [](auto&) { return std::make_unique<OperationDeleteCueSelection>(); }},
    {"Reset", [](auto&) { return std::make_unique<OperationResetCue>(); }},
    {"Prefire", [](auto&) { return value(0, 10); }},
    {"Group", [](auto&) { return value(1, 7); }},
    {"PyroAddress", [](auto&) { return value(2, 0x2A1); }},
    {"DmxUniverse", [](auto&) { return value(3, 3); }},
    {"DmxChannel", [](auto&) { return value(4, 99); }},
    {"DmxValue", [](auto&) { return value(5, 77); }},
    {"DurationRelative", [](auto&) { return value(6, 30, true); }},
    {"ToPyro", [](auto&) { return value(7, 0); }},
    {"Quantity", [](auto&) { return value(8, 4); }},
    {"PyroType", [](auto&) { return value(9, 2); }},
    {"ChaseBpm", [](auto&) { return value(10, 120); }},
    {"DmxText", [](auto&) { return std::make_unique<OperationSetCueValue>(L"(5@1)+(6@2)"); }},
    {"ChasePath", [](auto&) { return value(12, 2); }},
    {"SetTimecode", [](auto&) { return std::make_unique<OperationSetTimecode>(25 * 9); }},
    {"TimecodeDelta", [](auto&) { return std::make_unique<OperationTimecodeDelta>(-30); }},
    {"AutoAddresses",
     [](const std::vector<int>& viewOrder) {
         return std::make_unique<OperationAutoSetPyroAddresses>(viewOrder);
     }},
    {"Reminder", [](auto&) { return std::make_unique<OperationSetReminder>(L"fire now"); }},
    {"GroupName", [](auto&) { return std::make_unique<OperationSetGroupName>(L"finale"); }},
    {"SetMeta", [](auto&) { return std::make_unique<OperationSetCueMeta>(L"~POS", L"B"); }},
    {"RemoveMeta", [](auto&) { return std::make_unique<OperationSetCueMeta>(L"~POS", L"~"); }},
    {"SetMetaOnAll",
     [](auto&) { return std::make_unique<OperationSetCueMeta>(L"note", L"x", true); }},
    {"RenameMeta", [](auto&) { return std::make_unique<OperationRenameCueMeta>(L"~POS", L"P"); }},
    {"ApplyEffect",
     [](auto&) {
         return std::make_unique<OperationApplyEffect>(
             Effect(5, 1000, 80, 250, -1, 0, L"Red peony", L"A1", 12.5, L"30 mm", L"Maker", L"red",
                    L"peony", L"90", L"", L"1.3G", L"25 m"));
     }},
    {"PatchFixtures",
     [](auto&) {
         return std::make_unique<OperationPatchFixtures>(
             std::vector<Fixture*>{kPreset.get()},
             PatchSettings{10, 2, PatchMode::SAME, LocationMode::CHASE, L""});
     }},
};

class CueOperationRoundTrip : public OperationTest,
                              public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(CueOperationRoundTrip, UndoAndRedoRestoreTheStatesBeforeAndAfter)
{
    Cue* pyro = addPyro(1);
    pyro->getMetadata().insert(-1, L"~POS", L"A");
    pyro->getMetadata().insert(-1, L"~TYPE", L"T");
    pyro->setGroup(2);
    pyro->setGroupName("g");
    Cue* dmx = addDmx(2, "1@10+2");
    dmx->addFixtureChannelValue(DmxChannelValue(3, 9, 0, true, false, false, 0));
    dmx->setDuration(4);
    Cue* reminder = addReminder(3);
    Cue* other = addPyro(4, 0x105);
    other->getMetadata().insert(-1, L"~POS", L"A");
    select({pyro, dmx, reminder});
    const std::vector<int> viewOrder{other->getId(), reminder->getId(), dmx->getId(),
                                     pyro->getId()};

    const bool withSelection = GetParam().undoRestoresSelection;
    auto undone = [&] { return withSelection ? state() : withoutSelection(state()); };
    const std::vector<std::string> before = withSelection ? state() : withoutSelection(state());
    ASSERT_TRUE(project.submit(GetParam().make(viewOrder)));
    const std::vector<std::string> after = state();
    EXPECT_NE(withoutSelection(after), withoutSelection(before))
        << "the operation changed nothing but the selection";
    EXPECT_EQ(project.getUndoCount(), 1);
    EXPECT_TRUE(project.isModified());

    ASSERT_TRUE(project.undo());
    EXPECT_EQ(undone(), before);
    EXPECT_FALSE(project.isModified());
    ASSERT_TRUE(project.redo());
    EXPECT_EQ(state(), after);
    ASSERT_TRUE(project.undo());
    EXPECT_EQ(undone(), before);
}

INSTANTIATE_TEST_SUITE_P(EveryCueOperation, CueOperationRoundTrip, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace Project
