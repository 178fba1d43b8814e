#include "Show/ShowSession.h"

#include <algorithm>
#include <utility>

#include "Config/Settings.h"
#include "Controller/ShowMode.h"
#include "Platform/MessageQueue.h"
#include "Platform/Utf.h"
#include "Project/ISoundtrack.h"
#include "Project/Operations/OperationOpenProject.h"
#include "Project/ProjectState.h"

namespace Show {

namespace {

// The settings first, when the program has them.
bool createSettings(const ShowSessionOptions& options)
{
    if (!options.programFolder) {
        return false;
    }
    Config::Settings::create(*options.programFolder, options.userFolder);
    return true;
}

int clockFor(int showMode)
{
    switch (showMode) {
        case Controller::SHOW_AUDIO_CLOCK: return Project::ProjectState::CLOCK_AUDIO;
        case Controller::SHOW_MANUAL_FIRE: return Project::ProjectState::CLOCK_MANUAL;
        default: return Project::ProjectState::CLOCK_CONTROLLER;
    }
}

// Time for the controller's worker to report the closed port after a disconnect.
constexpr std::chrono::seconds kDisconnectReport{1};

}  // namespace

ShowSession::ShowSession(ShowSessionOptions options)
    : options_(std::move(options)),
      ownsSettings_(createSettings(options_)),
      project_(Project::Project::createInstance())
{
    player_ = &Audio::AudioPlayer::createInstance(options_.audio);
    soundtrack_ = std::make_unique<Audio::AudioPlayerSoundtrack>(*player_);
    project_.setSoundtrack(soundtrack_.get());
    audioAdapter_ = std::make_unique<ShowAudioAdapter>(*player_, state());

    midiHost_ = std::make_unique<ShowMidiHost>(*player_, project_, options_.messageBoxes);
    midi_ = &Midi::MidiController::create(midiHost_.get(), std::move(options_.midiPorts));

    Controller::ControllerOptions controllerOptions = options_.controller;
    controllerOptions.project = &project_;
    controllerOptions.audioWorker = [player = player_] { return player->getOutputWindow(); };
    controller_ = &Controller::Controller::createInstance(std::move(controllerOptions));
    controllerAdapter_ = std::make_unique<Controller::ShowControllerAdapter>(*controller_, state());
    state().attach();
}

ShowSession::~ShowSession()
{
    if (isInShowMode()) {
        leaveShowMode();
    }
    // The controller first: a device still connected gets its shutdown sequence now, before
    // anything it could need goes away.
    controllerAdapter_.reset();
    Controller::Controller::destroyInstance();
    controller_ = nullptr;
    Midi::MidiController::destroy();
    midi_ = nullptr;
    midiHost_.reset();
    audioAdapter_.reset();
    project_.setSoundtrack(nullptr);
    soundtrack_.reset();
    Audio::AudioPlayer::destroyInstance();
    player_ = nullptr;
    state().detach();
    Project::Project::destroyInstance();
    if (ownsSettings_) {
        Config::Settings::destroy();  // writes the settings file when a setting changed
    }
}

bool ShowSession::waitUntilReady(std::chrono::milliseconds timeout)
{
    Platform::MessageQueue* queue = Platform::MessageQueue::current();
    return queue && queue->runUntil([this] { return player_->isReady() && controller_->isReady(); },
                                    timeout);
}

bool ShowSession::openProject(const std::wstring& path, Project::Salvage salvage, bool* salvaged)
{
    if (!project_.submit(new Project::OperationOpenProject(path, salvage))) {
        lastError_ = project_.getLastError();
        return false;
    }
    if (salvaged) {
        *salvaged = project_.isModified();  // a salvaged open leaves the project modified
    }
    // The soundtrack was loaded on the way: its reports reach the show state now.
    if (Platform::MessageQueue* queue = Platform::MessageQueue::current()) {
        queue->processPending();
    }
    return true;
}

bool ShowSession::connect()
{
    if (!controller_->connect()) {
        lastError_ = controller_->getLastError();
        return false;
    }
    return true;
}

bool ShowSession::enterShowMode(int showMode)
{
    // The audio clock needs a running sound output; without a soundtrack it plays silence
    // for as long as the show lasts.
    if (showMode == Controller::SHOW_AUDIO_CLOCK &&
        player_->getState() == Audio::AudioPlayer::STATE_NO_TRACK) {
        player_->load(L"");
    }
    // The player's reports of its track (a load just before) are taken in first.
    if (Platform::MessageQueue* queue = Platform::MessageQueue::current()) {
        queue->processPending();
    }
    state().updateShowEnd();
    if (!controller_->compile(showMode)) {
        lastError_ = controller_->getLastError();
        return false;
    }
    state().enterShowMode(clockFor(showMode));
    showLoaded_ = true;
    return true;
}

bool ShowSession::isInShowMode() const
{
    return project_.getProjectState().isShowMode();
}

bool ShowSession::arm(int channel)
{
    if (!controller_->arm(true, channel)) {
        lastError_ = controller_->getLastError();
        return false;
    }
    return true;
}

bool ShowSession::disarm()
{
    if (!controller_->arm(false, 0)) {
        lastError_ = controller_->getLastError();
        return false;
    }
    return true;
}

ShowEnd ShowSession::endShow()
{
    ShowEnd end;
    end.wasConnected = controller_->isConnected();
    // The device first: disconnecting unloads the show and runs the shutdown sequence (it is
    // unconfirmed when the device is gone already). Stopping the transport before would
    // place the device at the start with the show still loaded and armed.
    end.disarmConfirmed = controller_->disconnect();
    if (!end.disarmConfirmed) {
        lastError_ = controller_->getLastError();
    }
    // The audio clock's ticks stop too.
    controller_->unload();
    if (Platform::MessageQueue* queue = Platform::MessageQueue::current()) {
        queue->runUntil([this] { return !controller_->isConnected(); }, kDisconnectReport);
    }
    if (isInShowMode()) {
        state().stop();
    }
    showLoaded_ = false;
    return end;
}

ShowEnd ShowSession::leaveShowMode()
{
    ShowEnd end;
    if (controller_->isConnected() || showLoaded_) {
        end = endShow();
    }
    if (isInShowMode()) {
        state().exitShowMode();
    }
    return end;
}

std::optional<int> ShowSession::findMidiPort(bool input, const std::string& port)
{
    const std::vector<std::wstring> names = midi_->getPortNames(input);
    if (!port.empty() &&
        std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const unsigned long index = port.size() < 6 ? std::stoul(port) : names.size();
        if (index < names.size()) {
            return static_cast<int>(index);
        }
        return std::nullopt;
    }
    const std::wstring wanted = Platform::fromUtf8(port);
    std::optional<int> containing;
    int containingCount = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == wanted) {
            return static_cast<int>(i);
        }
        if (!wanted.empty() && names[i].find(wanted) != std::wstring::npos) {
            containing = static_cast<int>(i);
            ++containingCount;
        }
    }
    return containingCount == 1 ? containing : std::nullopt;
}

bool ShowSession::startMidiMaster(const std::string& port)
{
    return startMidi(false, port);
}

bool ShowSession::startMidiSlave(const std::string& port)
{
    return startMidi(true, port);
}

bool ShowSession::startMidi(bool input, const std::string& port)
{
    const std::optional<int> index = findMidiPort(input, port);
    if (!index || !(input ? midi_->chooseSlave(*index) : midi_->chooseMaster(*index))) {
        lastError_ = L"ERROR.MIDI_PORT_NOT_FOUND";
        return false;
    }
    return true;
}

}  // namespace Show
