#include <gtest/gtest.h>

#include <QTest>

#include "Audio/AudioTestSupport.h"
#include "GUIMain/Header.h"
#include "GUIMain/MainWindowTestSupport.h"
#include "GUIMain/Timeline.h"
#include "GUIMain/Waveform.h"
#include "GUIMain/WaveformCues.h"
#include "Platform/MessageWindow.h"
#include "Project/Operations/TimelineSelection.h"

namespace GUIMain {
namespace {

// The timeline of the real main window, driven by script lines as a user's mouse would.
class TimelineTest : public Testing::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Project::resetCuePickCounter();
        timeline_ = window_->getHeader()->getTimeline();
        ASSERT_NE(timeline_, nullptr);
        format_ = session_->project().getProjectData().getFormat();
    }

    // A pyro cue at `frame`; returns it.
    Project::Cue* addCue(int frame)
    {
        return session_->project().getProjectData().getCueList().add(
            SMPTE::fromFrameNo(format_, frame), Project::CueCommand(Project::CueCommand::TYPE_PYRO),
            0, 0, 1, -1, "");
    }
    // The pixel of a cue in the view.
    int pixelOf(const Project::Cue* cue) const
    {
        return static_cast<int>(timeline_->view().pixelOf(cue->getTimecode().getMilliseconds()));
    }
    static std::string at(int x, int y) { return std::to_string(x) + " " + std::to_string(y); }

    Timeline* timeline_ = nullptr;
    int format_ = 0;
};

TEST_F(TimelineTest, StateReportsTheViewAndTheCommandsZoomIt)
{
    session_->project().setFileName(L"untitled", true);  // the zoom commands need a project
    timeline_->setView(1000, 10);
    nlohmann::json view = state()["timeline"];
    EXPECT_EQ(view["startMs"], 1000.0);
    EXPECT_EQ(view["scale"], 10.0);
    EXPECT_EQ(view["autoscroll"], true);
    EXPECT_EQ(view["fitted"], false);
    EXPECT_TRUE(view["hoverMs"].is_null());

    run({"command 67"});  // zoom in
    EXPECT_DOUBLE_EQ(state()["timeline"]["scale"], 8.0);
    run({"command 68", "command 68"});  // zoom out twice
    EXPECT_DOUBLE_EQ(state()["timeline"]["scale"], 12.5);
    run({"command 69"});  // fit
    EXPECT_EQ(state()["timeline"]["fitted"], true);
    EXPECT_EQ(state()["timeline"]["startMs"], 0.0);
}

TEST_F(TimelineTest, TheButtonsZoomScrollAndToggleAutoscroll)
{
    timeline_->setView(0, 10);
    EXPECT_FALSE(failureOf("click Header/Timeline/ScrollLeftButton").empty())
        << "scrolling left at 0 is off";
    run({"click Header/Timeline/ScrollRightButton"});
    EXPECT_EQ(state()["timeline"]["startMs"], 500.0);
    run({"click Header/Timeline/ScrollLeftButton", "click Header/Timeline/ZoomInButton"});
    EXPECT_EQ(state()["timeline"]["scale"], 8.0);
    run({"click Header/Timeline/AutoscrollButton"});
    EXPECT_EQ(state()["timeline"]["autoscroll"], false);
    run({"click Header/Timeline/ZoomToFitButton", "click Header/Timeline/AutoscrollButton"});
    EXPECT_EQ(state()["timeline"]["fitted"], false);
    EXPECT_EQ(state()["timeline"]["autoscroll"], true);
}

TEST_F(TimelineTest, AClickSelectsTheNearestCueWithinEightPixels)
{
    timeline_->setView(0, 10);
    Project::Cue* near = addCue(30);  // 1 s at 30 fps: pixel 100
    Project::Cue* other = addCue(60);
    const int x = pixelOf(near);

    run({"click Header/Timeline/WaveformCues " + at(x + 7, 30)});
    EXPECT_TRUE(near->isSelected());
    EXPECT_FALSE(other->isSelected());

    run({"click Header/Timeline/WaveformCues " + at(x + 12, 30)});
    EXPECT_FALSE(near->isSelected()) << "a click on no cue deselects";

    run({"click Header/Timeline/WaveformCues " + at(pixelOf(other), 30) + " shift",
         "click Header/Timeline/WaveformCues " + at(x, 30) + " shift"});
    EXPECT_TRUE(near->isSelected());
    EXPECT_TRUE(other->isSelected()) << "Shift adds";
    run({"click Header/Timeline/WaveformCues " + at(x, 30) + " shift"});
    EXPECT_FALSE(near->isSelected()) << "Shift toggles";
    EXPECT_TRUE(other->isSelected());
}

