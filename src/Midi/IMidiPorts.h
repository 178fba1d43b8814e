#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace Midi {

// The MIDI devices as the time code service sees them: a factory of input and output clients,
// each of which lists the system's ports and opens one. RtMidiPorts is the real one; tests
// stand in for the devices with their own. Failures are results: a client that cannot be
// made is null, a port that cannot be opened or written answers false, and error() keeps the
// device layer's text.
class IMidiPorts {
public:
    class Port {
    public:
        virtual ~Port() = default;
        virtual unsigned getPortCount() = 0;
        // Empty when the port does not exist (any more).
        virtual std::string getPortName(unsigned port) = 0;
        virtual bool openPort(unsigned port, const std::string& name) = 0;
        virtual void closePort() = 0;
        virtual bool isPortOpen() const = 0;
        // The device layer's text of the last failure.
        virtual std::string error() const = 0;
    };

    class Output : public Port {
    public:
        // Sends one complete message. Called from the main thread and from the quarter-frame
        // generator's thread, never from both at once (the caller serializes).
        virtual bool send(const std::uint8_t* bytes, std::size_t size) = 0;
    };

    class Input : public Port {
    public:
        // Called on the device's own input thread with each incoming message.
        using Callback = std::function<void(const std::uint8_t* bytes, std::size_t size)>;
        // Set before openPort(); the callback must outlive the open port.
        virtual void setCallback(Callback callback) = 0;
        // True drops that kind of message: system exclusive, timing (quarter frames and
        // clock), active sensing.
        virtual void ignoreTypes(bool sysex, bool timing, bool sensing) = 0;
    };

    virtual ~IMidiPorts() = default;

    // Null when the device layer cannot make a client; error() tells why.
    virtual std::unique_ptr<Output> createOutput(const std::string& clientName) = 0;
    // `queueLimit`: how many incoming messages the device layer may hold.
    virtual std::unique_ptr<Input> createInput(const std::string& clientName,
                                               unsigned queueLimit) = 0;
    virtual std::string error() const = 0;
};

}  // namespace Midi
