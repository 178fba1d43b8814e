#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "Project/Operations/OperationSelectAll.h"
#include "Project/Operations/OperationSelection.h"
#include "Project/Operations/OperationTestSupport.h"
#include "Project/Operations/TimelineSelection.h"

namespace Project {
namespace {

using Entries = std::map<int, bool>;

const Entries& entriesOf(const std::unique_ptr<IOperation>& operation)
{
    const auto* selection = dynamic_cast<const OperationSelection*>(operation.get());
    static const Entries none;
    EXPECT_NE(selection, nullptr);
    return selection ? selection->getEntries() : none;
}

class TimelineSelection : public OperationTest {
protected:
    TimelineSelection()
    {
        resetCuePickCounter();
        project.addListener(&watcher);
    }

    struct Watcher : Project::Listener {
        int announcements = 0;
        void selectionChanging() override { ++announcements; }
    } watcher;
};

TEST_F(TimelineSelection, SelectionsRunBesideTheHistoryAndInShowMode)
{
    Cue* a = addPyro(1);
    Cue* b = addPyro(2);
    project.setShowMode(true);
    ASSERT_TRUE(project.submit(std::make_unique<OperationSelectAll>(true)));
    EXPECT_TRUE(a->isSelected() && b->isSelected());
    ASSERT_TRUE(project.submit(std::make_unique<OperationSelection>(Entries{{a->getId(), false}})));
    EXPECT_FALSE(a->isSelected());
    EXPECT_TRUE(b->isSelected());
    EXPECT_EQ(watcher.announcements, 2);
    EXPECT_EQ(project.getUndoCount(), 0);
    EXPECT_FALSE(project.isModified());
}

TEST_F(TimelineSelection, UndoOfASelectionInvertsItsFlags)
{
    Cue* a = addPyro(1);
    Cue* b = addPyro(2);
    select({b});
    OperationSelection selection({{a->getId(), true}, {b->getId(), false}});
    selection.execute(project.getProjectData());
    EXPECT_TRUE(a->isSelected());
    EXPECT_FALSE(b->isSelected());
    selection.undo(project.getProjectData());
    EXPECT_FALSE(a->isSelected());
    EXPECT_TRUE(b->isSelected());
}

TEST_F(TimelineSelection, ARangeSelectsItsCuesBothEndsIncluded)
{
    Cue* before = addPyro(1);
    Cue* start = addPyro(2);
    Cue* end = addPyro(3);
    Cue* after = addPyro(4);
    select({before, end});
    // Times in either order; the range is 2000..3000 ms.
    EXPECT_EQ(entriesOf(selectCuesInTimeRange(cues(), false, 3000, 2000)),
              (Entries{{before->getId(), false}, {start->getId(), true}}));
    EXPECT_EQ(entriesOf(selectCuesInTimeRange(cues(), true, 2000, 3000)),
              (Entries{{start->getId(), true}}));
    (void)after;
}

TEST_F(TimelineSelection, ClicksOnOverlappingCuesPickThemInTurn)
{
    Cue* first = addPyro(2);
    Cue* second = cues().add(at(2, 1), CueCommand::pyro(1), 0, 0, 1, -1, "");
    Cue* far = addPyro(9);
    select({far});
    for (const Cue* expected : {first, second, first}) {
        ASSERT_TRUE(project.submit(selectCueAt(cues(), false, 2020, 100)));
        EXPECT_TRUE(expected->isSelected());
        EXPECT_EQ(first->isSelected() + second->isSelected() + far->isSelected(), 1);
    }
}

TEST_F(TimelineSelection, ToggleClickInvertsOnlyThePickedCue)
{
    Cue* a = addPyro(1);
    Cue* b = addPyro(5);
    select({a, b});
    EXPECT_EQ(entriesOf(selectCueAt(cues(), true, 5000, 40)), (Entries{{b->getId(), false}}));
}

TEST_F(TimelineSelection, AClickOnNoCueDeselectsAllOrDoesNothingWithToggle)
{
    select({addPyro(1)});
    std::unique_ptr<IOperation> click = selectCueAt(cues(), false, 5000, 40);
    const auto* all = dynamic_cast<const OperationSelectAll*>(click.get());
    ASSERT_NE(all, nullptr);
    EXPECT_FALSE(all->getFlag());
    EXPECT_EQ(selectCueAt(cues(), true, 5000, 40), nullptr);
}

}  // namespace
}  // namespace Project
