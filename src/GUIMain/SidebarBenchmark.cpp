#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <memory>

#include "GUI/D2DEditLabel.h"
#include "GUI/D2DPanel.h"
#include "GUI/Graphics.h"
#include "GUI/QtMessagePump.h"
#include "GUIMain/BenchmarkApplication.h"
#include "GUIMain/CueListView.h"
#include "GUIMain/ScriptDialogs.h"
#include "GUIMain/ScriptRunner.h"
#include "GUIMain/Sidebar.h"
#include "GUIMain/Skyfirewright.h"
#include "Platform/MessageQueue.h"
#include "Project/CueCommand.h"
#include "Project/Operations/OperationSelectAll.h"
#include "Show/ShowSession.h"
#include "Timecode/SMPTE.h"

// The sidebar over 20,000 selected cues, in the whole program (show session on the silent
// output, the main window on the offscreen platform unless QT_QPA_PLATFORM names another).

namespace {

using namespace GUIMain;
constexpr int kCues = 20000;

struct Program {
    Program()
    {
        benchmarkApplication();
        Show::ShowSessionOptions options;
        options.audio.device = L"silent";
        options.controller.findPorts = [] { return std::vector<std::string>{}; };
        options.messageBoxes = &dialogs;
        session = std::make_unique<Show::ShowSession>(std::move(options));
        session->waitUntilReady(std::chrono::seconds(5));
        window = new Skyfirewright(*session, dialogs, dialogs);
        window->start(Skyfirewright::kMinimumWidth, Skyfirewright::kMinimumHeight);
        Project::Project& project = session->project();
        project.setFileName(L"bench.fwp", true);
        Project::CueList& cues = project.getProjectData().getCueList();
        const int format = project.getProjectData().getFormat();
        for (int i = 0; i < kCues; ++i) {
            cues.add(SMPTE::fromFrameNo(format, i * 5), Project::CueCommand::pyro(i % 0x1000), 0, 0,
                     1 + i % 16, -1, "");
        }
        ScriptRunner::drainEvents();
    }
    ~Program()
    {
        window->closeWithoutQuestions();
        ScriptRunner::drainEvents();
        session.reset();
    }
    Sidebar& sidebar() { return *window->getSidebar(); }

    ScriptDialogs dialogs;
    Platform::MessageQueue queue;
    GUI::QtMessagePump pump{queue};
    std::unique_ptr<Show::ShowSession> session;
    Skyfirewright* window = nullptr;
};

// The sidebar's own refresh over 20,000 selected cues: summary, fields, panels.
void BM_SidebarRefresh20000Selected(benchmark::State& state)
{
    Program program;
    program.session->project().submit(new Project::OperationSelectAll(true));
    ScriptRunner::drainEvents();
    for (auto _ : state) {
        program.sidebar().refresh();
    }
}
BENCHMARK(BM_SidebarRefresh20000Selected)->Unit(benchmark::kMillisecond);

// A selection change of 20,000 cues (all selected, then none, alternately) through the
// project, until the sidebar has refreshed and the window has repainted.
void BM_SidebarSelectionChange20000(benchmark::State& state)
{
    Program program;
    bool selected = false;
    for (auto _ : state) {
        selected = !selected;
        program.session->project().submit(new Project::OperationSelectAll(selected));
        ScriptRunner::drainEvents();
    }
}
BENCHMARK(BM_SidebarSelectionChange20000)->Unit(benchmark::kMillisecond);

// A value typed into the group field with 20,000 cues selected: one operation on all of
// them, committed as leaving the field does, until the views have repainted.
void BM_SidebarTypeGroupInto20000(benchmark::State& state)
{
    Program program;
    program.session->project().submit(new Project::OperationSelectAll(true));
    ScriptRunner::drainEvents();
    auto* edit = dynamic_cast<GUI::D2DEditLabel*>(GUI::Component::fromHandle(
        program.sidebar().getPanel(L"Cue")->getHandle()->findChild<QWidget*>(
            QStringLiteral("GroupEdit"))));
    if (edit == nullptr) {
        state.SkipWithError("no group field");
        return;
    }
    int group = 1;
    for (auto _ : state) {
        group = group % 16 + 1;
        edit->getHandle()->setFocus();
        ScriptRunner::drainEvents();
        QTest::keyClicks(edit->getHandle(), QString::number(group));
        program.window->getCueListView()->getHandle()->setFocus();  // leaving commits
        ScriptRunner::drainEvents();
    }
    if (edit->getText() != std::to_wstring(group).insert(0, group < 10 ? L"0" : L"")) {
        state.SkipWithError("the field does not show the typed group");
    }
}
BENCHMARK(BM_SidebarTypeGroupInto20000)->Unit(benchmark::kMillisecond);

}  // namespace
