#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AssertionCapture.h"
#include "Project/KeyValueList.h"

namespace Project {
namespace {

// Writes every event as one line of text, e.g. "inserted 0 ~POS=A".
class Recorder : public KeyValueList::Listener {
public:
    void entryInserted(int index, const std::wstring& key, const std::wstring& value) override
    {
        events.push_back(L"inserted " + std::to_wstring(index) + L" " + key + L"=" + value);
    }
    void entryValueChanged(int index, const std::wstring& key, const std::wstring& value) override
    {
        events.push_back(L"value " + std::to_wstring(index) + L" " + key + L"=" + value);
    }
    void entryRemoved(int index, const std::wstring& key) override
    {
        events.push_back(L"removed " + std::to_wstring(index) + L" " + key);
    }
    void listChanged() override { events.push_back(L"changed"); }

    std::vector<std::wstring> events;
};

using Events = std::vector<std::wstring>;

class KeyValueListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        list.insert(-1, L"~POS", L"A");
        list.insert(-1, L"colour", L"red");
        list.addListener(&recorder);
    }

    std::vector<std::wstring> pairs() const
    {
        std::vector<std::wstring> result;
        result.reserve(static_cast<std::size_t>(list.size()));
        for (int i = 0; i < list.size(); ++i) {
            result.push_back(*list.keyAt(i) + L"=" + *list.valueAt(i));
        }
        return result;
    }

    KeyValueList list;
    Recorder recorder;
};

TEST_F(KeyValueListTest, InsertAtFrontShiftsThePairsAndAppendReturnsTheLastIndex)
{
    EXPECT_EQ(list.insert(0, L"first", L"1"), 0);
    EXPECT_EQ(pairs(), (Events{L"first=1", L"~POS=A", L"colour=red"}));
    EXPECT_EQ(list.insert(-1, L"last", L"9"), 3);
    EXPECT_EQ(list.insert(4, L"end", L"e"), 4);  // inserting before "one past the end"
    EXPECT_EQ(recorder.events, (Events{L"inserted 0 first=1", L"changed", L"inserted 3 last=9",
                                       L"changed", L"inserted 4 end=e", L"changed"}));
    EXPECT_INVARIANT(list.insert(6, L"k", L"v"), "index <= size()", "KeyValueList");
}

TEST_F(KeyValueListTest, RemoveTakesOutOnePairAndRefusesBadIndices)
{
    EXPECT_FALSE(list.remove(-1));
    EXPECT_TRUE(recorder.events.empty());

    EXPECT_TRUE(list.remove(0));
    EXPECT_EQ(pairs(), (Events{L"colour=red"}));
    EXPECT_EQ(recorder.events, (Events{L"removed 0 ~POS", L"changed"}));

    EXPECT_INVARIANT(list.remove(1), "index >= 0 && index < size()", "KeyValueList");
    EXPECT_INVARIANT(list.remove(-2), "index >= 0 && index < size()", "KeyValueList");
    EXPECT_EQ(list.size(), 1);
}

TEST_F(KeyValueListTest, ClearRemovesFromTheLastAndAnnouncesTheListOnce)
{
    EXPECT_TRUE(list.clear());
    EXPECT_EQ(list.size(), 0);
    EXPECT_EQ(recorder.events, (Events{L"removed 1 colour", L"removed 0 ~POS", L"changed"}));
}

TEST_F(KeyValueListTest, NewKeyIsARemovalFollowedByAnInsertion)
{
    EXPECT_TRUE(list.setKey(1, L"color"));
    EXPECT_EQ(recorder.events, (Events{L"removed 1 colour", L"inserted 1 color=red"}));
    EXPECT_EQ(pairs(), (Events{L"~POS=A", L"color=red"}));

    recorder.events.clear();
    EXPECT_TRUE(list.setKey(1, L"color"));  // unchanged: nothing to announce
    EXPECT_FALSE(list.setKey(2, L"x"));
    EXPECT_FALSE(list.setKey(-1, L"x"));
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(KeyValueListTest, NewValueIsAnnouncedWithItsKey)
{
    EXPECT_TRUE(list.setValue(0, L"B"));
    EXPECT_TRUE(list.setValue(0, L"B"));
    EXPECT_FALSE(list.setValue(2, L"x"));
    EXPECT_EQ(recorder.events, (Events{L"value 0 ~POS=B"}));
}

TEST_F(KeyValueListTest, LookupsFindTheFirstExactKeyAndNullForAbsent)
{
    list.insert(-1, L"~POS", L"second");
    EXPECT_EQ(list.indexOf(L"~POS"), 0);
    EXPECT_EQ(*list.valueOf(L"~POS"), L"A");
    EXPECT_EQ(list.indexOf(L"~pos"), -1);  // case matters
    EXPECT_EQ(list.valueOf(L"~pos"), nullptr);
    EXPECT_EQ(list.keyAt(3), nullptr);
    EXPECT_EQ(list.valueAt(-1), nullptr);
    EXPECT_EQ(*list.keyAt(2), L"~POS");
}

}  // namespace
}  // namespace Project
