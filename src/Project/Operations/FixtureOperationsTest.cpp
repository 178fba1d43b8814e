#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Project/Operations/OperationAddChannel.h"
#include "Project/Operations/OperationAddFixture.h"
#include "Project/Operations/OperationDeleteChannelSelection.h"
#include "Project/Operations/OperationDeleteFixtureSelection.h"
#include "Project/Operations/OperationFilterFixtures.h"
#include "Project/Operations/OperationSelectAllChannelsInFixture.h"
#include "Project/Operations/OperationSelectAllFixtures.h"
#include "Project/Operations/OperationSelectionChannelsFixture.h"
#include "Project/Operations/OperationSelectionFixture.h"
#include "Project/Operations/OperationSetChannelValue.h"
#include "Project/Operations/OperationSetFixtureValue.h"
#include "Project/Project.h"

namespace Project {
namespace {

struct ProjectEvents : Project::Listener {
    std::vector<std::wstring> errors;
    int selectionNotices = 0;
    void errorReported(const std::wstring& text) override { errors.push_back(text); }
    void selectionChanging() override { ++selectionNotices; }
};

class FixtureOperations : public ::testing::Test {
protected:
    FixtureOperations() : project(Project::createInstance()) { project.addListener(&events); }
    ~FixtureOperations() override { Project::destroyInstance(); }

    ProjectData& data() { return project.getProjectData(); }

    // A preset with two channels (1 at 255, 2 at 128), listed and stored.
    Fixture* preset(const std::wstring& description, int32_t channelCount = 2)
    {
        data().getFixtureStore().push_back(
            std::make_unique<Fixture>(description, L"Maker", L"Model", channelCount, L"", 500));
        Fixture* fixture = data().getFixtureStore().back().get();
        fixture->addChannel(1, 255, 0, false, true, false);
        fixture->addChannel(2, 128, 0, true, false, true);
        data().getFixtureList().addFixture(fixture);
        return fixture;
    }

    Fixture* listed(int32_t id)
    {
        const FixtureList::FixtureItem* item = data().getFixtureList().findById(id);
        return item != nullptr ? item->getFixture() : nullptr;
    }

    // "description#id" per listed preset, "*" when selected, then "[channel=value#id]" each.
    std::vector<std::wstring> describe()
    {
        std::vector<std::wstring> all;
        for (const Fixture* fixture : data().getFixtureList()) {
            std::wstring text = fixture->getDescription() + L"#" +
                                std::to_wstring(fixture->getId()) +
                                (fixture->isSelected() ? L"*" : L"");
            for (const Fixture::ChannelItem* c = fixture->getFirstChannel(); c != nullptr;
                 c = c->getNext()) {
                text += L" [" + std::to_wstring(c->getChannel()) + L"=" +
                        std::to_wstring(c->getValue()) + L"#" + std::to_wstring(c->getId()) +
                        (c->isSelected() ? L"*" : L"") + L"]";
            }
            all.push_back(text);
        }
        return all;
    }

