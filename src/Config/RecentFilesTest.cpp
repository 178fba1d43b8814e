#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AssertionCapture.h"
#include "Config/RecentFiles.h"
#include "Config/Settings.h"
#include "Platform/Log.h"
#include "Platform/TestFolder.h"

namespace Config {
namespace {

using Entries = std::vector<std::wstring>;

class CountingListener : public RecentFiles::Listener {
public:
    void onRecentFilesChanged() override { ++calls; }
    int calls = 0;
};

// Settings over empty folders, a listener, and helpers that set and read all ten entries.
class RecentFilesTest : public ::testing::Test {
protected:
    RecentFilesTest() : settings(folder.path(), folder.path()), recent(settings.getRecentFiles())
    {
        recent.addListener(&listener);
    }

    void setEntries(const Entries& entries)
    {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            settings.setString(L"recent." + std::to_wstring(i), entries[i]);
        }
        ASSERT_TRUE(settings.save());
    }
    // All ten entries, absent ones as empty.
    Entries entries() const
    {
        Entries result;
        for (int n = 0; n < RecentFiles::kMaxEntries; ++n) {
            result.push_back(recent.getEntry(n));
        }
        return result;
    }
    static Entries padded(Entries entries)
    {
        entries.resize(RecentFiles::kMaxEntries);
        return entries;
    }
    static Entries numbered(const std::wstring& prefix, int count)
    {
        Entries result;
        for (int i = 0; i < count; ++i) {
            result.push_back(prefix + std::to_wstring(i));
        }
        return result;
    }

    Platform::TestFolder folder;
    Settings settings;
    RecentFiles& recent;
    CountingListener listener;
};

TEST_F(RecentFilesTest, AddingToAnEmptyListMakesTheFirstEntry)
{
    recent.add(L"/shows/a.fwp");
    EXPECT_EQ(entries(), padded({L"/shows/a.fwp"}));
    EXPECT_EQ(listener.calls, 1);
    EXPECT_TRUE(settings.isModified());
}

TEST_F(RecentFilesTest, AddingTheFirstEntryAgainChangesNothing)
{
    setEntries({L"/a", L"/b"});
    recent.add(L"/a");
    EXPECT_EQ(entries(), padded({L"/a", L"/b"}));
    EXPECT_EQ(listener.calls, 0);
    EXPECT_FALSE(settings.isModified());
}

TEST_F(RecentFilesTest, AnEntryFurtherDownMovesToTheFront)
{
    setEntries({L"/0", L"/1", L"/2", L"/3", L"/4", L"/5"});
    recent.add(L"/3");
    EXPECT_EQ(entries(), padded({L"/3", L"/0", L"/1", L"/2", L"/4", L"/5"}));
    EXPECT_EQ(listener.calls, 1);
}

TEST_F(RecentFilesTest, ComparisonIsExact)
{
    setEntries({L"/a", L"/Show.fwp"});
    recent.add(L"/show.fwp");
    EXPECT_EQ(entries(), padded({L"/show.fwp", L"/a", L"/Show.fwp"}));
}

TEST_F(RecentFilesTest, AFullListDropsItsLastEntry)
{
    setEntries(numbered(L"/old", 10));
    recent.add(L"/new");
    Entries expected{L"/new"};
    for (const std::wstring& entry : numbered(L"/old", 9)) {
        expected.push_back(entry);
    }
    EXPECT_EQ(entries(), expected);
    EXPECT_EQ(settings.getString(L"recent.10", L"absent"), L"absent");
}

TEST_F(RecentFilesTest, TheLastEntryOfAFullListMovesWithoutADuplicate)
{
    setEntries(numbered(L"/f", 10));
    recent.add(L"/f9");
    Entries expected{L"/f9"};
    for (const std::wstring& entry : numbered(L"/f", 9)) {
        expected.push_back(entry);
    }
    EXPECT_EQ(entries(), expected);
}

TEST_F(RecentFilesTest, PathsTheSettingsFileCannotKeepAreNotAdded)
{
    setEntries({L"/a"});
    recent.add(L"");
    recent.add(L"/x\nrecent.0=/evil");
    recent.add(L"/x\r");
    EXPECT_EQ(entries(), padded({L"/a"}));
    EXPECT_EQ(listener.calls, 0);
}

TEST_F(RecentFilesTest, RemovingMovesTheLaterEntriesUp)
{
    setEntries({L"/0", L"/1", L"/2", L"/3"});
    recent.remove(2);
    EXPECT_EQ(entries(), padded({L"/0", L"/1", L"/3"}));
    EXPECT_EQ(settings.getString(L"recent.3", L"absent"), L"");
    EXPECT_EQ(listener.calls, 1);
}

TEST_F(RecentFilesTest, RemovingFromAFullListEmptiesTheLastEntry)
{
    setEntries(numbered(L"/f", 10));
    settings.setString(L"recent.10", L"/stray");  // not part of the list
    recent.remove(0);
    Entries expected = numbered(L"/f", 10);
    expected.erase(expected.begin());
    expected.push_back(L"");
    EXPECT_EQ(entries(), expected);
    EXPECT_EQ(settings.getString(L"recent.10", L""), L"/stray");
}

TEST_F(RecentFilesTest, EntriesOutsideTheListAreProgrammingErrors)
{
    EXPECT_INVARIANT(recent.getEntry(10), "n >= 0 && n < kMaxEntries", "RecentFiles");
    EXPECT_INVARIANT(recent.remove(-1), "n >= 0 && n < kMaxEntries", "RecentFiles");
}

TEST_F(RecentFilesTest, ARemovedListenerHearsNothing)
{
    CountingListener other;
    recent.addListener(&other);
    recent.removeListener(&listener);
    recent.add(L"/a");
    EXPECT_EQ(listener.calls, 0);
    EXPECT_EQ(other.calls, 1);
}

TEST_F(RecentFilesTest, TheListIsSavedWithTheSettings)
{
    recent.add(L"/b");
    recent.add(L"/a \u00E9.fwp");
    ASSERT_TRUE(settings.save());
    Settings again(folder.path(), folder.path());
    EXPECT_EQ(again.getRecentFiles().getEntry(0), L"/a \u00E9.fwp");
    EXPECT_EQ(again.getRecentFiles().getEntry(1), L"/b");
    EXPECT_EQ(again.getRecentFiles().getEntry(2), L"");
}

}  // namespace
}  // namespace Config
