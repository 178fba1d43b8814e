#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTableView>
#include <sstream>

#include "GUI/KeyRouter.h"
#include "GUIMain/CueListView.h"
#include "GUIMain/MainWindowTestSupport.h"
#include "Project/Operations/OperationAddCue.h"
#include "Project/Operations/OperationNewProject.h"
#include "Project/Operations/OperationSaveProject.h"
#include "Project/Operations/OperationSelection.h"
#include "Project/Operations/OperationSetCueMeta.h"
#include "Project/Operations/OperationSetCueValue.h"
#include "Project/Operations/OperationSetReminder.h"

namespace GUIMain {
namespace {

// Counts the ends of operations.
class OperationCounter : public Project::Project::Listener {
public:
    void projectUpdated() override { ++count; }
    int count = 0;
};

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++count;
        }
        return false;
    }
    int count = 0;
};

class CueListViewTest : public Testing::MainWindowTest {
protected:
    Project::Project& project() { return session_->project(); }
    CueListView& view() { return *window_->getCueListView(); }
    QTableView& table() { return *view().getTable(); }

    SMPTE at(int second) const { return SMPTE(SMPTE::SMPTE_25, 0, 0, second, 0); }
    void addPyro(int second, int quantity)
    {
        ASSERT_TRUE(project().submit(new Project::OperationAddPyroCue(at(second))));
        ASSERT_TRUE(project().submit(
            new Project::OperationSetCueValue(Project::OperationSetCueValue::QUANTITY, quantity)));
    }

    // Four cues, numbered by timecode: 1 at 1 s (quantity 3), 2 at 2 s (quantity 1), 3 a
    // reminder at 2 s (quantity 2), 4 at 3 s (quantity 2); saved, then opened by the
    // program's open command.
    void openFourCues()
    {
        ASSERT_TRUE(project().submit(new Project::OperationNewProject(SMPTE::SMPTE_25)));
        addPyro(1, 3);
        addPyro(2, 1);
        ASSERT_TRUE(project().submit(new Project::OperationAddReminderCue(at(2))));
        ASSERT_TRUE(project().submit(new Project::OperationSetReminder(L"Check 100% of %s")));
        ASSERT_TRUE(project().submit(
            new Project::OperationSetCueValue(Project::OperationSetCueValue::QUANTITY, 2)));
        addPyro(3, 2);
        ASSERT_TRUE(project().submit(new Project::OperationSaveProject(path("four.fwp"))));
        ASSERT_TRUE(project().submit(new Project::OperationNewProject(SMPTE::SMPTE_25)));
        ASSERT_EQ(view().getRowCount(), 0);
        run({"file " + pathUtf8("four.fwp"), "command 1"});
        ASSERT_EQ(view().getRowCount(), 4);
    }

    // The `rows` lines: the head, then one object a row.
    std::vector<nlohmann::json> rows(const std::string& arguments = "")
    {
        out_.str("");
        run({"rows" + arguments});
        std::vector<nlohmann::json> lines;
        std::istringstream in(out_.str());
        for (std::string line; std::getline(in, line);) {
            lines.push_back(nlohmann::json::parse(line));
        }
        return lines;
    }
    std::vector<int> numbersInView()
    {
        std::vector<int> numbers;
        const std::vector<nlohmann::json> lines = rows();
        for (std::size_t i = 1; i < lines.size(); ++i) {
            numbers.push_back(lines[i]["number"].get<int>());
        }
        return numbers;
    }
    std::vector<int> selected() { return state()["selected"].get<std::vector<int>>(); }
};

