#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Project/IOperation.h"
#include "Project/OperationHistory.h"
#include "Project/Project.h"

namespace Project {
namespace {

using Events = std::vector<std::wstring>;

// What the fake operations did, shared by all of them in one test.
struct Trace {
    int value = 0;  // stands for the project data
    int destroyed = 0;
    bool failUndo = false;
};

struct Flags {
    bool undoable = true;
    bool passive = false;
    bool clean = false;
    bool succeeds = true;
};

// Adds `step` to the traced value; undo subtracts it.
class FakeOperation : public IOperation {
public:
    FakeOperation(Trace& trace, int step, Flags flags = {})
        : trace_(trace), step_(step), flags_(flags)
    {
    }
    ~FakeOperation() override { ++trace_.destroyed; }

    bool execute(ProjectData&) override
    {
        if (!flags_.succeeds) {
            Project::getInstance()->setLastError(L"ERROR.GENERIC");
            return false;
        }
        trace_.value += step_;
        return true;
    }
    bool undo(ProjectData&) override
    {
        if (trace_.failUndo) {
            Project::getInstance()->setLastError(L"ERROR.UNDO_FAILED");
            return false;
        }
        trace_.value -= step_;
        return true;
    }
    bool redo(ProjectData& data) override { return execute(data); }
    bool isUndoable() const override { return flags_.undoable; }
    bool isPassive() const override { return flags_.passive; }
    bool leavesProjectClean() const override { return flags_.clean; }
    std::wstring getUndoText() const override { return L"UNDO." + std::to_wstring(step_); }
    std::wstring getRedoText() const override { return L"REDO." + std::to_wstring(step_); }

private:
    Trace& trace_;
    int step_;
    Flags flags_;
};

constexpr Flags kSave{false, true, true, true};
constexpr Flags kOpen{false, false, true, true};

struct Recorder : Project::Listener {
    Events events;
    void modifiedChanged(bool modified) override
    {
        events.push_back(modified ? L"modified" : L"clean");
    }
    void historyChanged() override { events.push_back(L"history"); }
    void errorReported(const std::wstring& text) override { events.push_back(L"error " + text); }
    void projectUpdated() override { events.push_back(L"updated"); }
};

class ProjectHistory : public ::testing::Test {
protected:
    ProjectHistory() : project(Project::createInstance()) { project.addListener(&recorder); }
    ~ProjectHistory() override { Project::destroyInstance(); }

    bool submit(int step, Flags flags = {})
    {
        return project.submit(std::make_unique<FakeOperation>(trace, step, flags));
    }

