#include "Audio/AudioPlayerSoundtrack.h"

#include "FileIO/WaveFileReader.h"

namespace Audio {

bool AudioPlayerSoundtrack::load(const std::wstring& path)
{
    {
        FileIO::WaveFileReader reader;
        if (path.empty() || !reader.open(path)) {
            return false;
        }
    }
    return player_.load(path) == 0;
}

void AudioPlayerSoundtrack::unload()
{
    player_.load(L"");
}

}  // namespace Audio
