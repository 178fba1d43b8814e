#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "Project/Cue.h"

namespace Project {
namespace {

// Writes every event as "<callback> <cue id>" plus its arguments, and remembers the cue.
class Recorder : public Cue::Listener {
public:
    void cueNumberChanged(Cue* c) override { add("number", c); }
    void cueTimecodeChanged(Cue* c) override { add("timecode", c); }
    void cuePrefireTimeChanged(Cue* c) override { add("prefire", c); }
    void cueCommandChanged(Cue* c) override { add("command", c); }
    void cueDurationChanged(Cue* c) override { add("duration", c); }
    void cuePyroTypeChanged(Cue* c) override { add("pyroType", c); }
    void cueReminderTextChanged(Cue* c) override { add("reminder", c); }
    void cueGroupNameChanged(Cue* c) override { add("groupName", c); }
    void cueGroupChanged(Cue* c) override { add("group", c); }
    void cueQuantityChanged(Cue* c) override { add("quantity", c); }
    void cueStateChanged(Cue* c) override { add("state", c); }
    void cueSelectionChanged(Cue* c) override { add("selection", c); }
    void cueMetadataInserted(Cue* c, int index, const std::wstring& key,
                             const std::wstring& value) override
    {
        add("metaInserted " + std::to_string(index) + " " + narrow(key) + "=" + narrow(value), c);
    }
    void cueMetadataValueChanged(Cue* c, int index, const std::wstring& key,
                                 const std::wstring& value) override
    {
        add("metaValue " + std::to_string(index) + " " + narrow(key) + "=" + narrow(value), c);
    }
    void cueMetadataRemoved(Cue* c, int index, const std::wstring& key) override
    {
        add("metaRemoved " + std::to_string(index) + " " + narrow(key), c);
    }
    void cueMetadataChanged(Cue* c) override { add("metaChanged", c); }

    std::vector<std::string> events;
    std::vector<Cue*> cues;

private:
    static std::string narrow(const std::wstring& text)
    {
        return std::string(text.begin(), text.end());
    }
    void add(const std::string& what, Cue* cue)
    {
        events.push_back(what);
        cues.push_back(cue);
    }
};

using Events = std::vector<std::string>;

SMPTE at25(int frameNo)
{
    return SMPTE::fromFrameNo(SMPTE::SMPTE_25, frameNo);
}

class CueTest : public ::testing::Test {
protected:
    void SetUp() override { cue.addListener(&recorder); }

