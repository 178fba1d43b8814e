#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "AssertionCapture.h"
#include "Project/Fixture.h"
#include "Project/FixtureEventLog.h"

namespace Project {
namespace {

std::unique_ptr<Fixture> makeFlame()
{
    return std::make_unique<Fixture>(L"Flame", L"Acme", L"F-1", 3, L"outdoor", 500);
}

std::vector<FixtureEvent> only(const char* what, const void* subject)
{
    return {{what, subject}};
}

TEST(Fixture, NewFixtureIsUnnumberedAndEmpty)
{
    const auto f = makeFlame();
    EXPECT_EQ(f->getId(), -2);
    EXPECT_EQ(f->getCount(), 0);
    EXPECT_EQ(f->getNextId(), 0);
    EXPECT_FALSE(f->isSelected());
    EXPECT_EQ(f->getFirstChannel(), nullptr);
    EXPECT_EQ(f->getLastChannel(), nullptr);
    EXPECT_EQ(f->getChannelCount(), 3);
    EXPECT_EQ(f->getDuration(), 500);
    EXPECT_EQ(f->getComments(), L"outdoor");
}

TEST(Fixture, SettersNotifyOnlyOnChange)
{
    const struct {
        const char* notification;
        std::function<void(Fixture&)> setSame;
        std::function<void(Fixture&)> setOther;
    } cases[] = {
        {"description", [](Fixture& f) { f.setDescription(L"Flame"); },
         [](Fixture& f) { f.setDescription(L"flame"); }},
        {"manufacturer", [](Fixture& f) { f.setManufacturer(L"Acme"); },
         [](Fixture& f) { f.setManufacturer(L""); }},
        {"productName", [](Fixture& f) { f.setProductName(L"F-1"); },
         [](Fixture& f) { f.setProductName(L"F-2"); }},
        {"comments", [](Fixture& f) { f.setComments(L"outdoor"); },
         [](Fixture& f) { f.setComments(L"indoor"); }},
        {"channelCount", [](Fixture& f) { f.setChannelCount(3); },
         [](Fixture& f) { f.setChannelCount(0); }},
        {"duration", [](Fixture& f) { f.setDuration(500); }, [](Fixture& f) { f.setDuration(-1); }},
    };
    for (const auto& c : cases) {
        const auto f = makeFlame();
        FixtureEventLog log;
        f->addListener(&log);
        c.setSame(*f);
        EXPECT_TRUE(log.events.empty()) << c.notification;
        c.setOther(*f);
        EXPECT_EQ(log.events, only(c.notification, f.get())) << c.notification;
    }
    const auto f = makeFlame();
    f->setDuration(1200);
    f->setChannelCount(8);
    f->setDescription(L"Big flame");
    EXPECT_EQ(f->getDuration(), 1200);
    EXPECT_EQ(f->getChannelCount(), 8);
    EXPECT_EQ(f->getDescription(), L"Big flame");
}

TEST(Fixture, ChannelsAreNumberedAndAppendedInOrder)
{
    const auto f = makeFlame();
    FixtureEventLog log;
    f->addListener(&log);

    Fixture::ChannelItem* a = f->addChannel(1, 255, 0, false, true, false);
    Fixture::ChannelItem* b = f->addChannel(1, 255, 0, false, true, false);  // no duplicate check
    Fixture::ChannelItem* c = f->addChannel(3, 0, 7, true, false, true);

    EXPECT_EQ(a->getId(), 0);
    EXPECT_EQ(b->getId(), 1);
    EXPECT_EQ(c->getId(), 2);
    EXPECT_EQ(c->getExtra(), 7);
    EXPECT_TRUE(c->isSlowSafety());
    EXPECT_FALSE(c->isSelected());
    EXPECT_EQ(f->getCount(), 3);
    EXPECT_EQ(f->getNextId(), 3);
    EXPECT_EQ(f->getFirstChannel(), a);
    EXPECT_EQ(a->getNext(), b);
    EXPECT_EQ(c->getNext(), nullptr);
    EXPECT_EQ(f->getLastChannel(), c);
    EXPECT_EQ(c->getPrevious(), b);
    EXPECT_EQ(a->getPrevious(), nullptr);
    EXPECT_EQ(log.events, (std::vector<FixtureEvent>{
                              {"channelAdded", a}, {"channelAdded", b}, {"channelAdded", c}}));
}

TEST(Fixture, GivenChannelNumbersAreKeptAndNeverHandedOutAgain)
{
    const auto f = makeFlame();
    f->addChannel(1, 10, 0, true, false, false);  // 0
    f->addChannel(2, 20, 0, true, false, false, 5);
    EXPECT_EQ(f->findChannel(5)->getValue(), 20);
    EXPECT_EQ(f->addChannel(3, 30, 0, true, false, false)->getId(), 6);
    // A number below the next one (a channel put back by undo) leaves the numbering alone.
    EXPECT_EQ(f->addChannel(4, 40, 0, true, false, false, 2)->getId(), 2);
    EXPECT_EQ(f->getNextId(), 7);
    EXPECT_EQ(f->findChannel(4), nullptr);
}

TEST(Fixture, RemovingChannelsNotifiesAndKeepsTheRestLinked)
{
    const auto f = makeFlame();
    Fixture::ChannelItem* a = f->addChannel(1, 1, 0, true, false, false);
    Fixture::ChannelItem* b = f->addChannel(2, 2, 0, true, false, false);
    Fixture::ChannelItem* c = f->addChannel(3, 3, 0, true, false, false);
    FixtureEventLog log;
    f->addListener(&log);

    f->removeChannel(b);
    EXPECT_EQ(log.events, only("channelRemoved", b));
    EXPECT_EQ(f->getCount(), 2);
    EXPECT_EQ(a->getNext(), c);
    EXPECT_EQ(c->getPrevious(), a);

    f->removeChannel(a);
    f->removeChannel(c);
    EXPECT_EQ(f->getCount(), 0);
    EXPECT_EQ(f->getFirstChannel(), nullptr);
    EXPECT_EQ(f->getLastChannel(), nullptr);
    // Numbers stay unique after removals.
    EXPECT_EQ(f->addChannel(1, 1, 0, true, false, false)->getId(), 3);
}

TEST(Fixture, RemovingAnotherFixturesChannelIsRefused)
{
    const auto f = makeFlame();
    const auto other = makeFlame();
    Fixture::ChannelItem* foreign = other->addChannel(1, 1, 0, true, false, false);
    f->addChannel(1, 1, 0, true, false, false);
    EXPECT_INVARIANT(f->removeChannel(foreign), "item != nullptr && item->owner_ == this",
                     "Fixture");
    EXPECT_INVARIANT(f->removeChannel(nullptr), "item != nullptr && item->owner_ == this",
                     "Fixture");
    EXPECT_EQ(f->getCount(), 1);
    EXPECT_EQ(other->getCount(), 1);
}

TEST(Fixture, ClearChannelsRemovesEachThenNotifiesOnce)
{
    const auto f = makeFlame();
    Fixture::ChannelItem* a = f->addChannel(1, 1, 0, true, false, false);
    Fixture::ChannelItem* b = f->addChannel(2, 2, 0, true, false, false);
    FixtureEventLog log;
    f->addListener(&log);

    f->clearChannels();
    EXPECT_EQ(log.events,
              (std::vector<FixtureEvent>{
                  {"channelRemoved", a}, {"channelRemoved", b}, {"channelsCleared", nullptr}}));
    EXPECT_EQ(f->getCount(), 0);
    EXPECT_EQ(f->getFirstChannel(), nullptr);
    EXPECT_EQ(f->addChannel(1, 1, 0, true, false, false)->getId(), 2);
}

TEST(Fixture, ChannelChangesAreRepeatedWithTheChannel)
{
    const auto f = makeFlame();
    Fixture::ChannelItem* ch = f->addChannel(1, 1, 0, false, false, false);
    FixtureEventLog log;
    f->addListener(&log);

    ch->setSafety(true);
    ch->setSlowSafety(true);
    ch->setDynamic(true);
    ch->setChannel(2);
    ch->setValue(200);
    ch->setSelected(true);
    ch->setExtra(9);
    ch->setValue(200);  // unchanged: nothing
    EXPECT_EQ(log.events, (std::vector<FixtureEvent>{{"safety", ch},
                                                     {"slowSafety", ch},
                                                     {"dynamic", ch},
                                                     {"channel", ch},
                                                     {"value", ch},
                                                     {"channelSelected", ch},
                                                     {"extra", ch}}));

    f->removeListener(&log);
    log.events.clear();
    ch->setValue(1);
    EXPECT_TRUE(log.events.empty());
}

TEST(Fixture, SelectingStampsTheTimeAndDeselectsTheChannelsFirst)
{
    ManualFixtureClock clock;
    const auto f = makeFlame();
    Fixture::ChannelItem* a = f->addChannel(1, 1, 0, true, false, false);
    Fixture::ChannelItem* b = f->addChannel(2, 2, 0, true, false, false);
    Fixture::ChannelItem* c = f->addChannel(3, 3, 0, true, false, false);
    a->setSelected(true);
    c->setSelected(true);
    FixtureEventLog log;
    f->addListener(&log);

    clock.now = 1000;
    f->setSelected(true);
    EXPECT_TRUE(f->isSelected());
    EXPECT_EQ(f->getSelectionTime(), 1000);
    EXPECT_FALSE(a->isSelected());
    EXPECT_FALSE(c->isSelected());
    EXPECT_EQ(log.events,
              (std::vector<FixtureEvent>{
                  {"channelSelected", a}, {"channelSelected", c}, {"fixtureSelected", f.get()}}));
    EXPECT_FALSE(b->isSelected());

    // Setting the same selection changes nothing, not even the time.
    log.events.clear();
    clock.now = 2000;
    f->setSelected(true);
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(f->getSelectionTime(), 1000);

    // Deselecting is a change too.
    const uint64_t sequence = f->getSelectionSequence();
    f->setSelected(false);
    EXPECT_EQ(f->getSelectionTime(), 2000);
    EXPECT_GT(f->getSelectionSequence(), sequence);
    EXPECT_EQ(log.events, only("fixtureSelected", f.get()));
}

TEST(Fixture, SystemClockIsTheDefault)
{
    int64_t before = 0;
    {
        ManualFixtureClock clock;
        clock.now = 42;
        const auto f = makeFlame();
        f->setSelected(true);
        EXPECT_EQ(f->getSelectionTime(), 42);
        before = std::chrono::duration_cast<std::chrono::milliseconds>(
                     std::chrono::system_clock::now().time_since_epoch())
                     .count();
    }
    const auto f = makeFlame();
    f->setSelected(true);
    EXPECT_GE(f->getSelectionTime(), before);
}

TEST(Fixture, CloneCopiesFieldsAndChannelsButNoListeners)
{
    ManualFixtureClock clock;
    clock.now = 77;
    const auto f = makeFlame();
    f->setId(4);
    f->setSelected(true);
    f->addChannel(1, 255, 3, false, true, false);
    f->addChannel(2, 128, 0, true, false, true, 9);
    f->findChannel(9)->setSelected(true);
    FixtureEventLog log;
    f->addListener(&log);

    const std::unique_ptr<Fixture> copy = f->clone();
    EXPECT_EQ(copy->getDescription(), L"Flame");
    EXPECT_EQ(copy->getManufacturer(), L"Acme");
    EXPECT_EQ(copy->getProductName(), L"F-1");
    EXPECT_EQ(copy->getComments(), L"outdoor");
    EXPECT_EQ(copy->getChannelCount(), 3);
    EXPECT_EQ(copy->getDuration(), 500);
    EXPECT_EQ(copy->getId(), 4);
    EXPECT_TRUE(copy->isSelected());
    EXPECT_EQ(copy->getSelectionTime(), 77);
    EXPECT_EQ(copy->getSelectionSequence(), f->getSelectionSequence());
    EXPECT_EQ(copy->getCount(), 2);
    EXPECT_EQ(copy->getNextId(), f->getNextId());

    const Fixture::ChannelItem* first = copy->getFirstChannel();
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, f->getFirstChannel());
    EXPECT_EQ(first->getId(), 0);
    EXPECT_TRUE(first->sameContent(*f->getFirstChannel()));
    EXPECT_FALSE(first->isSelected());
    const Fixture::ChannelItem* second = first->getNext();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->getId(), 9);
    EXPECT_TRUE(second->sameContent(*f->findChannel(9)));
    EXPECT_TRUE(second->isSelected());

    // The copy is independent and reports to its own listeners only.
    FixtureEventLog copyLog;
    copy->addListener(&copyLog);
    copy->setDescription(L"Copy");
    copy->getFirstChannel()->setValue(1);
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(copyLog.events.size(), 2u);
    EXPECT_EQ(f->getDescription(), L"Flame");
    EXPECT_EQ(f->getFirstChannel()->getValue(), 255);
}

}  // namespace
}  // namespace Project
