#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Midi/FakeMidiPorts.h"
#include "Midi/MidiController.h"
#include "Midi/MtcMessage.h"
#include "Platform/ManualClock.h"
#include "Platform/MessageQueue.h"
#include "Project/Project.h"

namespace Midi {
namespace {

using namespace std::chrono_literals;

struct Shown {
    std::wstring text;
    std::wstring caption;
    int icon;
    friend bool operator==(const Shown&, const Shown&) = default;
};

// The program around the service: a player that is playing or not, and a show clock whose
// position the generator's thread reads.
class Host final : public IMidiHost {
public:
    int getFormat() const override { return format; }
    SMPTE getClockPosition(int requested) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        EXPECT_EQ(requested, format);
        return clock_;
    }
    void setClock(const SMPTE& time)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        clock_ = time;
    }
    bool isAudioPlaying() const override { return playing; }
    void pauseAudio() override
    {
        ++pauses;
        playing = false;
    }
    void playAudio(bool recording) override
    {
        plays.push_back(recording);
        playing = true;
    }
    bool isRecordRequested() const override { return recordRequested; }
    void locate(const SMPTE& time) override { locates.push_back(time.toNarrowString()); }
    void showMessage(const std::wstring& text, const std::wstring& caption, int icon) override
    {
        shown.push_back({text, caption, icon});
    }

    int format = SMPTE::SMPTE_25;
    bool playing = false;
    bool recordRequested = false;
    int pauses = 0;
    std::vector<bool> plays;
    std::vector<std::string> locates;
    std::vector<Shown> shown;

private:
    std::mutex mutex_;
    SMPTE clock_{SMPTE::SMPTE_25};
};

Bytes piecesOf(const SMPTE& time)
{
    Bytes pieces;
    for (int piece = 0; piece < 8; ++piece) {
        pieces.push_back(MtcMessage::quarterFramePiece(time, piece));
    }
    return pieces;
}

const Bytes kUserBits{0xF0, 0x7F, 0x7F, 0x01, 0x02, 0x00, 0x00,
                      0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0xF7};

class MidiControllerTest : public ::testing::Test {
protected:
    // Hands the messages to the input's callback as the device's thread would, then lets the
    // main thread's queue run.
    void receive(const std::vector<Bytes>& messages)
    {
        ASSERT_TRUE(devices_.inputCallback) << "no input open";
        for (const Bytes& message : messages) {
            devices_.inputCallback(message.data(), message.size());
        }
        queue_.processPending();
    }
    void receiveQuarterFrames(const Bytes& dataBytes)
    {
        std::vector<Bytes> messages;
        for (std::uint8_t data : dataBytes) {
            messages.push_back({0xF1, data});
        }
        receive(messages);
    }
    // Moves the manual clock to the generator's next deadline once its thread sleeps, and
    // returns the deadline's distance from the previous one.
    std::int64_t tick()
    {
        const std::optional<std::int64_t> deadline = clock_.waitForSleeper(2s);
        EXPECT_TRUE(deadline.has_value());
        if (!deadline) {
            return -1;
        }
        const std::int64_t step = *deadline - lastDeadline_;
        lastDeadline_ = *deadline;
        clock_.set(*deadline);
        return step;
    }
    // Waits until the generator has sent `count` messages.
    std::vector<Bytes> sentAfter(std::size_t count)
    {
        const auto until = std::chrono::steady_clock::now() + 2s;
        std::vector<Bytes> sent = devices_.sent();
        while (sent.size() < count && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(100us);
            sent = devices_.sent();
        }
        return sent;
    }

    Platform::MessageQueue queue_;
    Devices devices_;
    Host host_;
    Platform::ManualClock clock_{0};
    std::int64_t lastDeadline_ = 0;
    std::unique_ptr<MidiController> midi_ =
        std::make_unique<MidiController>(std::make_unique<FakePorts>(devices_), &host_, clock_);
};

