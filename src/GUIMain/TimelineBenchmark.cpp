#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>
#include <vector>

#include "Audio/AudioMessages.h"
#include "GUI/BasicLayout.h"
#include "GUI/D2DContainer.h"
#include "GUI/Graphics.h"
#include "GUI/RenderTarget.h"
#include "GUI/Window.h"
#include "GUI/WindowStyle.h"
#include "GUIMain/BenchmarkApplication.h"
#include "GUIMain/Timeline.h"
#include "GUIMain/Waveform.h"
#include "GUIMain/WaveformCues.h"
#include "Platform/MessageQueue.h"
#include "Platform/MessageWindow.h"
#include "Project/Project.h"

// The timeline at 1920 x 216 (a fifth of a 1080-pixel window) under a 100-pixel band, with 20,000
// cues over ten minutes and every waveform column answered, on the offscreen platform unless
// QT_QPA_PLATFORM names another.

namespace {

using namespace GUIMain;

constexpr int kWidth = 1920;
constexpr int kHeight = 216;
constexpr int kCues = 20000;
constexpr double kShowMs = 600000.0;

class BenchWindow : public GUI::Window {
public:
    std::wstring getWindowClassName() const override { return L"BenchWindow"; }
};

// Stands for the header band the timeline lives in: a drawing root with 100 pixels of its
// own above the timeline, so that a repaint costs what it costs in the program.
class BandLike : public GUI::D2DContainer {
public:
    std::wstring getWindowClassName() const override { return L"BandLike"; }
    void draw(GUI::RenderTarget& target) override
    {
        target.painter().fillRect(QRect(QPoint(0, 0), target.getSize()), QColor(16, 16, 20));
    }
};

struct Scene {
    Platform::MessageQueue queue;
    BenchWindow* window = nullptr;
    BandLike* band = nullptr;
    Timeline* timeline = nullptr;

    Scene()
    {
        benchmarkApplication();
        Project::Project& project = Project::Project::createInstance();
        project.getProjectData().setFormat(SMPTE::SMPTE_30);
        Project::CueList& cues = project.getProjectData().getCueList();
        for (int i = 0; i < kCues; ++i) {
            const int frame = static_cast<int>(i * (kShowMs / kCues) * 0.03);
            const int type =
                i % 7 == 0 ? Project::CueCommand::TYPE_DMX512 : Project::CueCommand::TYPE_PYRO;
            Project::Cue* cue = cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_30, frame),
                                         Project::CueCommand(type), 0, type ? 45 : 0, 1, -1, "");
            cue->setState(i % 5 == 0 ? Project::CUE_DONE : Project::CUE_QUEUED, 0, 0);
            cue->setSelected(i % 50 == 0);
        }
        cues.renumber();
        project.getProjectState().updateShowEnd();

        window = new BenchWindow;
        window->createTopLevel(L"Bench", L"Bench", GUI::kStyleOverlappedWindow, 0);
        window->getHandle()->resize(kWidth, 1080);
        band = new BandLike();
        band->createAsChild(L"Header", L"",
                            new GUI::BasicLayout(0, 0, 0, 0, 1, 0, 0, 100 + kHeight),
                            GUI::kStyleChild | GUI::kStyleVisible, 0, window);
        timeline = new Timeline();
        timeline->createAsD2DChild(L"Timeline", L"", new GUI::BasicLayout(0, 0, 0, 100, 1, 0, 1, 0),
                                   GUI::kStyleChild | GUI::kStyleVisible, 0, band);
        window->getHandle()->show();
        settle();
        timeline->setView(120000, 10);  // 19.2 s in view: some 640 cues
        loadWaveform();
        settle();
    }

    ~Scene()
    {
        delete window;
        Project::Project::destroyInstance();
    }

    static void settle()
    {
        for (int i = 0; i < 10; ++i) {
            QApplication::processEvents();
        }
    }

    // Answers every column as the monitor worker would: a beat of loud and quiet columns.
    void loadWaveform()
    {
        const Waveform& waveform = *timeline->getWaveform();
        const std::size_t width = waveform.columns().columns().size();
        std::vector<Audio::AnalysisResult> results(width);
        for (std::size_t x = 0; x < width; ++x) {
            Audio::AnalysisResult& r = results[x];
            r.tag = static_cast<std::int64_t>(x);
            r.position = waveform.columns().frameOf(static_cast<int>(x), 44100);
            const float loud = 0.45f + 0.4f * static_cast<float>(std::abs(std::sin(x * 0.05)));
            r.bands = {loud * 0.4f, loud * 0.6f, loud * 0.75f, loud * 0.9f, loud};
        }
        Audio::AnalysisBatch batch{results.size(), results.data()};
        Platform::send(waveform.getRequesterWindow(), Audio::kMessageAnalysisResults,
                       static_cast<std::uint64_t>(waveform.columns().getGeneration()),
                       reinterpret_cast<std::int64_t>(&batch));
    }

    void invalidateAll()
    {
        timeline->invalidate();
        for (GUI::D2DComponent* child :
             {static_cast<GUI::D2DComponent*>(timeline->getWaveform()),
              static_cast<GUI::D2DComponent*>(timeline->getCueLayer()),
              static_cast<GUI::D2DComponent*>(timeline->getOverview())}) {
            child->invalidate();
        }
    }
};