TEST_F(TimelineTest, ClicksOnOverlappingCuesCycleThroughThem)
{
    timeline_->setView(0, 10);
    Project::Cue* a = addCue(30);
    Project::Cue* b = addCue(30);
    const std::string click = "click Header/Timeline/WaveformCues " + at(pixelOf(a), 30);
    run({click});
    const bool firstA = a->isSelected();
    EXPECT_NE(a->isSelected(), b->isSelected());
    run({click});
    EXPECT_NE(a->isSelected(), firstA);
    EXPECT_NE(a->isSelected(), b->isSelected());
}

TEST_F(TimelineTest, ABandSelectsTheCuesOfItsTimeRange)
{
    timeline_->setView(0, 10);
    Project::Cue* before = addCue(15);
    Project::Cue* in1 = addCue(45);
    Project::Cue* in2 = addCue(60);
    Project::Cue* after = addCue(120);
    before->setSelected(true);
    run({"drag Header/Timeline/WaveformCues " + at(pixelOf(in1) - 5, 30) + " " +
         at(pixelOf(in2) + 5, 40)});
    EXPECT_TRUE(in1->isSelected());
    EXPECT_TRUE(in2->isSelected());
    EXPECT_FALSE(after->isSelected());
    EXPECT_FALSE(before->isSelected()) << "without Shift the band replaces the selection";
}

TEST_F(TimelineTest, AShiftBandAddsToTheSelection)
{
    timeline_->setView(0, 10);
    Project::Cue* kept = addCue(15);
    Project::Cue* in = addCue(60);
    kept->setSelected(true);
    QWidget* layer = timeline_->getCueLayer()->getHandle();
    const QPoint from(pixelOf(in) - 10, 30);
    const QPoint to(pixelOf(in) + 10, 30);
    QTest::mousePress(layer, Qt::LeftButton, Qt::ShiftModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, layer->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::ShiftModifier);
    QApplication::sendEvent(layer, &move);
    EXPECT_TRUE(timeline_->getCueLayer()->hasBand());
    QTest::mouseRelease(layer, Qt::LeftButton, Qt::ShiftModifier, to);
    EXPECT_TRUE(in->isSelected());
    EXPECT_TRUE(kept->isSelected());
    EXPECT_FALSE(timeline_->getCueLayer()->hasBand()) << "the band is cleared";
}

TEST_F(TimelineTest, TheRightButtonSeeksAndNeverBeforeZero)
{
    const std::string wave = pathUtf8("tone.wav");
    Audio::TestSupport::writeFile(
        wave, Audio::TestSupport::waveBytes(
                  Audio::TestSupport::makeSamples(44100 * 20, [](std::size_t, int) { return 0; }),
                  44100));
    ASSERT_EQ(session_->player().load(Platform::fromUtf8(wave)), 0);
    timeline_->setView(0, 10);
    run({"click Header/Timeline/WaveformCues 300 30 right", "wait 300"});
    EXPECT_NEAR(state()["positionMs"].get<double>(), 3000.0, 40.0);
    run({"drag Header/Timeline/WaveformCues 300 30 -40 30 right", "wait 300"});
    EXPECT_EQ(state()["positionMs"].get<double>(), 0.0);
}

TEST_F(TimelineTest, TheMiddleButtonPansAndTheWheelZoomsAtTheMouse)
{
    timeline_->setView(5000, 10);
    run({"drag Header/Timeline/WaveformCues 400 30 300 30 middle"});
    EXPECT_DOUBLE_EQ(state()["timeline"]["startMs"], 6000.0);
    run({"wheel Header/Timeline/WaveformCues 120 250 30"});
    nlohmann::json view = state()["timeline"];
    EXPECT_DOUBLE_EQ(view["scale"], 8.0);
    EXPECT_NEAR(view["hoverMs"].get<double>(), 6000.0 + 250 * 10, 1e-6);
    EXPECT_NEAR(timeline_->view().timeAt(250), 6000.0 + 250 * 10, 1e-6)
        << "the time under the mouse stays under it";
}

TEST_F(TimelineTest, TheOverviewStripCentresTheView)
{
    session_->project().getProjectData().getCueList().add(SMPTE::fromFrameNo(format_, 30 * 600),
                                                          Project::CueCommand(), 0, 0, 1, -1, "");
    session_->state().updateShowEnd();
    timeline_->setView(0, 10);
    const double ratio = timeline_->view().getOverviewRatio();
    ASSERT_GT(ratio, 1.0);
    run({"click Header/Timeline/ScrollbarCues 100 10"});
    const TimelineView& view = timeline_->view();
    EXPECT_NEAR(view.getStart() + view.getWidth() * view.getScale() * 0.5, 100 * ratio, 1e-6);
}