TEST_F(MidiControllerTest, MasterAndSlaveOpenOneDirectionAtATime)
{
    ASSERT_TRUE(midi_->chooseMaster(1));
    EXPECT_TRUE(midi_->isMaster());
    EXPECT_TRUE(midi_->isOutputOpen());
    EXPECT_FALSE(midi_->isInputOpen());
    EXPECT_EQ(devices_.openOutputs, 1);
    EXPECT_EQ(devices_.clientNames.back(), "RtMidi Output Client");
    EXPECT_EQ(devices_.openedNames.back(), "RtMidi");
    EXPECT_EQ(host_.shown.back(),
              (Shown{L"Connected to Out B", L"Connected to Out B", IMidiHost::ICON_INFORMATION}));
    EXPECT_EQ(devices_.sent(), std::vector<Bytes>{kUserBits});

    ASSERT_TRUE(midi_->chooseSlave(0));
    EXPECT_FALSE(midi_->isMaster());
    EXPECT_FALSE(midi_->isOutputOpen());
    EXPECT_TRUE(midi_->isInputOpen());
    EXPECT_EQ(devices_.openOutputs, 0);
    EXPECT_EQ(devices_.openInputs, 1);
    EXPECT_EQ(devices_.clientNames.back(), "RtMidi Input Client");
    EXPECT_EQ(devices_.queueLimit, 100u);
    EXPECT_EQ(devices_.ignored, (std::array<bool, 3>{false, false, false}));
    EXPECT_EQ(host_.shown.back().text, L"Connected to In A");
    EXPECT_EQ(devices_.sent().size(), 1u) << "no user bits without an output";

    ASSERT_TRUE(midi_->chooseMaster(0));
    EXPECT_EQ(devices_.openInputs, 0);
    EXPECT_EQ(devices_.openOutputs, 1);

    midi_->chooseNone();
    EXPECT_EQ(devices_.openInputs, 0);
    EXPECT_EQ(devices_.openOutputs, 0);
    EXPECT_FALSE(midi_->isOutputOpen());
}

TEST_F(MidiControllerTest, ListenersHearEachChangeOfDirectionOnce)
{
    struct Recorder : MidiController::Listener {
        std::vector<MidiController::Mode> heard;
        void onMidiModeChanged(MidiController::Mode mode) override { heard.push_back(mode); }
    } recorder;
    using Mode = MidiController::Mode;
    midi_->addListener(&recorder);
    ASSERT_TRUE(midi_->chooseMaster(1));
    ASSERT_TRUE(midi_->chooseMaster(1));  // closed and opened again: heard as it happened
    ASSERT_TRUE(midi_->openOutput());     // already open: nothing to hear
    ASSERT_TRUE(midi_->chooseSlave(0));
    midi_->chooseNone();
    midi_->chooseNone();
    EXPECT_EQ(recorder.heard, (std::vector<Mode>{Mode::kSending, Mode::kNone, Mode::kSending,
                                                 Mode::kNone, Mode::kReceiving, Mode::kNone}));
    EXPECT_EQ(midi_->getMode(), Mode::kNone);
    midi_->removeListener(&recorder);
}

TEST_F(MidiControllerTest, OpeningAnOpenDirectionAgainKeepsItsPort)
{
    midi_->setPort(0);
    ASSERT_TRUE(midi_->openOutput());
    midi_->setPort(1);
    EXPECT_TRUE(midi_->openOutput());
    EXPECT_EQ(devices_.openOutputs, 1);
    EXPECT_EQ(host_.shown.size(), 1u);
    EXPECT_EQ(host_.shown.back().text, L"Connected to Out A");
}

TEST_F(MidiControllerTest, WithoutPortsEverythingClosesSilently)
{
    ASSERT_TRUE(midi_->chooseMaster(0));
    host_.shown.clear();
    devices_.inputPorts.clear();
    EXPECT_FALSE(midi_->openInput());
    EXPECT_FALSE(midi_->isInputOpen());
    EXPECT_FALSE(midi_->isOutputOpen()) << "no ports closes the other direction too";
    EXPECT_EQ(devices_.openOutputs, 0);
    EXPECT_TRUE(host_.shown.empty());
    EXPECT_TRUE(midi_->getPortNames(true).empty());
    EXPECT_EQ(midi_->getPortNames(false), (std::vector<std::wstring>{L"Out A", L"Out B"}));
}

