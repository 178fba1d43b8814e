#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "Project/CueStatePreviewUpdate.h"
#include "Project/IShowAudio.h"
#include "Project/IShowController.h"
#include "Project/ITimecodeOut.h"
#include "Project/Project.h"
#include "Project/ProjectState.h"

namespace Project {
namespace {

using Log = std::vector<std::string>;

std::string label(const SMPTE& time)
{
    return time.toNarrowString();
}

class FakeAudio : public IShowAudio {
public:
    explicit FakeAudio(Log& log) : log_(log) {}
    void play() override { log_.push_back("audio.play"); }
    void pause() override { log_.push_back("audio.pause"); }
    void stop() override { log_.push_back("audio.stop"); }
    void locate(const SMPTE& time) override { log_.push_back("audio.locate " + label(time)); }
    SMPTE getPosition(int format) override { return SMPTE::fromFrameNo(format, positionFrames); }
    SMPTE getLength(int format) const override
    {
        return SMPTE::fromFrameNo(format, loaded ? lengthFrames : 0);
    }
    bool isLoaded() const override { return loaded; }
    bool isStopped() const override { return stopped; }
    bool isRecording() const override { return recording; }

    int positionFrames = 0;
    int lengthFrames = 0;
    bool loaded = false;
    bool stopped = true;
    bool recording = false;

private:
    Log& log_;
};

class FakeController : public IShowController {
public:
    explicit FakeController(Log& log) : log_(log) {}
    bool hasWorker() const override { return worker; }
    void transport(int transport) override
    {
        log_.push_back("controller.transport " + std::to_string(transport));
    }
    void locate(const SMPTE& time) override { log_.push_back("controller.locate " + label(time)); }
    int getStatus() const override { return status; }

    bool worker = true;
    int status = 0;

private:
    Log& log_;
};

class FakeTimecodeOut : public ITimecodeOut {
public:
    explicit FakeTimecodeOut(Log& log) : log_(log) {}
    bool isOutputOpen() const override { return open; }
    bool isFullFrameMode() const override { return fullFrame; }
    void setFullFrameMode(bool on) override
    {
        fullFrame = on;
        log_.push_back(on ? "mtc.fullframe on" : "mtc.fullframe off");
    }
    void sendFullFrame(const SMPTE& time) override { log_.push_back("mtc.frame " + label(time)); }
    void startQuarterFrames() override { log_.push_back("mtc.start"); }
    void stopQuarterFrames() override { log_.push_back("mtc.stop"); }

    bool open = true;
    bool fullFrame = false;

private:
    Log& log_;
};

class Recorder : public ProjectState::Listener {
public:
    explicit Recorder(Log& log) : log_(log) {}
    void onShowEndChanged(const SMPTE& end) override { log_.push_back("end " + label(end)); }
    void onPositionChanged(const SMPTE& p) override { log_.push_back("position " + label(p)); }
    void onModeChanged() override { log_.push_back("mode"); }

private:
    Log& log_;
};

// A cue-editing stand-in: sets one cue's prefire time, as an undoable edit does.
class SetPrefire : public IOperation {
public:
    SetPrefire(Cue* cue, int frames) : cue_(cue), frames_(frames) {}
    bool execute(ProjectData&) override { return cue_->setPrefireTime(frames_); }
    bool isUndoable() const override { return true; }

private:
    Cue* cue_;
    int frames_;
};

// A passive operation that changes nothing, as a state update that found no change.
class PassiveNoChange : public IOperation {
public:
    bool execute(ProjectData&) override { return true; }
    bool isPassive() const override { return true; }
};

class ShowState : public ::testing::Test {
protected:
    ShowState()
    {
        state.attach();
        state.setAudio(&audio);
        state.setController(&controller);
        state.setTimecodeOut(&mtc);
        state.addListener(&recorder);
    }

