#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <poll.h>
#include <sys/resource.h>
#include <thread>
#include <vector>

#include "Controller/CompiledProject.h"
#include "Controller/Controller.h"
#include "Controller/ControllerMessages.h"
#include "Controller/FrameParser.h"
#include "Controller/FrameWriter.h"
#include "Platform/MessageQueue.h"
#include "Platform/PseudoTerminal.h"
#include "Project/Project.h"

namespace Controller {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Project::CueCommand;

struct Received {
    std::uint8_t code;
    Bytes payload;
    friend bool operator==(const Received&, const Received&) = default;
};

Bytes frameBytes(std::uint8_t code, const Bytes& payload = {})
{
    return FrameWriter::build(code, payload);
}

Bytes u32(std::uint32_t value)
{
    Bytes b;
    FrameWriter::appendU32(b, value);
    return b;
}

// A scripted firing controller on the master side of a pseudo-terminal: a thread parses what
// the program sends, records it and writes the responder's answer.
class FakeDevice {
public:
    // The raw bytes to answer a frame with (empty: silence).
    using Responder = std::function<Bytes(const Received&)>;

    // Answers like a healthy device: pong, acknowledgements, room 0 for a start.
    static Bytes healthy(const Received& f)
    {
        switch (f.code) {
            case 0x00: return frameBytes(0x01, {'p', 'o', 'n', 'g'});
            case 0x02: return frameBytes(0x03, {1, 2, 0x34, 0x12, 0x78, 0x56});
            case 0x10: return frameBytes(0x11, {0, 0});
            case 0x16: return frameBytes(0x17);
            case 0x20: return frameBytes(0x21, {0x05, 0x80});
            default: return {};
        }
    }

    FakeDevice() : responder_(healthy)
    {
        thread_ = std::thread([this] { loop(); });
    }
    ~FakeDevice()
    {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    const std::string& path() const { return pty_.slavePath(); }
    bool isOpen() const { return pty_.isOpen(); }

    void setResponder(Responder responder)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        responder_ = std::move(responder);
    }

    // Writes unsolicited bytes to the program.
    void send(const Bytes& bytes)
    {
        std::lock_guard<std::mutex> lock(writeMutex_);
        pty_.write(bytes);
    }

    void unplug()
    {
        stop_ = true;
        thread_.join();
        pty_.hangUp();
    }

    std::vector<Received> received()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return received_;
    }
    std::vector<Received> takeReceived()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<Received> result;
        result.swap(received_);
        return result;
    }
    int keepAlives()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return keepAlives_;
    }
    // Waits until `count` frames have arrived since the last take.
    bool waitFor(std::size_t count, int timeoutMs = 3000)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [&] { return received_.size() >= count; });
    }

private:
    void loop()
    {
        FrameParser parser;
        while (!stop_) {
            pollfd p{pty_.masterFd(), POLLIN, 0};
            if (::poll(&p, 1, 50) != 1 || (p.revents & POLLIN) == 0) {
                continue;
            }
            std::uint8_t chunk[256];
            const ssize_t n = ::read(pty_.masterFd(), chunk, sizeof chunk);
            for (ssize_t i = 0; i < n; ++i) {
                if (!parser.push(chunk[i])) {
                    continue;
                }
                const Frame& f = parser.frame();
                Received r{f.code, Bytes(f.payload.begin(), f.payload.begin() + f.size)};
                Bytes answer;
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    // Pings after the greeting are the program's keep-alive: answered as a
                    // healthy device does and counted, not recorded with the other frames.
                    if (r.code == 0x00 && greeted_) {
                        ++keepAlives_;
                        answer = healthy(r);
                    } else {
                        greeted_ = greeted_ || r.code == 0x30;
                        received_.push_back(r);
                        answer = responder_(r);
                    }
                }
                changed_.notify_all();
                if (!answer.empty()) {
                    send(answer);
                }
            }
        }
    }

    Platform::PseudoTerminal pty_;
    std::mutex mutex_;
    std::mutex writeMutex_;
    std::condition_variable changed_;
    Responder responder_;
    std::vector<Received> received_;
    bool greeted_ = false;
    int keepAlives_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class RecordingListener : public Controller::Listener {
public:
    void onTimecode(double ms) override { timecodes.push_back(ms); }
    void onStatusChanged() override { ++statusChanges; }
    void onGroupChanged() override { ++groupChanges; }
    void onConnectionChanged(bool connected) override { connections.push_back(connected); }
    void onModuleChanged(int module, const Emulator::ModuleState*) override
    {
        modules.push_back(module);
    }

    std::vector<double> timecodes;
    int statusChanges = 0;
    int groupChanges = 0;
    std::vector<bool> connections;
    std::vector<int> modules;
};

class ControllerOnPty : public ::testing::Test {
protected:
    ControllerOnPty()
    {
        ports_ = {device_->path()};
        ControllerOptions options;
        options.project = &project_;
        options.findPorts = [this] { return ports_; };
        options.audioWorker = [this] { return audioWorker_; };
        controller_ = std::make_unique<Controller>(options);
        controller_->addListener(&listener_);
    }
    ~ControllerOnPty() override
    {
        if (controller_) {
            controller_->removeListener(&listener_);
            controller_.reset();
        }
    }

