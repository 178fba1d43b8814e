#pragma once

#include <string>

namespace Project {

class ProjectData;

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
    // loaded). Not owned. Kept for callers that set it; the show session gives its project a
    // soundtrack of its own instead.
    static ISoundtrack* getInstance();
    static void setInstance(ISoundtrack* soundtrack);
};

// The soundtrack an operation on `data` uses: its project's, else the process-wide one.
ISoundtrack* soundtrackOf(const ProjectData& data);

}  // namespace Project
