#include "Show/ShowMidiHost.h"

#include "Platform/Log.h"
#include "Project/Project.h"
#include "Project/ProjectState.h"

namespace Show {

ShowMidiHost::ShowMidiHost(Audio::AudioPlayer& player, Project::Project& project,
                           Platform::MessageBoxService* messageBoxes)
    : player_(player),
      project_(project),
      messageBoxes_(messageBoxes),
      mainThread_(std::this_thread::get_id())
{
    player_.addListener(this);
}

ShowMidiHost::~ShowMidiHost()
{
    player_.removeListener(this);
}

int ShowMidiHost::getFormat() const
{
    return project_.getProjectData().getFormat();
}

SMPTE ShowMidiHost::getClockPosition(int format)
{
    // On the main thread the player's worker is asked (the position just located, say);
    // the generator's thread takes the last position the player reported.
    if (std::this_thread::get_id() == mainThread_) {
        const SMPTE position = player_.getPosition(format);
        positionMs_.store(position.getMilliseconds(), std::memory_order_relaxed);
        return position;
    }
    SMPTE time(format);
    time.setMilliseconds(positionMs_.load(std::memory_order_relaxed));
    return time;
}

bool ShowMidiHost::isAudioPlaying() const
{
    return player_.getState() == Audio::AudioPlayer::STATE_PLAYING;
}

void ShowMidiHost::pauseAudio()
{
    player_.pause();
}

void ShowMidiHost::playAudio(bool recording)
{
    if (recording) {
        player_.playRecording();
    } else {
        player_.play();
    }
}

bool ShowMidiHost::isRecordRequested() const
{
    return project_.getProjectState().getRecordRequest();
}

void ShowMidiHost::locate(const SMPTE& time)
{
    project_.getProjectState().locate(time);
}

void ShowMidiHost::showMessage(const std::wstring& text, const std::wstring& caption, int icon)
{
    if (!messageBoxes_) {
        Platform::logLine(caption + L": " + text);
        return;
    }
    Platform::MessageBoxService::Request request;
    request.text = text;
    request.caption = caption;
    request.icon = icon == ICON_ERROR ? Platform::MessageBoxService::Icon::kError
                                      : Platform::MessageBoxService::Icon::kInformation;
    messageBoxes_->ask(request);
}

void ShowMidiHost::onPositionChanged(double milliseconds)
{
    positionMs_.store(milliseconds, std::memory_order_relaxed);
}

}  // namespace Show