    void SetUp() override
    {
        ASSERT_TRUE(device_->isOpen());
        ASSERT_TRUE(controller_->waitUntilReady(3000));
    }

    // Pumps the test thread's queue (the front's) until `done` or the time-out.
    bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 3000)
    {
        return queue_.runUntil(done, std::chrono::milliseconds(timeoutMs));
    }
    void pumpFor(int ms)
    {
        pumpUntil([] { return false; }, ms);
    }

    void connect()
    {
        ASSERT_TRUE(controller_->connect());
        ASSERT_TRUE(device_->waitFor(3));
        device_->takeReceived();
        ASSERT_TRUE(pumpUntil([&] { return controller_->isConnected(); }));
    }

    Project::CueList& cues() { return project_.getProjectData().getCueList(); }
    void addPyro(int frames, int address, int prefire = 0)
    {
        cues().add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, frames), CueCommand::pyro(address), prefire,
                   0, 0, -1, "");
    }
    // Twelve pyro cues, one a second from 00:00:01:00 at 25 fps, modules 0 to 11.
    void addShow()
    {
        project_.getProjectData().setFormat(SMPTE::SMPTE_25);
        for (int i = 0; i < 12; ++i) {
            addPyro(25 * (i + 1), 16 * i + i % 16);
        }
    }
    std::vector<std::uint32_t> compiledWords(int mode)
    {
        auto show = CompiledProject::compile(cues(), SMPTE::SMPTE_25, mode, 1000000000);
        std::vector<std::uint32_t> words;
        for (const auto& command : show->findGroup(0)->commands) {
            words.push_back(command->getWord());
        }
        return words;
    }
    static std::vector<std::uint32_t> wordsOf(const Received& block)
    {
        std::vector<std::uint32_t> words;
        for (std::size_t i = 0; i + 4 <= block.payload.size(); i += 4) {
            words.push_back(block.payload[i] | block.payload[i + 1] << 8 |
                            block.payload[i + 2] << 16 |
                            static_cast<std::uint32_t>(block.payload[i + 3]) << 24);
        }
        return words;
    }

    // Compiles for `mode` and takes what the load and the state reset sent.
    std::vector<Received> compileAndTake(int mode)
    {
        EXPECT_TRUE(controller_->compile(mode));
        EXPECT_TRUE(device_->waitFor(3));
        const int groupChanges = listener_.groupChanges;
        EXPECT_TRUE(pumpUntil([&] { return listener_.groupChanges >= groupChanges + 2; }));
        return device_->takeReceived();
    }
    static Bytes progressReport(std::uint32_t count, std::uint16_t room = 0)
    {
        Bytes payload = u32(count);
        payload.insert(payload.end(), {0x00, static_cast<std::uint8_t>(room),
                                       static_cast<std::uint8_t>(room >> 8)});
        return payload;
    }
    // A device with room after every start, so that the show's first words reach it (a
    // trigger can release only a wait the device has); `trigger` answers the trigger request.
    void answerTriggers(std::function<Bytes(const Received&)> trigger)
    {
        device_->setResponder([trigger = std::move(trigger)](const Received& f) {
            if (f.code == 0x14) {
                return trigger(f);
            }
            return f.code == 0x10 ? frameBytes(0x11, {8, 0}) : FakeDevice::healthy(f);
        });
    }
    // Frames other than blocks received since the last take.
    std::size_t requestCount()
    {
        std::size_t count = 0;
        for (const Received& r : device_->received()) {
            count += r.code != 0x12 ? 1 : 0;
        }
        return count;
    }
    bool waitForRequests(std::size_t count, int timeoutMs = 3000)
    {
        return pumpUntil([&] { return requestCount() >= count; }, timeoutMs);
    }
    std::vector<Received> takeRequests()
    {
        std::vector<Received> requests;
        for (const Received& r : device_->takeReceived()) {
            if (r.code != 0x12) {
                requests.push_back(r);
            }
        }
        return requests;
    }
    // Compiles for the audio clock: the load's start and the reset's each stream a block.
    void compileAudioShow()
    {
        ASSERT_TRUE(controller_->compile(SHOW_AUDIO_CLOCK));
        ASSERT_TRUE(pumpUntil([&] {
            int blocks = 0;
            for (const Received& r : device_->received()) {
                blocks += r.code == 0x12 ? 1 : 0;
            }
            return blocks >= 2;
        }));
        device_->takeReceived();
    }
    // Seconds of a 48 kHz soundtrack to the worker, as an audio tick or resync.
    void audio(std::uint32_t code, double seconds)
    {
        Platform::post(controller_->getWorkerWindow(), code, 48000,
                       static_cast<std::int64_t>(seconds * 48000));
    }

    Platform::MessageQueue queue_;
    Platform::WindowHandle audioWorker_;
    Project::Project project_;
    std::unique_ptr<FakeDevice> device_ = std::make_unique<FakeDevice>();
    std::vector<std::string> ports_;
    RecordingListener listener_;
    std::unique_ptr<Controller> controller_;
};

