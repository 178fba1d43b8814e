#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "Project/Operations/CapturedCues.h"
#include "Project/Operations/OperationAddCue.h"
#include "Project/Operations/OperationCueTimecodes.h"
#include "Project/Operations/OperationDeleteCueSelection.h"
#include "Project/Operations/OperationDuplicateCue.h"
#include "Project/Operations/OperationRenameCueMeta.h"
#include "Project/Operations/OperationResetCue.h"
#include "Project/Operations/OperationSetCueMeta.h"
#include "Project/Operations/OperationSetCueValue.h"
#include "Project/Operations/OperationSetGroupName.h"
#include "Project/Operations/OperationTestSupport.h"

namespace Project {
namespace {

struct ErrorRecorder : Project::Listener {
    std::vector<std::wstring> errors;
    void errorReported(const std::wstring& text) override { errors.push_back(text); }
};

std::vector<int> idsInOrder(const CueList& cues)
{
    std::vector<int> ids;
    for (const CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        ids.push_back(cue->getId());
    }
    return ids;
}

std::vector<int> selectedIds(const CueList& cues)
{
    std::vector<int> ids;
    for (const CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (cue->isSelected()) {
            ids.push_back(cue->getId());
        }
    }
    return ids;
}

using Ids = std::vector<int>;

class CueOperations : public OperationTest {
protected:
    CueOperations() { project.addListener(&errors); }
    ErrorRecorder errors;
};

TEST_F(CueOperations, AddedPyroCueComesBackWithItsIdSelectedAlone)
{
    Cue* other = addPyro(1);
    select({other});
    auto add = std::make_unique<OperationAddPyroCue>(at(3));
    const OperationAddCue* operation = add.get();
    ASSERT_TRUE(project.submit(std::move(add)));
    const int id = operation->getCueId();  // the operation lives in the undo history
    ASSERT_TRUE(project.undo());
    EXPECT_EQ(byId(id), nullptr);
    ASSERT_TRUE(project.redo());
    const Cue* cue = byId(id);
    ASSERT_NE(cue, nullptr);
    EXPECT_EQ(cue->getCommand().getAddress(), CueCommand::kNoAddress);
    EXPECT_EQ(cue->getGroup(), 1);
    EXPECT_EQ(cue->getNumber(), 2);
    EXPECT_EQ(selectedIds(cues()), Ids{id});
}

TEST_F(CueOperations, AddedDmxCueLastsFromStartToEnd)
{
    ASSERT_TRUE(project.submit(std::make_unique<OperationAddDMXCue>(at(2), at(3, 5))));
    const Cue* cue = cues().first();
    EXPECT_EQ(cue->getDuration(), 30);
    EXPECT_EQ(cue->getCommand().getType(), CueCommand::TYPE_DMX512);
    EXPECT_EQ(cue->getCommand().getAddress(), CueCommand::kNoAddress);

    // An end before the start (a drag to the left) lasts nothing.
    ASSERT_TRUE(project.submit(std::make_unique<OperationAddDMXCue>(at(8), at(7))));
    EXPECT_EQ(cues().last()->getDuration(), 0);
}

TEST_F(CueOperations, UndoOfAnAddWhoseCueIsGoneFailsAndDropsTheUndoHistory)
{
    ASSERT_TRUE(project.submit(std::make_unique<OperationAddReminderCue>(at(1))));
    cues().remove(cues().first());
    EXPECT_FALSE(project.undo());
    EXPECT_EQ(errors.errors, std::vector<std::wstring>{L"ERROR.GENERIC"});
    EXPECT_EQ(project.getUndoCount(), 0);
    EXPECT_EQ(project.getRedoCount(), 0);
}

TEST_F(CueOperations, DuplicatesFollowTheirOriginalsAndAreSelectedAlone)
{
    Cue* first = addPyro(5);
    Cue* second = addPyro(7);
    addPyro(6);
    select({first, second});
    ASSERT_TRUE(project.submit(std::make_unique<OperationDuplicateCue>()));
    const Ids order = idsInOrder(cues());
    ASSERT_EQ(order.size(), 5u);
    EXPECT_EQ(order[0], first->getId());
    EXPECT_EQ(order[3], second->getId());
    EXPECT_EQ(selectedIds(cues()), (Ids{order[1], order[4]}));
    EXPECT_EQ(byId(order[1])->getTimecode().compare(at(5)), 0);

    ASSERT_TRUE(project.undo());
    EXPECT_EQ(selectedIds(cues()), (Ids{first->getId(), second->getId()}));
    ASSERT_TRUE(project.redo());
    EXPECT_EQ(idsInOrder(cues()), order);
    EXPECT_EQ(selectedIds(cues()), (Ids{order[1], order[4]}));
}

TEST_F(CueOperations, DeletingNothingLeavesHistoryAndModifiedStateAlone)
{
    addPyro(1);
    ASSERT_TRUE(project.submit(std::make_unique<OperationDeleteCueSelection>()));
    EXPECT_EQ(project.getUndoCount(), 0);
    EXPECT_FALSE(project.isModified());
    EXPECT_EQ(cues().getCount(), 1);
}

TEST_F(CueOperations, ShowModeRefusesDeletingTheSelection)
{
    select({addPyro(1)});
    project.setShowMode(true);
    EXPECT_FALSE(project.submit(std::make_unique<OperationDeleteCueSelection>()));
    EXPECT_EQ(cues().getCount(), 1);
}

// Operations find their cues by id: an older operation still applies after a later one
// deleted its cue and the undo of that brought back a new cue object with the same id.
TEST_F(CueOperations, UndoWorksOnCuesDeletedAndRecreatedMeanwhile)
{
    Cue* cue = addPyro(2);
    const int id = cue->getId();
    select({cue});
    ASSERT_TRUE(
        project.submit(std::make_unique<OperationSetCueValue>(OperationSetCueValue::DURATION, 12)));
    ASSERT_TRUE(project.submit(std::make_unique<OperationDeleteCueSelection>()));
    EXPECT_EQ(byId(id), nullptr);
    ASSERT_TRUE(project.undo());  // the cue is back as a new object
    ASSERT_TRUE(project.undo());
    ASSERT_NE(byId(id), nullptr);
    EXPECT_EQ(byId(id)->getDuration(), 0);
    ASSERT_TRUE(project.redo());
    EXPECT_EQ(byId(id)->getDuration(), 12);
    ASSERT_TRUE(project.redo());
    EXPECT_EQ(byId(id), nullptr);
}

// A captured cue must not call into the list it was taken from: put back after that list
// is gone, it would reach freed memory (the sanitizer build catches it).
TEST_F(CueOperations, CapturedCuesOutliveTheirList)
{
    CapturedCues captured;
    {
        CueList old;
        Cue* cue = old.add(at(1), CueCommand::dmx(1, 2, 3), 5, 6, 7, -1, "rem");
        cue->getMetadata().insert(-1, L"k", L"v");
        cue->addFixtureChannelValue(DmxChannelValue(4, 5, 0, true, false, false, 0));
        cue->setSelected(true);
        captured.capture(*cue);
    }
    CueList fresh;
    captured.addTo(fresh);
    Cue* back = fresh.first();
    back->setDuration(99);
    back->getMetadata().setValue(0, L"w");
    EXPECT_EQ(describeCues(fresh)[0],
              "#0 00:00:01:00 type 1 addr 2 u 1 v 3 text '' path 1 bpm 0 steps 0 pft 5 dur 99 "
              "grp 7 '' qty 1 pt 1 rem 'rem' fix 1 dmxdur 0 next 1 selected meta k=w");
}

TEST_F(CueOperations, ResetClearsTheCueButKeepsItsTimeAndPlace)
{
    Cue* cue = addDmx(3, "1@5");
    cue->getMetadata().insert(-1, L"~DESC", L"wash");
    cue->addFixtureChannelValue(DmxChannelValue(4, 5, 0, true, false, false, 0));
    cue->setDuration(9);
    cue->setGroup(4);
    ASSERT_TRUE(cue->setPrefireTime(2));
    const int id = cue->getId();
    select({cue});
    ASSERT_TRUE(project.submit(std::make_unique<OperationResetCue>()));
    // The reset cue replaces the old object under the same id.
    const Cue* reset = cues().first();
    EXPECT_EQ(reset->getId(), id);
    EXPECT_EQ(reset->getMetadata().size(), 0);
    EXPECT_TRUE(reset->getFixtureChannelValues().empty());
    EXPECT_EQ(reset->getDuration(), 0);
    EXPECT_EQ(reset->getGroup(), 1);
    EXPECT_EQ(reset->getPrefireTime(), 2);
    EXPECT_TRUE(reset->getCommand() == CueCommand(CueCommand::TYPE_DMX512));
    EXPECT_TRUE(reset->getDmxSteps().empty());
}

// Cues at one timecode keep their order through a reset, its undo and redo, and through a
// delete and its undo; they used to come back after the cues left in place.
TEST_F(CueOperations, ResetAndDeleteKeepEachCuesPlaceAmongCuesAtItsTimecode)
{
    addPyro(1);
    const int a = addPyro(2, 0x101)->getId();
    const int b = addPyro(2, 0x102)->getId();
    const int c = addDmx(2, "1@5")->getId();
    const int d = addPyro(2, 0x104)->getId();
    addPyro(3);
    const Ids order = idsInOrder(cues());
    const Ids selections[] = {{a, c}, {b, d}, {a, b, c, d}, {d}, {a}};
    for (const Ids& selected : selections) {
        for (const bool reset : {true, false}) {
            SCOPED_TRACE(testing::Message() << (reset ? "reset" : "delete") << " of "
                                            << testing::PrintToString(selected));
            for (CueList::CueItem* cue = cues().first(); cue != cues().end();
                 cue = cue->getNext()) {
                cue->setSelected(std::count(selected.begin(), selected.end(), cue->getId()) != 0);
            }
            const std::vector<std::string> before = state();
            if (reset) {
                ASSERT_TRUE(project.submit(std::make_unique<OperationResetCue>()));
                EXPECT_EQ(idsInOrder(cues()), order);
            } else {
                ASSERT_TRUE(project.submit(std::make_unique<OperationDeleteCueSelection>()));
            }
            ASSERT_TRUE(project.undo());
            EXPECT_EQ(state(), before);
            ASSERT_TRUE(project.redo());
            if (reset) {
                EXPECT_EQ(idsInOrder(cues()), order);
            }
            ASSERT_TRUE(project.undo());
            EXPECT_EQ(state(), before);
        }
    }
}

TEST_F(CueOperations, RelativeDurationStopsAtZeroAndUndoes)
{
    Cue* cue = addPyro(1);
    cue->setDuration(3);
    select({cue});
    ASSERT_TRUE(project.submit(
        std::make_unique<OperationSetCueValue>(OperationSetCueValue::DURATION, -5, true)));
    EXPECT_EQ(cue->getDuration(), 0);
    project.undo();
    EXPECT_EQ(cue->getDuration(), 3);
}

TEST_F(CueOperations, ValuesApplyOnlyToTheirKindOfCue)
{
    Cue* pyro = addPyro(1, 0x101);
    Cue* dmx = addDmx(2, "1@10");
    select({pyro, dmx});
    ASSERT_TRUE(project.submit(
        std::make_unique<OperationSetCueValue>(OperationSetCueValue::PYRO_ADDRESS, 0x222)));
    ASSERT_TRUE(project.submit(
        std::make_unique<OperationSetCueValue>(OperationSetCueValue::DMX_CHASE_BPM, 90)));
    EXPECT_EQ(pyro->getCommand().getAddress(), 0x222);
    EXPECT_EQ(pyro->getCommand().getChaseBpm(), 0);
    EXPECT_EQ(dmx->getCommand().getAddress(), 4);
    EXPECT_EQ(dmx->getCommand().getChaseBpm(), 90);
    EXPECT_EQ(dmx->getCommand().getDmxText(), "1@10");
}

TEST_F(CueOperations, ConvertingCuesToTheirOwnTypeChangesNothingButIsKept)
{
    select({addPyro(1, 0x101), addPyro(2, 0x102)});
    auto convert = std::make_unique<OperationSetCueValue>(
        OperationSetCueValue::COMMAND_WORD, static_cast<int>(CueCommand::pyro(0).toCommandWord()));
    const OperationSetCueValue* operation = convert.get();
    const std::vector<std::string> before = state();
    ASSERT_TRUE(project.submit(std::move(convert)));
    EXPECT_EQ(operation->getRecordedCount(), 0);
    EXPECT_EQ(state(), before);
    EXPECT_EQ(project.getUndoText(), L"UNDO.MOD_CUE");
}

// Undo gives a DMX cue back its whole command, text and chase settings included, after a
// change of universe or a conversion had started its command over.
TEST_F(CueOperations, UndoRestoresTheWholeDmxCommand)
{
    Cue* dmx = addDmx(2, "(1@10)+(2@20)");
    CueCommand chase = dmx->getCommand();
    chase.setChaseBpm(60);
    chase.setChasePath(CueCommand::CHASE_BLOCK);
    dmx->setCommand(chase);
    select({dmx});
    const std::vector<std::string> before = state();
    for (auto& operation : {std::make_unique<OperationSetCueValue>(3, 5),
                            std::make_unique<OperationSetCueValue>(
                                7, static_cast<int>(CueCommand::pyro(0).toCommandWord()))}) {
        ASSERT_TRUE(project.submit(std::make_unique<OperationSetCueValue>(*operation)));
        EXPECT_NE(state(), before);
        ASSERT_TRUE(project.undo());
        EXPECT_EQ(state(), before);
    }
}

TEST_F(CueOperations, NewDmxValueFillsEntriesWithoutTheirOwn)
{
    Cue* dmx = addDmx(2, "1+2@7");
    select({dmx});
    ASSERT_TRUE(project.submit(
        std::make_unique<OperationSetCueValue>(OperationSetCueValue::DMX_VALUE, 99)));
    ASSERT_EQ(dmx->getDmxSteps().size(), 1u);
    EXPECT_EQ(dmx->getDmxSteps()[0][0].getValue(), 99);
    EXPECT_EQ(dmx->getDmxSteps()[0][1].getValue(), 7);
}

// A refused value fails the whole operation: the cues changed before the refusing one are
// put back, and nothing is recorded.
TEST_F(CueOperations, ARefusedValueLeavesEveryCueAsItWas)
{
    struct Case {
        const char* name;
        OperationSetCueValue operation;
    };
    const Case cases[] = {
        {"prefire beyond the second cue's timecode",
         {OperationSetCueValue::PREFIRE_TIME, 10, true}},
        {"second cue's text does not parse again", {OperationSetCueValue::DMX_VALUE, 9}},
        {"DMX text that does not parse", OperationSetCueValue(L"1@x")},
    };
    Cue* first = addDmx(1, "1@1");
    Cue* second = addDmx(2, "1@x");  // kept as typed, though it does not parse
    ASSERT_TRUE(second->setPrefireTime(45));
    select({first, second});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        errors.errors.clear();
        const std::vector<std::string> before = state();
        EXPECT_FALSE(project.submit(std::make_unique<OperationSetCueValue>(c.operation)));
        EXPECT_EQ(state(), before);
        EXPECT_EQ(errors.errors, std::vector<std::wstring>{L"ERROR.GENERIC"});
        EXPECT_EQ(project.getUndoCount(), 0);
        EXPECT_FALSE(project.isModified());
    }
}

// Values are held to the ranges of the program's fields, whoever builds the operation: a DMX
// value of 300 used to be stored (and saved as its low byte, 44). A value out of range is
// refused with its field's key before anything changes; the bounds themselves are taken.
TEST_F(CueOperations, ValuesOutsideTheirFieldsAreRefusedWithTheFieldsKey)
{
    using V = OperationSetCueValue;
    struct Case {
        int type;
        int refused;  // out of range
        int taken;    // the nearest bound, accepted
        const wchar_t* key;
        bool relative = false;
    };
    const Case cases[] = {
        {V::PREFIRE_TIME, -1, 0, L"ERROR.VALUE.PREFIRE"},
        {V::GROUP, 0, 1, L"ERROR.VALUE.GROUP"},
        {V::GROUP, 17, 16, L"ERROR.VALUE.GROUP"},
        {V::GROUP, 14, 13, L"ERROR.VALUE.GROUP", true},  // 3 + 14 is 17
        {V::PYRO_ADDRESS, 0x1000, 0xFFF, L"ERROR.VALUE.PYRO_ADDRESS"},
        {V::PYRO_ADDRESS, -2, 0, L"ERROR.VALUE.PYRO_ADDRESS"},  // -1 is "no address"
        {V::DMX_UNIVERSE, 0x80, 0x7F, L"ERROR.VALUE.DMX_UNIVERSE"},
        {V::DMX_CHANNEL, 512, 511, L"ERROR.VALUE.DMX_CHANNEL"},
        {V::DMX_CHANNEL, -2, -1, L"ERROR.VALUE.DMX_CHANNEL"},
        {V::DMX_VALUE, 300, 255, L"ERROR.VALUE.DMX_VALUE"},
        {V::DMX_VALUE, -1, 0, L"ERROR.VALUE.DMX_VALUE"},
        {V::DURATION, -1, 0, L"ERROR.VALUE.DURATION"},
        {V::QUANTITY, -1, 0, L"ERROR.VALUE.QUANTITY"},
        {V::DMX_CHASE_BPM, 1001, 1000, L"ERROR.VALUE.CHASE_SPEED"},
        {V::PYRO_TYPE, 3, 2, L"ERROR.VALUE.PYRO_TYPE"},
        {V::DMX_CHASE_PATH, 0, 1, L"ERROR.VALUE.CHASE_PATH"},
        // a conversion to a pyro command whose address the fields would refuse
        {V::COMMAND_WORD, 0x00001000, 0x02FFFFFF, L"ERROR.VALUE.PYRO_ADDRESS"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", value " << c.refused);
        project.undo();  // the previous case's accepted value
        cues().clear();
        Cue* pyro = addPyro(1);
        Cue* dmx = addDmx(2);
        CueCommand command = CueCommand::dmx(1, 2, 3);
        command.setChasePath(CueCommand::CHASE_BLOCK);
        dmx->setCommand(command);
        for (Cue* cue : {pyro, dmx}) {
            cue->setGroup(3);
            cue->setDuration(5);
            ASSERT_TRUE(cue->setPrefireTime(5));
        }
        select({pyro, dmx});
        errors.errors.clear();
        const std::vector<std::string> before = state();
        EXPECT_FALSE(
            project.submit(std::make_unique<OperationSetCueValue>(c.type, c.refused, c.relative)));
        EXPECT_EQ(state(), before);
        EXPECT_EQ(errors.errors, std::vector<std::wstring>{c.key});
        EXPECT_TRUE(
            project.submit(std::make_unique<OperationSetCueValue>(c.type, c.taken, c.relative)));
        EXPECT_NE(state(), before);
    }
}

TEST_F(CueOperations, UnknownValueTypeChangesNothing)
{
    select({addPyro(1)});
    const std::vector<std::string> before = state();
    ASSERT_TRUE(project.submit(std::make_unique<OperationSetCueValue>(13, 5)));
    EXPECT_EQ(state(), before);
    EXPECT_EQ(project.getUndoText(), L"UNDO.NOTHING");
}

TEST_F(CueOperations, TimecodeChangesMoveCuesAndRefuseAFiringMomentBeforeZero)
{
    Cue* a = addPyro(1);
    Cue* b = addPyro(2);
    Cue* c = addPyro(3);
    select({a, b});
    ASSERT_TRUE(project.submit(std::make_unique<OperationTimecodeDelta>(25 * 5)));
    EXPECT_EQ(idsInOrder(cues()), (Ids{c->getId(), a->getId(), b->getId()}));
    EXPECT_EQ(b->getTimecode().compare(at(7)), 0);
    ASSERT_TRUE(project.submit(std::make_unique<OperationSetTimecode>(0)));
    EXPECT_EQ(a->getTimecode().getFrameNo(), 0);
    EXPECT_EQ(b->getTimecode().getFrameNo(), 0);
    project.undo();
    project.undo();
    EXPECT_EQ(idsInOrder(cues()), (Ids{a->getId(), b->getId(), c->getId()}));

    // The second cue fires 30 frames early and cannot move to frame 10.
    ASSERT_TRUE(b->setPrefireTime(30));
    const std::vector<std::string> before = state();
    EXPECT_FALSE(project.submit(std::make_unique<OperationSetTimecode>(10)));
    EXPECT_EQ(state(), before);
    EXPECT_EQ(errors.errors, std::vector<std::wstring>{L"ERROR.GENERIC"});
}

TEST_F(CueOperations, RemovingAMetadataKeyAndPuttingItBackInPlace)
{
    Cue* a = addPyro(1);
    Cue* b = addPyro(2);
    Cue* c = addPyro(3);
    a->getMetadata().insert(-1, L"~DESC", L"d");
    a->getMetadata().insert(-1, L"~POS", L"left");
    a->getMetadata().insert(-1, L"~TYPE", L"t");
    b->getMetadata().insert(-1, L"~POS", L"right");
    select({a, b, c});
    const std::vector<std::string> before = state();
    ASSERT_TRUE(project.submit(std::make_unique<OperationSetCueMeta>(L"~POS", L"~")));
    EXPECT_EQ(a->getMetadata().indexOf(L"~POS"), -1);
    EXPECT_EQ(b->getMetadata().size(), 0);
    ASSERT_TRUE(project.undo());
    EXPECT_EQ(state(), before);
    EXPECT_EQ(a->getMetadata().indexOf(L"~POS"), 1);
}

TEST_F(CueOperations, RenamingOntoAnExistingKeyFailsWithoutChange)
{
    Cue* a = addPyro(1);
    Cue* b = addPyro(2);
    a->getMetadata().insert(-1, L"old", L"1");
    b->getMetadata().insert(-1, L"old", L"2");
    b->getMetadata().insert(-1, L"new", L"3");
    select({a, b});
    const std::vector<std::string> before = state();
    EXPECT_FALSE(project.submit(std::make_unique<OperationRenameCueMeta>(L"old", L"new")));
    EXPECT_EQ(state(), before);
    EXPECT_EQ(errors.errors, std::vector<std::wstring>{
                                 L"ERROR.COULD_NOT_RENAME_BECAUSE_CUE_META_KEY_ALREADY_EXISTS"});
}

TEST_F(CueOperations, AGroupNameGoesToEveryCueOfTheGroup)
{
    Cue* a = addPyro(1);
    Cue* b = addPyro(2);
    Cue* c = addPyro(3);
    a->setGroup(3);
    c->setGroup(3);
    select({a});
    ASSERT_TRUE(project.submit(std::make_unique<OperationSetGroupName>(L"finale")));
    EXPECT_EQ(a->getGroupName(), "finale");
    EXPECT_EQ(b->getGroupName(), "");
    EXPECT_EQ(c->getGroupName(), "finale");
}

}  // namespace
}  // namespace Project
