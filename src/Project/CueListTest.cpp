#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "AssertionCapture.h"
#include "Project/CueList.h"

namespace Project {
namespace {

SMPTE seconds25(int seconds)
{
    return SMPTE(SMPTE::SMPTE_25, 0, 0, seconds, 0);
}

std::vector<int> idsInOrder(const CueList& list)
{
    std::vector<int> ids;
    for (const CueList::CueItem* c = list.first(); c != list.end(); c = c->getNext()) {
        ids.push_back(c->getId());
    }
    return ids;
}

// Records the list's events as "<event> <cue id>", and the order of the list at the moment
// of each event.
class Recorder : public CueList::Listener {
public:
    explicit Recorder(const CueList& list) : list_(list) {}

    void cueNumberChanged(Cue* c) override { add("number", c); }
    void cueTimecodeChanged(Cue* c) override { add("timecode", c); }
    void cueGroupChanged(Cue* c) override { add("group", c); }
    void cueMetadataInserted(Cue* c, int index, const std::wstring&, const std::wstring&) override
    {
        add("metaInserted@" + std::to_string(index), c);
    }
    void cueMetadataChanged(Cue* c) override { add("metaChanged", c); }
    void cueAdded(Cue* c) override { add("added", c); }
    void cueRemoved(Cue* c) override { add("removed", c); }

    std::vector<std::string> events;
    std::vector<std::vector<int>> orders;
    std::vector<int> counts;

private:
    void add(const std::string& what, Cue* cue)
    {
        events.push_back(what + " " + std::to_string(cue->getId()));
        orders.push_back(idsInOrder(list_));
        counts.push_back(list_.getCount());
    }

    const CueList& list_;
};

using Events = std::vector<std::string>;
using Ids = std::vector<int>;

class CueListTest : public ::testing::Test {
protected:
    void SetUp() override { list.addListener(&recorder); }

    CueList::CueItem* addAt(int seconds, int id = -1)
    {
        return list.add(seconds25(seconds), CueCommand::pyro(seconds), 0, 0, 1, id, "");
    }

    CueList list;
    Recorder recorder{list};
};

TEST_F(CueListTest, CuesStayInTimecodeOrderAndEqualOnesGoLast)
{
    addAt(5);
    addAt(1);
    addAt(5);
    EXPECT_EQ(idsInOrder(list), (Ids{1, 0, 2}));
    EXPECT_EQ(recorder.events, (Events{"added 0", "added 1", "added 2"}));
    EXPECT_EQ(list.getCount(), 3);
    EXPECT_EQ(list.first()->getQuantity(), 1);

    // The sequence links both ways, between the two markers.
    EXPECT_EQ(list.last()->getId(), 2);
    EXPECT_EQ(list.last()->getPrevious()->getId(), 0);
    EXPECT_EQ(list.first()->getPrevious(), list.rend());
    EXPECT_EQ(list.last()->getNext(), list.end());
}

TEST_F(CueListTest, ListenersSeeTheCountOfTheSequenceTheyCanWalk)
{
    addAt(1);
    Cue* second = addAt(2);
    list.remove(second);
    EXPECT_EQ(recorder.counts, (std::vector<int>{1, 2, 1}));
    EXPECT_EQ(recorder.orders.back(), Ids{0});  // unlinked before cueRemoved
}

TEST_F(CueListTest, ChangedTimecodeMovesTheCueBeforeListenersHear)
{
    Cue* first = addAt(1);
    addAt(2);
    addAt(3);
    recorder.events.clear();
    recorder.orders.clear();

    ASSERT_TRUE(first->setTimecode(seconds25(9)));
    EXPECT_EQ(recorder.events, Events{"timecode 0"});
    EXPECT_EQ(recorder.orders.front(), (Ids{1, 2, 0}));

    // To a timecode equal to another cue's: after it.
    ASSERT_TRUE(first->setTimecode(seconds25(2)));
    EXPECT_EQ(idsInOrder(list), (Ids{1, 0, 2}));
}

TEST_F(CueListTest, OtherEventsArePassedOnWithTheirArguments)
{
    Cue* cue = addAt(1);
    recorder.events.clear();
    cue->setGroup(5);
    cue->getMetadata().insert(-1, L"~POS", L"Left");
    EXPECT_EQ(recorder.events, (Events{"group 0", "metaInserted@0 0", "metaChanged 0"}));
}

TEST_F(CueListTest, IdsAreGivenOutOnlyWhenAskedFor)
{
    addAt(1, 40);
    EXPECT_EQ(list.getNextId(), 0);
    EXPECT_EQ(addAt(1)->getId(), 0);
    EXPECT_EQ(list.getNextId(), 1);

    Cue* original = list.first();
    original->setGroupName("Copied");
    EXPECT_EQ(list.addCopy(*original, false)->getId(), 40);
    CueList::CueItem* fresh = list.addCopy(*original, true);
    EXPECT_EQ(fresh->getId(), 1);
    EXPECT_EQ(fresh->getGroupName(), "Copied");
    EXPECT_EQ(list.getNextId(), 2);
    EXPECT_EQ(idsInOrder(list), (Ids{40, 0, 40, 1}));
}

TEST_F(CueListTest, ClearRemovesFirstToLastAndKeepsTheNextId)
{
    addAt(3);
    addAt(1);
    addAt(2);
    recorder.events.clear();
    list.clear();
    EXPECT_EQ(recorder.events, (Events{"removed 1", "removed 2", "removed 0"}));
    EXPECT_EQ(list.getCount(), 0);
    EXPECT_EQ(list.first(), list.end());
    EXPECT_EQ(list.getNextId(), 3);
}

TEST_F(CueListTest, RenumberTouchesOnlyCuesWhoseNumberChanged)
{
    addAt(1);
    Cue* second = addAt(2);
    addAt(3);
    list.renumber();
    EXPECT_EQ(recorder.events,
              (Events{"added 0", "added 1", "added 2", "number 0", "number 1", "number 2"}));

    recorder.events.clear();
    list.remove(second);
    list.renumber();
    EXPECT_EQ(recorder.events, (Events{"removed 1", "number 2"}));
    EXPECT_EQ(list.last()->getNumber(), 2);
}

TEST_F(CueListTest, CopiesOutsideTheListDoNotReachIt)
{
    Cue* listed = addAt(1);
    addAt(2);
    recorder.events.clear();

    // A copy carries the list's forwarder in its listener set; the list ignores it.
    Cue outside(*listed);
    ASSERT_TRUE(outside.setTimecode(seconds25(9)));
    outside.setGroup(12);
    EXPECT_TRUE(recorder.events.empty());
    EXPECT_EQ(idsInOrder(list), (Ids{0, 1}));
    EXPECT_EQ(list.getCount(), 2);

    EXPECT_INVARIANT(list.remove(&outside), "cue is in this list", "CueList");
    CueList other;
    EXPECT_INVARIANT(other.remove(listed), "cue is in this list", "CueList");
}

// The placement rule written as the plain walk: start at the last cue; while the hint is at
// or before t, step forward (appending past the end); otherwise step back while the
// predecessor is after t; insert before the hint. The list must order cues exactly so.
struct ReferenceCue {
    int id;
    SMPTE timecode;
    int prefireTime;
};

void placeByWalk(std::vector<ReferenceCue>& cues, const ReferenceCue& cue)
{
    std::size_t hint = cues.empty() ? 0 : cues.size() - 1;
    while (hint < cues.size() && cues[hint].timecode.compare(cue.timecode) <= 0) {
        ++hint;
    }
    if (hint < cues.size()) {
        while (hint > 0 && cues[hint - 1].timecode.compare(cue.timecode) > 0) {
            --hint;
        }
    }
    cues.insert(cues.begin() + static_cast<std::ptrdiff_t>(hint), cue);
}

uint32_t testSeed()
{
    const char* given = std::getenv("SKY_CUELIST_SEED");
    return given ? static_cast<uint32_t>(std::strtoul(given, nullptr, 10)) : std::random_device{}();
}

TEST(CueListOrder, MatchesThePlainWalkOnRandomEdits)
{
    const uint32_t seed = testSeed();
    std::cout << "CueListOrder seed " << seed << " (repeat with SKY_CUELIST_SEED=" << seed << ")\n";
    SCOPED_TRACE("SKY_CUELIST_SEED=" + std::to_string(seed));
    std::mt19937 random(seed);
    const auto pick = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };

    for (int format = SMPTE::SMPTE_24; format <= SMPTE::SMPTE_30; ++format) {
        // Few distinct labels, so that many cues share a timecode; in drop-frame, 00:01:00;00
        // and 00:01:00;01 are labels that count as the frames before them.
        const int lastFrame = SMPTE::nominalFramesPerSecond(format) - 1;
        const auto randomTimecode = [&] {
            const int secondsChoices[] = {0, 1, 59};
            const int framesChoices[] = {0, 1, 2, lastFrame};
            return SMPTE(format, 0, pick(0, 1), secondsChoices[pick(0, 2)],
                         framesChoices[pick(0, 3)]);
        };

        CueList list;
        std::vector<ReferenceCue> reference;
        int nextId = 0;
        for (int step = 0; step < 3000; ++step) {
            const int action = pick(0, 9);
            if (reference.empty() || action < 4) {
                const ReferenceCue cue{nextId++, randomTimecode(), pick(0, 3)};
                list.add(cue.timecode, CueCommand(), cue.prefireTime, 0, 1, -1, "");
                placeByWalk(reference, cue);
                continue;
            }
            const auto at = static_cast<std::size_t>(pick(0, int(reference.size()) - 1));
            CueList::CueItem* item = list.first();
            for (std::size_t i = 0; i < at; ++i) {
                item = item->getNext();
            }
            ASSERT_EQ(item->getId(), reference[at].id);
            if (action < 5) {
                const ReferenceCue copy{nextId++, item->getTimecode(), item->getPrefireTime()};
                list.addCopy(*item, true);
                placeByWalk(reference, copy);
            } else if (action < 7) {
                list.remove(item);
                reference.erase(reference.begin() + static_cast<std::ptrdiff_t>(at));
            } else {
                const SMPTE timecode = randomTimecode();
                ReferenceCue moved = reference[at];
                const bool accepted = timecode.getFrameNo() - moved.prefireTime >= 0;
                ASSERT_EQ(item->setTimecode(timecode), accepted);
                if (accepted && moved.timecode.compare(timecode) != 0) {
                    moved.timecode = timecode;
                    reference.erase(reference.begin() + static_cast<std::ptrdiff_t>(at));
                    placeByWalk(reference, moved);
                }
            }

            std::vector<int> expected;
            expected.reserve(reference.size());
            for (const ReferenceCue& cue : reference) {
                expected.push_back(cue.id);
            }
            ASSERT_EQ(idsInOrder(list), expected) << "format " << format << ", step " << step;
            ASSERT_EQ(list.getCount(), int(reference.size()));
        }
    }
}

}  // namespace
}  // namespace Project