    Cue* addCue(int timecode, int prefire, int duration, int address = 1)
    {
        return cues().add(SMPTE::fromFrameNo(SMPTE::SMPTE_30, timecode), CueCommand::pyro(address),
                          prefire, duration, 0, -1, "");
    }
    CueList& cues() { return project.getProjectData().getCueList(); }
    void at(int frames) { state.setPosition(SMPTE::fromFrameNo(SMPTE::SMPTE_30, frames)); }
    std::vector<int> states()
    {
        std::vector<int> result;
        for (const CueList::CueItem* cue = cues().first(); cue != cues().end();
             cue = cue->getNext()) {
            result.push_back(cue->getState());
        }
        return result;
    }

    Log log;
    Project project;
    ProjectState& state = project.getProjectState();
    FakeAudio audio{log};
    FakeController controller{log};
    FakeTimecodeOut mtc{log};
    Recorder recorder{log};
};

TEST_F(ShowState, PreviewFollowsThePosition)
{
    // In list (timecode) order. Fire time = timecode - prefire; end = timecode + duration,
    // or + 3 frames without a duration.
    addCue(100, 10, 0);  // A: fire 90, end 103
    addCue(105, 5, 10);  // C: fire 100, end 115
    addCue(120, 20, 5);  // B: fire 100, end 125
    addCue(130, 0, 3);   // D: fire 130, end 133
    addCue(140, 50, 0);  // X: fire 90, end 143
    addCue(200, 0, 0);   // Y: fire 200
    addCue(210, 50, 0);  // Z: fire 160, listed after Y
    const int Q = CUE_QUEUED, N = CUE_NEXT, P = CUE_PREFIRE, A = CUE_ACTIVE, D = CUE_DONE;
    const struct {
        int position;
        std::vector<int> expected;
    } rows[] = {
        // A and X share the first fire time after the position.
        {50, {N, Q, Q, Q, N, Q, Q}},
        // Fire time equal to the position is prefire, not next; C and B share 100.
        {90, {P, N, N, Q, P, Q, Q}},
        // A without a duration is active for 3 frames after its timecode.
        {102, {A, P, P, N, P, Q, Q}},
        {103, {D, P, P, N, P, Q, Q}},
        {115, {D, D, P, N, P, Q, Q}},
        // The first cue in list order after the position decides: Y, not the earlier Z.
        {142, {D, D, D, D, A, N, Q}},
        {300, {D, D, D, D, D, D, D}},
    };
    for (const auto& row : rows) {
        at(row.position);
        EXPECT_EQ(states(), row.expected) << "position " << row.position;
    }
}

// The preview follows the position by touching only the cues a move can change; whatever
// the moves and the edits between them, the states must be those of a walk over every cue.
TEST_F(ShowState, PreviewFollowsMovesAndEditsAsAFullWalkWould)
{
    std::mt19937 random(7);
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    // Crowded: shared timecodes and fire times, prefires that put a later cue's fire time
    // before an earlier one's, cues with and without durations.
    for (int i = 0; i < 300; ++i) {
        const int timecode = pick(0, 600);
        addCue(timecode, pick(0, 3) == 0 ? pick(0, std::min(timecode, 200)) : 0,
               pick(0, 2) * pick(0, 40));
    }
    auto expected = [this](int position) {
        std::vector<int> result;
        std::optional<int64_t> nextFire;
        for (const CueList::CueItem* cue = cues().first(); cue != cues().end();
             cue = cue->getNext()) {
            result.push_back(CueStatePreviewUpdate::previewState(
                cue->getTimecode().getFrameNo(), cue->getPrefireTime(), cue->getDuration(),
                position, nextFire));
        }
        return result;
    };
    int position = 0;
    for (int step = 0; step < 3000; ++step) {
        switch (pick(0, 40)) {
            case 0: position = pick(0, 900); break;  // a seek, either way
            case 1: position = std::max(0, position - pick(1, 50)); break;
            case 2: {
                CueList::CueItem* cue = cues().first();
                for (int skip = pick(0, cues().getCount() - 1); skip > 0; --skip) {
                    cue = cue->getNext();
                }
                switch (pick(0, 4)) {
                    case 0:
                        EXPECT_TRUE(project.submit(std::make_unique<SetPrefire>(
                            cue, pick(0, cue->getTimecode().getFrameNo()))));
                        break;
                    case 1: cue->setDuration(pick(0, 60)); break;
                    case 2:
                        cue->setTimecode(SMPTE::fromFrameNo(SMPTE::SMPTE_30, pick(200, 700)));
                        break;
                    case 3: cues().remove(cue); break;
                    default:
                        // A state from elsewhere stands until the position moves again.
                        cue->setState(CUE_DISABLED, FLAG_COMMFAIL, 0xFF);
                        ++position;
                        break;
                }
                if (pick(0, 1) == 0) {
                    addCue(pick(0, 800), pick(0, 5), pick(0, 10));
                }
                break;
            }
            default: position += pick(0, 2); break;  // playing
        }
        at(position);
        // Edits made outside an operation reach the preview with the next operation.
        EXPECT_TRUE(project.submit(std::make_unique<PassiveNoChange>()));
        ASSERT_EQ(states(), expected(position)) << "step " << step << ", position " << position;
        for (const CueList::CueItem* cue = cues().first(); cue != cues().end();
             cue = cue->getNext()) {
            ASSERT_EQ(cue->getFlags() & (FLAG_TESTED | FLAG_COMMFAIL), FLAG_TESTED)
                << "step " << step;
        }
    }
}

TEST_F(ShowState, PreviewMarksCuesTestedAndKeepsOtherFlags)
{
    Cue* cue = addCue(100, 0, 0);
    cue->setState(CUE_DISABLED, FLAG_NO_CONTINUITY | FLAG_COMMFAIL | FLAG_DUPLICATE, 0xFF);
    at(10);
    EXPECT_EQ(cue->getState(), CUE_NEXT);
    EXPECT_EQ(cue->getFlags(), FLAG_TESTED | FLAG_DUPLICATE);
}

TEST_F(ShowState, SamePositionNotifiesOnceAndFullFramesFollowTheMode)
{
    at(10);
    at(10);
    mtc.fullFrame = true;
    at(11);
    mtc.open = false;
    at(12);
    EXPECT_EQ(log, (Log{"position 00:00:00:10", "mtc.frame 00:00:00:11", "position 00:00:00:11",
                        "position 00:00:00:12"}));
}

TEST_F(ShowState, ClockReportsMoveThePositionOnlyForTheirClock)
{
    project.getProjectData().setFormat(SMPTE::SMPTE_30DF);
    // 1000 ms at 29.97 fps: trunc(29.97 + 0.5) = 30 frames, labelled 00:00:01;00.
    state.onAudioPositionChanged(1000.0);
    EXPECT_EQ(state.getPosition().getFrameNo(), 30);
    EXPECT_EQ(state.getPosition().getFormat(), SMPTE::SMPTE_30DF);
    state.onControllerTimecode(5000.0);
    EXPECT_EQ(state.getPosition().getFrameNo(), 30);

    state.enterShowMode(ProjectState::CLOCK_CONTROLLER);
    state.onAudioPositionChanged(9000.0);
    EXPECT_EQ(state.getPosition().getFrameNo(), 0);  // the controller clock starts at zero
    // 2016.7 ms: trunc(60.44 + 0.5) = 60.
    state.onControllerTimecode(2016.7);
    EXPECT_EQ(state.getPosition().getFrameNo(), 60);
    // A report before the start holds at frame 0.
    state.onControllerTimecode(-500.0);
    EXPECT_EQ(state.getPosition().getFrameNo(), 0);

    state.exitShowMode();
    state.setClockMode(ProjectState::CLOCK_MANUAL);
    state.onControllerTimecode(1000.0);
    EXPECT_EQ(state.getPosition().getFrameNo(), 30);
}

TEST_F(ShowState, ModeChangesInOrder)
{
    addCue(100, 10, 0);
    audio.positionFrames = 45;
    const struct {
        const char* step;
        void (*run)(ProjectState&);
        int clock;
        bool show;
        Log expected;
    } rows[] = {
        {"same clock",
         [](ProjectState& s) { s.setClockMode(ProjectState::CLOCK_AUDIO); },
         ProjectState::CLOCK_AUDIO,
         false,
         {}},
        // Stop runs under the old clock, then the new one is announced.
        {"manual clock",
         [](ProjectState& s) { s.setClockMode(ProjectState::CLOCK_MANUAL); },
         ProjectState::CLOCK_MANUAL,
         false,
         {"audio.stop", "mtc.frame 00:00:01:15", "mtc.stop", "mode"}},
        // The manual clock has no stop of its own.
        {"back to audio",
         [](ProjectState& s) { s.setClockMode(ProjectState::CLOCK_AUDIO); },
         ProjectState::CLOCK_AUDIO,
         false,
         {"mode"}},
        // Enter with the controller clock: stop the audio, switch, go to the clock's start
        // (zero; the position is already there), then show mode.
        {"enter",
         [](ProjectState& s) { s.enterShowMode(ProjectState::CLOCK_CONTROLLER); },
         ProjectState::CLOCK_CONTROLLER,
         true,
         {"audio.stop", "mtc.frame 00:00:01:15", "mtc.stop", "audio.stop", "mtc.frame 00:00:01:15",
          "mtc.stop", "mode", "mode"}},
        {"enter again",
         [](ProjectState& s) { s.enterShowMode(ProjectState::CLOCK_MANUAL); },
         ProjectState::CLOCK_CONTROLLER,
         true,
         {}},
        // Leave: stop under the controller clock, audio clock, preview, announce.
        {"exit",
         [](ProjectState& s) { s.exitShowMode(); },
         ProjectState::CLOCK_AUDIO,
         false,
         {"controller.transport 2", "mode", "mode"}},
        {"exit again",
         [](ProjectState& s) { s.exitShowMode(); },
         ProjectState::CLOCK_AUDIO,
         false,
         {}},
        // Enter with the audio clock: the position jumps to the player's.
        {"enter audio",
         [](ProjectState& s) { s.enterShowMode(ProjectState::CLOCK_AUDIO); },
         ProjectState::CLOCK_AUDIO,
         true,
         {"audio.stop", "mtc.frame 00:00:01:15", "mtc.stop", "position 00:00:01:15", "mode"}},
    };
    for (const auto& row : rows) {
        log.clear();
        row.run(state);
        EXPECT_EQ(state.getClockMode(), row.clock) << row.step;
        EXPECT_EQ(state.isShowMode(), row.show) << row.step;
        EXPECT_EQ(project.isShowMode(), row.show) << row.step;
        EXPECT_EQ(log, row.expected) << row.step;
    }
}

TEST_F(ShowState, TransportByClockMode)
{
    const SMPTE where = SMPTE::fromFrameNo(SMPTE::SMPTE_30, 40);
    struct Row {
        int clock;
        bool show;
        bool worker;
        Log play, pause, stop, locate;
        bool supported;
    };
    audio.stopped = false;
    audio.positionFrames = 7;
    const Row rows[] = {
        {ProjectState::CLOCK_AUDIO,
         false,
         true,
         {"audio.play", "mtc.fullframe on"},
         {"audio.pause", "mtc.frame 00:00:00:07", "mtc.stop"},
         {"audio.stop", "mtc.frame 00:00:00:07", "mtc.stop"},
         {"mtc.frame 00:00:01:10", "audio.locate 00:00:01:10"},
         true},
        // In show mode the controller hears the locate too.
        {ProjectState::CLOCK_AUDIO,
         true,
         true,
         {"audio.play", "mtc.fullframe on"},
         {"audio.pause", "mtc.frame 00:00:00:07", "mtc.stop"},
         {"audio.stop", "mtc.frame 00:00:00:07", "mtc.stop"},
         {"mtc.frame 00:00:01:10", "controller.locate 00:00:01:10", "audio.locate 00:00:01:10"},
         true},
        {ProjectState::CLOCK_CONTROLLER,
         true,
         true,
         {"controller.transport 0"},
         {"controller.transport 1"},
         {"controller.transport 2"},
         {"mtc.frame 00:00:01:10", "controller.locate 00:00:01:10"},
         true},
        // Without a worker the requests are dropped; the calls still succeed.
        {ProjectState::CLOCK_CONTROLLER, true, false, {}, {}, {}, {"mtc.frame 00:00:01:10"}, true},
        {ProjectState::CLOCK_MANUAL,
         true,
         true,
         {},
         {},
         {},
         {"mtc.frame 00:00:01:10", "controller.locate 00:00:01:10"},
         false},
    };
    for (const Row& row : rows) {
        state.exitShowMode();
        if (row.show) {
            state.enterShowMode(row.clock);
        } else {
            state.setClockMode(row.clock);
        }
        controller.worker = row.worker;
        const std::string name = "clock " + std::to_string(row.clock) + (row.show ? " show" : "") +
                                 (row.worker ? "" : " no worker");
        state.setRecordRequest(true);
        log.clear();
        EXPECT_EQ(state.play(), row.supported) << name;
        EXPECT_EQ(log, row.play) << name;
        EXPECT_FALSE(state.getRecordRequest()) << name;
        log.clear();
        EXPECT_EQ(state.pause(), row.supported) << name;
        EXPECT_EQ(log, row.pause) << name;
        log.clear();
        EXPECT_EQ(state.stop(), row.supported) << name;
        EXPECT_EQ(log, row.stop) << name;
        log.clear();
        EXPECT_TRUE(state.locate(where)) << name;
        EXPECT_EQ(log, row.locate) << name;
        controller.worker = true;
    }
}

TEST_F(ShowState, PlayAt25FramesRunsQuarterFramesAndPauseSkipsAStoppedPlayer)
{
    project.getProjectData().setFormat(SMPTE::SMPTE_25);
    EXPECT_TRUE(state.play());
    audio.stopped = true;
    mtc.open = false;
    EXPECT_TRUE(state.pause());
    EXPECT_EQ(log, (Log{"audio.play", "mtc.fullframe off", "mtc.start", "mtc.stop"}));
}

TEST_F(ShowState, ReportedStatesFollowClockAndStatus)
{
    audio.stopped = false;
    audio.recording = true;
    EXPECT_FALSE(state.isStopped());
    EXPECT_TRUE(state.isRecording());
    controller.status = 0x01 | 0x02 | 0x20 | 0x40;
    // Outside show mode every status bit counts as clear.
    EXPECT_FALSE(state.isPyroArmed());
    EXPECT_EQ(state.getDeadmanState(), ProjectState::SAFETY_SAFE);

    state.enterShowMode(ProjectState::CLOCK_CONTROLLER);
    EXPECT_FALSE(state.isRecording());
    EXPECT_FALSE(state.isStopped());
    EXPECT_TRUE(state.isPyroArmed());
    EXPECT_STREQ(ProjectState::pyroStateKey(state.getPyroState()),
                 "SIDEBAR.SHOW_MODE.PYRO_STATE.ARMED");
    EXPECT_STREQ(ProjectState::dmxStateKey(state.getDmxState()),
                 "SIDEBAR.SHOW_MODE.DMX_STATE.ARMED");
    EXPECT_STREQ(ProjectState::deadmanStateKey(state.getDeadmanState()),
                 "SIDEBAR.SHOW_MODE.DEADMAN_STATE.OVERRIDDEN");
    controller.status = 0x40 | 0x10;  // override without the switch: safe
    EXPECT_TRUE(state.isStopped());
    EXPECT_STREQ(ProjectState::deadmanStateKey(state.getDeadmanState()),
                 "SIDEBAR.SHOW_MODE.DEADMAN_STATE.SAFE");
    controller.status = 0x02;
    EXPECT_STREQ(ProjectState::deadmanStateKey(state.getDeadmanState()),
                 "SIDEBAR.SHOW_MODE.DEADMAN_STATE.HELD");
    EXPECT_STREQ(ProjectState::pyroStateKey(state.getPyroState()),
                 "SIDEBAR.SHOW_MODE.PYRO_STATE.SAFE");

    state.setClockMode(ProjectState::CLOCK_MANUAL);
    EXPECT_FALSE(state.isStopped());
}

TEST_F(ShowState, StatusAndPlayStateAnnounceOnlyWhereTheyMatter)
{
    state.onAudioStateChanged();
    state.onControllerStatusChanged(1);  // not in show mode
    EXPECT_EQ(log, Log{"mode"});
    state.enterShowMode(ProjectState::CLOCK_CONTROLLER);
    log.clear();
    state.onAudioStateChanged();
    state.onControllerStatusChanged(1);
    EXPECT_EQ(log, Log{"mode"});
}

TEST_F(ShowState, ShowEndIsTheLaterOfLastCueAndTrack)
{
    Cue* early = addCue(100, 0, 0);
    Cue* late = addCue(300, 0, 0);
    audio.loaded = true;
    audio.lengthFrames = 200;
    state.onAudioTrackChanged();  // nothing changes: the last cue still ends the show
    // A removed last cue falls back to the track's length, the later of the two.
    cues().remove(late);
    // The last cue moving before another: the new last cue or the track decides.
    addCue(250, 0, 0);
    early->setTimecode(SMPTE::fromFrameNo(SMPTE::SMPTE_30, 400));
    early->setTimecode(SMPTE::fromFrameNo(SMPTE::SMPTE_30, 10));
    audio.loaded = false;
    state.onAudioTrackChanged();
    EXPECT_EQ(log, (Log{"end 00:00:03:10", "end 00:00:10:00", "end 00:00:06:20", "end 00:00:08:10",
                        "end 00:00:13:10", "end 00:00:08:10"}));
    EXPECT_EQ(state.getShowEnd().getFrameNo(), 250);
}

TEST_F(ShowState, EditsRefreshThePreviewOnceOutsideShowModeOnly)
{
    Cue* cue = addCue(100, 0, 0);
    at(95);
    EXPECT_EQ(cue->getState(), CUE_NEXT);

    EXPECT_TRUE(project.submit(std::make_unique<SetPrefire>(cue, 10)));
    EXPECT_EQ(cue->getState(), CUE_PREFIRE);  // fire time 90 lies behind the position now
    EXPECT_FALSE(state.isPreviewDirty());

    // Entering goes to the manual clock's start, still with a preview; then it freezes.
    state.enterShowMode(ProjectState::CLOCK_MANUAL);
    EXPECT_EQ(cue->getState(), CUE_NEXT);
    cue->setPrefireTime(0);
    state.onControllerTimecode(100 * 1000.0 / 30);
    EXPECT_EQ(state.getPosition().getFrameNo(), 100);
    EXPECT_FALSE(state.isPreviewDirty());
    EXPECT_TRUE(project.submit(std::make_unique<PassiveNoChange>()));
    EXPECT_EQ(cue->getState(), CUE_NEXT);

    // Leaving recomputes the preview at the current position: fire time 100, active.
    state.exitShowMode();
    EXPECT_EQ(cue->getState(), CUE_ACTIVE);
}

}  // namespace
}  // namespace Project
