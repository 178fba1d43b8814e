#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "Audio/AudioPlayer.h"
#include "Audio/AudioTestSupport.h"
#include "Audio/MonitorWorker.h"
#include "Platform/ManualClock.h"
#include "Platform/MessageQueue.h"
#include "Platform/MessageWindow.h"
#include "Platform/TestFolder.h"
#include "Project/ProjectData.h"

namespace Audio {
namespace {

using namespace std::chrono_literals;
using TestSupport::pumpFor;
using TestSupport::pumpUntil;

constexpr std::int64_t kMs = 1000000;  // manual clock counts (nanoseconds) per millisecond

struct Events : AudioPlayer::Listener {
    void onTrackChanged() override { ++trackChanged; }
    void onPositionChanged(double ms) override { positions.push_back(ms); }
    void onStateChanged() override
    {
        ++stateChanged;
        states.push_back(player->getState());
    }
    void onLevels(int left, int right) override { levels.push_back({left, right}); }
    void onTimingChanged() override { ++timingChanged; }
    void onSpeedChanged(int speed) override { speeds.push_back(speed); }

    const AudioPlayer* player = nullptr;
    int trackChanged = 0;
    int stateChanged = 0;
    std::vector<int> states;
    int timingChanged = 0;
    std::vector<double> positions;
    std::vector<std::pair<int, int>> levels;
    std::vector<int> speeds;
};

// Left: 1, 2, ... 30000, 1, ...; right: the negative. No frame is silent.
std::int16_t rampSample(std::size_t frame, int channel)
{
    const auto v = static_cast<std::int16_t>(frame % 30000 + 1);
    return channel == 0 ? v : static_cast<std::int16_t>(-v);
}

class AudioPlayerTest : public ::testing::Test {
protected:
    ~AudioPlayerTest() override { player_.reset(); }

    // Starts the player on the recording silent device; with `manual` its workers run on
    // the manual clock, which moves only in advance().
    void start(bool manual)
    {
        AudioPlayer::Options options;
        std::shared_ptr<TestSupport::WaveOutRecord> record = record_;
        options.makeDevice = [record](const Platform::Clock& clock) {
            return std::make_unique<TestSupport::RecordingWaveOut>(clock, record);
        };
        options.clock = manual ? &clock_ : nullptr;
        player_ = std::make_unique<AudioPlayer>(&data_, options);
        events_.player = player_.get();
        player_->addListener(&events_);
        ASSERT_TRUE(pumpUntil(queue_, [&] { return player_->isReady(); }));
    }

    std::wstring wave(const std::string& name, std::size_t frames, std::uint32_t rate,
                      std::int16_t (*sample)(std::size_t, int) = rampSample)
    {
        const std::string path = (folder_.root() / name).string();
        TestSupport::writeFile(
            path, TestSupport::waveBytes(TestSupport::makeSamples(frames, sample), rate));
        return Platform::fromUtf8(path);
    }

    void load(const std::wstring& path)
    {
        ASSERT_EQ(player_->load(path), 0);
        ASSERT_TRUE(waitForState(AudioPlayer::STATE_STOPPED));
    }

    bool waitForState(int state)
    {
        return pumpUntil(queue_, [&] { return player_->getState() == state; });
    }

    // Moves the manual clock and waits until the output worker has reported the position
    // reached (its timer fires once the clock passed its due time).
    void advance(std::int64_t ms)
    {
        clock_.advance(ms * kMs);
        const std::int64_t position = player_->getPositionFrames();
        const double expected =
            static_cast<double>(position) / (player_->getRate() * player_->getSpeed()) * 1000.0;
        ASSERT_TRUE(pumpUntil(
            queue_,
            [&] { return !events_.positions.empty() && events_.positions.back() == expected; }))
            << "no report of " << expected << " ms";
    }

    // The frames the device was given by the last `count` writes, as one stream.
    std::vector<std::int16_t> lastWrites(std::size_t count)
    {
        std::lock_guard<std::mutex> lock(record_->mutex);
        std::vector<std::int16_t> samples;
        const std::size_t n = record_->writes.size();
        for (std::size_t i = n - std::min(n, count); i < n; ++i) {
            samples.insert(samples.end(), record_->writes[i].begin(), record_->writes[i].end());
        }
        return samples;
    }

