#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AssertionCapture.h"
#include "Project/Fixture.h"
#include "Project/FixtureEventLog.h"
#include "Project/FixtureList.h"

namespace Project {
namespace {

class FixtureListTest : public ::testing::Test {
protected:
    Fixture* make(const std::wstring& description, int32_t id = -2)
    {
        store.push_back(std::make_unique<Fixture>(description, L"", L"", 1, L"", 0, id));
        return store.back().get();
    }

    std::vector<std::wstring> listed() const
    {
        std::vector<std::wstring> names;
        for (Fixture* f : list) {
            names.push_back(f->getDescription());
        }
        return names;
    }

    // The fixtures are destroyed before the list here, so the list must not touch them on
    // the way out.
    FixtureList list;
    FixtureStore store;
};

TEST_F(FixtureListTest, AddingNumbersUnnumberedFixturesOnly)
{
    FixtureEventLog log;
    list.addListener(&log);
    Fixture* a = make(L"A");
    Fixture* b = make(L"B", 7);
    Fixture* c = make(L"C");

    FixtureList::FixtureItem* ia = list.addFixture(a);
    FixtureList::FixtureItem* ib = list.addFixture(b);
    FixtureList::FixtureItem* ic = list.addFixture(c);

    EXPECT_EQ(a->getId(), 0);
    EXPECT_EQ(b->getId(), 7);
    // A number at or below one already seen is never given to another fixture.
    EXPECT_EQ(c->getId(), 8);
    EXPECT_EQ(list.getCount(), 3);
    EXPECT_EQ(listed(), (std::vector<std::wstring>{L"A", L"B", L"C"}));
    EXPECT_EQ(ia->getFixture(), a);
    EXPECT_EQ(list.getFirst(), ia);
    EXPECT_EQ(ia->getNext(), ib);
    EXPECT_EQ(ic->getPrevious(), ib);
    EXPECT_EQ(list.getLast(), ic);
    EXPECT_EQ(ic->getNext(), nullptr);
    EXPECT_EQ(ia->getPrevious(), nullptr);
    EXPECT_EQ(list.findById(7), ib);
    EXPECT_EQ(list.findById(1), nullptr);
    EXPECT_EQ(log.events, (std::vector<FixtureEvent>{
                              {"fixtureAdded", ia}, {"fixtureAdded", ib}, {"fixtureAdded", ic}}));
}

TEST_F(FixtureListTest, AddingAListedFixtureChangesNothing)
{
    Fixture* a = make(L"A");
    FixtureList::FixtureItem* item = list.addFixture(a);
    FixtureEventLog log;
    list.addListener(&log);

    EXPECT_EQ(list.addFixture(a), item);
    EXPECT_EQ(list.getCount(), 1);
    EXPECT_EQ(list.getNextId(), 1);
    EXPECT_TRUE(log.events.empty());
    // Its notifications still arrive once, not twice.
    a->setComments(L"x");
    EXPECT_EQ(log.events.size(), 1u);
}

TEST_F(FixtureListTest, RemovingKeepsTheFixtureAndStopsForwarding)
{
    Fixture* a = make(L"A");
    Fixture* b = make(L"B");
    Fixture* c = make(L"C");
    list.addFixture(a);
    FixtureList::FixtureItem* ib = list.addFixture(b);
    list.addFixture(c);
    FixtureEventLog log;
    list.addListener(&log);

    list.removeFixture(ib);
    EXPECT_EQ(log.events, (std::vector<FixtureEvent>{{"fixtureRemoved", ib}}));
    EXPECT_EQ(list.getCount(), 2);
    EXPECT_EQ(listed(), (std::vector<std::wstring>{L"A", L"C"}));
    EXPECT_EQ(list.findItem(b), nullptr);
    EXPECT_EQ(b->getId(), 1);

    log.events.clear();
    b->setDescription(L"B2");
    EXPECT_TRUE(log.events.empty());
}

TEST_F(FixtureListTest, RemovingAnItemOfAnotherListIsRefused)
{
    FixtureList other;
    Fixture* a = make(L"A");
    FixtureList::FixtureItem* foreign = other.addFixture(a);
    list.addFixture(a);
    EXPECT_INVARIANT(list.removeFixture(foreign), "item != nullptr && item->owner_ == this",
                     "FixtureList");
    EXPECT_EQ(list.getCount(), 1);
    EXPECT_EQ(other.getCount(), 1);
    other.clear();
}

TEST_F(FixtureListTest, ClearRemovesEachThenNotifiesOnceAndRestartsNumbering)
{
    Fixture* a = make(L"A");
    Fixture* b = make(L"B");
    FixtureList::FixtureItem* ia = list.addFixture(a);
    FixtureList::FixtureItem* ib = list.addFixture(b);
    FixtureEventLog log;
    list.addListener(&log);

    list.clear();
    EXPECT_EQ(log.events,
              (std::vector<FixtureEvent>{
                  {"fixtureRemoved", ia}, {"fixtureRemoved", ib}, {"listCleared", nullptr}}));
    EXPECT_EQ(list.getCount(), 0);
    EXPECT_EQ(list.getNextId(), 0);
    EXPECT_EQ(list.getFirst(), nullptr);
    EXPECT_EQ(list.begin(), list.end());

    // Listed again, fixtures keep their numbers.
    list.addFixture(b);
    list.addFixture(a);
    EXPECT_EQ(a->getId(), 0);
    EXPECT_EQ(b->getId(), 1);
    EXPECT_EQ(listed(), (std::vector<std::wstring>{L"B", L"A"}));
}

// After a clear the numbering restarts at 0 while numbered fixtures come back with their old
// numbers; a new fixture must still get a number nobody has.
TEST_F(FixtureListTest, NewNumbersAfterAClearStayUnique)
{
    const struct {
        const char* name;
        std::vector<int> relisted;  // indexes of the first three fixtures listed again
        int32_t expected;
    } cases[] = {
        {"all relisted", {0, 1, 2}, 3},
        {"lowest only", {0}, 3},
        {"none relisted", {}, 3},
        {"out of order", {2, 0}, 3},
    };
    for (const auto& c : cases) {
        FixtureList fresh;
        FixtureStore fixtures;
        for (int i = 0; i < 3; ++i) {
            fixtures.push_back(std::make_unique<Fixture>(L"", L"", L"", 1, L"", 0));
            fresh.addFixture(fixtures.back().get());
        }
        fresh.clear();
        for (int i : c.relisted) {
            fresh.addFixture(fixtures[i].get());
        }
        fixtures.push_back(std::make_unique<Fixture>(L"", L"", L"", 1, L"", 0));
        fresh.addFixture(fixtures.back().get());
        EXPECT_EQ(fixtures.back()->getId(), c.expected) << c.name;
        fixtures.push_back(std::make_unique<Fixture>(L"", L"", L"", 1, L"", 0));
        fresh.addFixture(fixtures.back().get());
        EXPECT_EQ(fixtures.back()->getId(), c.expected + 1) << c.name;
        fresh.clear();
    }

    // A fixture restored with a high number (undo of a deletion) raises the mark as well.
    Fixture* restored = make(L"restored", 40);
    list.addFixture(restored);
    list.clear();
    Fixture* fresh = make(L"new");
    list.addFixture(fresh);
    EXPECT_EQ(fresh->getId(), 41);
}

TEST_F(FixtureListTest, FixtureAndChannelNotificationsAreForwarded)
{
    Fixture* a = make(L"A");
    a->setChannelCount(2);
    list.addFixture(a);
    FixtureEventLog log;
    list.addListener(&log);

    a->setDescription(L"A2");
    a->setManufacturer(L"M");
    a->setProductName(L"P");
    a->setComments(L"C");
    a->setChannelCount(4);
    a->setDuration(100);
    Fixture::ChannelItem* ch = a->addChannel(1, 1, 0, false, false, false);
    ch->setSafety(true);
    ch->setSlowSafety(true);
    ch->setDynamic(true);
    ch->setChannel(2);
    ch->setValue(9);
    ch->setExtra(3);
    ch->setSelected(true);
    a->setSelected(true);
    a->removeChannel(ch);
    a->clearChannels();

    EXPECT_EQ(log.events, (std::vector<FixtureEvent>{{"description", a},
                                                     {"manufacturer", a},
                                                     {"productName", a},
                                                     {"comments", a},
                                                     {"channelCount", a},
                                                     {"duration", a},
                                                     {"channelAdded", ch},
                                                     {"safety", ch},
                                                     {"slowSafety", ch},
                                                     {"dynamic", ch},
                                                     {"channel", ch},
                                                     {"value", ch},
                                                     {"extra", ch},
                                                     {"channelSelected", ch},
                                                     {"channelSelected", ch},
                                                     {"fixtureSelected", a},
                                                     {"channelRemoved", ch},
                                                     {"channelsCleared", nullptr}}));

    list.removeListener(&log);
    log.events.clear();
    a->setDuration(5);
    EXPECT_TRUE(log.events.empty());
}

}  // namespace
}  // namespace Project
