#include <QApplication>
#include <QTest>
#include <filesystem>

#include "Audio/AudioTestSupport.h"
#include "GUIMain/Commands.h"
#include "GUIMain/Header.h"
#include "GUIMain/MainWindowTestSupport.h"
#include "GUIMain/Sidebar.h"
#include "GUIMain/Skyfirewright.h"
#include "Project/Operations/OperationAddCue.h"
#include "Project/Operations/OperationLinkWave.h"
#include "Project/Operations/OperationNewProject.h"
#include "Project/Operations/OperationSaveProject.h"
#include "Project/Operations/OperationSelectAll.h"

namespace GUIMain {
namespace {

using Testing::MainWindowTest;
using Answer = Platform::MessageBoxService::Answer;

class SkyfirewrightTest : public MainWindowTest {
protected:
    Project::Project& project() { return session_->project(); }

    // A new untitled 25 fps show with pyro cues at the given seconds.
    void newShow(std::initializer_list<int> seconds)
    {
        ASSERT_TRUE(project().submit(new Project::OperationNewProject(SMPTE::SMPTE_25)));
        for (int s : seconds) {
            ASSERT_TRUE(project().submit(
                new Project::OperationAddPyroCue(SMPTE(SMPTE::SMPTE_25, 0, 0, s, 0))));
        }
        // As if saved: the cues are the show's starting point, not a change.
        project().setChangeCounts(project().getChangeCount(), project().getChangeCount());
        ScriptRunner::drainEvents();
    }

    // A saved show file with cues at the given seconds; the window is left with it open.
    std::string savedShow(const std::string& name, std::initializer_list<int> seconds)
    {
        newShow(seconds);
        const std::string file = pathUtf8(name);
        EXPECT_TRUE(project().submit(new Project::OperationSaveProject(path(name))));
        return file;
    }

    int messageCount() { return static_cast<int>(state()["messages"].size()); }
};

TEST_F(SkyfirewrightTest, TitleFollowsOpenModifySaveAndShowMode)
{
    EXPECT_EQ(state()["title"], "Skyfirewright");
    newShow({});
    const std::string untitled = state()["title"];
    EXPECT_EQ(untitled.rfind("Skyfirewright - ", 0), 0u) << untitled;
    EXPECT_EQ(untitled.find('*'), std::string::npos);

    run({"command 46"});  // a pyro cue at the play position
    EXPECT_EQ(state()["title"], untitled + "*");

    run({"file " + pathUtf8("night.fwp"), "command 4"});
    EXPECT_EQ(state()["title"], "Skyfirewright - night.fwp");
    EXPECT_TRUE(std::filesystem::exists(pathUtf8("night.fwp")));

    session_->state().enterShowMode(3);
    ScriptRunner::drainEvents();
    EXPECT_EQ(state()["title"], "Skyfirewright - night.fwp - Show mode");
    session_->state().exitShowMode();
    ScriptRunner::drainEvents();
    EXPECT_EQ(state()["title"], "Skyfirewright - night.fwp");
}

TEST_F(SkyfirewrightTest, SaveQuestionCancelStopsNoGoesOnYesSavesFirst)
{
    newShow({1});
    run({"command 46"});
    ASSERT_TRUE(state()["modified"]);

    // Cancel: no open dialog follows (none is queued, so one would fail the line).
    run({"answer cancel", "command 1"});
    auto shown = state()["messages"];
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]["caption"], "Unsaved changes");

    // No: the open dialog comes, here cancelled; the changes stay.
    run({"answer no", "file cancel", "command 1"});
    EXPECT_TRUE(state()["modified"]);

    // Yes: an untitled show is saved through the save-as dialog, then the open dialog.
    run({"answer yes", "file " + pathUtf8("saved.fwp"), "file cancel", "command 1"});
    EXPECT_TRUE(std::filesystem::exists(pathUtf8("saved.fwp")));
    EXPECT_FALSE(state()["modified"]);

    // Yes, but the save-as dialog of an untitled show is cancelled: nothing was saved, so
    // no open dialog follows.
    newShow({1});
    run({"command 46", "answer yes", "file cancel", "command 1"});
    EXPECT_TRUE(state()["modified"]);
    EXPECT_EQ(dialogs_.unusedFiles(), 0u);
}