TEST_F(ControllerOnPty, ConnectLeavesTheDeviceSafeAndGreetsIt)
{
    // A missing port comes first in the list and is skipped.
    ports_ = {"/nonexistent/ttyACM7", device_->path()};
    ASSERT_TRUE(controller_->connect());
    ASSERT_TRUE(device_->waitFor(5));
    // Whatever an earlier run left: disarmed, DMX off, queue emptied, then the greeting.
    EXPECT_EQ(device_->takeReceived(),
              (std::vector<Received>{
                  {0x00, {}}, {0x22, {}}, {0x16, u32(0x92000000)}, {0x10, u32(0)}, {0x30, {}}}));
    ASSERT_TRUE(pumpUntil([&] { return controller_->isConnected(); }));
    EXPECT_EQ(listener_.connections, std::vector<bool>{true});

    DeviceInfo info;
    ASSERT_TRUE(controller_->getDeviceInfo(info));
    EXPECT_EQ(info.values[0], 1);
    EXPECT_EQ(info.values[1], 2);
    EXPECT_EQ(info.values[2], 0x1234);
    EXPECT_EQ(info.values[3], 0x5678);
    EXPECT_EQ(controller_->getDeviceInfo(), 0x5678);
}

// Silence, a pong of the wrong length, and a healthy device behind them.
TEST_F(ControllerOnPty, DiscoveryRejectsSilentDevicesAndWrongReplies)
{
    const struct {
        const char* name;
        FakeDevice::Responder responder;
    } rows[] = {
        {"silent", [](const Received&) { return Bytes{}; }},
        {"five bytes",
         [](const Received&) {
             return frameBytes(0x01, {'p', 'o', 'n', 'g', 0});
         }},
        {"three bytes",
         [](const Received&) {
             return frameBytes(0x01, {'p', 'o', 'n'});
         }},
        {"other text",
         [](const Received&) {
             return frameBytes(0x01, {'p', 'i', 'n', 'g'});
         }},
        {"other code",
         [](const Received&) {
             return frameBytes(0x03, {'p', 'o', 'n', 'g'});
         }},
    };
    for (const auto& row : rows) {
        device_->setResponder(row.responder);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(controller_->connect()) << row.name;
        EXPECT_EQ(controller_->getLastError(), L"ERROR.USB_DEVICE_NOT_CONNECTED");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
        // Only the ping went out: no greeting, no words.
        ASSERT_TRUE(device_->waitFor(1));
        EXPECT_EQ(device_->takeReceived(), (std::vector<Received>{{0x00, {}}})) << row.name;
    }
    pumpFor(50);
    EXPECT_FALSE(controller_->isConnected());

    // Garbage, a frame cut short by a second 'P', then the pong: the device is found.
    device_->setResponder([](const Received& f) {
        if (f.code != 0x00) {
            return FakeDevice::healthy(f);
        }
        Bytes bytes{0xFF, 0x13, 0x51, 0x50, 0x01, 'p', 'o'};
        const Bytes pong = frameBytes(0x01, {'p', 'o', 'n', 'g'});
        bytes.insert(bytes.end(), pong.begin(), pong.end());
        return bytes;
    });
    EXPECT_TRUE(controller_->connect());
}

TEST_F(ControllerOnPty, DeviceInfoNeedsExactlySixBytes)
{
    connect();
    device_->setResponder([](const Received& f) {
        return f.code == 0x02 ? frameBytes(0x03, {1, 2, 3, 4, 5}) : FakeDevice::healthy(f);
    });
    DeviceInfo info;
    EXPECT_FALSE(controller_->getDeviceInfo(info));
    EXPECT_EQ(controller_->getLastError(), L"ERROR.USB_DEVICE_ERROR");

    // The end byte is lost on the line: no reply. The next frame's 'P' clears the remains.
    device_->setResponder([](const Received& f) {
        Bytes bytes = FakeDevice::healthy(f);
        if (f.code == 0x02) {
            bytes.pop_back();
        }
        return bytes;
    });
    EXPECT_FALSE(controller_->getDeviceInfo(info));
    device_->setResponder(FakeDevice::healthy);
    EXPECT_TRUE(controller_->getDeviceInfo(info));
    EXPECT_EQ(info.values[3], 0x5678);
}

TEST_F(ControllerOnPty, DisconnectRunsTheShutdownSequence)
{
    connect();
    EXPECT_TRUE(controller_->disconnect());
    ASSERT_TRUE(device_->waitFor(3));
    EXPECT_EQ(device_->takeReceived(),
              (std::vector<Received>{{0x22, {}}, {0x16, u32(0x92000000)}, {0x10, u32(0)}}));
    ASSERT_TRUE(pumpUntil([&] { return !controller_->isConnected(); }));
    EXPECT_EQ(listener_.connections, (std::vector<bool>{true, false}));
}

TEST_F(ControllerOnPty, DestroyingAConnectedControllerLeavesTheDeviceSafe)
{
    connect();
    controller_->removeListener(&listener_);
    controller_.reset();
    ASSERT_TRUE(device_->waitFor(3));
    const auto frames = device_->takeReceived();
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[0], (Received{0x22, {}}));
    EXPECT_EQ(frames[1], (Received{0x16, u32(0x92000000)}));
    EXPECT_EQ(frames[2], (Received{0x10, u32(0)}));
}