    Platform::MessageQueue queue_;  // this thread is the player's main thread
    Platform::TestFolder folder_;
    Project::ProjectData data_;
    Platform::ManualClock clock_;
    std::shared_ptr<TestSupport::WaveOutRecord> record_ =
        std::make_shared<TestSupport::WaveOutRecord>();
    Events events_;
    std::unique_ptr<AudioPlayer> player_;
};

TEST_F(AudioPlayerTest, WithoutItsWorkersThePlayerRefusesAndReportsTheStart)
{
    AudioPlayer::Options options;
    options.device = L"silent";
    AudioPlayer player(nullptr, options);
    // The workers' announcements have not been handled yet.
    EXPECT_EQ(player.load(L"x.wav"), -1);
    EXPECT_EQ(player.getPosition(SMPTE::SMPTE_25).getFrameNo(), 0);
    player.setSpeed(2);
    EXPECT_EQ(player.getSpeed(), 1);
    ASSERT_TRUE(pumpUntil(queue_, [&] { return player.isReady(); }));
    EXPECT_EQ(player.getState(), AudioPlayer::STATE_NO_TRACK);
    EXPECT_EQ(player.getRate(), 44100);
}

TEST_F(AudioPlayerTest, LoadReportsTheTrackAndAFileThatCannotBeReadPlaysSilence)
{
    start(false);
    load(wave("a.wav", 88200, 22050));
    EXPECT_EQ(player_->getRate(), 22050);
    EXPECT_EQ(player_->getLengthFrames(), 88200);
    EXPECT_EQ(player_->getLength(SMPTE::SMPTE_25).toNarrowString(), "00:00:04:00");
    EXPECT_GE(events_.trackChanged, 1);
    EXPECT_GE(events_.timingChanged, 1);

    // Replacing the track passes through "no track".
    events_.stateChanged = 0;
    ASSERT_EQ(player_->load(folder_.path("missing.wav")), 0);
    ASSERT_TRUE(pumpUntil(queue_, [&] {
        return events_.stateChanged >= 2 && player_->getState() == AudioPlayer::STATE_STOPPED;
    }));
    EXPECT_EQ(player_->getLengthFrames(), 0);
    EXPECT_EQ(player_->getRate(), 44100);
    EXPECT_EQ(record_->openRates, (std::vector<std::uint32_t>{22050, 44100}));

    player_->play();
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_PLAYING));
    const std::vector<std::int16_t> played = lastWrites(3);
    EXPECT_EQ(played.size(), 3u * 2 * 16384);
    EXPECT_TRUE(std::all_of(played.begin(), played.end(), [](std::int16_t s) { return s == 0; }));
}

TEST_F(AudioPlayerTest, PlayPauseLocateAndStopMoveTheClockExactly)
{
    start(true);
    load(wave("a.wav", 88200, 44100));
    player_->play();
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_PLAYING));
    advance(500);
    EXPECT_EQ(player_->getPositionFrames(), 22050);
    EXPECT_DOUBLE_EQ(events_.positions.back(), 500.0);

    player_->pause();
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_PAUSED));
    clock_.advance(1000 * kMs);
    EXPECT_EQ(player_->getPositionFrames(), 22050) << "a paused clock stands";

    player_->pause();  // pausing while paused plays on
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_PLAYING));
    advance(250);
    EXPECT_EQ(player_->getPositionFrames(), 33075);

    // Locating while playing pauses, moves and plays on from there.
    events_.states.clear();
    player_->locate(SMPTE(SMPTE::SMPTE_25, 0, 0, 1, 10));  // 1.4 s
    ASSERT_TRUE(pumpUntil(queue_, [&] {
        return events_.states ==
               std::vector<int>{AudioPlayer::STATE_PAUSED, AudioPlayer::STATE_PLAYING};
    }));
    advance(100);
    EXPECT_EQ(player_->getPositionFrames(), 61740 + 4410);
    EXPECT_EQ(player_->getPosition(SMPTE::SMPTE_25).toNarrowString(), "00:00:01:13");

    player_->stop();
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_STOPPED));
    EXPECT_EQ(player_->getPositionFrames(), 0);

    // Locating while stopped only moves the position.
    player_->locate(SMPTE(SMPTE::SMPTE_30, 0, 0, 0, 15));
    ASSERT_TRUE(pumpUntil(queue_, [&] { return player_->getPositionFrames() == 22050; }));
    pumpFor(queue_, 20ms);
    EXPECT_EQ(player_->getState(), AudioPlayer::STATE_STOPPED);
}