TEST_F(MidiControllerTest, DeviceFailuresShowTheInitializationMessage)
{
    const Shown failure{L"Er is iets verkeerd gegaan met initialisatie",
                        L"Er is iets verkeerd gegaan met initialisatie", IMidiHost::ICON_ERROR};
    devices_.createFails = true;
    EXPECT_FALSE(midi_->chooseMaster(0));
    EXPECT_FALSE(midi_->chooseSlave(0));
    devices_.createFails = false;
    devices_.openFails = true;
    EXPECT_FALSE(midi_->chooseSlave(0));
    devices_.openFails = false;
    EXPECT_FALSE(midi_->chooseMaster(2)) << "a port beyond the last";
    EXPECT_FALSE(midi_->chooseSlave(-1));
    EXPECT_EQ(host_.shown, std::vector<Shown>(5, failure));
    EXPECT_FALSE(midi_->isOutputOpen());
    EXPECT_FALSE(midi_->isInputOpen());
    EXPECT_EQ(devices_.openOutputs + devices_.openInputs, 0);
    EXPECT_TRUE(devices_.sent().empty());
}

TEST_F(MidiControllerTest, FullFrameSendsTheTimeWithItsRate)
{
    midi_->sendFullFrame(SMPTE(SMPTE::SMPTE_25, 1, 23, 45, 12));  // no output: nothing
    ASSERT_TRUE(midi_->chooseMaster(0));
    devices_.clearSent();
    midi_->sendFullFrame(SMPTE(SMPTE::SMPTE_25, 1, 23, 45, 12));
    midi_->sendFullFrame(SMPTE(SMPTE::SMPTE_30DF, 0, 10, 0, 0));
    EXPECT_EQ(devices_.sent(),
              (std::vector<Bytes>{{0xF0, 0x7F, 0x7F, 0x01, 0x01, 0x21, 0x17, 0x2D, 0x0C, 0xF7},
                                  {0xF0, 0x7F, 0x7F, 0x01, 0x01, 0x40, 0x0A, 0x00, 0x00, 0xF7}}));
}

TEST_F(MidiControllerTest, QuarterFramesKeepThePaceAndTakeAFreshTimeEveryEighthPiece)
{
    ASSERT_TRUE(midi_->chooseMaster(0));
    devices_.clearSent();
    const SMPTE first(SMPTE::SMPTE_25, 1, 23, 45, 12);
    const SMPTE second(SMPTE::SMPTE_25, 1, 23, 45, 14);
    host_.setClock(first);

    midi_->startQuarterFrames();
    EXPECT_TRUE(midi_->isQuarterFrameRunning());
    EXPECT_EQ(devices_.sent(), (std::vector<Bytes>{{0xF1, 0x0C}})) << "piece 0 goes at once";
    Bytes pieces{devices_.sent()[0][1]};
    for (int i = 1; i < 16; ++i) {
        EXPECT_EQ(tick(), 10'000'000) << "10 ms per quarter frame at 25 fps, tick " << i;
        if (i == 3) {
            host_.setClock(second);  // mid-sequence: pieces 4 to 7 keep the first time
        }
        const std::vector<Bytes> sent = sentAfter(static_cast<std::size_t>(i) + 1);
        ASSERT_EQ(sent.size(), static_cast<std::size_t>(i) + 1);
        EXPECT_EQ(sent.back()[0], 0xF1);
        pieces.push_back(sent.back()[1]);
    }
    Bytes expected = piecesOf(first);
    const Bytes next = piecesOf(second);
    expected.insert(expected.end(), next.begin(), next.end());
    EXPECT_EQ(pieces, expected);

    midi_->stopQuarterFrames();
    EXPECT_FALSE(midi_->isQuarterFrameRunning());
}