TEST_F(ControllerOnPty, FireWordsAreRefusedWithoutACompiledShow)
{
    addShow();
    connect();
    EXPECT_FALSE(controller_->execute({0x80000105}));
    EXPECT_FALSE(device_->waitFor(1, 150));

    // DMX needs no show: the value once for one tick and once steady.
    EXPECT_TRUE(controller_->setDmxChannel(10, 200));
    ASSERT_TRUE(device_->waitFor(1));
    const std::uint32_t w = 0x91000AC8;
    Bytes payload;
    for (std::uint32_t word : {0x90000001u, w, 0x90000000u, w}) {
        FrameWriter::appendU32(payload, word);
    }
    EXPECT_EQ(device_->takeReceived(), (std::vector<Received>{{0x16, payload}}));

    ASSERT_TRUE(controller_->compile(SHOW_MANUAL_FIRE));
    ASSERT_TRUE(device_->waitFor(3));
    device_->takeReceived();
    EXPECT_TRUE(controller_->execute({0x80000105}));
    ASSERT_TRUE(device_->waitFor(1));
    EXPECT_EQ(device_->takeReceived(), (std::vector<Received>{{0x16, u32(0x80000105)}}));

    ASSERT_TRUE(controller_->unload());
    EXPECT_FALSE(controller_->execute({0x80000105}));
}

TEST_F(ControllerOnPty, ArmingSendsTheChannelAndTheModuleMask)
{
    project_.getProjectData().setFormat(SMPTE::SMPTE_25);
    addPyro(25, 0);           // module 0
    addPyro(50, 9 * 16 + 3);  // module 9
    addPyro(75, 127 * 16);    // module 127
    connect();

    ASSERT_TRUE(controller_->arm(true, 200));  // out of range: unspecified
    ASSERT_TRUE(device_->waitFor(1));
    Bytes expected(17, 0);
    expected[0] = 128;
    expected[1 + 0] = 0x01;
    expected[1 + 1] = 0x02;
    expected[1 + 15] = 0x80;
    EXPECT_EQ(device_->takeReceived(), (std::vector<Received>{{0x22, expected}}));

    controller_->rearm(5);
    ASSERT_TRUE(device_->waitFor(1));
    EXPECT_EQ(device_->takeReceived(), (std::vector<Received>{{0x22, {5}}}));
    // Re-arming maps the channel as arming does: 129 (0x81) must not become a disarm.
    controller_->rearm(200);
    controller_->rearm(129);
    ASSERT_TRUE(device_->waitFor(2));
    EXPECT_EQ(device_->takeReceived(), (std::vector<Received>{{0x22, {128}}, {0x22, {128}}}));

    ASSERT_TRUE(controller_->arm(false, 0));
    ASSERT_TRUE(device_->waitFor(1));
    EXPECT_EQ(device_->takeReceived(), (std::vector<Received>{{0x22, {}}}));
    controller_->rearm(5);  // disarmed: nothing
    EXPECT_FALSE(device_->waitFor(1, 150));
}

TEST_F(ControllerOnPty, StatusAndTimecodeReports)
{
    project_.getProjectData().setFormat(SMPTE::SMPTE_25);
    connect();
    // Pyro armed, dead-man switch overridden (bit 3 also means held).
    device_->send(frameBytes(0x31, {0x09}));
    ASSERT_TRUE(pumpUntil([&] { return controller_->getStatus() == 0x43; }));
    device_->send(frameBytes(0x31, {0x12}));  // DMX armed, held; override no longer reported
    ASSERT_TRUE(pumpUntil([&] { return controller_->getStatus() == 0x62; }));
    device_->send(frameBytes(0x31));  // no flag byte: all clear but the override
    ASSERT_TRUE(pumpUntil([&] { return controller_->getStatus() == 0x40; }));
    EXPECT_EQ(listener_.statusChanges, 3);

    device_->send(frameBytes(0x41, {0xFF, 0x00, 0x00, 0x01}));  // no timecode
    device_->send(frameBytes(0x41, {0x00, 0x00, 0x02, 0x05}));  // 00:00:02:05 = 2200 ms
    device_->send(frameBytes(0x41, {0x00, 0x00, 0x02}));        // too short
    device_->send(frameBytes(0x41, {0x00, 0x00, 0x02, 0x05}));  // unchanged: not posted
    device_->send(frameBytes(0x41, {0x00, 0x00, 0x03, 0x00}));
    ASSERT_TRUE(pumpUntil([&] { return listener_.timecodes.size() >= 2; }));
    pumpFor(50);
    EXPECT_EQ(listener_.timecodes, (std::vector<double>{2200.0, 3000.0}));
}

