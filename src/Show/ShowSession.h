#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Audio/AudioPlayer.h"
#include "Audio/AudioPlayerSoundtrack.h"
#include "Controller/Controller.h"
#include "Controller/ShowControllerAdapter.h"
#include "Midi/IMidiPorts.h"
#include "Midi/MidiController.h"
#include "Platform/MessageBoxService.h"
#include "Project/Operations/FileDamage.h"
#include "Project/Project.h"
#include "Show/ShowAudioAdapter.h"
#include "Show/ShowMidiHost.h"

namespace Show {

struct ShowSessionOptions {
    // With a program folder the settings come first and are written last: the program's
    // folder holds "defaults.ini" and "locale", the user folder "config.ini". Without one the
    // session runs without settings, as the command-line program does.
    std::optional<std::wstring> programFolder;
    std::wstring userFolder;
    Audio::AudioPlayerOptions audio;
    // The controller service's options; the session fills in the project and the audio worker.
    Controller::ControllerOptions controller;
    // The MIDI devices; null: the system's.
    std::unique_ptr<Midi::IMidiPorts> midiPorts;
    // Where the MIDI service's messages are shown; null: the log.
    Platform::MessageBoxService* messageBoxes = nullptr;
};

// How a show ended on the device.
struct ShowEnd {
    bool wasConnected = false;
    // The device acknowledged the shutdown sequence and did not report itself armed. False
    // when it was not connected any more: it may still be armed.
    bool disarmConfirmed = false;
};

// One running program's services and the one path into and out of show mode. It makes the
// services in the start-up order (settings, project, audio player, MIDI time code, controller)
// as the process-wide instances the windows read, registers the show state with them through
// its adapters, and ends them in the reverse order: the controller first, which disconnects
// the device with its shutdown sequence before anything else goes, the settings last.
//
// Main thread only; the thread must have a message queue, which the caller pumps.
class ShowSession {
public:
    explicit ShowSession(ShowSessionOptions options = {});
    ~ShowSession();
    ShowSession(const ShowSession&) = delete;
    ShowSession& operator=(const ShowSession&) = delete;

    Project::Project& project() { return project_; }
    Project::ProjectState& state() { return project_.getProjectState(); }
    Audio::AudioPlayer& player() { return *player_; }
    Midi::MidiController& midi() { return *midi_; }
    Controller::Controller& controller() { return *controller_; }

    // Pumps the queue until the player's and the controller's workers have announced
    // themselves; false after the time.
    bool waitUntilReady(std::chrono::milliseconds timeout);

    // The localization key of the last failure.
    const std::wstring& getLastError() const { return lastError_; }

    // Opens a project file as the open command does, with its soundtrack. A damaged file is
    // refused ("ERROR.DAMAGED_FILE") unless salvage is allowed; then what could be read opens
    // and `salvaged`, when given, says so.
    bool openProject(const std::wstring& path, Project::Salvage salvage = Project::Salvage::REFUSE,
                     bool* salvaged = nullptr);
    // Finds and greets the firing controller; it is left disarmed, DMX off and its queue empty.
    bool connect();
    // Compiles the project for a show mode (Controller::ShowMode), loads it into the
    // controller and enters show mode with the matching clock. The audio clock without a
    // soundtrack plays silence to the show's end.
    bool enterShowMode(int showMode);
    bool isInShowMode() const;
    // Arms on a firing channel (0-127, anything else unspecified) for the modules of the
    // project's pyro cues, or disarms.
    bool arm(int channel);
    bool disarm();
    // The end of a show: the device's shutdown sequence (its own clock stopped for a show on
    // it, disarmed, all DMX off, its queue emptied), the show unloaded, then the transport
    // stopped. Show mode stays on so that the cue states can still be read; leaveShowMode()
    // ends it.
    ShowEnd endShow();
    // Ends the show if it still runs on the device and leaves show mode: the states show the
    // preview again.
    ShowEnd leaveShowMode();

    // MIDI time code out (master) or in (slave) on a port given by its index or its name;
    // false with "ERROR.MIDI_PORT_NOT_FOUND" when no such port exists.
    bool startMidiMaster(const std::string& port);
    bool startMidiSlave(const std::string& port);
    // The index of the input or output port that `port` names: its number, its whole name, or
    // the one name that contains it.
    std::optional<int> findMidiPort(bool input, const std::string& port);

private:
    // Slave on an input, master on an output.
    bool startMidi(bool input, const std::string& port);

    ShowSessionOptions options_;
    bool ownsSettings_ = false;
    Project::Project& project_;
    Audio::AudioPlayer* player_ = nullptr;
    std::unique_ptr<Audio::AudioPlayerSoundtrack> soundtrack_;
    std::unique_ptr<ShowAudioAdapter> audioAdapter_;
    std::unique_ptr<ShowMidiHost> midiHost_;
    Midi::MidiController* midi_ = nullptr;
    Controller::Controller* controller_ = nullptr;
    std::unique_ptr<Controller::ShowControllerAdapter> controllerAdapter_;
    std::wstring lastError_;
    // A show was loaded into the controller and its end has not run yet.
    bool showLoaded_ = false;
};

}  // namespace Show