TEST_F(AudioPlayerTest, PauseWhenStoppedIsIgnoredByTheFrontButPlaysAtTheWorker)
{
    start(true);
    load(wave("a.wav", 44100, 44100));
    player_->pause();
    pumpFor(queue_, 30ms);
    EXPECT_EQ(player_->getState(), AudioPlayer::STATE_STOPPED);

    ASSERT_TRUE(Platform::post(player_->getOutputWindow(), kMessagePause));
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_PLAYING));
}

TEST_F(AudioPlayerTest, TheBuffersAreRefilledSoPlayingNeverRunsDry)
{
    start(true);
    load(wave("a.wav", 44100 * 4, 44100));
    player_->play();
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_PLAYING));
    // Three buffers hold 1.11 s; three seconds need them refilled over and over.
    for (int step = 1; step <= 60; ++step) {
        advance(50);
        ASSERT_EQ(player_->getPositionFrames(), step * 2205) << "step " << step;
    }
    std::lock_guard<std::mutex> lock(record_->mutex);
    EXPECT_GE(record_->writes.size(), 9u);
}

TEST_F(AudioPlayerTest, TheOffsetPlacesTheTrackOnTheTimeline)
{
    start(true);
    data_.setAudioOffset(SMPTE(SMPTE::SMPTE_25, 0, 0, 1, 0));
    EXPECT_EQ(player_->getOffsetFrames(), 44100);
    load(wave("a.wav", 88200, 44100));
    EXPECT_EQ(player_->getPositionFrames(), 44100) << "a loaded track waits at the offset";
    EXPECT_EQ(player_->getLength(SMPTE::SMPTE_25).toNarrowString(), "00:00:03:00");

    // Stopping at the offset goes to the start of the timeline, and again to the offset.
    player_->stop();
    ASSERT_TRUE(pumpUntil(queue_, [&] { return player_->getPositionFrames() == 0; }));
    player_->stop();
    ASSERT_TRUE(pumpUntil(queue_, [&] { return player_->getPositionFrames() == 44100; }));
    player_->stop();
    ASSERT_TRUE(pumpUntil(queue_, [&] { return player_->getPositionFrames() == 0; }));

    // Playing from before the offset plays silence until the track begins.
    player_->play();
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_PLAYING));
    const std::vector<std::int16_t> played = lastWrites(3);
    ASSERT_EQ(played.size(), 3u * 2 * 16384);
    for (std::size_t frame = 0; frame < 44100; ++frame) {
        ASSERT_EQ(played[2 * frame], 0) << "frame " << frame;
    }
    for (std::size_t frame = 44100; frame < 3 * 16384; ++frame) {
        ASSERT_EQ(played[2 * frame], rampSample(frame - 44100, 0)) << "frame " << frame;
        ASSERT_EQ(played[2 * frame + 1], rampSample(frame - 44100, 1)) << "frame " << frame;
    }

    // A new offset stops playback there.
    data_.setAudioOffset(SMPTE(SMPTE::SMPTE_25, 0, 0, 0, 5));
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_STOPPED));
    EXPECT_EQ(player_->getPositionFrames(), 8820);
}