    Cue cue{at25(100), CueCommand::pyro(0x12), 25, 0, 1, 7, "hello"};
    Recorder recorder;
};

TEST_F(CueTest, SettersNotifyOnlyWhenTheValueChanges)
{
    const struct {
        const char* event;
        std::function<void(Cue&)> set;
    } cases[] = {
        {"number", [](Cue& c) { c.setNumber(3); }},
        {"timecode", [](Cue& c) { c.setTimecode(at25(200)); }},
        {"prefire", [](Cue& c) { c.setPrefireTime(10); }},
        {"command", [](Cue& c) { c.setCommand(CueCommand::pyro(0x13)); }},
        {"duration", [](Cue& c) { c.setDuration(50); }},
        {"pyroType", [](Cue& c) { c.setPyroType(Cue::PYRO_PARALLEL); }},
        {"reminder", [](Cue& c) { c.setReminderText("bye"); }},
        {"groupName", [](Cue& c) { c.setGroupName("Front"); }},
        {"group", [](Cue& c) { c.setGroup(4); }},
        {"quantity", [](Cue& c) { c.setQuantity(6); }},
        {"state", [](Cue& c) { c.setState(CUE_QUEUED, 0, 0); }},
        {"selection", [](Cue& c) { c.setSelected(true); }},
    };
    for (const auto& c : cases) {
        recorder.events.clear();
        c.set(cue);
        c.set(cue);
        EXPECT_EQ(recorder.events, Events{c.event});
    }
    EXPECT_EQ(recorder.cues.front(), &cue);
    EXPECT_EQ(cue.getNumber(), 3);
    EXPECT_EQ(cue.getTimecode().getFrameNo(), 200);
    EXPECT_EQ(cue.getPrefireTime(), 10);
    EXPECT_EQ(cue.getCommand().getAddress(), 0x13);
    EXPECT_EQ(cue.getDuration(), 50);
    EXPECT_EQ(cue.getPyroType(), Cue::PYRO_PARALLEL);
    EXPECT_EQ(cue.getReminderText(), "bye");
    EXPECT_EQ(cue.getGroupName(), "Front");
    EXPECT_EQ(cue.getGroup(), 4);
    EXPECT_EQ(cue.getQuantity(), 6);
    EXPECT_EQ(cue.getState(), CUE_QUEUED);
    EXPECT_TRUE(cue.isSelected());
}

TEST_F(CueTest, TimecodeBeforeThePrefireTimeIsRefused)
{
    cue.setPrefireTime(30);
    cue.setState(CUE_DISABLED, FLAG_NEG_TRIGGER | FLAG_TESTED, 0xFF);
    recorder.events.clear();

    const SMPTE oneSecond(SMPTE::SMPTE_25, 0, 0, 1, 0);  // frame 25
    EXPECT_FALSE(cue.setTimecode(oneSecond));
    EXPECT_EQ(cue.getTimecode().getFrameNo(), 100);
    EXPECT_EQ(cue.getFlags(), FLAG_NEG_TRIGGER | FLAG_TESTED);
    EXPECT_TRUE(recorder.events.empty());

    EXPECT_TRUE(cue.setPrefireTime(25));
    EXPECT_TRUE(cue.setTimecode(oneSecond));
    EXPECT_EQ(cue.getFlags(), FLAG_TESTED);
    // The flag is cleared by the first accepted setter, before its own notification.
    EXPECT_EQ(recorder.events, (Events{"state", "prefire", "timecode"}));
}

TEST_F(CueTest, PrefireTimeBeyondTheTimecodeIsRefused)
{
    EXPECT_FALSE(cue.setPrefireTime(101));
    EXPECT_EQ(cue.getPrefireTime(), 25);
    EXPECT_FALSE(cue.setPrefireTime(INT_MAX));
    EXPECT_TRUE(cue.setPrefireTime(100));
    EXPECT_TRUE(cue.setPrefireTime(-5));  // a negative prefire time fires after the timecode
    // 100 - INT_MIN does not fit an int; wrapped, it would look negative and be refused.
    EXPECT_TRUE(cue.setPrefireTime(INT_MIN));
    EXPECT_EQ(cue.getPrefireTime(), INT_MIN);
}

TEST_F(CueTest, SameInstantInAnotherFormatIsNoChange)
{
    cue.setPrefireTime(0);
    ASSERT_TRUE(cue.setTimecode(SMPTE(SMPTE::SMPTE_25, 0, 0, 1, 0)));
    recorder.events.clear();
    EXPECT_TRUE(cue.setTimecode(SMPTE(SMPTE::SMPTE_24, 0, 0, 1, 0)));
    EXPECT_TRUE(recorder.events.empty());
    EXPECT_EQ(cue.getTimecode().getFormat(), SMPTE::SMPTE_25);
}

TEST_F(CueTest, SetStateReplacesOnlyTheMaskedFlags)
{
    cue.setState(CUE_NEXT, FLAG_TESTED | FLAG_BUSY, 0xFF);
    cue.setState(CUE_NEXT, FLAG_NO_CONTINUITY, FLAG_NO_CONTINUITY | FLAG_BUSY);
    EXPECT_EQ(cue.getFlags(), FLAG_TESTED | FLAG_NO_CONTINUITY);
    cue.setState(CUE_NEXT, FLAG_DUPLICATE, 0);  // nothing under the mask
    EXPECT_EQ(recorder.events, (Events{"state", "state"}));
}

TEST_F(CueTest, CommandStepsAreCopiedIntoTheCue)
{
    CueCommand dmx = CueCommand::dmx(0, 0, 0);
    ASSERT_TRUE(dmx.setDmxText("S1@10+2@20"));
    cue.setCommand(dmx);
    ASSERT_EQ(cue.getDmxSteps().size(), 1u);
    EXPECT_EQ(cue.getDmxSteps()[0].size(), 2u);
    EXPECT_TRUE(cue.getDmxSteps()[0][0].isSafety());

    // An equal command changes nothing, not even the steps kept by the cue.
    cue.setDmxSteps({});
    cue.setCommand(dmx);
    EXPECT_TRUE(cue.getDmxSteps().empty());
    EXPECT_EQ(recorder.events, Events{"command"});
}

DmxChannelValue channel(int number, int value, bool safety, bool slowSafety)
{
    return DmxChannelValue(static_cast<uint16_t>(number), static_cast<uint8_t>(value), 0, true,
                           safety, slowSafety, 0);
}

TEST_F(CueTest, RebuildWritesTheStepsAsDmxText)
{
    cue.setCommand(CueCommand::dmx(0, -1, 0));
    recorder.events.clear();

    cue.setDmxSteps({{channel(1, 10, true, false), channel(2, 20, true, true)}});
    cue.rebuildDmxText();
    EXPECT_EQ(cue.getCommand().getDmxText(), "S1@10+Q2@20");
    EXPECT_FALSE(cue.hasSlowOnlyChannel());

    cue.setDmxSteps({{channel(1, 255, false, true)}, {}, {channel(1, 0, false, false)}});
    cue.rebuildDmxText();
    EXPECT_EQ(cue.getCommand().getDmxText(), "(D1@255)+(1@0)");  // the empty step left out
    EXPECT_EQ(cue.getCommand().getDmxSteps().size(), 2u);
    EXPECT_TRUE(cue.hasSlowOnlyChannel());

    cue.rebuildDmxText();  // announced even when the text stays the same
    EXPECT_EQ(recorder.events, (Events{"command", "command", "command"}));

    // With no channels left the command's old text must go too.
    cue.setDmxSteps({});
    cue.rebuildDmxText();
    EXPECT_EQ(cue.getCommand().getDmxText(), "");
    EXPECT_TRUE(cue.getCommand().getDmxSteps().empty());
    EXPECT_FALSE(cue.hasSlowOnlyChannel());
}

TEST_F(CueTest, MetadataEventsReachTheCueListenersWithTheCue)
{
    cue.getMetadata().insert(-1, L"~POS", L"A");
    cue.getMetadata().setValue(0, L"B");
    cue.getMetadata().remove(0);
    EXPECT_EQ(recorder.events, (Events{"metaInserted 0 ~POS=A", "metaChanged", "metaValue 0 ~POS=B",
                                       "metaRemoved 0 ~POS", "metaChanged"}));
    for (Cue* c : recorder.cues) {
        EXPECT_EQ(c, &cue);
    }
}

TEST_F(CueTest, CopyHasEveryFieldAndItsOwnMetadataForwarder)
{
    cue.setGroupName("G");
    cue.setNextAddress(17);
    cue.setDmxDuration(1500);
    cue.getMetadata().insert(-1, L"~DESC", L"Comet");
    cue.addFixtureChannelValue(channel(3, 9, false, false));
    recorder.events.clear();

    Cue copy(cue);
    EXPECT_EQ(copy.getId(), 7);
    EXPECT_EQ(copy.getGroupName(), "G");
    EXPECT_EQ(copy.getNextAddress(), 17);
    EXPECT_EQ(copy.getDmxDuration(), 1500);
    EXPECT_EQ(copy.getFixtureChannelValues().size(), 1u);
    EXPECT_EQ(*copy.getMetadata().valueOf(L"~DESC"), L"Comet");
    EXPECT_TRUE(copy.hasListener(&recorder));

    // The copy's metadata speaks for the copy, and only for it.
    copy.getMetadata().setValue(0, L"Mine");
    ASSERT_EQ(recorder.events, Events{"metaValue 0 ~DESC=Mine"});
    EXPECT_EQ(recorder.cues.back(), &copy);
    EXPECT_EQ(*cue.getMetadata().valueOf(L"~DESC"), L"Comet");

    // The original still speaks for itself, once.
    cue.getMetadata().setValue(0, L"Theirs");
    ASSERT_EQ(recorder.events.size(), 2u);
    EXPECT_EQ(recorder.cues.back(), &cue);

    // A copy of the copy, made after the original is gone, still works.
    auto* heap = new Cue(copy);
    Cue copyOfCopy(*heap);
    delete heap;
    copyOfCopy.getMetadata().remove(0);
    EXPECT_EQ(recorder.cues.back(), &copyOfCopy);
}

TEST_F(CueTest, FixtureChannelValuesKeepOnePerChannel)
{
    cue.addFixtureChannelValue(channel(3, 9, false, false));
    cue.addFixtureChannelValue(channel(3, 200, true, false));
    cue.addFixtureChannelValue(channel(4, 1, false, false));
    ASSERT_EQ(cue.getFixtureChannelValues().size(), 2u);
    EXPECT_EQ(cue.getFixtureChannelValues()[0].getValue(), 9);
}

TEST(CueTexts, StateAndFlagKeys)
{
    EXPECT_STREQ(cueStateKey(CUE_SKIPPED), "CUESTATE.SKIPPED");
    EXPECT_EQ(cueStateKey(3), nullptr);

    const struct {
        int flags;
        bool pyroInShowMode;
        const char* key;
    } cases[] = {
        {FLAG_NEG_TRIGGER | FLAG_DUPLICATE | FLAG_BUSY, true, "CUESTATE.NEG_TRIGGER"},
        {FLAG_DUPLICATE | FLAG_BUSY | FLAG_COMMFAIL, false, "CUESTATE.DUPLICATE"},
        {FLAG_BUSY | FLAG_TESTED, true, "CUESTATE.BUSY"},
        {FLAG_TESTED | FLAG_COMMFAIL | FLAG_NO_CONTINUITY, true, "CUESTATE.COMMFAIL"},
        {FLAG_TESTED | FLAG_NO_CONTINUITY, true, "CUESTATE.NOCONTINUITY"},
        {FLAG_TESTED, true, "CUESTATE.CONTINUITY"},
        {FLAG_COMMFAIL, true, "CUESTATE.NOTCHECKED"},
        {FLAG_TESTED, false, nullptr},
    };
    for (const auto& c : cases) {
        const char* key = cueFlagKey(c.flags, c.pyroInShowMode);
        EXPECT_EQ(std::string(key ? key : "(none)"), std::string(c.key ? c.key : "(none)"))
            << c.flags;
    }
}

}  // namespace
}  // namespace Project
