#pragma once

#include "Audio/AudioPlayer.h"
#include "Project/IShowAudio.h"

namespace Project {
class ProjectState;
}

namespace Show {

// Connects the show state with the soundtrack player: forwards the player's track, position
// and play-state events to the show state, and lets the show state drive the player. While it
// lives it is registered with both; it unregisters itself when destroyed, so it must not
// outlive either.
class ShowAudioAdapter : public Audio::AudioPlayer::Listener, public Project::IShowAudio {
public:
    ShowAudioAdapter(Audio::AudioPlayer& player, Project::ProjectState& state);
    ~ShowAudioAdapter() override;
    ShowAudioAdapter(const ShowAudioAdapter&) = delete;
    ShowAudioAdapter& operator=(const ShowAudioAdapter&) = delete;

    // Audio::AudioPlayer::Listener
    void onTrackChanged() override;
    void onPositionChanged(double milliseconds) override;
    void onStateChanged() override;

    // Project::IShowAudio
    void play() override;
    void pause() override;
    void stop() override;
    void locate(const SMPTE& time) override;
    SMPTE getPosition(int format) override;
    SMPTE getLength(int format) const override;
    bool isLoaded() const override;
    bool isStopped() const override;
    bool isRecording() const override;

private:
    Audio::AudioPlayer& player_;
    Project::ProjectState& state_;
};

}  // namespace Show