TEST_F(ControllerOnPty, ModuleChecks)
{
    connect();
    EXPECT_EQ(controller_->checkModule(3), 0x8005);
    EXPECT_EQ(device_->takeReceived(), (std::vector<Received>{{0x20, {3, 0}}}));
    ASSERT_TRUE(pumpUntil([&] { return controller_->getModuleState(3).tested; }));
    EXPECT_TRUE(controller_->getModuleState(3).responsive);

    device_->setResponder([](const Received& f) {
        return f.code == 0x20 ? frameBytes(0x21, {0x05}) : FakeDevice::healthy(f);
    });
    EXPECT_EQ(controller_->checkModule(4), -1);  // the module did not answer
    ASSERT_TRUE(pumpUntil([&] { return controller_->getModuleState(4).tested; }));
    EXPECT_FALSE(controller_->getModuleState(4).responsive);

    device_->setResponder(
        [](const Received& f) { return f.code == 0x20 ? Bytes{} : FakeDevice::healthy(f); });
    EXPECT_EQ(controller_->checkModule(5), -2);  // no reply at all
    pumpFor(50);
    EXPECT_FALSE(controller_->getModuleState(5).tested);

    // An unsolicited report; a module number beyond 127 does not reach the emulator.
    device_->send(frameBytes(0x23, {200, 0xFF, 0xFF}));
    device_->send(frameBytes(0x23, {6, 0x01, 0x00}));
    ASSERT_TRUE(pumpUntil([&] { return controller_->getModuleState(6).tested; }));
    EXPECT_EQ(controller_->getModuleState(6).pins[0].flags & Emulator::PIN_CONTINUITY,
              Emulator::PIN_CONTINUITY);
}

// The device asks for words by reporting room; at most 8 go in a block, none while a block
// is in flight (a start reply), none for room 0.
TEST_F(ControllerOnPty, StreamsTheCompiledShowByRoomReports)
{
    addShow();
    connect();
    const std::vector<std::uint32_t> words = compiledWords(SHOW_AUDIO_CLOCK);
    ASSERT_EQ(words.size(), 24u);

    ASSERT_TRUE(controller_->compile(SHOW_AUDIO_CLOCK));
    // Load: show control for the audio clock at 25 fps, then the start of group 0 (twice:
    // once on load, once for the state reset that follows the compile).
    ASSERT_TRUE(device_->waitFor(3));
    EXPECT_EQ(device_->takeReceived(),
              (std::vector<Received>{{0x40, {0xA0, 0x40}}, {0x10, u32(0)}, {0x10, u32(0)}}));
    ASSERT_TRUE(pumpUntil([&] { return listener_.groupChanges == 2; }));

    device_->send(frameBytes(0x13, {20, 0}));
    ASSERT_TRUE(device_->waitFor(1));
    auto frames = device_->takeReceived();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].code, 0x12);
    EXPECT_EQ(wordsOf(frames[0]), std::vector<std::uint32_t>(words.begin(), words.begin() + 8));

    device_->send(frameBytes(0x11, {20, 0}));  // a block is in flight: nothing
    device_->send(frameBytes(0x13, {0, 0}));   // room 0: nothing, and the block is settled
    EXPECT_FALSE(device_->waitFor(1, 150));

    device_->send(frameBytes(0x11, {3, 0}));  // no block in flight now: the next three
    ASSERT_TRUE(device_->waitFor(1));
    frames = device_->takeReceived();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(wordsOf(frames[0]),
              std::vector<std::uint32_t>(words.begin() + 8, words.begin() + 11));

    // Progress: two commands executed (the first wait and fire), room for 8 more.
    Bytes progress = u32(2);
    progress.insert(progress.end(), {0x00, 8, 0});
    device_->send(frameBytes(0x13, {0, 0}));
    device_->send(frameBytes(0x15, progress));
    ASSERT_TRUE(device_->waitFor(1));
    frames = device_->takeReceived();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(wordsOf(frames[0]),
              std::vector<std::uint32_t>(words.begin() + 11, words.begin() + 19));

    // The executed fire word reaches the emulator only while pyro is armed: not here.
    pumpFor(50);
    EXPECT_FALSE(controller_->getModuleState(0).pins[0].flags & Emulator::PIN_FIRED);
}

TEST_F(ControllerOnPty, AudioTickTriggersTheDeviceAtTheFireTime)
{
    addShow();
    connect();
    answerTriggers([](const Received&) {
        Bytes progress = u32(2);
        progress.insert(progress.end(), {0x00, 0, 0});
        return frameBytes(0x15, progress);
    });
    compileAudioShow();
    const Platform::WindowHandle worker = controller_->getWorkerWindow();
    // The first cue fires at 1 s: half a second of samples is too early, and so is one
    // sample short of it, though the nearest frame is the cue's.
    Platform::post(worker, WM_USB_AUDIO_TICK, 48000, 24000);
    Platform::post(worker, WM_USB_AUDIO_TICK, 48000, 47999);
    EXPECT_FALSE(device_->waitFor(1, 150));
    Platform::post(worker, WM_USB_AUDIO_TICK, 48000, 48000);
    ASSERT_TRUE(device_->waitFor(1));
    EXPECT_EQ(device_->takeReceived(), (std::vector<Received>{{0x14, {}}}));
    // The device now stands at the second slot's wait, due at 2 s.
    Platform::post(worker, WM_USB_AUDIO_TICK, 48000, 72000);
    EXPECT_FALSE(device_->waitFor(1, 150));
}