TEST_F(MidiControllerTest, FullFrameStartsTheQuarterFramesOverAtPieceZero)
{
    ASSERT_TRUE(midi_->chooseMaster(0));
    const SMPTE first(SMPTE::SMPTE_25, 0, 0, 10, 0);
    const SMPTE located(SMPTE::SMPTE_25, 0, 5, 0, 0);
    host_.setClock(first);
    midi_->startQuarterFrames();
    tick();
    tick();
    ASSERT_EQ(sentAfter(4).size(), 4u);  // user bits and pieces 0 to 2
    host_.setClock(located);
    midi_->sendFullFrame(located);
    tick();
    tick();
    const std::vector<Bytes> sent = sentAfter(7);
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(sent[4], (Bytes{0xF0, 0x7F, 0x7F, 0x01, 0x01, 0x20, 0x05, 0x00, 0x00, 0xF7}));
    EXPECT_EQ(sent[5], (Bytes{0xF1, MtcMessage::quarterFramePiece(located, 0)}));
    EXPECT_EQ(sent[6], (Bytes{0xF1, MtcMessage::quarterFramePiece(located, 1)}));
}

TEST_F(MidiControllerTest, QuarterFrameIntervalFollowsTheFormat)
{
    ASSERT_TRUE(midi_->chooseMaster(0));
    const std::pair<int, std::int64_t> cases[] = {
        {SMPTE::SMPTE_24, 10'416'667},
        {SMPTE::SMPTE_25, 10'000'000},
        {SMPTE::SMPTE_30DF, 8'341'675},  // 29.97 frames per second
        {SMPTE::SMPTE_30, 8'333'333},
    };
    for (const auto& [format, period] : cases) {
        host_.format = format;
        host_.setClock(SMPTE(format));
        lastDeadline_ = clock_.now();
        midi_->startQuarterFrames();
        EXPECT_EQ(tick(), period) << "format " << format;
        EXPECT_EQ(tick(), period) << "format " << format;
        midi_->stopQuarterFrames();
    }
}

TEST_F(MidiControllerTest, SlaveFollowsACompletedTimeThreeFramesAhead)
{
    ASSERT_TRUE(midi_->chooseSlave(0));
    const Bytes pieces = piecesOf(SMPTE(SMPTE::SMPTE_25, 1, 0, 0, 0));
    receiveQuarterFrames({pieces.begin(), pieces.begin() + 7});
    EXPECT_TRUE(midi_->isReceivingQuarterFrames());
    EXPECT_TRUE(host_.locates.empty()) << "nothing before piece 7";
    receiveQuarterFrames({pieces[7]});
    EXPECT_EQ(host_.locates, std::vector<std::string>{"01:00:00:03"});
    EXPECT_EQ(host_.plays, std::vector<bool>{false});

    host_.recordRequested = true;
    receiveQuarterFrames(piecesOf(SMPTE(SMPTE::SMPTE_25, 1, 0, 0, 2)));
    EXPECT_EQ(host_.locates.back(), "01:00:00:05");
    EXPECT_EQ(host_.plays, (std::vector<bool>{false, true})) << "a recording pass";

    // The lead comes round at midnight (the player stands elsewhere, so it is located).
    host_.setClock(SMPTE(SMPTE::SMPTE_25, 12, 0, 0, 0));
    receiveQuarterFrames(piecesOf(SMPTE(SMPTE::SMPTE_25, 23, 59, 59, 23)));
    EXPECT_EQ(host_.locates.back(), "00:00:00:01");
    EXPECT_EQ(host_.shown.size(), 1u) << "only the connected message";
}

// Each completed time (every two frames) would locate the player again; a locate moves the
// show clock back by the time the main thread took, which re-armed a cue fired just before.
// A playing player is located only when it is more than three frames off.
TEST_F(MidiControllerTest, SlaveLocatesAPlayingPlayerOnlyWhenItDrifts)
{
    ASSERT_TRUE(midi_->chooseSlave(0));
    receiveQuarterFrames(piecesOf(SMPTE(SMPTE::SMPTE_25, 0, 0, 10, 0)));
    ASSERT_EQ(host_.locates, std::vector<std::string>{"00:00:10:03"});
    const struct {
        SMPTE clock;
        bool located;
    } rows[] = {
        {SMPTE(SMPTE::SMPTE_25, 0, 0, 10, 6), false},  // three frames ahead of 10:03
        {SMPTE(SMPTE::SMPTE_25, 0, 0, 10, 0), false},  // three behind
        {SMPTE(SMPTE::SMPTE_25, 0, 0, 10, 7), true},
        {SMPTE(SMPTE::SMPTE_25, 0, 0, 9, 24), true},
    };
    for (const auto& row : rows) {
        host_.locates.clear();
        host_.setClock(row.clock);
        receiveQuarterFrames(piecesOf(SMPTE(SMPTE::SMPTE_25, 0, 0, 10, 0)));
        EXPECT_EQ(host_.locates.size(), row.located ? 1u : 0u) << row.clock.toNarrowString();
    }
    // A paused player is always located (and started).
    host_.playing = false;
    host_.locates.clear();
    host_.setClock(SMPTE(SMPTE::SMPTE_25, 0, 0, 10, 3));
    receiveQuarterFrames(piecesOf(SMPTE(SMPTE::SMPTE_25, 0, 0, 10, 0)));
    EXPECT_EQ(host_.locates, std::vector<std::string>{"00:00:10:03"});
    EXPECT_TRUE(host_.playing);
}