// While a show plays, the timeline redraws only the columns the play position left and
// reached and the markers whose state changed. The picture this leaves must be the one a
// drawing of everything makes: no line left behind, no marker or number in an old colour.
TEST_F(TimelineTest, PlaybackRedrawsOnlyChangesAndLeavesThePictureAFullDrawingMakes)
{
    // Crowded: a cue every two frames, so that pixels are shared and numbers skip cues.
    for (int frame = 0; frame < 1600; frame += 2) {
        Project::Cue* cue = addCue(frame);
        cue->setDuration(frame % 10 == 0 ? 12 : 0);
    }
    Project::ProjectState& state = session_->project().getProjectState();
    timeline_->setView(0, 20);
    QApplication::processEvents();
    QWidget* root = window_->getHeader()->getHandle();
    const QPoint corner = timeline_->getHandle()->mapTo(root, QPoint(0, 0));
    const QSize size = timeline_->getHandle()->size();

    // The pixels that differ from a drawing of everything, in the main area or in all of
    // the timeline (the overview strip follows the cues twice a second only).
    auto differingFromAFullDrawing = [&](bool withStrip) {
        const QRect area(
            corner,
            QSize(size.width(), withStrip ? size.height() : size.height() - Timeline::kBarHeight));
        const QImage followed = root->grab(area).toImage();
        for (const wchar_t* name : {L"Waveform", L"WaveformCues", L"ScrollbarCues"}) {
            timeline_->findByName(name)->invalidate();
        }
        timeline_->invalidate();
        QApplication::processEvents();
        const QImage whole = root->grab(area).toImage();
        int differing = 0;
        for (int y = 0; y < whole.height(); ++y) {
            for (int x = 0; x < whole.width(); ++x) {
                differing += followed.pixel(x, y) != whole.pixel(x, y) ? 1 : 0;
            }
        }
        return differing;
    };
    // Each move waits for the markers' redraw, so that each redraws the cues it changed.
    auto playTo = [&](int frame, bool overviewToo) {
        state.setPosition(SMPTE::fromFrameNo(format_, frame));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !timeline_->hasPendingRestyles(overviewToo); }));
        QApplication::processEvents();
    };
    for (int frame : {100, 101, 104, 150}) {
        playTo(frame, false);
        EXPECT_EQ(differingFromAFullDrawing(false), 0) << "at frame " << frame;
    }
    // A pan while playing, then steps past the cue at frame 156, which has its number shown
    // in this view (numbers go to the first cue in view, then to the first cue 34 pixels on,
    // and so on): the number changes colour with the marker as the cue fires.
    timeline_->setView(900, 20);
    for (int frame : {155, 156, 160}) {
        playTo(frame, false);
        EXPECT_EQ(differingFromAFullDrawing(false), 0) << "at frame " << frame;
    }
    playTo(400, true);
    EXPECT_EQ(differingFromAFullDrawing(true), 0) << "with the overview strip";
}

TEST_F(TimelineTest, AnAnswerForAnOlderBatchLeavesTheColumnsAlone)
{
    const Waveform* waveform = timeline_->getWaveform();
    ASSERT_NE(waveform, nullptr);
    const std::int64_t current = waveform->columns().getGeneration();
    Audio::AnalysisResult result;
    result.position = waveform->columns().frameOf(0, session_->player().getRate());
    result.bands[4] = 0.9f;
    Audio::AnalysisBatch batch{1, &result};
    Platform::send(waveform->getRequesterWindow(), Audio::kMessageAnalysisResults,
                   static_cast<std::uint64_t>(current - 1), reinterpret_cast<std::int64_t>(&batch));
    EXPECT_EQ(waveform->columns().columns()[0].state, WaveformColumn::kMissing);
    Platform::send(waveform->getRequesterWindow(), Audio::kMessageAnalysisResults,
                   static_cast<std::uint64_t>(current), reinterpret_cast<std::int64_t>(&batch));
    EXPECT_EQ(waveform->columns().columns()[0].state, WaveformColumn::kExact)
        << "the current batch's answer is taken";
}

TEST_F(TimelineTest, TheWaveformFillsInFromTheMonitorWorker)
{
    const std::string wave = pathUtf8("loud.wav");
    Audio::TestSupport::writeFile(
        wave, Audio::TestSupport::waveBytes(
                  Audio::TestSupport::makeSamples(44100 * 4,
                                                  [](std::size_t i, int) {
                                                      return static_cast<std::int16_t>(
                                                          (i / 50) % 2 ? 20000 : -20000);
                                                  }),
                  44100));
    ASSERT_EQ(session_->player().load(Platform::fromUtf8(wave)), 0);
    run({"command 69", "wait 800"});
    const auto& columns = timeline_->getWaveform()->columns().columns();
    ASSERT_FALSE(columns.empty());
    std::size_t exact = 0;
    for (const WaveformColumn& column : columns) {
        exact += column.state == WaveformColumn::kExact ? 1 : 0;
    }
    EXPECT_EQ(exact, columns.size());
    EXPECT_GT(columns[columns.size() / 4].bands[4], 0.5f);
}

}  // namespace
}  // namespace GUIMain