TEST_F(SkyfirewrightTest, OpeningAProjectHidesTheMenuAndTheLogoTogglesIt)
{
    const std::string file = savedShow("menu.fwp", {1, 2, 3});
    ASSERT_TRUE(project().submit(new Project::OperationNewProject(SMPTE::SMPTE_25)));
    EXPECT_FALSE(state()["menuVisible"]);  // a new show is open too
    run({"file " + file, "command 1"});
    EXPECT_EQ(state()["cueCount"], 3);
    EXPECT_EQ(state()["title"], "Skyfirewright - menu.fwp");
    EXPECT_FALSE(state()["menuVisible"]);

    window_->menuToggleRequested();
    EXPECT_TRUE(state()["menuVisible"]);
    EXPECT_FLOAT_EQ(window_->getHeader()->getFoldTarget(), 1.0f);
    window_->menuToggleRequested();
    EXPECT_FALSE(state()["menuVisible"]);
}

TEST_F(SkyfirewrightTest, ARecentFileThatFailsToOpenLeavesTheList)
{
    const std::string file = savedShow("recent.fwp", {1});
    Config::RecentFiles& recent = Config::Settings::getInstance()->getRecentFiles();
    ASSERT_EQ(recent.getEntry(0), Platform::fromUtf8(file));
    std::filesystem::remove(file);
    dialogs_.queueAnswer(Answer::kOk);  // the error message
    run({"command 9"});
    EXPECT_EQ(recent.getEntry(0), L"");
    EXPECT_EQ(state()["messages"].size(), 1u);
}

TEST_F(SkyfirewrightTest, AutosaveAsksOncePerRunAndNeverForAnUnchangedShow)
{
    newShow({1});
    run({"command 300"});  // unchanged: no question (none is queued)
    EXPECT_EQ(window_->getAutosaveAnswer(), -1);

    run({"command 46", "answer no", "command 300"});
    EXPECT_EQ(window_->getAutosaveAnswer(), 0);
    EXPECT_EQ(messageCount(), 1);
    run({"command 300", "command 46", "command 300"});
    EXPECT_EQ(messageCount(), 0);
    EXPECT_TRUE(state()["modified"]);
}

TEST_F(SkyfirewrightTest, AutosaveAcceptedSavesNowAndThenWithoutAsking)
{
    newShow({1});
    run({"command 46", "answer yes", "file " + pathUtf8("auto.fwp"), "command 300"});
    EXPECT_EQ(window_->getAutosaveAnswer(), 1);
    EXPECT_FALSE(state()["modified"]);
    const auto firstWrite = std::filesystem::last_write_time(pathUtf8("auto.fwp"));
    run({"command 46", "command 300"});
    EXPECT_EQ(messageCount(), 0);  // no second question
    EXPECT_FALSE(state()["modified"]);
    EXPECT_GE(std::filesystem::last_write_time(pathUtf8("auto.fwp")), firstWrite);
}

TEST_F(SkyfirewrightTest, CueKeysWorkOnTheListButNotInTheSidebarWhileKeysWorkEverywhere)
{
    newShow({1, 2});
    ASSERT_TRUE(project().submit(new Project::OperationSelectAll(true)));
    window_->getHandle()->setFocus();
    run({"key Ctrl+D"});  // cuekeys: duplicate
    EXPECT_EQ(state()["cueCount"], 4);

    window_->getSidebar()->getHandle()->setFocusPolicy(Qt::StrongFocus);
    window_->getSidebar()->getHandle()->setFocus();
    ScriptRunner::drainEvents();
    ASSERT_FALSE(window_->focusAllowsCueKeys(QApplication::focusWidget()));
    run({"key Ctrl+D"});
    EXPECT_EQ(state()["cueCount"], 4);
    run({"key Ctrl+Z"});  // keys: undo, from the sidebar too
    EXPECT_EQ(state()["cueCount"], 2);
}

TEST_F(SkyfirewrightTest, AHeldKeyRepeatsOnlyRepeatableCommands)
{
    newShow({1});
    ASSERT_TRUE(project().submit(new Project::OperationSelectAll(true)));
    window_->getHandle()->setFocus();
    const int frame = project().getProjectData().getCueList().first()->getTimecode().getFrameNo();
    run({"keydown Right", "keydown Right", "keydown Right", "keyup Right"});
    EXPECT_EQ(project().getProjectData().getCueList().first()->getTimecode().getFrameNo(),
              frame + 3);
    run({"keydown Ctrl+D", "keydown Ctrl+D", "keyup Ctrl+D"});
    EXPECT_EQ(state()["cueCount"], 2);
}

