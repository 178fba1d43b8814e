#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <memory>
#include <random>
#include <vector>

#include "GUI/Graphics.h"
#include "GUI/WindowStyle.h"
#include "GUIMain/BenchmarkApplication.h"
#include "GUIMain/CueListView.h"
#include "Project/CueList.h"
#include "Project/Project.h"

// The cue list view over 100,000 cues, shown at 1920 x 1080 on the offscreen platform unless
// QT_QPA_PLATFORM names another. The cues live in a list of their own and are handed to the
// view as the project's cue list would announce them, so that only the view's work is timed.

namespace {

using namespace GUIMain;

constexpr int kCueCount = 100000;

// A show of `count` cues in timecode order, a few per timecode, each with a position text.
class Show {
public:
    explicit Show(int count)
    {
        std::mt19937 random(7);
        for (int i = 0; i < count; ++i) {
            Project::Cue* cue =
                cues_.add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, i / 3),
                          Project::CueCommand::pyro(i % 4000), 0, 25, 1 + i % 9, -1, "");
            cue->setNumber(i + 1);
            cue->setQuantity(1 + static_cast<int>(random() % 5));
            cue->getMetadata().insert(
                0, L"~POS",
                L"R" + std::to_wstring(random() % 300) + L"-" + std::to_wstring(random() % 40));
            all_.push_back(cue);
        }
    }
    const std::vector<Project::Cue*>& all() const { return all_; }

private:
    Project::CueList cues_;
    std::vector<Project::Cue*> all_;
};

// A shown view at 1920 x 1080 over an empty project.
struct ShownView {
    ShownView()
    {
        benchmarkApplication();
        view = new CueListView(&project);
        view->create(L"CueList", L"", nullptr, GUI::kStyleVisible, 0, nullptr);
        view->getHandle()->resize(1920, 1080);
        view->getHandle()->show();
        QApplication::processEvents();
    }
    ~ShownView()
    {
        view->destroyWindow();
        QApplication::processEvents();
    }
    void fill(const Show& show)
    {
        for (Project::Cue* cue : show.all()) {
            view->cueAdded(cue);
        }
        view->projectUpdated();
    }
    void empty(const Show& show)
    {
        for (Project::Cue* cue : show.all()) {
            view->cueRemoved(cue);
        }
        view->projectUpdated();
    }
    void paint() { view->getTable()->viewport()->repaint(); }

    Project::Project project;
    CueListView* view = nullptr;
};

// Opening: every cue announced, the end of the operation, one paint.
void BM_OpenProject(benchmark::State& state)
{
    const Show show(kCueCount);
    ShownView shown;
    for (auto _ : state) {
        shown.fill(show);
        shown.paint();
        state.PauseTiming();
        shown.empty(show);
        state.ResumeTiming();
    }
    state.counters["cues"] = kCueCount;
}
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond);

// The same while the view is sorted by a metadata column: every insertion lands inside.
void BM_OpenProjectSortedByMetadata(benchmark::State& state)
{
    const Show show(kCueCount);
    ShownView shown;
    shown.view->sortByColumn(kFirstMetadataColumn + 2);
    for (auto _ : state) {
        shown.fill(show);
        shown.paint();
        state.PauseTiming();
        shown.empty(show);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenProjectSortedByMetadata)->Unit(benchmark::kMillisecond);

// A full paint of the visible rows at 1920 x 1080, for 100,000 rows and for 100: the same
// cost shows that only visible cells are produced.
void BM_PaintVisibleRows(benchmark::State& state)
{
    const Show show(static_cast<int>(state.range(0)));
    ShownView shown;
    shown.fill(show);
    shown.view->getTable()->scrollTo(
        shown.view->getTable()->model()->index(static_cast<int>(state.range(0)) / 2, 0));
    shown.paint();
    for (auto _ : state) {
        shown.paint();
    }
    shown.empty(show);
}
BENCHMARK(BM_PaintVisibleRows)->Arg(kCueCount)->Arg(100)->Unit(benchmark::kMillisecond);

// A quantity change on one of 100,000 cues while sorted by quantity: the row moves.
void BM_ValueChangeMovesOneRow(benchmark::State& state)
{
    const Show show(kCueCount);
    ShownView shown;
    shown.fill(show);
    shown.view->sortByColumn(kColumnQuantity);
    std::mt19937 random(11);
    for (auto _ : state) {
        Project::Cue* cue = show.all()[random() % kCueCount];
        cue->setQuantity(cue->getQuantity() % 5 + 1);
        shown.view->cueQuantityChanged(cue);
    }
    shown.empty(show);
}
BENCHMARK(BM_ValueChangeMovesOneRow)->Unit(benchmark::kMicrosecond);

// A click on a metadata column's header: all 100,000 rows sorted in natural order (each
// click reverses the direction).
void BM_SortByMetadataColumn(benchmark::State& state)
{
    const Show show(kCueCount);
    ShownView shown;
    shown.fill(show);
    for (auto _ : state) {
        shown.view->sortByColumn(kFirstMetadataColumn + 2);
    }
    shown.empty(show);
}
BENCHMARK(BM_SortByMetadataColumn)->Unit(benchmark::kMillisecond);

}  // namespace
