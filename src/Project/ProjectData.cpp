#include "Project/ProjectData.h"

namespace Project {

ProjectData::ProjectData() = default;

ProjectData::~ProjectData()
{
    currentFixture_ = nullptr;
}

void ProjectData::setFormat(int format)
{
    format_ = format;
    listeners_.notify(&Listener::formatChanged, format);
}

void ProjectData::setAudioOffset(const SMPTE& offset)
{
    audioOffset_ = offset;
    listeners_.notify(&Listener::audioOffsetChanged, audioOffset_);
}

void ProjectData::setWaveLink(bool linked, const std::wstring& fileName)
{
    waveLinked_ = linked;
    waveFileName_ = fileName;
    soundtrackMissing_ = false;
}

}  // namespace Project
