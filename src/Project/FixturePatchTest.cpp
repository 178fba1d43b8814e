#include <gtest/gtest.h>

#include <memory>

#include "Project/CueList.h"
#include "Project/Fixture.h"
#include "Project/FixturePatch.h"

namespace Project {
namespace {

// A preset of `channels` channels at level 10 x channel number; channel 1 is static.
std::unique_ptr<Fixture> preset(const std::wstring& name, int channels, int durationMs = 500)
{
    auto fixture = std::make_unique<Fixture>(L"desc " + name, L"maker", L"prod " + name, channels,
                                             L"", durationMs);
    for (int c = 1; c <= channels; ++c) {
        fixture->addChannel(static_cast<uint16_t>(c), static_cast<uint8_t>(10 * c), 0, c != 1,
                            c == 2, false);
    }
    return fixture;
}

struct Patch {
    CueList cues;
    Cue* cue;
    explicit Patch(int type = CueCommand::TYPE_DMX512)
    {
        cue = cues.add(SMPTE(SMPTE::SMPTE_25, 0, 0, 10, 0), CueCommand(type), 0, 0, 1, -1, "");
        cue->setSelected(true);
    }
    bool run(const std::vector<Fixture*>& fixtures, PatchSettings settings,
             std::wstring* error = nullptr)
    {
        return patchFixturesIntoCues(cues, fixtures, settings, SMPTE::SMPTE_25, error);
    }
};

std::vector<std::vector<int>> channelsOf(const DmxSteps& steps)
{
    std::vector<std::vector<int>> result;
    for (const DmxStep& step : steps) {
        result.emplace_back();
        for (const DmxChannelValue& value : step) {
            result.back().push_back(value.getChannel());
        }
    }
    return result;
}

using Steps = std::vector<std::vector<int>>;

TEST(FixturePatch, AlternateLaysOutDevicesInSelectionOrder)
{
    auto a = preset(L"A", 2), b = preset(L"B", 4);
    Patch p;
    ASSERT_TRUE(p.run({b.get(), a.get()}, {10, 3, PatchMode::ALTERNATE, LocationMode::SCENE, L""}));
    EXPECT_EQ(channelsOf(p.cue->getDmxSteps()), (Steps{{10, 11, 12, 13, 14, 15, 16, 17, 18, 19}}));
    EXPECT_EQ(p.cue->getNextAddress(), 20);
    EXPECT_EQ(p.cue->getDmxDuration(), 500);
    EXPECT_EQ(*p.cue->getMetadata().valueOf(L"~DESC"), L"prod B (desc B AND desc A)");
}

TEST(FixturePatch, OddDevicesOfOneFixture)
{
    auto f = preset(L"F", 3);
    Patch p;
    ASSERT_TRUE(p.run({f.get()}, {1, 4, PatchMode::ODD, LocationMode::SCENE, L""}));
    EXPECT_EQ(channelsOf(p.cue->getDmxSteps()), (Steps{{1, 2, 3, 7, 8, 9}}));
    EXPECT_EQ(p.cue->getNextAddress(), 10);
    // Levels and flags come from the preset; every value is dynamic, even a static channel.
    const DmxChannelValue& first = p.cue->getDmxSteps()[0][0];
    EXPECT_EQ(first.getValue(), 10);
    EXPECT_TRUE(first.isDynamic());
    EXPECT_TRUE(p.cue->getDmxSteps()[0][1].isSafety());
    EXPECT_EQ(p.cue->getCommand().getDmxText(), "1@10+S2@20+3@30+7@10+S8@20+9@30");
    EXPECT_EQ(*p.cue->getMetadata().valueOf(L"~DESC"), L"prod F (desc F)");
    EXPECT_EQ(p.cue->getDuration(), 12);  // 500 ms at 25 fps, the cue had none
}

TEST(FixturePatch, ModesOfOneFixture)
{
    const struct {
        PatchMode mode;
        int devices;
        Steps steps;
        int next;
    } cases[] = {
        {PatchMode::EVEN, 4, {{3, 4, 7, 8}}, 9},
        {PatchMode::LEFT, 4, {{1, 2, 3, 4}}, 5},
        {PatchMode::RIGHT, 4, {{5, 6, 7, 8}}, 9},
        {PatchMode::SAME, 2, {{1, 2, 3, 4}}, 5},
    };
    for (const auto& c : cases) {
        auto f = preset(L"F", 2);
        Patch p;
        ASSERT_TRUE(p.run({f.get()}, {1, c.devices, c.mode, LocationMode::SCENE, L""}));
        EXPECT_EQ(channelsOf(p.cue->getDmxSteps()), c.steps) << static_cast<int>(c.mode);
        EXPECT_EQ(p.cue->getNextAddress(), c.next) << static_cast<int>(c.mode);
    }
}

TEST(FixturePatch, LeftRightAndThreeFixtureDescription)
{
    auto a = preset(L"A", 1), b = preset(L"B", 2), c = preset(L"C", 1);
    Patch p;
    ASSERT_TRUE(p.run({a.get(), b.get()}, {5, 4, PatchMode::LEFTRIGHT, LocationMode::SCENE, L""}));
    EXPECT_EQ(channelsOf(p.cue->getDmxSteps()), (Steps{{5, 6, 7, 8, 9, 10}}));

    Patch q;
    ASSERT_TRUE(
        q.run({a.get(), b.get(), c.get()}, {1, 3, PatchMode::ALTERNATE, LocationMode::SCENE, L""}));
    EXPECT_EQ(*q.cue->getMetadata().valueOf(L"~DESC"), L"3 x prod A (3 fixtures)");
}

TEST(FixturePatch, ManualEntryIsIndependentOfOrder)
{
    auto f = preset(L"F", 2);
    Patch p;
    ASSERT_TRUE(
        p.run({f.get()}, {100, -1, PatchMode::MANUALENTRY, LocationMode::SCENE, L" 3, x, -2 ,1"}));
    EXPECT_EQ(channelsOf(p.cue->getDmxSteps()), (Steps{{104, 105, 100, 101}}));
    EXPECT_EQ(p.cue->getNextAddress(), 102);
}

TEST(FixturePatch, LocationModes)
{
    auto f = preset(L"F", 1, 500);
    auto g = preset(L"G", 1, 300);
    {
        Patch p;  // a chase step per device, durations add up
        ASSERT_TRUE(p.run({f.get()}, {1, 3, PatchMode::SAME, LocationMode::CHASE, L""}));
        EXPECT_EQ(channelsOf(p.cue->getDmxSteps()), (Steps{{1}, {2}, {3}}));
        EXPECT_EQ(p.cue->getDmxDuration(), 1500);
        EXPECT_EQ(p.cue->getCommand().getDmxText(), "(1@10)+(2@10)+(3@10)");
    }
    {
        Patch p;  // reset replaces what the cue had, then later devices join the step
        p.cue->setDmxSteps({{DmxChannelValue(400, 1, 0, true, false, false, 0)}});
        p.cue->setDmxDuration(9000);
        ASSERT_TRUE(p.run({f.get()}, {1, 2, PatchMode::SAME, LocationMode::RESET, L""}));
        EXPECT_EQ(channelsOf(p.cue->getDmxSteps()), (Steps{{1, 2}}));
        EXPECT_EQ(p.cue->getDmxDuration(), 500);
    }
    {
        Patch p;  // scene joins the existing step and keeps the longer duration
        p.cue->setDmxSteps({{DmxChannelValue(400, 1, 0, true, false, false, 0)}});
        p.cue->setDmxDuration(9000);
        ASSERT_TRUE(p.run({f.get()}, {1, 1, PatchMode::SAME, LocationMode::SCENE, L""}));
        EXPECT_EQ(channelsOf(p.cue->getDmxSteps()), (Steps{{400, 1}}));
        EXPECT_EQ(p.cue->getDmxDuration(), 9000);
    }
    {
        Patch p;  // several fixtures in a list mode: a scene per fixture, forced
        ASSERT_TRUE(p.run({f.get(), g.get()}, {1, 2, PatchMode::SAME, LocationMode::CHASE, L""}));
        EXPECT_EQ(channelsOf(p.cue->getDmxSteps()), (Steps{{1, 2}, {1, 2}}));
        EXPECT_EQ(p.cue->getDmxDuration(), 800);
    }
}

TEST(FixturePatch, RefusesAddressesOutsideTheUniverseAndChangesNothing)
{
    auto f = preset(L"F", 4);
    const struct {
        PatchSettings settings;
        const wchar_t* error;
    } cases[] = {
        {{0, 1, PatchMode::SAME, LocationMode::SCENE, L""}, L"ERROR.PATCH_START_ADDRESS"},
        {{-1, 1, PatchMode::SAME, LocationMode::SCENE, L""}, L"ERROR.PATCH_START_ADDRESS"},
        {{513, 1, PatchMode::SAME, LocationMode::SCENE, L""}, L"ERROR.PATCH_START_ADDRESS"},
        {{1, -1, PatchMode::MANUALENTRY, LocationMode::SCENE, L"2,0"},
         L"ERROR.PATCH_DEVICE_NUMBER"},
        {{510, 1, PatchMode::SAME, LocationMode::SCENE, L""}, L"ERROR.PATCH_CHANNEL_RANGE"},
        {{1, 200, PatchMode::SAME, LocationMode::SCENE, L""}, L"ERROR.PATCH_CHANNEL_RANGE"},
        {{1, 100000, PatchMode::SAME, LocationMode::SCENE, L""}, L"ERROR.PATCH_CHANNEL_RANGE"},
        {{1, 0, PatchMode::SAME, LocationMode::SCENE, L""}, L"ERROR.PATCH_MODE"},
        {{1, 3, PatchMode::ALTERNATE, LocationMode::SCENE, L""}, L"ERROR.PATCH_MODE"},
    };
    for (const auto& c : cases) {
        Patch p;
        std::wstring error;
        EXPECT_FALSE(p.run({f.get()}, c.settings, &error));
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(p.cue->getDmxSteps().empty());
        EXPECT_EQ(p.cue->getMetadata().size(), 0);
        EXPECT_EQ(p.cue->getNextAddress(), 1);
    }
    Patch p;
    std::wstring error;
    EXPECT_FALSE(p.run({}, {1, 1, PatchMode::SAME, LocationMode::SCENE, L""}, &error));
    EXPECT_EQ(error, L"ERROR.PATCH_NO_FIXTURE");
    // The last device may end exactly on channel 512.
    EXPECT_TRUE(p.run({f.get()}, {509, 1, PatchMode::SAME, LocationMode::SCENE, L""}));
}

TEST(FixturePatch, OnlySelectedDmxCues)
{
    auto f = preset(L"F", 1);
    Patch pyro(CueCommand::TYPE_PYRO);
    ASSERT_TRUE(pyro.run({f.get()}, {1, 1, PatchMode::SAME, LocationMode::SCENE, L""}));
    EXPECT_TRUE(pyro.cue->getDmxSteps().empty());
    EXPECT_EQ(pyro.cue->getCommand().getDmxText(), "");
}

TEST(FixturePatch, ReadsTypedNumbers)
{
    EXPECT_EQ(readPatchNumber(L" 12 "), 12);
    EXPECT_EQ(readPatchNumber(L"abc"), -1);
    EXPECT_EQ(readPatchNumber(L"-4"), -1);
}

}  // namespace
}  // namespace Project