TEST_F(AudioPlayerTest, TheOffsetIsCountedAgainForATrackOfAnotherRate)
{
    start(true);
    data_.setAudioOffset(SMPTE(SMPTE::SMPTE_25, 0, 0, 2, 0));
    EXPECT_EQ(player_->getOffsetFrames(), 88200);
    load(wave("a.wav", 48000, 48000));
    EXPECT_EQ(player_->getOffsetFrames(), 96000);
    ASSERT_TRUE(pumpUntil(queue_, [&] { return player_->getPositionFrames() == 96000; }));
    EXPECT_EQ(player_->getLength(SMPTE::SMPTE_25).toNarrowString(), "00:00:03:00");
}

TEST_F(AudioPlayerTest, ASpeedChangeKeepsThePositionRestartsAndReportsTrackTime)
{
    start(true);
    load(wave("a.wav", 44100 * 4, 44100));
    player_->play();
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_PLAYING));
    advance(1000);
    ASSERT_EQ(player_->getPositionFrames(), 44100);

    player_->setSpeed(2);
    EXPECT_EQ(events_.speeds, std::vector<int>{2});
    ASSERT_TRUE(pumpUntil(queue_, [&] { return player_->getRate() == 22050; }));
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_PLAYING));
    EXPECT_EQ(player_->getPositionFrames(), 44100);
    EXPECT_EQ(record_->openRates.back(), 22050u);

    // One second of the clock plays half a second of the track.
    advance(1000);
    EXPECT_EQ(player_->getPositionFrames(), 44100 + 22050);
    EXPECT_DOUBLE_EQ(events_.positions.back(), 1500.0);
    EXPECT_EQ(player_->getPosition(SMPTE::SMPTE_30).toNarrowString(), "00:00:01:15");
    EXPECT_EQ(player_->getLength(SMPTE::SMPTE_25).toNarrowString(), "00:00:04:00");
    for (double ms : events_.positions) {
        EXPECT_LE(ms, 1500.0) << "no report ran ahead of the track";
    }

    // A speed change while stopped starts playing at the same place.
    player_->stop();
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_STOPPED));
    player_->setSpeed(1);
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_PLAYING));
    EXPECT_EQ(player_->getRate(), 44100);
    EXPECT_EQ(player_->getPositionFrames(), 0);

    // Loading keeps the slow-down in force.
    player_->setSpeed(3);
    ASSERT_TRUE(pumpUntil(queue_, [&] { return player_->getRate() == 14700; }));
    ASSERT_EQ(player_->load(wave("b.wav", 48000, 48000)), 0);
    ASSERT_TRUE(pumpUntil(queue_, [&] { return player_->getRate() == 16000; }));
    EXPECT_EQ(player_->getState(), AudioPlayer::STATE_STOPPED);
    EXPECT_EQ(player_->getLength(SMPTE::SMPTE_25).toNarrowString(), "00:00:01:00");
}

TEST_F(AudioPlayerTest, FullScaleSamplesOnOneChannelMeasure32768)
{
    start(true);
    load(wave("a.wav", 44100, 44100,
              [](std::size_t, int channel) -> std::int16_t { return channel == 0 ? -32768 : 0; }));
    player_->play();
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_PLAYING));
    advance(100);
    ASSERT_TRUE(pumpUntil(queue_, [&] {
        return !events_.levels.empty() && events_.levels.back() == std::make_pair(32768, 0);
    }));
    player_->stop();
    ASSERT_TRUE(pumpUntil(queue_, [&] { return events_.levels.back() == std::make_pair(0, 0); }))
        << "the meter falls to zero when playing stops";
}

TEST_F(AudioPlayerTest, PlayRecordingSetsTheRecordingFlagUntilStop)
{
    start(true);
    load(wave("a.wav", 44100, 44100));
    player_->playRecording();
    EXPECT_TRUE(player_->isRecording());
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_PLAYING));
    EXPECT_FALSE(player_->isPlayingNormally());
    player_->stop();
    EXPECT_FALSE(player_->isRecording());
    player_->play();
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_PLAYING));
    EXPECT_TRUE(player_->isPlayingNormally());
}

