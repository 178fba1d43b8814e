#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Midi/IMidiPorts.h"

// Stand-ins for the MIDI devices, for tests of the time code service and of the programs
// around it: two inputs and two outputs, everything sent recorded, the input's callback
// reachable so a test can play incoming time code.
namespace Midi {

using Bytes = std::vector<std::uint8_t>;

// What the stand-in devices saw. Outputs are written from the generator's thread too.
struct Devices {
    std::vector<std::string> inputPorts{"In A", "In B"};
    std::vector<std::string> outputPorts{"Out A", "Out B"};
    bool createFails = false;
    bool openFails = false;

    std::vector<std::string> clientNames;
    std::vector<std::string> openedNames;
    unsigned queueLimit = 0;
    int openInputs = 0;
    int openOutputs = 0;
    std::array<bool, 3> ignored{true, true, true};
    IMidiPorts::Input::Callback inputCallback;

    std::vector<Bytes> sent()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return sentBytes;
    }
    void clearSent()
    {
        std::lock_guard<std::mutex> lock(mutex);
        sentBytes.clear();
    }

    std::mutex mutex;
    std::vector<Bytes> sentBytes;
};

template <typename Base>
class FakePort : public Base {
public:
    FakePort(Devices& devices, const std::vector<std::string>& names, int& openCount)
        : devices_(devices), names_(names), openCount_(openCount)
    {
    }
    ~FakePort() override { closePort(); }

    unsigned getPortCount() override { return static_cast<unsigned>(names_.size()); }
    std::string getPortName(unsigned port) override
    {
        return port < names_.size() ? names_[port] : std::string();
    }
    bool openPort(unsigned port, const std::string& name) override
    {
        if (devices_.openFails || port >= names_.size() || open_) {
            return false;
        }
        open_ = true;
        ++openCount_;
        devices_.openedNames.push_back(name);
        return true;
    }
    void closePort() override
    {
        if (open_) {
            open_ = false;
            --openCount_;
        }
    }
    bool isPortOpen() const override { return open_; }
    std::string error() const override { return {}; }

protected:
    Devices& devices_;

private:
    const std::vector<std::string>& names_;
    int& openCount_;
    bool open_ = false;
};

class FakeOutput final : public FakePort<IMidiPorts::Output> {
public:
    explicit FakeOutput(Devices& d) : FakePort(d, d.outputPorts, d.openOutputs) {}
    bool send(const std::uint8_t* bytes, std::size_t size) override
    {
        EXPECT_TRUE(isPortOpen());
        std::lock_guard<std::mutex> lock(devices_.mutex);
        devices_.sentBytes.emplace_back(bytes, bytes + size);
        return true;
    }
};

class FakeInput final : public FakePort<IMidiPorts::Input> {
public:
    explicit FakeInput(Devices& d) : FakePort(d, d.inputPorts, d.openInputs) {}
    ~FakeInput() override { devices_.inputCallback = nullptr; }
    void setCallback(Callback callback) override { devices_.inputCallback = std::move(callback); }
    void ignoreTypes(bool sysex, bool timing, bool sensing) override
    {
        devices_.ignored = {sysex, timing, sensing};
    }
};

class FakePorts final : public IMidiPorts {
public:
    explicit FakePorts(Devices& devices) : devices_(devices) {}
    std::unique_ptr<Output> createOutput(const std::string& clientName) override
    {
        devices_.clientNames.push_back(clientName);
        return devices_.createFails ? nullptr : std::make_unique<FakeOutput>(devices_);
    }
    std::unique_ptr<Input> createInput(const std::string& clientName, unsigned limit) override
    {
        devices_.clientNames.push_back(clientName);
        devices_.queueLimit = limit;
        return devices_.createFails ? nullptr : std::make_unique<FakeInput>(devices_);
    }
    std::string error() const override { return {}; }

private:
    Devices& devices_;
};

}  // namespace Midi
