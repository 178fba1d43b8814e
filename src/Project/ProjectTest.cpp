#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AssertionCapture.h"
#include "Config/Settings.h"
#include "Platform/TestFolder.h"
#include "Project/Project.h"

namespace Project {
namespace {

struct Recorder : Project::Listener, ProjectData::Listener {
    std::vector<std::wstring> events;
    void fileNameChanged(const std::wstring& name) override { events.push_back(L"file " + name); }
    void modifiedChanged(bool modified) override
    {
        events.push_back(modified ? L"modified" : L"clean");
    }
    void errorReported(const std::wstring& text) override { events.push_back(L"error " + text); }
    void projectUpdated() override { events.push_back(L"updated"); }
    void formatChanged(int format) override
    {
        events.push_back(L"format " + std::to_wstring(format));
    }
    void audioOffsetChanged(const SMPTE& offset) override
    {
        events.push_back(L"offset " + offset.toString());
    }
};

using Events = std::vector<std::wstring>;

TEST(Project, CheckCuesMarksCuesThatCannotFire)
{
    Project project;
    Recorder recorder;
    project.addListener(&recorder);
    CueList& cues = project.getProjectData().getCueList();
    const SMPTE second(SMPTE::SMPTE_25, 0, 0, 1, 0);
    Cue* good = cues.add(second, CueCommand::pyro(0x101), 0, 0, 1, -1, "");
    good->setState(CUE_QUEUED, FLAG_DUPLICATE | FLAG_BUSY | FLAG_TESTED, 0xFF);
    EXPECT_TRUE(project.checkCues());
    EXPECT_EQ(good->getFlags(), FLAG_TESTED);  // duplicate and busy cleared, the rest kept
    EXPECT_EQ(good->getState(), CUE_QUEUED);
    EXPECT_EQ(recorder.events, Events{L"updated"});

    // A reminder has no address and no DMX text: the show cannot fire it.
    cues.add(second, CueCommand(CueCommand::TYPE_REMINDER), 0, 0, 1, -1, "look up");
    EXPECT_FALSE(project.checkCues());
}

TEST(Project, CheckCuesFlagsANegativeFiringMoment)
{
    Project project;
    CueList& cues = project.getProjectData().getCueList();
    // A cue at frame 10 with a prefire time of 5; the prefire time grows past the timecode
    // through a cue at 0 that moves (the setters refuse a direct change).
    Cue* cue = cues.add(SMPTE(SMPTE::SMPTE_25, 0, 0, 0, 10), CueCommand::pyro(1), 30, 0, 1, -1, "");
    EXPECT_FALSE(project.checkCues());
    EXPECT_EQ(cue->getFlags() & FLAG_NEG_TRIGGER, FLAG_NEG_TRIGGER);
    ASSERT_TRUE(cue->setPrefireTime(5));
    EXPECT_EQ(cue->getFlags() & FLAG_NEG_TRIGGER, 0);
    EXPECT_TRUE(project.checkCues());
}

TEST(Project, ModifiedStateFlipsOnlyWhenCountsCrossEquality)
{
    Project project;
    Recorder recorder;
    project.addListener(&recorder);
    EXPECT_FALSE(project.isModified());
    project.setChangeCounts(1, 0);
    project.setChangeCounts(2, 0);
    project.setChangeCounts(2, 2);
    project.setChangeCounts(3, -1);
    EXPECT_EQ(recorder.events, (Events{L"modified", L"clean", L"modified"}));
    EXPECT_TRUE(project.isModified());
}

TEST(Project, DataSettersAlwaysNotify)
{
    Project project;
    Recorder recorder;
    ProjectData& data = project.getProjectData();
    data.addListener(&recorder);
    EXPECT_EQ(data.getFormat(), SMPTE::SMPTE_30);
    data.setFormat(SMPTE::SMPTE_30);
    data.setAudioOffset(SMPTE(SMPTE::SMPTE_30));
    data.setAudioOffset(SMPTE(SMPTE::SMPTE_30));
    EXPECT_EQ(recorder.events, (Events{L"format 3", L"offset 00:00:00:00", L"offset 00:00:00:00"}));
}

TEST(Project, FileNamesEnterTheRecentFilesOnlyForSavedProjects)
{
    Platform::TestFolder folder;
    Config::Settings::create(folder.path(), folder.path());
    Project project;
    Recorder recorder;
    project.addListener(&recorder);
    EXPECT_FALSE(project.isProjectOpen());

    project.setFileName(L"New show", true);
    EXPECT_TRUE(project.isProjectOpen());
    EXPECT_TRUE(project.isUntitled());
    project.setFileName(L"/shows/finale.csv", false);
    project.setFileName(L"/shows/untitled.fwp", true);
    Config::RecentFiles& recent = Config::Settings::getInstance()->getRecentFiles();
    EXPECT_EQ(recent.getEntry(0), L"");

    project.setFileName(L"/shows/finale.fwp", false);
    EXPECT_FALSE(project.isUntitled());
    EXPECT_EQ(recent.getEntry(0), L"/shows/finale.fwp");
    EXPECT_EQ(recorder.events.back(), L"file /shows/finale.fwp");
    EXPECT_EQ(recorder.events.size(), 4u);
    Config::Settings::destroy();

    // Without a settings object the name is still taken.
    project.setFileName(L"/shows/other.fwp", false);
    EXPECT_EQ(project.getFileName(), L"/shows/other.fwp");
}

TEST(Project, ErrorsAndTheProcessWideInstance)
{
    EXPECT_EQ(getInstance(), nullptr);
    Project& project = Project::createInstance();
    EXPECT_EQ(getInstance(), &project);
    EXPECT_INVARIANT(Project::createInstance(), "theInstance == nullptr", "Project");

    Recorder recorder;
    project.addListener(&recorder);
    project.setLastError(L"ERROR.GENERIC");
    EXPECT_TRUE(recorder.events.empty());  // storing the key notifies nobody
    project.reportError(project.getLastError());
    EXPECT_EQ(recorder.events, Events{L"error ERROR.GENERIC"});
    project.removeListener(&recorder);
    Project::destroyInstance();
    EXPECT_EQ(getInstance(), nullptr);
}

TEST(Project, TearDownNotifiesNobody)
{
    // The fixture list refers to presets of the store, the cue list owns cues with listeners:
    // tearing the project down must neither touch freed presets (the sanitizer build checks)
    // nor call listeners that may already be gone.
    struct Counter : FixtureList::Listener, CueList::Listener {
        int calls = 0;
        void fixtureRemoved(FixtureList::FixtureItem*) override { ++calls; }
        void listCleared() override { ++calls; }
        void cueRemoved(Cue*) override { ++calls; }
    } counter;
    auto project = std::make_unique<Project>();
    ProjectData& data = project->getProjectData();
    data.getFixtureStore().push_back(std::make_unique<Fixture>(L"d", L"m", L"p", 2, L"", 100));
    data.getFixtureList().addFixture(data.getFixtureStore().back().get());
    data.getFixtureList().addListener(&counter);
    data.setCurrentFixture(data.getFixtureStore().back().get());
    data.getCueList().add(SMPTE(SMPTE::SMPTE_25), CueCommand::pyro(1), 0, 0, 1, -1, "");
    project->addCueListListener(&counter);
    project.reset();
    EXPECT_EQ(counter.calls, 0);
}

}  // namespace
}  // namespace Project