TEST_F(AudioPlayerTest, TheControllerWorkerGetsClockTicksAndResyncs)
{
    start(true);
    load(wave("a.wav", 44100 * 2, 44100));
    std::vector<Platform::Message> got;
    Platform::MessageWindow controller([&](const Platform::Message& m) {
        got.push_back(m);
        return std::int64_t{0};
    });
    ASSERT_TRUE(Platform::post(player_->getOutputWindow(), kMessageControllerWindow, 0,
                               static_cast<std::int64_t>(controller.handle().value())));
    player_->play();
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_PLAYING));
    advance(200);
    ASSERT_TRUE(pumpUntil(queue_, [&] {
        return !got.empty() && got.back().code == kMessageControllerTick &&
               got.back().lParam == 8820;
    }));
    EXPECT_EQ(got.back().wParam, 44100u);

    player_->locate(SMPTE(SMPTE::SMPTE_25, 0, 0, 1, 0));
    ASSERT_TRUE(pumpUntil(queue_, [&] {
        return std::any_of(got.begin(), got.end(), [](const Platform::Message& m) {
            return m.code == kMessageControllerResync && m.lParam == 44100;
        });
    }));

    // Forgotten: no more ticks. The locate behind it tells when the worker has seen it.
    ASSERT_TRUE(Platform::post(player_->getOutputWindow(), kMessageControllerWindow, 0, 0));
    player_->locate(SMPTE(SMPTE::SMPTE_25, 0, 0, 1, 10));
    ASSERT_TRUE(pumpUntil(
        queue_, [&] { return !events_.positions.empty() && events_.positions.back() == 1400.0; }));
    got.clear();
    advance(100);
    pumpFor(queue_, 20ms);
    EXPECT_TRUE(got.empty());
}

TEST_F(AudioPlayerTest, PlaysInRealTimeOnTheSilentDevice)
{
    AudioPlayer::Options options;
    options.device = L"silent";
    player_ = std::make_unique<AudioPlayer>(&data_, options);
    events_.player = player_.get();
    player_->addListener(&events_);
    ASSERT_TRUE(pumpUntil(queue_, [&] { return player_->isReady(); }));
    load(wave("a.wav", 44100, 44100));
    const auto start = std::chrono::steady_clock::now();
    player_->play();
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_PLAYING));
    pumpFor(queue_, 300ms);
    const double elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    ASSERT_FALSE(events_.positions.empty());
    EXPECT_GT(events_.positions.size(), 30u) << "reports come about every millisecond";
    EXPECT_LE(events_.positions.back(), elapsed + 1.0) << "the clock never runs ahead";
    EXPECT_GT(events_.positions.back(), elapsed - 150.0);
    player_->stop();
    ASSERT_TRUE(waitForState(AudioPlayer::STATE_STOPPED));
}

// The waveform analysis, through the player's messages: a requester window on this thread
// collects the batches the monitor sends.
class AudioAnalysisTest : public AudioPlayerTest {
protected:
    struct Received {
        std::int64_t generation;
        AnalysisResult result;
    };

    AudioAnalysisTest()
        : requester_([this](const Platform::Message& m) {
              if (m.code == kMessageAnalysisResults) {
                  const AnalysisBatch& batch = AnalysisBatch::of(m);
                  ++batches_;
                  for (std::size_t i = 0; i < batch.count; ++i) {
                      received_.push_back({static_cast<std::int64_t>(m.wParam), batch.results[i]});
                  }
              }
              return std::int64_t{0};
          })
    {
    }

    static std::vector<AnalysisPair> pairs(std::initializer_list<std::int64_t> positions)
    {
        std::vector<AnalysisPair> result;
        std::int64_t tag = 0;
        for (std::int64_t p : positions) {
            result.push_back({p, tag++});
        }
        return result;
    }

    bool waitForResults(std::size_t count)
    {
        return pumpUntil(queue_, [&] { return received_.size() >= count; });
    }

    // The band that adds the most to the cumulative shares.
    static int widestBand(const AnalysisResult& r)
    {
        int widest = 0;
        float widestShare = r.bands[0];
        for (int b = 1; b < 5; ++b) {
            if (r.bands[b] - r.bands[b - 1] > widestShare) {
                widestShare = r.bands[b] - r.bands[b - 1];
                widest = b;
            }
        }
        return widest;
    }