TEST_F(SkyfirewrightTest, TheDmxHoldKeyAddsNothingUnlessRecording)
{
    newShow({});
    window_->getHandle()->setFocus();
    run({"keydown D", "keyup D"});
    EXPECT_EQ(state()["cueCount"], 0);
}

TEST_F(SkyfirewrightTest, SeekingBackClampsAtZero)
{
    newShow({});
    const std::string wave = pathUtf8("track.wav");
    Audio::TestSupport::writeFile(
        wave, Audio::TestSupport::waveBytes(
                  Audio::TestSupport::makeSamples(44100 * 20, [](std::size_t, int) { return 0; }),
                  44100));
    ASSERT_TRUE(project().submit(new Project::OperationLinkWave(Platform::fromUtf8(wave))));
    auto positionAfter = [&](const std::string& line) {
        run({line});
        QTest::qWait(300);
        return state()["positionMs"].get<double>();
    };
    EXPECT_NEAR(positionAfter("command 62"), 10000.0, 40.0);
    EXPECT_NEAR(positionAfter("command 64"), 9000.0, 40.0);
    EXPECT_NEAR(positionAfter("command 65"), 0.0, 1.0);
    EXPECT_NEAR(positionAfter("command 66"), 0.0, 1.0);
}

TEST_F(SkyfirewrightTest, LanguageSwitchCancelledAtTheSaveQuestionRestartsAtTheNextClose)
{
    Config::Settings& settings = *Config::Settings::getInstance();
    const std::wstring before = settings.getString(L"locale", L"undefined");
    newShow({1});
    run({"command 46"});
    // Yes to the switch, then Cancel at the save question of the close that follows.
    run({"answer yes", "answer cancel", "command 19"});
    ASSERT_TRUE(windowAlive());
    EXPECT_NE(settings.getString(L"locale", L"undefined"), before);
    EXPECT_TRUE(state()["restartRequested"]);
    // No to the switch changes nothing.
    const std::wstring switched = settings.getString(L"locale", L"undefined");
    run({"answer no", "command 19"});
    EXPECT_EQ(settings.getString(L"locale", L"undefined"), switched);
}

TEST_F(SkyfirewrightTest, ClosingAsksTheSaveQuestionAndQuitCanBeRefused)
{
    newShow({1});
    run({"command 46", "answer cancel", "quit"});
    EXPECT_TRUE(windowAlive());
    run({"answer no", "quit"});
    EXPECT_FALSE(windowAlive());
}

TEST_F(SkyfirewrightTest, CommandsWhosePreconditionFailsDoNothing)
{
    // No project: editing and transport commands are refused silently.
    for (const char* line : {"command 46", "command 25", "command 28", "command 3", "command 57"}) {
        run({line});
    }
    EXPECT_FALSE(state()["projectOpen"]);
    EXPECT_EQ(state()["messages"].size(), 0u);
    // In show mode undo and the open command are refused.
    newShow({1});
    session_->state().enterShowMode(3);
    run({"command 22", "command 1"});  // no dialog queued: none may be shown
    EXPECT_EQ(state()["cueCount"], 1);
    session_->state().exitShowMode();
}

TEST_F(SkyfirewrightTest, ScriptFailuresNameTheirReason)
{
    EXPECT_NE(failureOf("click Nowhere/Button").find("unknown path"), std::string::npos);
    EXPECT_NE(failureOf("frobnicate").find("unknown action"), std::string::npos);
    newShow({1});
    run({"command 46"});
    EXPECT_NE(failureOf("command 1").find("no queued answer"), std::string::npos);
    run({"answer cancel"});
}

TEST_F(SkyfirewrightTest, TheWindowIsNeverSmallerThanTheMinimum)
{
    QWidget* handle = window_->getHandle();
    EXPECT_GE(handle->width(), Skyfirewright::kMinimumWidth);
    EXPECT_GE(handle->height(), Skyfirewright::kMinimumHeight);
    handle->resize(600, 400);
    EXPECT_GE(handle->width(), Skyfirewright::kMinimumWidth);
    EXPECT_GE(handle->height(), Skyfirewright::kMinimumHeight);
}

}  // namespace
}  // namespace GUIMain
