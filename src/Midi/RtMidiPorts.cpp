#include "Midi/RtMidiPorts.h"

#include <RtMidi.h>
#include <exception>
#include <utility>
#include <vector>

namespace Midi {

namespace {

// Keeps RtMidi's reports: errors become the port's failure text, warnings are dropped (by
// default RtMidi prints them to standard error).
struct ErrorSink {
    std::string text;
    bool failed = false;

    static void report(RtMidiError::Type type, const std::string& message, void* userData)
    {
        auto* sink = static_cast<ErrorSink*>(userData);
        if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING) {
            return;
        }
        sink->failed = true;
        sink->text = message;
    }
};

// The common part of both directions over an RtMidiIn or RtMidiOut. Each call clears the
// failure mark first and reports whether RtMidi raised an error during it.
template <typename Base, typename Device>
class RtPort : public Base {
public:
    explicit RtPort(std::unique_ptr<Device> device) : device_(std::move(device))
    {
        device_->setErrorCallback(&ErrorSink::report, &sink_);
    }

    unsigned getPortCount() override
    {
        return guarded([&] { return device_->getPortCount(); }, 0u);
    }

    std::string getPortName(unsigned port) override
    {
        return guarded([&] { return device_->getPortName(port); }, std::string());
    }

    bool openPort(unsigned port, const std::string& name) override
    {
        return guarded(
            [&] {
                device_->openPort(port, name);
                return device_->isPortOpen();
            },
            false);
    }

    void closePort() override
    {
        guarded(
            [&] {
                device_->closePort();
                return true;
            },
            false);
    }

    bool isPortOpen() const override { return device_->isPortOpen(); }
    std::string error() const override { return sink_.text; }

protected:
    // Runs `call`; `fallback` when RtMidi threw or reported an error meanwhile.
    template <typename Call, typename Result>
    Result guarded(Call call, Result fallback)
    {
        sink_.failed = false;
        try {
            Result result = call();
            return sink_.failed ? fallback : result;
        } catch (const std::exception& e) {
            sink_.text = e.what();
            return fallback;
        }
    }

    // The sink first: it must outlive the device, which may report while it closes.
    ErrorSink sink_;
    std::unique_ptr<Device> device_;
};

class RtOutput final : public RtPort<IMidiPorts::Output, RtMidiOut> {
public:
    using RtPort::RtPort;

    bool send(const std::uint8_t* bytes, std::size_t size) override
    {
        return guarded(
            [&] {
                device_->sendMessage(bytes, size);
                return true;
            },
            false);
    }
};

class RtInput final : public RtPort<IMidiPorts::Input, RtMidiIn> {
public:
    using RtPort::RtPort;

    ~RtInput() override
    {
        // The device's thread must be done with the callback before it goes.
        guarded(
            [&] {
                device_->closePort();
                device_->cancelCallback();
                return true;
            },
            false);
    }

    void setCallback(Callback callback) override
    {
        callback_ = std::move(callback);
        guarded(
            [&] {
                device_->setCallback(&RtInput::receive, this);
                return true;
            },
            false);
    }

    void ignoreTypes(bool sysex, bool timing, bool sensing) override
    {
        guarded(
            [&] {
                device_->ignoreTypes(sysex, timing, sensing);
                return true;
            },
            false);
    }

private:
    // On RtMidi's input thread.
    static void receive(double /*timeStamp*/, std::vector<unsigned char>* message, void* userData)
    {
        auto* self = static_cast<RtInput*>(userData);
        if (!self->callback_) {
            return;
        }
        if (message == nullptr || message->empty()) {
            self->callback_(nullptr, 0);
            return;
        }
        self->callback_(message->data(), message->size());
    }

    Callback callback_;
};

}  // namespace

std::unique_ptr<IMidiPorts::Output> RtMidiPorts::createOutput(const std::string& clientName)
{
    try {
        auto device = std::make_unique<RtMidiOut>(RtMidi::UNSPECIFIED, clientName);
        return std::make_unique<RtOutput>(std::move(device));
    } catch (const std::exception& e) {
        error_ = e.what();
        return nullptr;
    }
}

std::unique_ptr<IMidiPorts::Input> RtMidiPorts::createInput(const std::string& clientName,
                                                            unsigned queueLimit)
{
    try {
        auto device = std::make_unique<RtMidiIn>(RtMidi::UNSPECIFIED, clientName, queueLimit);
        return std::make_unique<RtInput>(std::move(device));
    } catch (const std::exception& e) {
        error_ = e.what();
        return nullptr;
    }
}

}  // namespace Midi
