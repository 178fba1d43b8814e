#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Project/Fixture.h"
#include "Project/FixtureEventLog.h"
#include "Project/FixtureList.h"
#include "Project/FixtureSearch.h"

namespace Project {
namespace {

class FixtureSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        add(L"Red Flame", L"Acme", L"FL-100", L"outdoor only", 500);
        add(L"Strobe", L"Brightco", L"ST-2", L"", 100);
        add(L"Blue flame", L"ACME Corp", L"FL-200", L"needs gas", 1500);
        add(L"Moving head", L"Brightco", L"MH", L"Outdoor", 0);
    }

    Fixture* add(const wchar_t* description, const wchar_t* manufacturer,
                 const wchar_t* productName, const wchar_t* comments, int32_t duration)
    {
        store.push_back(std::make_unique<Fixture>(description, manufacturer, productName, 1,
                                                  comments, duration));
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

    FixtureList list;
    FixtureStore store;
};

TEST_F(FixtureSearchTest, CriteriaNarrowTogether)
{
    using Names = std::vector<std::wstring>;
    const Names all{L"Red Flame", L"Strobe", L"Blue flame", L"Moving head"};
    const struct {
        FixtureSearchCriteria criteria;
        Names expected;
    } cases[] = {
        // description, manufacturer, product name, comments, duration
        {{}, all},
        {{L"FLAME", L"", L"", L"", L""}, {L"Red Flame", L"Blue flame"}},
        {{L"", L"acme", L"", L"", L""}, {L"Red Flame", L"Blue flame"}},
        {{L"", L"", L"fl-2", L"", L""}, {L"Blue flame"}},
        {{L"", L"", L"", L"outdoor", L""}, {L"Red Flame", L"Moving head"}},
        {{L"", L"", L"", L"", L"<500"}, {L"Strobe", L"Moving head"}},
        {{L"", L"", L"", L"", L">500"}, {L"Blue flame"}},
        {{L"", L"", L"", L"", L"500"}, {L"Red Flame"}},
        {{L"", L"", L"", L"", L"<>100"}, {L"Strobe"}},
        // Unreadable numbers count as 0.
        {{L"", L"", L"", L"", L"abc"}, {L"Moving head"}},
        {{L"flame", L"", L"", L"", L">600"}, {L"Blue flame"}},
        {{L"flame", L"Brightco", L"", L"", L""}, {}},
        {{L"", L"", L"", L"gas", L"1500"}, {L"Blue flame"}},
    };
    for (const auto& c : cases) {
        searchFixtures(store, list, c.criteria);
        EXPECT_EQ(listed(), c.expected);
        EXPECT_EQ(list.getCount(), static_cast<int32_t>(c.expected.size()));
    }
}

TEST_F(FixtureSearchTest, SearchStartsFromTheWholeStoreAndListsTheStoredFixtures)
{
    searchFixtures(store, list, {});
    const int32_t strobeId = store[1]->getId();
    store[1]->setSelected(true);

    // Two searches in a row do not narrow twice: each starts from the store.
    searchFixtures(store, list, {L"red", L"", L"", L"", L""});
    searchFixtures(store, list, {L"", L"brightco", L"", L"", L""});
    EXPECT_EQ(listed(), (std::vector<std::wstring>{L"Strobe", L"Moving head"}));
    EXPECT_EQ(list.getFirst()->getFixture(), store[1].get());
    EXPECT_EQ(store[1]->getId(), strobeId);
    EXPECT_TRUE(store[1]->isSelected());

    // Store order wins over the order the list had.
    list.clear();
    list.addFixture(store[3].get());
    list.addFixture(store[0].get());
    FixtureEventLog log;
    list.addListener(&log);
    searchFixtures(store, list, {});
    EXPECT_EQ(listed(),
              (std::vector<std::wstring>{L"Red Flame", L"Strobe", L"Blue flame", L"Moving head"}));
    ASSERT_EQ(log.events.size(), 2u + 1u + 4u);
    EXPECT_EQ(log.events[2].what, "listCleared");
}

TEST_F(FixtureSearchTest, SelectedFixturesComeInSelectionOrder)
{
    ManualFixtureClock clock;
    searchFixtures(store, list, {});
    Fixture* red = store[0].get();
    Fixture* strobe = store[1].get();
    Fixture* blue = store[2].get();
    Fixture* head = store[3].get();

    clock.now = 100;
    blue->setSelected(true);
    clock.now = 200;
    red->setSelected(true);
    EXPECT_EQ(selectedFixturesInOrder(list), (std::vector<Fixture*>{blue, red}));

    // Within one millisecond the order of selection still counts, not the list order.
    clock.now = 300;
    head->setSelected(true);
    strobe->setSelected(true);
    EXPECT_EQ(selectedFixturesInOrder(list), (std::vector<Fixture*>{blue, red, head, strobe}));

    // Reselecting moves a fixture to the end; deselected and unlisted fixtures are left out.
    clock.now = 400;
    blue->setSelected(false);
    blue->setSelected(true);
    red->setSelected(false);
    list.removeFixture(list.findItem(strobe));
    EXPECT_EQ(selectedFixturesInOrder(list), (std::vector<Fixture*>{head, blue}));
}

}  // namespace
}  // namespace Project
