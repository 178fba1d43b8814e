#pragma once

#include "Platform/ListenerSet.h"
#include "Project/CueList.h"
#include "Project/CueStatePreview.h"
#include "Timecode/SMPTE.h"

namespace Project {

class IShowAudio;
class IShowController;
class ITimecodeOut;
class Project;

// The run-time state of the show: where the show clock stands, which clock drives it,
// whether show mode is on, where the show ends, and the preview of every cue's state outside
// show mode. One per project, main thread only.
//
// The soundtrack player, the controller service and the MIDI time code output live in higher
// modules: adapters there hand the show state an interface (setAudio(), setController(),
// setTimecodeOut(); null when the service goes away) and forward the services' events to
// the handler methods below. The show state listens to the cue list itself after attach().
class ProjectState : public CueList::Listener {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void onShowEndChanged(const SMPTE& /*showEnd*/) {}
        virtual void onPositionChanged(const SMPTE& /*position*/) {}
        // The clock mode, show mode, the player's play state (audio clock) or the
        // controller's status word (show mode) changed.
        virtual void onModeChanged() {}
    };

    enum ClockMode : int {
        CLOCK_AUDIO = 0,
        CLOCK_CONTROLLER = 1,
        CLOCK_MANUAL = 2,
    };

    // What the sidebar shows of the controller's safety switches.
    enum SafetyState : int {
        SAFETY_SAFE = 0,
        SAFETY_ARMED = 1,  // pyro and DMX
        SAFETY_HELD = 2,   // dead-man switch
        SAFETY_OVERRIDDEN = 3,
    };

    explicit ProjectState(Project& project);
    ~ProjectState() override;
    ProjectState(const ProjectState&) = delete;
    ProjectState& operator=(const ProjectState&) = delete;

    // Starts listening to the project's cue list; once, at start-up. The services connect
    // through their adapters.
    void attach();
    void detach();

    void setAudio(IShowAudio* audio) { audio_ = audio; }
    void setController(IShowController* controller) { controller_ = controller; }
    void setTimecodeOut(ITimecodeOut* timecodeOut) { timecodeOut_ = timecodeOut; }
    IShowAudio* getAudio() const { return audio_; }
    IShowController* getController() const { return controller_; }
    ITimecodeOut* getTimecodeOut() const { return timecodeOut_; }

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }

    const SMPTE& getPosition() const { return position_; }
    const SMPTE& getShowEnd() const { return showEnd_; }
    int getClockMode() const { return clockMode_; }
    bool isShowMode() const { return showMode_; }
    bool isPreviewDirty() const { return previewDirty_; }
    // Clears the dirty mark and says whether it was set; the project's operation ending uses
    // it to refresh the preview once per operation.
    bool takePreviewDirty();

    bool isStopped() const;
    bool isRecording() const;
    bool isPyroArmed() const;
    // The controller's status word in show mode; 0 outside it (all bits count as clear).
    int getShowStatus() const;
    int getPyroState() const;
    int getDmxState() const;
    int getDeadmanState() const;
    // Localization keys of the three safety states ("SIDEBAR.SHOW_MODE.PYRO_STATE.ARMED").
    static const char* pyroStateKey(int state);
    static const char* dmxStateKey(int state);
    static const char* deadmanStateKey(int state);

    // The audio player's position for the audio clock, else 00:00:00:00; in the project's
    // format.
    void getClockStartPosition(SMPTE& out) const;
    SMPTE getClockStartPosition() const;

    void setRecordRequest(bool request) { recordRequest_ = request; }
    bool getRecordRequest() const { return recordRequest_; }

    void setClockMode(int mode);
    void enterShowMode(int mode);
    void exitShowMode();

    // Transport by clock mode; false when the clock mode does not support the call. The
    // position follows only when the clock source reports it.
    bool play();
    bool pause();
    bool stop();
    bool locate(const SMPTE& time);

    void setPosition(const SMPTE& position);
    void updateShowEnd();
    // Submits a cue-state preview update for the current position to the project.
    void updateCueStatePreview();

    // Events of the soundtrack player, forwarded by its adapter.
    void onAudioTrackChanged();
    void onAudioPositionChanged(double milliseconds);
    void onAudioStateChanged();
    // Events of the controller service, forwarded by its adapter.
    void onControllerTimecode(double milliseconds);
    void onControllerStatusChanged(int status);

    // The cue list's events.
    void cueTimecodeChanged(Cue* cue) override;
    void cueAdded(Cue* cue) override;
    void cueRemoved(Cue* cue) override;
    void cuePrefireTimeChanged(Cue* cue) override;
    void cueDurationChanged(Cue* cue) override;
    void cuePyroTypeChanged(Cue* cue) override;
    void cueReminderTextChanged(Cue* cue) override;
    void cueGroupNameChanged(Cue* cue) override;
    void cueStateChanged(Cue* cue) override;

    // The frame count of a clock report in milliseconds, in `format`: rounded to the nearest
    // frame at the format's real frame rate.
    static int framesFromMilliseconds(double milliseconds, int format);

private:
    int format() const;
    void markPreviewDirty();
    void positionFromClock(double milliseconds);
    void sendFullFrameIfOpen(const SMPTE& time);

    Project& project_;
    IShowAudio* audio_ = nullptr;
    IShowController* controller_ = nullptr;
    ITimecodeOut* timecodeOut_ = nullptr;
    bool attached_ = false;
    Platform::ListenerSet<Listener> listeners_;
    int clockMode_ = CLOCK_AUDIO;
    bool showMode_ = false;
    bool previewDirty_ = false;
    // Follows the position cheaply while attached, that is while every cue event reaches us.
    CueStatePreview preview_;
    SMPTE position_{SMPTE::SMPTE_30};
    SMPTE showEnd_{SMPTE::SMPTE_30};
    bool recordRequest_ = false;
};

}  // namespace Project
