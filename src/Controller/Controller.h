#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Controller/ControllerMessages.h"
#include "Controller/Emulator.h"
#include "Platform/Clock.h"
#include "Platform/ListenerSet.h"
#include "Platform/MessageWindow.h"
#include "Timecode/SMPTE.h"

namespace Project {
class Project;
}

namespace Controller {

// How a Controller is set up; the defaults are the program's.
struct ControllerOptions {
    // The candidate serial ports in the order they are tried. Default: the ttys of the USB
    // firing controller (vendor 4321, product 62e1) found in sysfs, then the device paths of
    // the setting "controller.ports" (separated by ";"). Called on the front's thread.
    std::function<std::vector<std::string>()> findPorts;
    // The clock of the worker and the emulator (the steady clock when null); must outlive
    // the controller.
    const Platform::Clock* clock = nullptr;
    // The project whose cues are compiled, armed and updated; null: the process-wide one.
    Project::Project* project = nullptr;
    // The audio player's output worker, which sends the audio clock ticks; empty: none (the
    // show session hands over its player's).
    std::function<Platform::WindowHandle()> audioWorker;
    // How far ahead of the device's own or incoming timecode the show's words are streamed,
    // in milliseconds (0: as far as its queue takes). Unset: the setting
    // "controller.lookaheadMs", else kDefaultLookaheadMs.
    std::optional<int> lookaheadMs;
};

// What the device holds can still fire after the program or the link is lost: three seconds
// of the show at most.
inline constexpr int kDefaultLookaheadMs = 3000;

// The service that talks to the firing controller, a USB device seen as a serial port.
//
// This front lives on the thread that creates it (the main thread; its message queue must be
// pumped, by MessageQueue::run() or the GUI's loop) with its window "LocalUSBControllerWindow",
// the listeners and the emulator. A worker thread (USBThread) owns the port and the loaded
// compiled show. They share nothing but messages: calls that need an answer send to the
// worker and block until it has handled them (a discovery up to 100 ms per silent port, a
// request up to 300 ms); the rest post. Listeners are called on the front's thread.
//
// The worker announces its window with a message, so the calls below fail with
// "ERROR.GENERIC" until the front's queue has run once after construction (isReady()).
class Controller {
public:
    class Listener : public Emulator::Listener {
    public:
        // The device's timecode (or the manual step time) in milliseconds of the project's
        // format.
        virtual void onTimecode(double /*milliseconds*/) {}
        virtual void onStatusChanged() {}
        virtual void onGroupChanged() {}
        // The worker reported the port opened or closed (also when it failed or was
        // unplugged).
        virtual void onConnectionChanged(bool /*connected*/) {}
    };

    using Options = ControllerOptions;

    explicit Controller(Options options = {});
    // Disconnects a connected device (its shutdown sequence) and ends the worker.
    ~Controller();
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    // The candidate ports when the options name none: the USB firing controller's ttys found
    // in sysfs, then the device paths of the setting "controller.ports".
    static std::vector<std::string> defaultPorts();

    // The process-wide service.
    static Controller* getInstance();
    static Controller& createInstance(Options options = {});
    static void destroyInstance();

    void addListener(Listener* listener);
    void removeListener(Listener* listener);

    // The worker has announced its window.
    bool isReady() const { return static_cast<bool>(workerWindow_); }
    // Pumps the calling thread's queue until the worker has announced itself; false after
    // `timeoutMs`.
    bool waitUntilReady(int timeoutMs);

    // Finds and greets the device, and leaves it disarmed, DMX off and its queue empty before
    // anything else. False with "ERROR.USB_DEVICE_NOT_CONNECTED" when none answered, and with
    // "ERROR.USB_DEVICE_STILL_ARMED" when it still reported itself armed after the disarm
    // (it is not used then).
    bool connect();
    // Unloads the show, runs the device's shutdown sequence (its own clock stopped for a show
    // on it, disarm, DMX off, queue emptied) and closes the port. True when the device
    // confirmed the sequence; false with "ERROR.USB_DISARM_NOT_CONFIRMED" when it did not (or
    // no device was connected): it may still be armed.
    bool disconnect();
    bool getDeviceInfo(DeviceInfo& info);
    bool setPyroLink(int value);
    int getPyroLink() const { return pyroLink_; }
    // Sets one DMX channel (0-511) to a value (0-255), once for one tick and once steady.
    bool setDmxChannel(int channel, int value);
    // Has the device execute these words at once (manual firing); fire words are refused
    // unless a compiled show is loaded. True when the device acknowledged them.
    bool execute(const std::vector<std::uint32_t>& words);
    // Arms on a firing channel (0-127, anything else means unspecified) for the modules the
    // project's pyro cues use, or disarms.
    bool arm(bool armed, int channel);
    void rearm(int channel);
    // Compiles the project for a show mode (ShowMode) and loads it into the worker.
    bool compile(int mode);
    bool unload();
    void resetStates();
    // Checks one firing module: its continuity word, -1 when it did not answer, -2 when the
    // request failed.
    int checkModule(int module);
    void selectGroup(int key);
    // Transport (0 play, 1 pause, 2 stop) and locate for a show with the controller's clock.
    bool transport(int what);
    bool locate(const SMPTE& time);

    Emulator::ModuleState getModuleState(int module) const;
    Emulator::ChannelState getChannelState(int channel) const;
    Emulator& getEmulator() { return emulator_; }

    const std::wstring& getLastError() const { return lastError_; }
    int getStatus() const { return status_; }
    int getCurrentGroup() const { return currentGroup_; }
    bool isConnected() const { return connected_; }
    // Why the worker closed the port the last time it did.
    LinkFault getLinkFault() const { return linkFault_; }
    bool isArmed() const { return armed_; }
    int getDeviceInfo() const { return deviceInfo_; }
    Platform::WindowHandle getWorkerWindow() const { return workerWindow_; }
    Platform::WindowHandle getLocalWindow() const { return localWindow_->handle(); }

private:
    std::int64_t handle(const Platform::Message& message);
    Project::Project* project() const;
    int projectFormat() const;
    Platform::WindowHandle audioWorker() const;
    int lookaheadMs() const;
    bool needWorker();

    Options options_;
    const Platform::Clock& clock_;
    Platform::ListenerSet<Listener> listeners_;
    Emulator emulator_;
    std::unique_ptr<Platform::MessageWindow> localWindow_;
    // The emulator's tick timer runs (only while a firing indication or a timed DMX value
    // is left to run out).
    bool tickRunning_ = false;
    Platform::WindowHandle workerWindow_;        // as the worker reported it
    Platform::WindowHandle workerThreadWindow_;  // as it started, for ending it
    std::thread worker_;
    std::wstring lastError_;
    bool connected_ = false;
    int deviceInfo_ = 0;
    int pyroLink_ = 0;
    int status_ = 0;
    int currentGroup_ = 0;
    bool armed_ = false;
    bool closing_ = false;
    LinkFault linkFault_ = LINK_CLOSED;
};

}  // namespace Controller