// Everything drawn again: background, waveform, markers, overview strip and overlay.
void BM_TimelineFullRepaint(benchmark::State& state)
{
    Scene scene;
    if (state.range(0) == 1) {
        scene.timeline->zoomToFit();  // all 20,000 cues in view
        scene.loadWaveform();
    }
    for (auto _ : state) {
        scene.invalidateAll();
        scene.band->getHandle()->repaint();
    }
}
BENCHMARK(BM_TimelineFullRepaint)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"fitted"})
    ->Unit(benchmark::kMillisecond);

// One zoom step in and one out, or one pan step of 50 pixels each way, on the main thread:
// the view, the waveform's columns carried over and the displays, without the repaint.
void BM_TimelineZoomStep(benchmark::State& state)
{
    Scene scene;
    for (auto _ : state) {
        scene.timeline->zoomIn();
        scene.timeline->zoomOut();
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_TimelineZoomStep)->Unit(benchmark::kMicrosecond);

void BM_TimelinePanStep(benchmark::State& state)
{
    Scene scene;
    for (auto _ : state) {
        scene.timeline->scrollRight();
        scene.timeline->scrollLeft();
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_TimelinePanStep)->Unit(benchmark::kMicrosecond);

// A pan step as the user sees it: the step and the repaint it causes.
void BM_TimelinePanStepWithRepaint(benchmark::State& state)
{
    Scene scene;
    int direction = 1;
    for (auto _ : state) {
        scene.timeline->setView(scene.timeline->view().getStart() + direction * 50 * 10, 10);
        direction = -direction;
        scene.band->getHandle()->repaint();
    }
}
BENCHMARK(BM_TimelinePanStepWithRepaint)->Unit(benchmark::kMillisecond);

// A frame of playback: the position moves and only the overlay is drawn again over the
// children's kept pictures.
void BM_TimelinePlaybackFrame(benchmark::State& state)
{
    Scene scene;
    Project::ProjectState& show = Project::Project::getInstance()->getProjectState();
    int frame = 120000 * 30 / 1000;
    for (auto _ : state) {
        show.setPosition(SMPTE::fromFrameNo(SMPTE::SMPTE_30, frame));
        frame += 1;
        scene.band->getHandle()->repaint();
    }
}
BENCHMARK(BM_TimelinePlaybackFrame)->Unit(benchmark::kMillisecond);

// The overlay alone drawn again over the children's kept pictures (a frame in which no cue
// in view changed its state).
void BM_TimelineOverlayRepaint(benchmark::State& state)
{
    Scene scene;
    for (auto _ : state) {
        scene.timeline->invalidate();
        scene.band->getHandle()->repaint();
    }
}
BENCHMARK(BM_TimelineOverlayRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The two drawings alone, into an image of the waveform's size.
void BM_WaveformDrawColumns(benchmark::State& state)
{
    benchmarkApplication();
    std::vector<WaveformColumn> columns(kWidth);
    for (std::size_t x = 0; x < columns.size(); ++x) {
        const float loud = 0.45f + 0.4f * static_cast<float>(std::abs(std::sin(x * 0.05)));
        columns[x].bands = {loud * 0.4f, loud * 0.6f, loud * 0.75f, loud * 0.9f, loud};
        columns[x].state = WaveformColumn::kExact;
    }
    QImage image(kWidth, kHeight - 20, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        Waveform::drawColumns(painter, columns, image.height());
    }
}
BENCHMARK(BM_WaveformDrawColumns)->Unit(benchmark::kMillisecond);

void BM_CueLayerDraw(benchmark::State& state)
{
    Scene scene;
    if (state.range(0) == 1) {
        scene.timeline->zoomToFit();
    }
    const TimelineCueIndex& index = scene.timeline->cueIndex();
    QImage image(kWidth, kHeight - 20, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        WaveformCues::drawCues(painter, index, scene.timeline->view(), WaveformCues::Mode::kCues,
                               kWidth, image.height(), 30);
    }
}
BENCHMARK(BM_CueLayerDraw)->Arg(0)->Arg(1)->ArgNames({"fitted"})->Unit(benchmark::kMillisecond);

// The overview strip: every one of the 20,000 cues at the show length per pixel.
void BM_OverviewDraw(benchmark::State& state)
{
    Scene scene;
    const TimelineCueIndex& index = scene.timeline->cueIndex();
    QImage image(kWidth - 345, 20, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        WaveformCues::drawCues(painter, index, scene.timeline->view(),
                               WaveformCues::Mode::kOverview, image.width(), image.height(), 30);
    }
}
BENCHMARK(BM_OverviewDraw)->Unit(benchmark::kMillisecond);

}  // namespace
