#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Audio/AudioMessages.h"
#include "Audio/WaveOut.h"
#include "Platform/Clock.h"
#include "Platform/ListenerSet.h"
#include "Platform/MessageWindow.h"
#include "Project/ProjectData.h"
#include "Timecode/SMPTE.h"

namespace Audio {

// How an AudioPlayer is set up.
struct AudioPlayerOptions {
    // The output as the setting "audio.device" names it ("silent", "default", a device
    // name); empty: the setting, or the default output without settings.
    std::wstring device;
    // Makes the output device on the output worker's thread instead of `device`; tests wrap
    // the silent device with it.
    std::function<std::unique_ptr<WaveOut>(const Platform::Clock&)> makeDevice;
    // The clock of both workers and the silent device (the steady clock when null); a
    // ManualClock makes timing exact. It must outlive the player.
    const Platform::Clock* clock = nullptr;
};

// Plays the project's soundtrack, and with it runs the show clock: the playback position
// is the show's position while the clock follows the audio. It also measures the output
// levels for the level meter and analyses the track for the coloured waveform.
//
// Three parts, each with a message window: this front on the thread that creates the
// player (the main thread; its queue must be pumped, by MessageQueue::run() or the GUI's
// loop), an output worker that owns the device and plays, and a monitor worker that measures
// levels and analyses. They share nothing but messages. Every call below is made on the
// front's thread, and every listener is called there.
//
// Positions between front and workers are timeline frames: track frame + the audio offset, counted
// at the track's sample rate whatever the speed. The front turns them into milliseconds of track
// time, so slowed-down playback still reports real track time.
class AudioPlayer : public Project::ProjectData::Listener {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        // A track was loaded, replaced or unloaded, or its format changed.
        virtual void onTrackChanged() {}
        virtual void onPositionChanged(double /*milliseconds*/) {}
        virtual void onStateChanged() {}
        // Output levels, 0 to 32768.
        virtual void onLevels(int /*left*/, int /*right*/) {}
        // Rate, length or offset changed.
        virtual void onTimingChanged() {}
        virtual void onSpeedChanged(int /*speed*/) {}
    };

    enum State : int {
        STATE_NO_TRACK = 0,
        STATE_STOPPED = 1,
        STATE_PLAYING = 2,
        STATE_PAUSED = 3,
    };

    using Options = AudioPlayerOptions;

    // Creates the front's window on the calling thread, which must have a message queue,
    // starts both workers and listens to `projectData` for the audio offset (none: offset 0).
    // The workers announce their windows with messages, so the front can reach them once
    // its queue has run (isReady()).
    explicit AudioPlayer(Project::ProjectData* projectData = nullptr, Options options = {});
    // Stops listening, ends both workers (closing the device and the files) and waits for
    // them.
    ~AudioPlayer() override;
    AudioPlayer(const AudioPlayer&) = delete;
    AudioPlayer& operator=(const AudioPlayer&) = delete;

    // The process-wide player, listening to the process-wide project's data when there is a
    // project.
    static AudioPlayer* getInstance();
    static AudioPlayer& createInstance(Options options = {});
    static void destroyInstance();

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }

    // Both workers have announced their windows.
    bool isReady() const { return outputWindow_ && monitorWindow_; }

    // Loads a WAVE file (an empty path unloads), waiting while both workers close the old
    // track and open the new one. Returns 0; the device's open error; or -1 without an output
    // worker. A file that cannot be read still opens the device, at 44100 Hz with silence
    // and length 0.
    int load(const std::wstring& path);
    void play();
    // Plays as a recording pass (cues are placed while it runs).
    void playRecording();
    // Pauses; plays when paused; nothing when stopped.
    void pause();
    // Stops at the offset; stopping there again goes to the start of the timeline.
    void stop();
    void locate(const SMPTE& time);
    // The output worker's position now, as a label of `format`: 00:00:00:00 without an
    // output worker.
    SMPTE getPosition(int format);
    // The same in timeline frames (0 without an output worker).
    std::int64_t getPositionFrames();
    // Where the track ends on the timeline.
    SMPTE getLength(int format) const;
    double getLengthMilliseconds() const
    {
        return static_cast<double>(length_ + offset_) / trackRate() * 1000.0;
    }
    // Slows playback down by `speed` (1 normal; less than 1 counts as 1). Playback restarts
    // at the same position.
    void setSpeed(int speed);
    bool isPlayingNormally() const { return state_ == STATE_PLAYING && !recording_; }
    // Asks the monitor to analyse the columns at `pairs` (timeline frames); the results come
    // to `requester` as kMessageAnalysisResults with `generation`, in batches.
    void requestAnalysis(Platform::WindowHandle requester, std::int64_t generation,
                         std::vector<AnalysisPair> pairs);

    int getState() const { return state_; }
    bool isRecording() const { return recording_; }
    int getSpeed() const { return speed_; }
    // The output rate the worker reports (the track's rate divided by the speed).
    int getRate() const { return rate_; }
    std::int64_t getLengthFrames() const { return length_; }
    std::int64_t getOffsetFrames() const { return offset_; }
    Platform::WindowHandle getOutputWindow() const { return outputWindow_; }
    Platform::WindowHandle getMonitorWindow() const { return monitorWindow_; }
    Platform::WindowHandle getLocalWindow() const { return localWindow_->handle(); }

    // Project::ProjectData::Listener
    void audioOffsetChanged(const SMPTE& offset) override;

private:
    std::int64_t handle(const Platform::Message& message);
    // Frames per second of timeline positions: the output rate times the speed it was
    // reported with.
    double trackRate() const { return static_cast<double>(rate_) * rateSpeed_; }
    // The project's audio offset in timeline frames.
    std::int64_t offsetFrames() const;
    // Takes offsetFrames() and tells both workers.
    void applyOffset();
    void onState(int state);
    void onTrackLoaded(int rate, std::int64_t frames, bool stateChange);
    void onPositionReport(std::uint64_t rate, std::int64_t position);

    Project::ProjectData* projectData_;
    Platform::ListenerSet<Listener> listeners_;
    std::unique_ptr<Platform::MessageWindow> localWindow_;
    Platform::WindowHandle outputWindow_;
    Platform::WindowHandle monitorWindow_;
    // The workers' windows as they started, for shutting them down.
    Platform::WindowHandle outputThreadWindow_;
    Platform::WindowHandle monitorThreadWindow_;
    std::thread outputThread_;
    std::thread monitorThread_;

    int speed_ = 1;
    int state_ = STATE_NO_TRACK;
    bool recording_ = false;
    int rate_ = 44100;
    int rateSpeed_ = 1;  // the speed in force when rate_ was reported
    std::int64_t length_ = 0;
    std::int64_t offset_ = 0;
    std::optional<SMPTE> offsetLabel_;  // the project's audio offset
};

}  // namespace Audio