TEST_F(ControllerOnPty, TransportOnlyForTheControllersOwnClock)
{
    addShow();
    connect();
    ASSERT_TRUE(controller_->compile(SHOW_AUDIO_CLOCK));
    ASSERT_TRUE(device_->waitFor(3));
    device_->takeReceived();
    controller_->transport(0);
    EXPECT_FALSE(device_->waitFor(1, 150));

    ASSERT_TRUE(controller_->compile(SHOW_CLOCK_OUT));
    ASSERT_TRUE(device_->waitFor(3));
    EXPECT_EQ(device_->takeReceived().front(), (Received{0x40, {0xA4, 0x40 | 0x3C}}));
    ASSERT_TRUE(pumpUntil([&] { return controller_->getStatus() == STATUS_STOPPED; }));

    controller_->transport(0);
    controller_->transport(1);
    controller_->transport(1);  // pause while paused plays
    controller_->transport(2);
    ASSERT_TRUE(device_->waitFor(4));
    EXPECT_EQ(
        device_->takeReceived(),
        (std::vector<Received>{{0x40, {0x01}}, {0x40, {0x80}}, {0x40, {0x01}}, {0x40, {0x84}}}));
    ASSERT_TRUE(pumpUntil([&] { return controller_->getStatus() == STATUS_STOPPED; }));

    // Beyond the last cue: the device restarts after the last command, then locates.
    controller_->locate(SMPTE(SMPTE::SMPTE_25, 1, 2, 3, 4));
    ASSERT_TRUE(device_->waitFor(2));
    EXPECT_EQ(
        device_->takeReceived(),
        (std::vector<Received>{{0x10, u32(24)}, {0x40, {0x04, 0x00, 0x01, 0x02, 0x03, 0x04}}}));
}

// A timecode report that arrives while a start request waits for its reply is acted on once
// that request is done: one start at a time, and the program's place ends where the device's
// is. Nested, the outer start's reply satisfied the inner request and the outer seek ran last,
// so the same words were streamed twice.
TEST_F(ControllerOnPty, ClockInTimecodeDuringAStartIsFollowedAfterIt)
{
    addShow();
    connect();
    const std::vector<std::uint32_t> words = compiledWords(SHOW_CLOCK_IN);
    compileAndTake(SHOW_CLOCK_IN);
    device_->setResponder([](const Received& f) {
        if (f == Received{0x10, u32(4)}) {
            Bytes bytes = frameBytes(0x41, {0x00, 0x00, 0x05, 0x00});  // 00:00:05:00
            const Bytes reply = frameBytes(0x11, {0, 0});
            bytes.insert(bytes.end(), reply.begin(), reply.end());
            return bytes;
        }
        // Room for a block: what the program streams shows where it thinks the device is.
        return f.code == 0x10 ? frameBytes(0x11, {8, 0}) : FakeDevice::healthy(f);
    });
    device_->send(frameBytes(0x41, {0x00, 0x00, 0x03, 0x00}));  // 3 s: the slot at index 4
    ASSERT_TRUE(device_->waitFor(3));
    const auto frames = device_->takeReceived();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0], (Received{0x10, u32(4)}));
    EXPECT_EQ(frames[1], (Received{0x10, u32(8)}));
    EXPECT_EQ(frames[2].code, 0x12);
    EXPECT_EQ(wordsOf(frames[2]),
              std::vector<std::uint32_t>(words.begin() + 8, words.begin() + 16));
    EXPECT_FALSE(device_->waitFor(1, 200));
}

// A state reset, and a load, put the device where the clock stands: the slots already passed
// would otherwise all fire at once. The audio clock's place is its last reported position,
// the incoming clock's the device's last timecode.
TEST_F(ControllerOnPty, ResetAndLoadPlaceTheDeviceAtTheClock)
{
    addShow();
    connect();
    const std::vector<std::uint32_t> words = compiledWords(SHOW_AUDIO_CLOCK);
    // Audio at 4.99 s: the next slot is the cue at 5 s, behind the wait at index 8.
    compileAndTake(SHOW_AUDIO_CLOCK);
    audio(WM_USB_AUDIO_RESYNC, 4.99);
    ASSERT_TRUE(device_->waitFor(1));
    EXPECT_EQ(device_->takeReceived(), (std::vector<Received>{{0x10, u32(8)}}));
    const int groupChanges = listener_.groupChanges;
    controller_->resetStates();
    ASSERT_TRUE(pumpUntil([&] { return listener_.groupChanges > groupChanges; }));
    EXPECT_EQ(device_->takeReceived(), (std::vector<Received>{{0x10, u32(8)}}));
    device_->send(frameBytes(0x13, {2, 0}));
    ASSERT_TRUE(device_->waitFor(1));
    EXPECT_EQ(wordsOf(device_->takeReceived().at(0)),
              std::vector<std::uint32_t>(words.begin() + 8, words.begin() + 10));
    audio(WM_USB_AUDIO_TICK, 4.99);  // the cues at 1 to 4 s are not triggered
    EXPECT_FALSE(device_->waitFor(1, 300));

    // The incoming clock runs at 00:00:05:00 when the show is loaded, and at 7 s when the
    // states are reset.
    device_->send(frameBytes(0x41, {0x00, 0x00, 0x05, 0x00}));
    ASSERT_TRUE(pumpUntil([&] { return listener_.timecodes == std::vector<double>{5000.0}; }));
    EXPECT_TRUE(device_->takeReceived().empty());
    EXPECT_EQ(compileAndTake(SHOW_CLOCK_IN),
              (std::vector<Received>{{0x40, {0xA0, 0x60}}, {0x10, u32(8)}, {0x10, u32(8)}}));
    device_->send(frameBytes(0x41, {0x00, 0x00, 0x07, 0x00}));
    ASSERT_TRUE(device_->waitFor(1));
    EXPECT_EQ(device_->takeReceived(), (std::vector<Received>{{0x10, u32(12)}}));
    controller_->resetStates();
    ASSERT_TRUE(device_->waitFor(1));
    EXPECT_EQ(device_->takeReceived(), (std::vector<Received>{{0x10, u32(12)}}));
}

