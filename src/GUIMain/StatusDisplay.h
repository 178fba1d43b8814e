#pragma once

#include <string>
#include <unordered_set>

#include "Audio/AudioPlayer.h"
#include "GUI/D2DContainer.h"
#include "Midi/MidiController.h"
#include "Project/CueList.h"
#include "Project/Project.h"
#include "Project/ProjectData.h"
#include "Project/ProjectState.h"

namespace GUI {
class D2DSMPTEDisplay;
}

namespace GUIMain {

class MIDIDisplay;
class PauseButton;
class PlayButton;
class RecordButton;
class SMPTEFormatDisplay;
class StopButton;
class VUDisplay;

// The right end of the header band: the level meter, the timecode format, the transport
// buttons, the next cue's timecode, the play position, the show length and the MIDI time
// code state. Each part follows its service's notifications and draws again only when what
// it shows changed, so a stopped show costs nothing.
class StatusDisplay : public GUI::D2DContainer,
                      public Project::Project::Listener,
                      public Project::ProjectData::Listener,
                      public Project::ProjectState::Listener,
                      public Project::CueList::Listener,
                      public Midi::MidiController::Listener {
public:
    static constexpr int kWidth = 495;
    static constexpr int kHeight = 100;

    std::wstring getWindowClassName() const override { return L"StatusDisplay"; }
    void getPreferredSize(int& width, int& height) override;
    void onCreate() override;
    void onDestroy() override;
    void draw(GUI::RenderTarget& target) override;

    // Project::Project::Listener
    void fileNameChanged(const std::wstring& fileName) override;
    void projectUpdated() override;
    // Project::ProjectData::Listener
    void formatChanged(int format) override;
    // Project::ProjectState::Listener
    void onShowEndChanged(const SMPTE& showEnd) override;
    void onPositionChanged(const SMPTE& position) override;
    void onModeChanged() override;
    // Project::CueList::Listener: the cues marked next to fire.
    void cueAdded(Project::Cue* cue) override;
    void cueRemoved(Project::Cue* cue) override;
    void cueStateChanged(Project::Cue* cue) override;
    void cueTimecodeChanged(Project::Cue* cue) override;
    // The audio player's levels and play state.
    void levelsReported(int left, int right);
    void playerStateChanged();
    // Midi::MidiController::Listener
    void onMidiModeChanged(Midi::MidiController::Mode mode) override;

    GUI::D2DSMPTEDisplay* getNextDisplay() const { return next_; }
    GUI::D2DSMPTEDisplay* getPositionDisplay() const { return position_; }
    GUI::D2DSMPTEDisplay* getLengthDisplay() const { return length_; }
    SMPTEFormatDisplay* getFormatDisplay() const { return format_; }
    MIDIDisplay* getMidiDisplay() const { return midi_; }
    VUDisplay* getLevelMeter() const { return meter_; }

private:
    // The player's listener names clash with the show state's (both have a position
    // notification), so the player is heard through this.
    class PlayerListener : public Audio::AudioPlayer::Listener {
    public:
        explicit PlayerListener(StatusDisplay& owner) : owner_(owner) {}
        void onLevels(int left, int right) override { owner_.levelsReported(left, right); }
        void onStateChanged() override { owner_.playerStateChanged(); }

    private:
        StatusDisplay& owner_;
    };

    // Reads everything shown from the services at once.
    void refreshAll();
    // The earliest of the cues marked next, or nothing.
    void refreshNextCue();
    void refreshTransport();
    void trackCue(Project::Cue* cue);

    PlayerListener playerListener_{*this};
    Project::Project* project_ = nullptr;
    Audio::AudioPlayer* player_ = nullptr;
    Midi::MidiController* midiService_ = nullptr;

    VUDisplay* meter_ = nullptr;
    SMPTEFormatDisplay* format_ = nullptr;
    PlayButton* play_ = nullptr;
    PauseButton* pause_ = nullptr;
    StopButton* stop_ = nullptr;
    RecordButton* record_ = nullptr;
    GUI::D2DSMPTEDisplay* next_ = nullptr;
    GUI::D2DSMPTEDisplay* position_ = nullptr;
    GUI::D2DSMPTEDisplay* length_ = nullptr;
    MIDIDisplay* midi_ = nullptr;

    // The cues in the next-to-fire state; a handful at a time, so finding the earliest is
    // cheap even in a show of many thousand cues.
    std::unordered_set<const Project::Cue*> nextCues_;
    bool nextDirty_ = false;
};

}  // namespace GUIMain