    Platform::MessageWindow requester_;
    std::vector<Received> received_;
    int batches_ = 0;
};

// One second of 1000 Hz, then one second of 4000 Hz, at half scale.
std::int16_t twoTones(std::size_t frame, int)
{
    const double hertz = frame < 44100 ? 1000 : 4000;
    return static_cast<std::int16_t>(
        std::lround(16000 * std::sin(2 * std::numbers::pi * hertz * frame / 44100.0)));
}

TEST_F(AudioAnalysisTest, TonesLandInTheirBandsAndSilenceIsEmpty)
{
    start(false);
    data_.setAudioOffset(SMPTE(SMPTE::SMPTE_25, 0, 0, 1, 0));  // 44100 frames
    load(wave("tones.wav", 88200, 44100, twoTones));
    // Timeline positions: the middle of each tone, and before the track (silence).
    player_->requestAnalysis(requester_.handle(), 1, pairs({44100 + 22050, 88200 + 22050, 1000}));
    ASSERT_TRUE(waitForResults(3));
    ASSERT_EQ(received_.size(), 3u);
    const std::int64_t positions[] = {66150, 110250, 1000};
    for (const Received& r : received_) {
        EXPECT_EQ(r.generation, 1);
        ASSERT_TRUE(r.result.tag >= 0 && r.result.tag < 3);
        EXPECT_EQ(r.result.position, positions[r.result.tag]);
    }
    auto byTag = [&](std::int64_t tag) {
        return std::find_if(received_.begin(), received_.end(),
                            [&](const Received& r) { return r.result.tag == tag; })
            ->result;
    };
    EXPECT_EQ(widestBand(byTag(0)), 3) << "1000 Hz";
    EXPECT_EQ(widestBand(byTag(1)), 4) << "4000 Hz";
    EXPECT_GT(byTag(0).bands[4], 0.8f);
    for (float v : byTag(2).bands) {
        EXPECT_EQ(v, 0.0f);
    }
}

TEST_F(AudioAnalysisTest, ColumnsComeLastFirstThenInBitReversedOrder)
{
    start(false);
    load(wave("a.wav", 44100, 44100));
    player_->requestAnalysis(requester_.handle(), 1, pairs({0, 100, 200, 300, 400, 500, 600, 700}));
    ASSERT_TRUE(waitForResults(8));
    std::vector<std::int64_t> tags;
    for (const Received& r : received_) {
        tags.push_back(r.result.tag);
    }
    EXPECT_EQ(tags, (std::vector<std::int64_t>{7, 0, 4, 2, 6, 1, 5, 3}));
}

TEST_F(AudioAnalysisTest, ALowerGenerationIsIgnoredAndAHigherOneDropsPendingWork)
{
    start(false);
    load(wave("a.wav", 44100, 44100));
    player_->requestAnalysis(requester_.handle(), 5, pairs({10}));
    ASSERT_TRUE(waitForResults(1));
    player_->requestAnalysis(requester_.handle(), 3, pairs({30, 31, 32}));
    player_->requestAnalysis(requester_.handle(), 5, pairs({50}));
    ASSERT_TRUE(waitForResults(2));
    pumpFor(queue_, 50ms);
    ASSERT_EQ(received_.size(), 2u);
    EXPECT_EQ(received_[1].generation, 5);
    EXPECT_EQ(received_[1].result.position, 50);

    // The monitor waits on this thread to take its first batch, so the second request is
    // queued before it can go on: everything after that first batch is dropped.
    received_.clear();
    std::vector<AnalysisPair> many;
    for (int i = 0; i < 2000; ++i) {
        many.push_back({i * 20, i});
    }
    player_->requestAnalysis(requester_.handle(), 6, many);
    player_->requestAnalysis(requester_.handle(), 7, pairs({77}));
    ASSERT_TRUE(
        pumpUntil(queue_, [&] { return !received_.empty() && received_.back().generation == 7; }));
    pumpFor(queue_, 50ms);
    EXPECT_LE(received_.size(), 1u + MonitorWorker::kBatch);
    EXPECT_EQ(received_.back().result.position, 77);
}

}  // namespace
}  // namespace Audio