// Time code that waited in the queue while the main thread was busy is as old as the wait: the
// slave adds it, so a player that went on playing meanwhile is not pulled back behind the
// audio already played (a cue fired in that time would fire again).
TEST_F(MidiControllerTest, SlaveCountsTheTimeAMessageWaited)
{
    ASSERT_TRUE(midi_->chooseSlave(0));
    receiveQuarterFrames(piecesOf(SMPTE(SMPTE::SMPTE_25, 0, 0, 10, 0)));
    ASSERT_TRUE(host_.playing);
    const struct {
        SMPTE clock;
        std::vector<std::string> locates;
    } rows[] = {
        // 400 ms is 10 frames: 10:00 + 3 lead + 10 waited.
        {SMPTE(SMPTE::SMPTE_25, 0, 0, 10, 13), {}},
        {SMPTE(SMPTE::SMPTE_25, 0, 0, 10, 3), {"00:00:10:13"}},
    };
    for (const auto& row : rows) {
        host_.locates.clear();
        host_.setClock(row.clock);
        for (std::uint8_t data : piecesOf(SMPTE(SMPTE::SMPTE_25, 0, 0, 10, 0))) {
            const Bytes message{0xF1, data};
            devices_.inputCallback(message.data(), message.size());
        }
        clock_.advance(400'000'000);  // the main thread was busy for 400 ms
        queue_.processPending();
        EXPECT_EQ(host_.locates, row.locates) << row.clock.toNarrowString();
    }
}

TEST_F(MidiControllerTest, SlaveDropsImpossibleTimes)
{
    ASSERT_TRUE(midi_->chooseSlave(0));
    host_.shown.clear();
    const Bytes impossible[] = {
        {0x00, 0x10, 0x20, 0x30, 0x40, 0x50, 0x68, 0x73},  // hours 24
        {0x00, 0x10, 0x20, 0x30, 0x40, 0x50, 0x6F, 0x73},  // hours 31
        {0x00, 0x10, 0x20, 0x30, 0x4C, 0x53, 0x60, 0x72},  // minutes 60
        {0x00, 0x10, 0x2C, 0x33, 0x40, 0x50, 0x60, 0x72},  // seconds 60
        {0x09, 0x11, 0x20, 0x30, 0x40, 0x50, 0x60, 0x72},  // frames 25 at 25 fps
        {0x0F, 0x1F, 0x2F, 0x3F, 0x4F, 0x5F, 0x6F, 0x73},  // every nibble at its top
    };
    for (const Bytes& pieces : impossible) {
        receiveQuarterFrames(pieces);
    }
    EXPECT_TRUE(host_.locates.empty());
    EXPECT_TRUE(host_.plays.empty());
    EXPECT_TRUE(host_.shown.empty());
    EXPECT_FALSE(midi_->isFormatErrorShown());
    // The assembly goes on with the next good time.
    receiveQuarterFrames(piecesOf(SMPTE(SMPTE::SMPTE_25, 0, 0, 1, 0)));
    EXPECT_EQ(host_.locates, std::vector<std::string>{"00:00:01:03"});
}