// A device in step with the clock may report its progress while the load's start request
// waits, already at the place the start names; the blocks must still begin there, not at the
// first word (the executed count had moved but the sent count not).
TEST_F(ControllerOnPty, AProgressReportDuringThePlacingStartKeepsTheBlocksThere)
{
    addShow();
    connect();
    const std::vector<std::uint32_t> words = compiledWords(SHOW_CLOCK_IN);
    device_->send(frameBytes(0x41, {0x00, 0x00, 0x05, 0x12}));  // 5.48 s: next slot at 6 s
    ASSERT_TRUE(pumpUntil([&] { return !listener_.timecodes.empty(); }));
    device_->takeReceived();
    device_->setResponder([](const Received& f) -> Bytes {
        if (f.code == 0x10) {
            const std::uint32_t index = f.payload[0] | f.payload[1] << 8;
            Bytes out = frameBytes(0x15, progressReport(index));
            const Bytes reply = frameBytes(0x11, {8, 0});
            out.insert(out.end(), reply.begin(), reply.end());
            return out;
        }
        return FakeDevice::healthy(f);
    });
    ASSERT_TRUE(controller_->compile(SHOW_CLOCK_IN));
    ASSERT_TRUE(pumpUntil([&] {
        for (const Received& r : device_->received()) {
            if (r.code == 0x12) {
                return true;
            }
        }
        return false;
    }));
    std::optional<std::uint32_t> placed;
    for (const Received& r : device_->takeReceived()) {
        if (r.code == 0x10) {
            placed = r.payload[0] | r.payload[1] << 8;
        } else if (r.code == 0x12) {
            ASSERT_TRUE(placed);
            EXPECT_EQ(*placed, 10u);
            EXPECT_EQ(wordsOf(r).at(0), words.at(*placed));
            break;
        }
    }
}

// An audio resync to a place at (or just before) a cue that has fired leaves the device where
// it is; a real locate back re-arms the cues.
TEST_F(ControllerOnPty, AudioResyncSeeksBackOnlyBeforeAnExecutedCue)
{
    addShow();
    connect();
    answerTriggers([](const Received&) { return frameBytes(0x15, progressReport(2)); });
    compileAudioShow();
    audio(WM_USB_AUDIO_TICK, 1.0);
    ASSERT_TRUE(waitForRequests(1));
    EXPECT_EQ(takeRequests(), (std::vector<Received>{{0x14, {}}}));
    for (const double seconds : {1.0, 0.84}) {
        audio(WM_USB_AUDIO_RESYNC, seconds);
        audio(WM_USB_AUDIO_TICK, seconds + 0.01);
        EXPECT_FALSE(waitForRequests(1, 300)) << seconds;
    }
    audio(WM_USB_AUDIO_RESYNC, 0.5);
    ASSERT_TRUE(waitForRequests(1));
    EXPECT_EQ(takeRequests(), (std::vector<Received>{{0x10, u32(0)}}));
}