TEST_F(CueListViewTest, OpensSortsAndTurnsClicksIntoSelections)
{
    openFourCues();
    std::vector<nlohmann::json> lines = rows();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0]["sortColumn"], 2);
    EXPECT_EQ(lines[0]["ascending"], true);
    EXPECT_EQ(lines[0]["columns"].size(), 14u);
    EXPECT_EQ(lines[0]["columns"][2], "Timecode");
    EXPECT_EQ(lines[0]["columns"][13], "Description");
    EXPECT_EQ(lines[3]["cells"][5], "Check 100% of %s");  // shown as typed
    EXPECT_EQ(lines[3]["background"], "#ff9900");
    EXPECT_EQ(lines[1]["cells"][2], "00:00:01:00");
    EXPECT_EQ(numbersInView(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(rows(" 1 2").size(), 3u);

    // The view starts ascending on the timecode column: a click there sorts descending,
    // cues of one timecode keeping their order, and shows the sort-up mark.
    run({"click CueList/Header/2"});
    lines = rows();
    EXPECT_EQ(lines[0]["sortColumn"], 2);
    EXPECT_EQ(lines[0]["ascending"], false);
    EXPECT_EQ(numbersInView(), (std::vector<int>{4, 2, 3, 1}));
    EXPECT_EQ(table().horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    // Another column sorts ascending (the sort-down mark), equal quantities keeping the
    // order they had.
    run({"click CueList/Header/7"});
    lines = rows();
    EXPECT_EQ(lines[0]["sortColumn"], 7);
    EXPECT_EQ(lines[0]["ascending"], true);
    EXPECT_EQ(numbersInView(), (std::vector<int>{2, 4, 3, 1}));
    EXPECT_EQ(table().horizontalHeader()->sortIndicatorSection(), 7);
    EXPECT_EQ(table().horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(view().getCueIdsInViewOrder().size(), 4u);

    // Click, Ctrl+click, Shift+click from the last clicked row.
    run({"click CueList/Row/0"});
    EXPECT_EQ(selected(), (std::vector<int>{2}));
    run({"click CueList/Row/2 ctrl"});
    EXPECT_EQ(selected(), (std::vector<int>{2, 3}));
    run({"click CueList/Row/3 shift"});
    EXPECT_EQ(selected(), (std::vector<int>{3, 1}));
    run({"click CueList/Row/0 ctrl shift"});
    EXPECT_EQ(selected(), (std::vector<int>{2, 4, 3, 1}));
    run({"click CueList/Row/1"});
    EXPECT_EQ(selected(), (std::vector<int>{4}));
    lines = rows();
    const QPalette palette = table().palette();
    EXPECT_EQ(lines[2]["selected"], true);
    EXPECT_EQ(lines[2]["background"], palette.color(QPalette::Highlight).name().toStdString());
    EXPECT_EQ(lines[2]["text"], palette.color(QPalette::HighlightedText).name().toStdString());
    EXPECT_EQ(lines[1]["selected"], false);

    // The main window's next-cue command steps in the view's order, also from the arrow
    // keys while the view has the focus; Home and End select the first and the last row.
    run({"command 71"});
    EXPECT_EQ(selected(), (std::vector<int>{3}));
    GUI::KeyRouter keys;  // as the program routes keys through the key maps
    run({"key Down"});
    EXPECT_EQ(selected(), (std::vector<int>{1}));
    run({"key Home"});
    EXPECT_EQ(selected(), (std::vector<int>{2}));
    run({"key End"});
    EXPECT_EQ(selected(), (std::vector<int>{1}));
    run({"key Up"});
    EXPECT_EQ(selected(), (std::vector<int>{3}));
    // A selection made elsewhere shows in the rows.
    run({"command 34"});
    for (std::size_t i = 1; i < 5; ++i) {
        EXPECT_EQ(rows()[i]["selected"], true);
    }
    EXPECT_EQ(selected(), (std::vector<int>{2, 4, 3, 1}));
}

TEST_F(CueListViewTest, DoubleClickSelectsEveryCueAtTheTimecode)
{
    openFourCues();
    OperationCounter operations;
    project().addListener(&operations);
    // Row 1 is cue 2, at 2 s with cue 3.
    run({"click CueList/Row/1 double"});
    EXPECT_EQ(selected(), (std::vector<int>{2, 3}));

    // Everything at that timecode is selected and nothing else: the operation still runs,
    // with nothing to change.
    const int before = operations.count;
    view().doubleClickRow(2);
    EXPECT_EQ(operations.count, before + 1);
    EXPECT_EQ(selected(), (std::vector<int>{2, 3}));
    project().removeListener(&operations);
}

TEST_F(CueListViewTest, RightClickSeeksToTheCue)
{
    openFourCues();
    run({"click CueList/Row/3 right"});
    EXPECT_DOUBLE_EQ(state()["positionMs"].get<double>(), 3000.0);
    EXPECT_TRUE(selected().empty());
}

TEST_F(CueListViewTest, InsertionsValueChangesAndUserColumns)
{
    openFourCues();
    // A new cue at a timecode two cues share goes after them.
    ASSERT_TRUE(project().submit(new Project::OperationAddPyroCue(at(2))));
    std::vector<nlohmann::json> lines = rows();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[2]["cells"][5], "Pyro (no address)");
    EXPECT_EQ(lines[3]["cells"][5], "Check 100% of %s");
    EXPECT_TRUE(lines[4]["selected"].get<bool>());
    EXPECT_EQ(lines[4]["cells"][2], "00:00:02:00");

    // A user key gets a column of width 200 that stays when no cue has the key any more.
    ASSERT_TRUE(project().submit(new Project::OperationSetCueMeta(L"Rack", L"R12")));
    lines = rows();
    ASSERT_EQ(lines[0]["columns"].size(), 15u);
    EXPECT_EQ(lines[0]["columns"][14], "Rack");
    EXPECT_EQ(table().horizontalHeader()->sectionSize(14), 200);
    EXPECT_EQ(lines[4]["cells"][14], "R12");
    ASSERT_TRUE(project().submit(
        new Project::OperationSetCueMeta(L"Rack", Project::OperationSetCueMeta::kAbsent, true)));
    lines = rows();
    EXPECT_EQ(lines[0]["columns"].size(), 15u);
    EXPECT_EQ(lines[4]["cells"][14], "");

    // Sorted by quantity, a changed quantity moves the cue's row alone.
    run({"click CueList/Header/7"});
    EXPECT_EQ(numbersInView(), (std::vector<int>{2, 4, 3, 5, 1}));
    ASSERT_TRUE(project().submit(
        new Project::OperationSetCueValue(Project::OperationSetCueValue::QUANTITY, 9)));
    EXPECT_EQ(numbersInView(), (std::vector<int>{2, 3, 5, 1, 4}));
}

TEST_F(CueListViewTest, OpeningAgainRepaintsOnceAndSelectionScrollsIntoView)
{
    ASSERT_TRUE(project().submit(new Project::OperationNewProject(SMPTE::SMPTE_25)));
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(project().submit(new Project::OperationAddPyroCue(at(i % 60))));
    }
    ASSERT_TRUE(project().submit(new Project::OperationSaveProject(path("many.fwp"))));
    // Opened once, so that the scroll bar that comes with the rows is there already.
    run({"file " + pathUtf8("many.fwp"), "command 1"});
    PaintCounter paints;
    table().viewport()->installEventFilter(&paints);
    bool suspendedDuringOpen = false;
    class Watch : public Project::CueList::Listener {
    public:
        explicit Watch(CueListView& view, bool& seen) : view_(view), seen_(seen) {}
        void cueAdded(Project::Cue*) override { seen_ = seen_ || view_.isRedrawSuspended(); }
        CueListView& view_;
        bool& seen_;
    } watch(view(), suspendedDuringOpen);
    project().addCueListListener(&watch);
    run({"file " + pathUtf8("many.fwp"), "command 1"});
    project().removeCueListListener(&watch);
    table().viewport()->removeEventFilter(&paints);
    EXPECT_TRUE(suspendedDuringOpen);
    EXPECT_FALSE(view().isRedrawSuspended());
    EXPECT_EQ(view().getRowCount(), 300);
    EXPECT_EQ(paints.count, 1);

    // A cue selected elsewhere is scrolled into view.
    table().scrollToTop();
    const int lastRow = view().getRowCount() - 5;
    ASSERT_FALSE(view().getCueAt(lastRow)->isSelected());
    ASSERT_GT(table().rowViewportPosition(lastRow), table().viewport()->height());
    const int lastId = view().getCueAt(lastRow)->getId();
    ASSERT_TRUE(project().submit(new Project::OperationSelection({{lastId, true}})));
    ScriptRunner::drainEvents();
    EXPECT_GE(table().rowViewportPosition(lastRow), 0);
    EXPECT_LE(table().rowViewportPosition(lastRow) + table().rowHeight(lastRow),
              table().viewport()->height());
}

}  // namespace
}  // namespace GUIMain