    Project& project;
    Recorder recorder;
    Trace trace;
};

TEST(OperationHistory, RingKeepsTheNewest256AndDestroysTheOldest)
{
    Trace trace;
    OperationHistory history;
    for (int i = 1; i <= 300; ++i) {
        history.push(std::make_unique<FakeOperation>(trace, i));
    }
    EXPECT_EQ(history.count(), 256);
    EXPECT_EQ(trace.destroyed, 44);
    for (int expected = 300; expected > 44; --expected) {
        ASSERT_EQ(history.top()->getUndoText(), L"UNDO." + std::to_wstring(expected));
        history.pop();
    }
    EXPECT_TRUE(history.empty());
    EXPECT_EQ(history.pop(), nullptr);
    EXPECT_EQ(history.top(), nullptr);
}

TEST_F(ProjectHistory, OnlyTheLast256OperationsCanBeUndone)
{
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(submit(1));
    }
    EXPECT_EQ(trace.value, 300);
    for (int i = 0; i < 256; ++i) {
        ASSERT_TRUE(project.undo());
    }
    EXPECT_EQ(trace.value, 44);
    EXPECT_EQ(project.getUndoText(), L"UNDO.NOTHING");
    EXPECT_TRUE(project.undo());  // the 257th does nothing
    EXPECT_EQ(trace.value, 44);
    EXPECT_EQ(project.getChangeCount(), 44);
    EXPECT_TRUE(project.isModified());
}

TEST_F(ProjectHistory, ANewOperationAfterUndoDropsTheRedoHistory)
{
    submit(1);
    submit(2);
    submit(3);
    project.undo();
    project.undo();
    EXPECT_EQ(project.getUndoText(), L"UNDO.1");
    EXPECT_EQ(project.getRedoText(), L"REDO.2");
    EXPECT_EQ(trace.destroyed, 0);

    submit(4);
    EXPECT_EQ(project.getRedoText(), L"REDO.NOTHING");
    EXPECT_EQ(trace.destroyed, 2);
    EXPECT_TRUE(project.redo());  // nothing to redo
    EXPECT_EQ(trace.value, 5);
}

TEST_F(ProjectHistory, EverySubmitUndoAndRedoNotifiesHistoryThenUpdate)
{
    submit(1);
    project.undo();
    project.redo();
    EXPECT_EQ(recorder.events, (Events{L"modified", L"history", L"updated", L"clean", L"history",
                                       L"updated", L"modified", L"history", L"updated"}));
}

TEST_F(ProjectHistory, ASaveKeepsTheUndoHistoryAndMarksThePointClean)
{
    submit(1);
    submit(2);
    recorder.events.clear();
    EXPECT_TRUE(submit(0, kSave));
    EXPECT_EQ(recorder.events, (Events{L"clean", L"history", L"updated"}));
    EXPECT_EQ(project.getUndoCount(), 2);
    EXPECT_EQ(trace.destroyed, 1);  // the save itself

    project.undo();
    EXPECT_TRUE(project.isModified());
    EXPECT_EQ(trace.value, 1);
    project.redo();
    EXPECT_FALSE(project.isModified());
    EXPECT_EQ(trace.value, 3);
}

TEST_F(ProjectHistory, OpeningClearsBothHistoriesAndLeavesTheProjectClean)
{
    submit(1);
    submit(2);
    project.undo();
    EXPECT_TRUE(submit(0, kOpen));
    EXPECT_EQ(project.getUndoCount(), 0);
    EXPECT_EQ(project.getRedoCount(), 0);
    EXPECT_FALSE(project.isModified());
    EXPECT_EQ(trace.destroyed, 3);
}

TEST_F(ProjectHistory, AnOperationThatCannotBeUndoneLeavesTheProjectModifiedForGood)
{
    submit(1);
    EXPECT_TRUE(submit(5, {false, false, false, true}));
    EXPECT_EQ(project.getUndoCount(), 0);
    EXPECT_EQ(project.getSavedCount(), -1);
    project.undo();
    project.redo();
    EXPECT_TRUE(project.isModified());
    submit(0, kSave);
    EXPECT_FALSE(project.isModified());
}

TEST_F(ProjectHistory, AFailedOperationReportsItsErrorAndChangesNoHistory)
{
    submit(1);
    recorder.events.clear();
    EXPECT_FALSE(submit(7, {true, false, false, false}));
    EXPECT_EQ(recorder.events, (Events{L"error ERROR.GENERIC", L"history", L"updated"}));
    EXPECT_EQ(project.getUndoCount(), 1);
    EXPECT_EQ(project.getChangeCount(), 1);
    EXPECT_EQ(trace.destroyed, 1);
}

TEST_F(ProjectHistory, AFailedUndoDropsTheWholeUndoHistory)
{
    submit(1);
    submit(2);
    trace.failUndo = true;
    recorder.events.clear();
    EXPECT_FALSE(project.undo());
    EXPECT_EQ(recorder.events, (Events{L"error ERROR.UNDO_FAILED", L"history", L"updated"}));
    EXPECT_EQ(project.getUndoCount(), 0);
    EXPECT_EQ(project.getRedoCount(), 0);
    EXPECT_EQ(trace.destroyed, 2);
    EXPECT_TRUE(project.isModified());
}

TEST_F(ProjectHistory, ShowModeRunsOnlyPassiveOperations)
{
    submit(1);
    submit(2);
    project.undo();
    project.setShowMode(true);
    recorder.events.clear();

    EXPECT_FALSE(submit(10));
    EXPECT_EQ(trace.destroyed, 1);  // refused and dropped
    EXPECT_TRUE(project.undo());
    EXPECT_TRUE(project.redo());
    EXPECT_EQ(recorder.events, Events{});  // nobody hears of refused work
    EXPECT_EQ(trace.value, 1);
    EXPECT_EQ(project.getUndoText(), L"UNDO.NOTHING");
    EXPECT_EQ(project.getRedoText(), L"REDO.NOTHING");

    EXPECT_TRUE(submit(0, kSave));
    EXPECT_FALSE(project.isModified());

    project.setShowMode(false);
    EXPECT_EQ(project.getUndoText(), L"UNDO.1");
    EXPECT_EQ(project.getRedoText(), L"REDO.2");
}

TEST_F(ProjectHistory, ANullOperationDoesNothing)
{
    EXPECT_TRUE(project.submit(nullptr));
    EXPECT_EQ(recorder.events, Events{});
}

// Listeners hear historyChanged before the cues are renumbered and projectUpdated after.
TEST_F(ProjectHistory, CuesAreRenumberedBetweenTheTwoNotifications)
{
    struct NumberWatcher : Project::Listener {
        Cue* cue = nullptr;
        std::vector<int> numbers;
        void historyChanged() override { numbers.push_back(cue->getNumber()); }
        void projectUpdated() override { numbers.push_back(cue->getNumber()); }
    } watcher;
    watcher.cue =
        project.getProjectData().getCueList().add(SMPTE(), CueCommand::pyro(1), 0, 0, 1, -1, "");
    project.addListener(&watcher);
    submit(1);
    EXPECT_EQ(watcher.numbers, (std::vector<int>{0, 1}));
    project.removeListener(&watcher);
}

}  // namespace
}  // namespace Project