// A trigger whose reply is lost may still have released the slot: the device could stand at
// the next trigger wait. No trigger goes out again until a progress report shows where it
// stands, or until the next slot is due (a trigger then is late at worst, never early).
TEST_F(ControllerOnPty, NoSecondTriggerAfterALostReply)
{
    addShow();
    const Project::Cue* first = cues().first();
    connect();
    std::atomic<std::uint32_t> answer{0};  // the count to report; 0: the reply is lost
    answerTriggers([&answer](const Received&) {
        const std::uint32_t count = answer;
        return count == 0 ? Bytes{} : frameBytes(0x15, progressReport(count));
    });
    compileAudioShow();
    audio(WM_USB_AUDIO_TICK, 1.0);
    ASSERT_TRUE(waitForRequests(1));
    audio(WM_USB_AUDIO_TICK, 1.5);
    EXPECT_FALSE(waitForRequests(2, 600));
    // The slot at 2 s is due: the device is placed at its wait (a trigger could release a
    // later slot, or be answered by the late reply), and the next tick triggers it.
    audio(WM_USB_AUDIO_TICK, 2.0);
    ASSERT_TRUE(waitForRequests(2));
    std::vector<Received> received = takeRequests();
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(received[0], (Received{0x14, {}}));
    EXPECT_EQ(received[1], (Received{0x10, {2, 0, 0, 0}}));
    for (std::size_t i = 1; i < received.size(); ++i) {
        EXPECT_NE(received[i].code, 0x14) << "frame " << i;
    }
    // The first cue's trigger may or may not have fired it: it ends skipped, its outcome
    // unknown, so that the show can end.
    ASSERT_TRUE(pumpUntil([&] { return first->getState() == Project::CUE_SKIPPED; }));
    EXPECT_TRUE(first->getFlags() & Project::FLAG_OUTCOME_UNKNOWN);
    answer = 4;
    audio(WM_USB_AUDIO_TICK, 2.01);
    ASSERT_TRUE(waitForRequests(1));
    EXPECT_EQ(takeRequests().at(0), (Received{0x14, {}}));

    // Lost again at 3 s; the device then reports that it still waits there.
    answer = 0;
    audio(WM_USB_AUDIO_TICK, 3.0);
    ASSERT_TRUE(waitForRequests(1));
    audio(WM_USB_AUDIO_TICK, 3.1);
    EXPECT_FALSE(waitForRequests(2, 600));
    EXPECT_EQ(takeRequests(), (std::vector<Received>{{0x14, {}}}));
    // The report's room asks for a block, which shows that the report was handled.
    device_->send(frameBytes(0x15, progressReport(4, 2)));
    ASSERT_TRUE(device_->waitFor(1));
    EXPECT_EQ(device_->takeReceived().at(0).code, 0x12);
    answer = 6;
    audio(WM_USB_AUDIO_TICK, 3.2);
    ASSERT_TRUE(waitForRequests(1));
    EXPECT_EQ(takeRequests(), (std::vector<Received>{{0x14, {}}}));
}

// Audio positions move only a show compiled for the audio clock; compiling for another mode
// tells the audio player to stop sending them.
TEST_F(ControllerOnPty, AudioPositionsOnlyMoveAnAudioClockShow)
{
    std::vector<std::int64_t> attached;
    Platform::MessageWindow audioWindow([&attached](const Platform::Message& m) {
        if (m.code == Platform::kMessageAudioClockTarget) {
            attached.push_back(m.lParam);
        }
        return std::int64_t{0};
    });
    audioWorker_ = audioWindow.handle();
    addShow();
    connect();
    compileAndTake(SHOW_AUDIO_CLOCK);
    compileAndTake(SHOW_MANUAL_FIRE);
    pumpFor(50);
    EXPECT_EQ(attached, (std::vector<std::int64_t>{
                            static_cast<std::int64_t>(controller_->getWorkerWindow().value()), 0}));
    audio(WM_USB_AUDIO_RESYNC, 2.5);
    audio(WM_USB_AUDIO_TICK, 2.5);
    EXPECT_FALSE(device_->waitFor(1, 300));
}

// The cable is pulled during a show: the port closes, listeners hear it, nothing more goes
// out, and a new device connects.
TEST_F(ControllerOnPty, UnpluggingMidShowClosesThePortAndANewConnectWorks)
{
    addShow();
    connect();
    ASSERT_TRUE(controller_->compile(SHOW_AUDIO_CLOCK));
    ASSERT_TRUE(pumpUntil([&] { return listener_.groupChanges == 2; }));
    device_->send(frameBytes(0x13, {8, 0}));
    ASSERT_TRUE(device_->waitFor(4));

    device_->unplug();
    ASSERT_TRUE(pumpUntil([&] { return !controller_->isConnected(); }));
    EXPECT_EQ(listener_.connections, (std::vector<bool>{true, false}));
    // Requests fail at once without a port.
    EXPECT_EQ(controller_->checkModule(1), -2);
    controller_->transport(0);
    controller_->resetStates();
    pumpFor(50);

    device_ = std::make_unique<FakeDevice>();
    ports_ = {device_->path()};
    ASSERT_TRUE(controller_->connect());
    ASSERT_TRUE(pumpUntil([&] { return controller_->isConnected(); }));
    EXPECT_EQ(listener_.connections, (std::vector<bool>{true, false, true}));
}

// While a show is loaded and nothing plays, the worker and the front sleep: only their
// 100 ms ticks wake them.
TEST_F(ControllerOnPty, StaysIdleWithALoadedStoppedShow)
{
    addShow();
    connect();
    ASSERT_TRUE(controller_->compile(SHOW_CLOCK_OUT));
    pumpFor(200);
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    const auto start = std::chrono::steady_clock::now();
    // The main loop's way: asleep until a message or a timer.
    queue_.runUntil([] { return false; }, std::chrono::seconds(1), std::chrono::seconds(1));
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    const auto cpuUs = [](const rusage& r) {
        return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1000000LL + r.ru_utime.tv_usec +
               r.ru_stime.tv_usec;
    };
    const auto wallUs = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
    // Every thread of the process together (the fake device's included) under 1 %.
    EXPECT_LT(cpuUs(after) - cpuUs(before), wallUs / 100);
}

}  // namespace
}  // namespace Controller
