#include "Show/ShowAudioAdapter.h"

#include "Project/ProjectState.h"

namespace Show {

ShowAudioAdapter::ShowAudioAdapter(Audio::AudioPlayer& player, Project::ProjectState& state)
    : player_(player), state_(state)
{
    player_.addListener(this);
    state_.setAudio(this);
}

ShowAudioAdapter::~ShowAudioAdapter()
{
    player_.removeListener(this);
    if (state_.getAudio() == this) {
        state_.setAudio(nullptr);
    }
}

void ShowAudioAdapter::onTrackChanged()
{
    state_.onAudioTrackChanged();
}

void ShowAudioAdapter::onPositionChanged(double milliseconds)
{
    state_.onAudioPositionChanged(milliseconds);
}

void ShowAudioAdapter::onStateChanged()
{
    state_.onAudioStateChanged();
}

void ShowAudioAdapter::play()
{
    player_.play();
}

void ShowAudioAdapter::pause()
{
    player_.pause();
}

void ShowAudioAdapter::stop()
{
    player_.stop();
}

void ShowAudioAdapter::locate(const SMPTE& time)
{
    player_.locate(time);
}

SMPTE ShowAudioAdapter::getPosition(int format)
{
    return player_.getPosition(format);
}

SMPTE ShowAudioAdapter::getLength(int format) const
{
    return player_.getLength(format);
}

bool ShowAudioAdapter::isLoaded() const
{
    return player_.getState() != Audio::AudioPlayer::STATE_NO_TRACK;
}

bool ShowAudioAdapter::isStopped() const
{
    const int state = player_.getState();
    return state != Audio::AudioPlayer::STATE_PLAYING && state != Audio::AudioPlayer::STATE_PAUSED;
}

bool ShowAudioAdapter::isRecording() const
{
    return player_.isRecording();
}

}  // namespace Show