    Project& project;
    ProjectEvents events;
};

TEST_F(FixtureOperations, AnAddedPresetComesBackUnderItsNumber)
{
    preset(L"Jet");
    ASSERT_TRUE(project.submit(new OperationAddFixture(L"Flame", L"Maker", L"F1", 3, L"hot", 800)));
    ASSERT_EQ(data().getFixtureStore().size(), 2u);
    const Fixture* flame = listed(1);
    ASSERT_NE(flame, nullptr);
    EXPECT_EQ(flame, data().getFixtureStore()[1].get());
    EXPECT_EQ(flame->getProductName(), L"F1");
    EXPECT_EQ(flame->getChannelCount(), 3);
    EXPECT_EQ(flame->getComments(), L"hot");
    EXPECT_EQ(flame->getDuration(), 800);
    EXPECT_EQ(project.getUndoText(), L"UNDO.ADD_FIXTURE");

    data().setCurrentFixture(listed(1));
    ASSERT_TRUE(project.undo());
    EXPECT_EQ(describe(), std::vector<std::wstring>{L"Jet#0 [1=255#0] [2=128#1]"});
    EXPECT_EQ(data().getFixtureStore().size(), 1u);
    EXPECT_EQ(data().getCurrentFixture(), nullptr);
    ASSERT_TRUE(project.redo());
    ASSERT_NE(listed(1), nullptr);
    EXPECT_EQ(listed(1)->getDescription(), L"Flame");
}

TEST_F(FixtureOperations, UndoOfAnAdditionWhosePresetIsGoneFails)
{
    ASSERT_TRUE(project.submit(new OperationAddFixture(L"Flame", L"", L"", 1, L"", 0)));
    // Taken out of the list only: the store still holds it, yet undo cannot find it.
    data().getFixtureList().clear();
    EXPECT_FALSE(project.undo());
    EXPECT_EQ(events.errors, std::vector<std::wstring>{L"ERROR.GENERIC"});
    EXPECT_EQ(data().getFixtureStore().size(), 1u);
    EXPECT_EQ(project.getUndoCount(), 0);
}

TEST_F(FixtureOperations, EachEditedPresetGetsItsOwnOldValueBack)
{
    struct Case {
        const char* name;
        std::function<std::unique_ptr<IOperation>()> make;
        std::function<std::wstring(const Fixture&)> read;
        const wchar_t* undoText;
        const wchar_t* redoText;
        std::wstring expected;
    };
    const std::vector<Case> cases = {
        {"description", [] { return std::make_unique<OperationSetFixtureValue>(0, L"New"); },
         [](const Fixture& f) { return f.getDescription(); }, L"UNDO.MOD.FIXTURE_DESCRIPTION",
         L"REDO.MOD.FIXTURE_DESCRIPTION", L"New"},
        {"product", [] { return std::make_unique<OperationSetFixtureValue>(1, L"P2"); },
         [](const Fixture& f) { return f.getProductName(); }, L"UNDO.MOD.FIXTURE_PRODUCTNAME",
         L"REDO.MOD.FIXTURE_PRODUCTNAME", L"P2"},
        {"manufacturer", [] { return std::make_unique<OperationSetFixtureValue>(2, L"M2"); },
         [](const Fixture& f) { return f.getManufacturer(); }, L"UNDO.MOD.FIXTURE_MANUFACTURER",
         L"REDO.MOD.FIXTURE_MANUFACTURER", L"M2"},
        {"channel count", [] { return std::make_unique<OperationSetFixtureValue>(3, 6); },
         [](const Fixture& f) { return std::to_wstring(f.getChannelCount()); }, L"UNDO.MOD.FIXTURE",
         L"REDO.MOD.FIXTURE", L"6"},
        {"comments", [] { return std::make_unique<OperationSetFixtureValue>(4, L"note"); },
         [](const Fixture& f) { return f.getComments(); }, L"UNDO.MOD.FIXTURE", L"REDO.MOD.FIXTURE",
         L"note"},
        {"duration from text",
         [] { return std::make_unique<OperationSetFixtureValue>(5, std::wstring(L"1500")); },
         [](const Fixture& f) { return std::to_wstring(f.getDuration()); }, L"UNDO.MOD.FIXTURE",
         L"REDO.MOD.FIXTURE", L"1500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        data().getFixtureList().clear();
        data().getFixtureStore().clear();
        Fixture* a = preset(L"A", 1);
        Fixture* b = preset(L"B", 2);
        Fixture* skipped = preset(L"C", 3);
        a->setComments(L"a");
        b->setProductName(L"b");
        b->setDuration(900);
        a->setSelected(true);
        b->setSelected(true);
        const std::vector<std::wstring> before = {c.read(*a), c.read(*b), c.read(*skipped)};

        ASSERT_TRUE(project.submit(c.make()));
        EXPECT_EQ(project.getUndoText(), c.undoText);
        EXPECT_EQ(project.getRedoText(), L"REDO.NOTHING");
        EXPECT_EQ(c.read(*a), c.expected);
        EXPECT_EQ(c.read(*b), c.expected);
        EXPECT_EQ(c.read(*skipped), before[2]);
        ASSERT_TRUE(project.undo());
        EXPECT_EQ(project.getRedoText(), c.redoText);
        EXPECT_EQ((std::vector<std::wstring>{c.read(*a), c.read(*b), c.read(*skipped)}), before);
    }
}

TEST_F(FixtureOperations, DeletedPresetsReturnWithTheirChannelsInNumberOrder)
{
    preset(L"A");
    Fixture* b = preset(L"B");
    preset(L"C");
    Fixture* d = preset(L"D");
    b->findChannel(1)->setValue(7);
    d->setSelected(true);
    b->setSelected(true);
    data().setCurrentFixture(b);

    ASSERT_TRUE(project.submit(new OperationDeleteFixtureSelection()));
    EXPECT_EQ(describe(),
              (std::vector<std::wstring>{L"A#0 [1=255#0] [2=128#1]", L"C#2 [1=255#0] [2=128#1]"}));
    EXPECT_EQ(data().getFixtureStore().size(), 2u);
    EXPECT_EQ(data().getCurrentFixture(), nullptr);
    EXPECT_EQ(project.getUndoText(), L"UNDO.REMOVE_FIXTURES");

    ASSERT_TRUE(project.undo());
    const std::vector<std::wstring> restored = {
        L"A#0 [1=255#0] [2=128#1]", L"C#2 [1=255#0] [2=128#1]", L"B#1* [1=255#0] [2=7#1]",
        L"D#3* [1=255#0] [2=128#1]"};
    EXPECT_EQ(describe(), restored);
    EXPECT_EQ(data().getFixtureStore().size(), 4u);
    ASSERT_TRUE(project.redo());
    EXPECT_EQ(data().getFixtureList().getCount(), 2);
    ASSERT_TRUE(project.undo());
    EXPECT_EQ(describe(), restored);

    // Nothing selected: passive, the history stays as it is.
    ASSERT_TRUE(project.submit(new OperationSelectAllFixtures(false)));
    ASSERT_TRUE(project.submit(new OperationDeleteFixtureSelection()));
    EXPECT_EQ(project.getUndoCount(), 0);
    EXPECT_EQ(project.getRedoCount(), 1);
}

TEST_F(FixtureOperations, AChannelIsAddedToSelectedPresetsWithChannels)
{
    Fixture* a = preset(L"A");
    Fixture* none = preset(L"N", 0);
    Fixture* b = preset(L"B");
    preset(L"C");
    a->setSelected(true);
    none->setSelected(true);
    b->setSelected(true);
    b->addChannel(3, 1, 0, false, false, false, 9);

    ASSERT_TRUE(project.submit(new OperationAddChannel(4, 99, true, false, true)));
    EXPECT_EQ(project.getUndoText(), L"UNDO.ADD_CHANNEL");
    const std::vector<std::wstring> added = describe();
    EXPECT_EQ(added[0], L"A#0* [1=255#0] [2=128#1] [4=99#2]");
    EXPECT_EQ(added[1], L"N#1* [1=255#0] [2=128#1]");
    EXPECT_EQ(added[2], L"B#2* [1=255#0] [2=128#1] [3=1#9] [4=99#10]");
    const Fixture::ChannelItem* channel = a->findChannel(2);
    EXPECT_TRUE(channel->isDynamic());
    EXPECT_FALSE(channel->isSafety());
    EXPECT_TRUE(channel->isSlowSafety());
    EXPECT_EQ(channel->getExtra(), 0);

    ASSERT_TRUE(project.undo());
    EXPECT_EQ(a->getCount(), 2);
    EXPECT_EQ(b->getCount(), 3);
    ASSERT_TRUE(project.redo());
    EXPECT_EQ(describe(), added);

    // One of the channels is gone: undo fails and leaves the other one alone.
    b->removeChannel(b->findChannel(10));
    EXPECT_FALSE(project.undo());
    EXPECT_EQ(events.errors, std::vector<std::wstring>{L"ERROR.GENERIC"});
    EXPECT_EQ(a->getCount(), 3);
}

TEST_F(FixtureOperations, SelectedChannelsOfTheEditedPresetAreDeleted)
{
    Fixture* a = preset(L"A");
    a->addChannel(3, 30, 0, false, false, false);
    a->findChannel(0)->setSelected(true);
    a->findChannel(2)->setSelected(true);

    // Without an edited preset there is nothing to act on, and no stale error is reported.
    project.setLastError(L"ERROR.OLD");
    EXPECT_FALSE(project.submit(new OperationDeleteChannelSelection()));
    EXPECT_EQ(events.errors, std::vector<std::wstring>{L""});

    data().setCurrentFixture(a);
    ASSERT_TRUE(project.submit(new OperationDeleteChannelSelection()));
    EXPECT_EQ(describe(), std::vector<std::wstring>{L"A#0 [2=128#1]"});
    EXPECT_EQ(project.getUndoText(), L"UNDO.REMOVE_CHANNELS");
    ASSERT_TRUE(project.undo());
    EXPECT_EQ(describe(), std::vector<std::wstring>{L"A#0 [2=128#1] [1=255#0*] [3=30#2*]"});
    ASSERT_TRUE(project.redo());
    EXPECT_EQ(a->getCount(), 1);

    data().setCurrentFixture(nullptr);
    EXPECT_FALSE(project.undo());
}

TEST_F(FixtureOperations, AChannelFieldIsSetOnSelectedChannelsOfSelectedPresets)
{
    struct Case {
        int field;
        int32_t value;
        std::function<int32_t(const DmxChannelValue&)> read;
    };
    const std::vector<Case> cases = {
        {0, 12, [](const DmxChannelValue& v) { return int32_t{v.getChannel()}; }},
        {1, 77, [](const DmxChannelValue& v) { return int32_t{v.getValue()}; }},
        {2, -3, [](const DmxChannelValue& v) { return v.getExtra(); }},
        {3, 1, [](const DmxChannelValue& v) { return int32_t{v.isDynamic()}; }},
        {4, 1, [](const DmxChannelValue& v) { return int32_t{v.isSafety()}; }},
        {5, 1, [](const DmxChannelValue& v) { return int32_t{v.isSlowSafety()}; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        data().getFixtureList().clear();
        data().getFixtureStore().clear();
        Fixture* a = preset(L"A");
        Fixture* b = preset(L"B");
        a->setSelected(true);
        a->addChannel(9, 0, 0, false, false, false);
        a->findChannel(0)->setSelected(true);
        a->findChannel(2)->setSelected(true);
        b->findChannel(0)->setSelected(true);  // its preset is not selected
        const int32_t untouched = c.read(*a->findChannel(1));
        const int32_t otherPreset = c.read(*b->findChannel(0));
        ASSERT_TRUE(project.submit(new OperationAddFixture(L"X", L"", L"", 1, L"", 0)));

        ASSERT_TRUE(project.submit(new OperationSetChannelValue(c.field, c.value)));
        EXPECT_EQ(c.read(*a->findChannel(0)), c.value);
        EXPECT_EQ(c.read(*a->findChannel(2)), c.value);
        EXPECT_EQ(c.read(*a->findChannel(1)), untouched);
        EXPECT_EQ(c.read(*b->findChannel(0)), otherPreset);
        // Not undoable: what came before can no longer be undone.
        EXPECT_EQ(project.getUndoCount(), 0);
    }
}

TEST_F(FixtureOperations, SelectionsOfPresetsAndChannels)
{
    Fixture* a = preset(L"A");
    Fixture* b = preset(L"B");
    Fixture* c = preset(L"C");
    c->setSelected(true);
    c->findChannel(0)->setSelected(true);

    OperationSelectionFixture some({{0, true}, {2, false}, {5, true}});
    ASSERT_TRUE(some.execute(data()));
    EXPECT_TRUE(a->isSelected());
    EXPECT_FALSE(b->isSelected());
    // A change of a preset's selection clears its channels' selection.
    EXPECT_FALSE(c->findChannel(0)->isSelected());
    EXPECT_FALSE(c->isSelected());
    ASSERT_TRUE(some.undo(data()));
    EXPECT_FALSE(a->isSelected());
    EXPECT_TRUE(c->isSelected());

    // Channel selections act on the selected presets (here C) only.
    OperationSelectionChannelsFixture channels({{1, true}});
    ASSERT_TRUE(channels.execute(data()));
    EXPECT_TRUE(c->findChannel(1)->isSelected());
    EXPECT_FALSE(a->findChannel(1)->isSelected());
    OperationSelectAllChannelsInFixture allChannels(true);
    ASSERT_TRUE(allChannels.execute(data()));
    EXPECT_TRUE(c->findChannel(0)->isSelected());
    EXPECT_FALSE(a->findChannel(0)->isSelected());
    ASSERT_TRUE(allChannels.undo(data()));
    EXPECT_FALSE(c->findChannel(1)->isSelected());
    ASSERT_TRUE(channels.undo(data()));
    EXPECT_FALSE(c->findChannel(1)->isSelected());

    OperationSelectAllFixtures all(true);
    ASSERT_TRUE(all.execute(data()));
    EXPECT_TRUE(a->isSelected() && b->isSelected() && c->isSelected());
    ASSERT_TRUE(all.undo(data()));
    EXPECT_FALSE(a->isSelected() || b->isSelected() || c->isSelected());
    EXPECT_EQ(events.selectionNotices, 8);
}

TEST_F(FixtureOperations, AFilterNarrowsTheListAndIsNeverUndone)
{
    preset(L"Flame jet");
    preset(L"Strobe");
    preset(L"Jet stream");
    FixtureSearchCriteria criteria;
    criteria.description = L"JET";
    OperationFilterFixtures filter(criteria);
    ASSERT_TRUE(project.submit(std::make_unique<OperationFilterFixtures>(criteria)));
    EXPECT_EQ(describe(), (std::vector<std::wstring>{L"Flame jet#0 [1=255#0] [2=128#1]",
                                                     L"Jet stream#2 [1=255#0] [2=128#1]"}));
    EXPECT_EQ(project.getUndoCount(), 0);
    EXPECT_FALSE(filter.undo(data()));
    EXPECT_FALSE(filter.redo(data()));
}

}  // namespace
}  // namespace Project
