#pragma once

#include <string>

#include "Audio/AudioPlayer.h"
#include "Project/ISoundtrack.h"

namespace Audio {

// Connects the audio player to the project as its soundtrack. The player itself accepts any
// path (a file it cannot read plays silence); a soundtrack must refuse such a file, so that
// the project keeps its previous link, so the file is checked with the WAVE reader first.
// Main thread only, like the player.
class AudioPlayerSoundtrack : public Project::ISoundtrack {
public:
    explicit AudioPlayerSoundtrack(AudioPlayer& player) : player_(player) {}

    // False when the WAVE reader refuses the file or the player cannot load it; the player's
    // track is then unchanged or, after a device failure, silent.
    bool load(const std::wstring& path) override;
    // The player has no way to drop a track: it loads no file, which leaves it an empty,
    // silent track.
    void unload() override;

private:
    AudioPlayer& player_;
};

}  // namespace Audio
