#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Midi/IMidiHost.h"
#include "Midi/IMidiPorts.h"
#include "Midi/MtcAssembler.h"
#include "Platform/Clock.h"
#include "Platform/ListenerSet.h"
#include "Platform/MessageWindow.h"
#include "Platform/PeriodicTimer.h"
#include "Project/ITimecodeOut.h"
#include "Timecode/SMPTE.h"

namespace Midi {

// Links the show clock to other equipment through MIDI time code, in one direction at a
// time. As master it sends the show position on a MIDI output: quarter frames while the
// soundtrack plays a 25 fps project, full frames on position changes in the other formats
// and on pause, stop and locate. As slave it listens on a MIDI input and makes the soundtrack
// player follow the incoming quarter frames.
//
// Threads. The object belongs to the thread that creates it (the main thread; it needs a
// message queue there). The quarter-frame generator runs on its own timer thread and shares
// only the output and the generator state with the main thread, under outputMutex_. The
// input's callback runs on the device's thread and only posts each message to this object's
// window, so the slave's state, the player and the show state are touched on the main thread
// alone.
class MidiController : public Project::ITimecodeOut {
public:
    // Posted by the input thread to the controller's window: wParam the message's size,
    // lParam its first byte | its second byte << 8.
    static constexpr std::uint32_t kMessageMidiInput = 0x600;

    // Which way time code flows: nothing open, sending on an output (master) or receiving on
    // an input (slave).
    enum class Mode { kNone, kSending, kReceiving };

    // Told on the main thread whenever getMode() changed.
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void onMidiModeChanged(Mode /*mode*/) {}
    };

    // The quarter-frame generator waits on `clock` (tests and benchmarks may give another).
    MidiController(std::unique_ptr<IMidiPorts> ports, IMidiHost* host = nullptr,
                   const Platform::Clock& clock = Platform::Clock::steady());
    // Stops the generator and closes the input and the output.
    ~MidiController() override;
    MidiController(const MidiController&) = delete;
    MidiController& operator=(const MidiController&) = delete;

    // The process-wide service: made once at start-up, unless one exists, on the RtMidi
    // devices when `ports` is null. A project that exists gets it as its show state's time
    // code output, and loses it again in destroy().
    static MidiController* getInstance();
    static MidiController& create(IMidiHost* host = nullptr,
                                  std::unique_ptr<IMidiPorts> ports = nullptr);
    static void destroy();

    // Stops the generator first, which calls the host from its thread.
    void setHost(IMidiHost* host);
    IMidiHost* getHost() const { return host_; }

    // The device index chosen in the MIDI wizard.
    void setPort(int port) { port_ = port; }
    int getPort() const { return port_; }
    // The last choice in the wizard was master.
    bool isMaster() const { return isMaster_; }
    // The names of the system's MIDI inputs or outputs, in port order, for the wizard.
    std::vector<std::wstring> getPortNames(bool inputs);

    // Open port `getPort()` unless a port of that direction is open already; true when one
    // is open afterwards. With no ports at all everything is closed, silently; a failing
    // device shows "Er is iets verkeerd gegaan met initialisatie".
    bool openOutput();
    bool openInput();
    void closeAll();
    bool isInputOpen() const { return input_ != nullptr; }
    Mode getMode() const;

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }

    // The MIDI wizard's three choices. Master and slave each close the other direction
    // first, so that only one is open; after a successful choice an open output gets the
    // user-bits message. True when the chosen port is open.
    bool chooseMaster(int port);
    bool chooseSlave(int port);
    void chooseNone();

    // Project::ITimecodeOut, main thread.
    bool isOutputOpen() const override { return output_ != nullptr; }
    bool isFullFrameMode() const override { return fullFrameMode_; }
    void setFullFrameMode(bool on) override { fullFrameMode_ = on; }
    // Sends the full frame of `time` (nothing without an output) and starts the next
    // quarter-frame sequence over at piece 0 with a fresh time.
    void sendFullFrame(const SMPTE& time) override;
    // Sends one quarter frame of the show clock's position at once, then one every quarter
    // of a frame of the project's format (10 ms at 25 fps) on the timer thread, each piece 0
    // taking a fresh position. Restarts a running generator; nothing without a host.
    void startQuarterFrames() override;
    void stopQuarterFrames() override;
    bool isQuarterFrameRunning() const { return timer_.isRunning(); }
    // The generator's thread got a real-time priority the last time it ran (which needs the
    // right to it); it runs at normal priority otherwise.
    bool hasRealTimePriority() const { return realTimePriority_.load(); }

    // Slave state: quarter frames are arriving; the wrong-rate message was shown (it is shown
    // once per run, and from then on incoming time code only pauses the player).
    bool isReceivingQuarterFrames() const { return qfActive_; }
    bool isFormatErrorShown() const { return formatErrorShown_; }

    // The slave's handling of one incoming message of `size` bytes that begins with `first`
    // and `second`; main thread. The input's callback reaches it through the window;
    // `waitedMicroseconds` is how long the message waited there since it arrived.
    void handleInput(std::size_t size, std::uint8_t first, std::uint8_t second,
                     std::int64_t waitedMicroseconds = 0);

private:
    std::int64_t handle(const Platform::Message& message);
    void sendNextPiece();
    bool send(const std::uint8_t* bytes, std::size_t size);
    void closeOutput();
    void closeInput();
    void stopFollowing();
    void showMessage(const std::wstring& text, const std::wstring& caption, int icon);
    void showConnected(const std::string& portName);
    void showInitializationError();
    // Tells the listeners when the mode differs from the one they heard last.
    void announceMode();

    std::unique_ptr<IMidiPorts> ports_;
    IMidiHost* host_;
    const Platform::Clock& clock_;
    std::unique_ptr<Platform::MessageWindow> window_;

    // Main thread.
    Platform::ListenerSet<Listener> listeners_;
    Mode announcedMode_ = Mode::kNone;
    std::unique_ptr<IMidiPorts::Input> input_;
    int port_ = 0;
    bool isMaster_ = false;
    bool fullFrameMode_ = false;
    bool qfActive_ = false;
    bool formatErrorShown_ = false;
    MtcAssembler assembler_;

    // The output and the generator's state, shared by the main thread (open, close, full
    // frames) and the timer thread (quarter frames). The output pointer is written only on
    // the main thread, with the mutex held, so the main thread may read it without.
    mutable std::mutex outputMutex_;
    std::unique_ptr<IMidiPorts::Output> output_;
    SMPTE mtcTime_{SMPTE::SMPTE_25};
    int nextPiece_ = 0;
    bool reloadTime_ = false;
    // Written before the timer starts, read by it while it runs.
    int generatorFormat_ = SMPTE::SMPTE_25;
    std::atomic<bool> realTimePriority_{false};

    // Last: its thread ends before the members it uses go.
    Platform::PeriodicTimer timer_;
};

}  // namespace Midi
