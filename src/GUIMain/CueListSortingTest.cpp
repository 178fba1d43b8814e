#include <gtest/gtest.h>

#include <iostream>
#include <random>
#include <vector>

#include "GUIMain/CueListSorting.h"
#include "Project/CueList.h"

namespace GUIMain {
namespace {

int sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

TEST(CueListSortingTest, NaturalOrderComparesDigitRunsByValue)
{
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        int expected;
    };
    const Case cases[] = {
        {L"A2", L"A10", -1},         // digit runs by value, not by character
        {L"A10", L"A2", 1},          //
        {L"007", L"7", 0},           // the shorter run is padded with zeros
        {L"A07b", L"A7a", 1},        // equal runs: the rest decides
        {L"rack9", L"rack10x", -1},  //
        {L"10", L"9a", 1},           //
        {L"a", L"B", 1},             // other characters by code: 'a' after 'B'
        {L"abc", L"abcd", -1},       // a text that starts the other comes first
        {L"", L"", 0},               //
        {L"", L"0", -1},             //
        {L"1.5", L"1.10", -1},       // every run on its own
        {L"x100000000000000000000", L"x99999999999999999999", 1},  // longer than any integer
        {L"A-1", L"A1", -1},                                       // '-' (45) before '1' (49)
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sign(compareNatural(c.a, c.b)), c.expected)
            << std::wstring(c.a).size() << ": '" << std::string(c.a, c.a + std::wcslen(c.a))
            << "' vs '" << std::string(c.b, c.b + std::wcslen(c.b)) << "'";
        EXPECT_EQ(sign(compareNatural(c.b, c.a)), -c.expected);
        // The sort key orders the same way by plain comparison.
        EXPECT_EQ(sign(naturalSortKey(c.a).compare(naturalSortKey(c.b))), c.expected)
            << std::string(c.a, c.a + std::wcslen(c.a));
    }
}

TEST(CueListSortingTest, NaturalSortKeyAgreesWithTheComparisonOnRandomTexts)
{
    const unsigned seed = std::random_device{}();
    std::cout << "NaturalSortKey seed " << seed << std::endl;
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const std::wstring alphabet = L"00019a-A/:";
    const auto text = [&] {
        std::wstring result;
        const int length = static_cast<int>(random() % 14);
        for (int i = 0; i < length; ++i) {
            result += alphabet[random() % alphabet.size()];
        }
        return result;
    };
    for (int n = 0; n < 20000; ++n) {
        const std::wstring a = text();
        const std::wstring b = text();
        ASSERT_EQ(sign(naturalSortKey(a).compare(naturalSortKey(b))), sign(compareNatural(a, b)))
            << std::string(a.begin(), a.end()) << " vs " << std::string(b.begin(), b.end());
    }
}

class CueComparisonTest : public ::testing::Test {
protected:
    Project::Cue* add(int second, int quantity = 1)
    {
        Project::Cue* cue = list_.add(SMPTE(SMPTE::SMPTE_25, 0, 0, second, 0),
                                      Project::CueCommand::pyro(1), 0, 0, 1, -1, "");
        cue->setQuantity(quantity);
        return cue;
    }

    Project::CueList list_;
};

TEST_F(CueComparisonTest, StatusPutsHigherStatesFirstThenTimecode)
{
    Project::Cue* early = add(1);
    Project::Cue* late = add(2);
    const CueComparison status{kColumnStatus, {}};
    early->setState(Project::CUE_QUEUED, 0, 0);
    late->setState(Project::CUE_DONE, 0, 0);
    EXPECT_GT(status(*early, *late), 0);
    late->setState(Project::CUE_QUEUED, 0, 0);
    EXPECT_LT(status(*early, *late), 0);
    // Quantity has no timecode tie rule.
    EXPECT_EQ((CueComparison{kColumnQuantity, {}}(*early, *late)), 0);
}

TEST_F(CueComparisonTest, CommandsByTypeThenDefinedThenUniverseAddressValue)
{
    Project::Cue* pyro5 = add(1);
    pyro5->setCommand(Project::CueCommand::pyro(5));
    Project::Cue* pyro2 = add(1);
    pyro2->setCommand(Project::CueCommand::pyro(2));
    Project::Cue* pyroUndefined = add(1);
    pyroUndefined->setCommand(Project::CueCommand(Project::CueCommand::TYPE_PYRO));
    Project::Cue* otherUndefined = add(2);
    otherUndefined->setCommand(Project::CueCommand(Project::CueCommand::TYPE_PYRO));
    Project::Cue* dmxUniverse0 = add(1);
    dmxUniverse0->setCommand(Project::CueCommand::dmx(0, 300, 10));
    Project::Cue* dmxUniverse1 = add(1);
    dmxUniverse1->setCommand(Project::CueCommand::dmx(1, 3, 10));
    Project::Cue* reminder = add(1);
    reminder->setCommand(Project::CueCommand(Project::CueCommand::TYPE_REMINDER));

    std::vector<Project::Cue*> cues{reminder, dmxUniverse1,   pyroUndefined, dmxUniverse0,
                                    pyro5,    otherUndefined, pyro2};
    sortCues(cues, CueComparison{kColumnCommand, {}}, true);
    // Two undefined commands are equal: they keep the order they had.
    const std::vector<Project::Cue*> expected{
        pyro2, pyro5, pyroUndefined, otherUndefined, dmxUniverse0, dmxUniverse1, reminder};
    EXPECT_EQ(cues, expected);
}

TEST_F(CueComparisonTest, MetadataSortsNaturallyWithCuesWithoutTheKeyLast)
{
    Project::Cue* a10 = add(1);
    a10->getMetadata().insert(0, L"Rack", L"A10");
    Project::Cue* none1 = add(2);
    Project::Cue* a2 = add(3);
    a2->getMetadata().insert(0, L"Rack", L"A2");
    Project::Cue* none2 = add(4);
    const CueComparison rack{kFirstMetadataColumn + 6, L"Rack"};

    std::vector<Project::Cue*> cues{none1, a10, none2, a2};
    sortCues(cues, rack, true);
    EXPECT_EQ(cues, (std::vector<Project::Cue*>{a2, a10, none1, none2}));
    // Descending reverses the comparison as a whole: cues without the key come first.
    sortCues(cues, rack, false);
    EXPECT_EQ(cues, (std::vector<Project::Cue*>{none1, none2, a10, a2}));
    EXPECT_EQ(rack(*none1, *none2), 0);
}

}  // namespace
}  // namespace GUIMain
