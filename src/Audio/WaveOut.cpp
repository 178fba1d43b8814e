#include "Audio/WaveOut.h"

#include "Audio/PortAudioWaveOut.h"
#include "Audio/SilentWaveOut.h"
#include "Platform/Log.h"

namespace Audio {

std::unique_ptr<WaveOut> WaveOut::create(const std::wstring& device, const Platform::Clock& clock)
{
    if (device == L"silent") {
        return std::make_unique<SilentWaveOut>(clock);
    }
    if (std::unique_ptr<PortAudioWaveOut> sound = PortAudioWaveOut::create(device)) {
        return sound;
    }
    Platform::logLine(L"Audio: no sound output found; playing on the silent device");
    return std::make_unique<SilentWaveOut>(clock);
}

}  // namespace Audio
