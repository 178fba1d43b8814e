#pragma once

#include <string>

namespace Project {

// What the project needs of the audio player: load a WAVE file as the soundtrack, or drop
// it. The application connects the audio player here at start-up; the project layer never
// reaches the player itself. Main thread only.
class ISoundtrack {
public:
    virtual ~ISoundtrack() = default;

    // Loads the file as the soundtrack; false when it cannot be opened or read.
    virtual bool load(const std::wstring& path) = 0;
    // Drops the soundtrack, if any.
    virtual void unload() = 0;

    // The process-wide soundtrack, or null while none is connected (then nothing can be
    // loaded). Not owned.
    static ISoundtrack* getInstance();
    static void setInstance(ISoundtrack* soundtrack);
};

}  // namespace Project