TEST_F(MidiControllerTest, AWrongRateIsReportedOnceAndThenOnlyPauses)
{
    ASSERT_TRUE(midi_->chooseSlave(0));
    host_.shown.clear();
    host_.playing = true;
    receiveQuarterFrames(piecesOf(SMPTE(SMPTE::SMPTE_30DF, 0, 1, 0, 2)));
    EXPECT_EQ(host_.pauses, 1);
    EXPECT_EQ(host_.locates, std::vector<std::string>{"00:00:00:00"});
    EXPECT_TRUE(host_.plays.empty());
    EXPECT_TRUE(midi_->isFormatErrorShown());
    // No settings in this test: the key stands for its text.
    EXPECT_EQ(host_.shown, (std::vector<Shown>{{L"ERROR.MIDI.INCORRECT.TIMEFORMAT",
                                                L"Skyfirewright", IMidiHost::ICON_ERROR}}));

    host_.playing = true;
    receiveQuarterFrames(piecesOf(SMPTE(SMPTE::SMPTE_25, 0, 0, 2, 0)));
    EXPECT_EQ(host_.pauses, 2);
    EXPECT_EQ(host_.locates.size(), 1u);
    EXPECT_TRUE(host_.plays.empty());
    EXPECT_EQ(host_.shown.size(), 1u);
}

TEST_F(MidiControllerTest, OtherMessagesStopFollowingWithoutRestartingAPausedPlayer)
{
    ASSERT_TRUE(midi_->chooseSlave(0));
    host_.playing = true;
    receive({{0xF1, 0x00}, {0xF8}});  // a clock while quarter frames arrive: ignored
    EXPECT_EQ(host_.pauses, 0);
    receive({{0xF0, 0x7F, 0x7F, 0x01, 0x01, 0x20, 0x00, 0x00, 0x00, 0xF7}});
    EXPECT_FALSE(midi_->isReceivingQuarterFrames());
    EXPECT_EQ(host_.pauses, 1);
    receive({{0xFE}, {0xFE}});  // active sensing with the player paused: left paused
    EXPECT_EQ(host_.pauses, 1);
    EXPECT_FALSE(host_.playing);
    host_.playing = true;
    receive({{0x90, 0x3C, 0x7F}});
    EXPECT_EQ(host_.pauses, 2);
    EXPECT_TRUE(host_.locates.empty());
}

TEST_F(MidiControllerTest, AnEmptyMessageIsReportedAsInvalid)
{
    ASSERT_TRUE(midi_->chooseSlave(0));
    receive({Bytes{}});
    EXPECT_EQ(host_.shown.back(),
              (Shown{L"Invalid MTC Received", L"Received invalid MTC", IMidiHost::ICON_ERROR}));
}

TEST(MidiControllerServiceTest, TheShowStateSendsThroughTheProcessWideService)
{
    Platform::MessageQueue queue;
    Devices devices;
    Host host;
    Project::Project& project = Project::Project::createInstance();
    project.getProjectData().setFormat(SMPTE::SMPTE_25);
    MidiController& midi = MidiController::create(&host, std::make_unique<FakePorts>(devices));
    EXPECT_EQ(MidiController::getInstance(), &midi);
    Project::ProjectState& state = project.getProjectState();
    EXPECT_EQ(state.getTimecodeOut(), &midi);
    ASSERT_TRUE(midi.chooseMaster(0));
    devices.clearSent();

    host.setClock(SMPTE(SMPTE::SMPTE_25, 0, 0, 4, 0));
    state.play();  // 25 fps: quarter frames
    EXPECT_TRUE(midi.isQuarterFrameRunning());
    EXPECT_FALSE(midi.isFullFrameMode());
    state.pause();
    EXPECT_FALSE(midi.isQuarterFrameRunning());
    state.locate(SMPTE(SMPTE::SMPTE_25, 0, 0, 7, 0));
    const std::vector<Bytes> sent = devices.sent();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent.front(), (Bytes{0xF1, 0x00}));
    EXPECT_EQ(sent.back(), (Bytes{0xF0, 0x7F, 0x7F, 0x01, 0x01, 0x20, 0x00, 0x07, 0x00, 0xF7}));

    MidiController::destroy();
    EXPECT_EQ(MidiController::getInstance(), nullptr);
    EXPECT_EQ(state.getTimecodeOut(), nullptr);
    Project::Project::destroyInstance();
}

}  // namespace
}  // namespace Midi
