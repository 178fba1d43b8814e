#pragma once

#include <atomic>
#include <thread>

#include "Audio/AudioPlayer.h"
#include "Midi/IMidiHost.h"
#include "Platform/MessageBoxService.h"

namespace Project {
class Project;
}

namespace Show {

// What the MIDI time code service needs of the running program: the project's format, the
// soundtrack player's position and transport, the show state's locate and record request, and
// message boxes. The position is published from the player's reports on the main thread and
// read by the quarter-frame generator's thread, so it is kept in an atomic; the main thread
// asks the player itself.
class ShowMidiHost : public Midi::IMidiHost, public Audio::AudioPlayer::Listener {
public:
    // `messageBoxes` null: messages go to the log. Registers with the player until destroyed.
    ShowMidiHost(Audio::AudioPlayer& player, Project::Project& project,
                 Platform::MessageBoxService* messageBoxes);
    ~ShowMidiHost() override;
    ShowMidiHost(const ShowMidiHost&) = delete;
    ShowMidiHost& operator=(const ShowMidiHost&) = delete;

    // Midi::IMidiHost
    int getFormat() const override;
    SMPTE getClockPosition(int format) override;  // any thread
    bool isAudioPlaying() const override;
    void pauseAudio() override;
    void playAudio(bool recording) override;
    bool isRecordRequested() const override;
    void locate(const SMPTE& time) override;
    void showMessage(const std::wstring& text, const std::wstring& caption, int icon) override;

    // Audio::AudioPlayer::Listener
    void onPositionChanged(double milliseconds) override;

private:
    Audio::AudioPlayer& player_;
    Project::Project& project_;
    Platform::MessageBoxService* messageBoxes_;
    std::thread::id mainThread_;
    std::atomic<double> positionMs_{0.0};
};

}  // namespace Show
