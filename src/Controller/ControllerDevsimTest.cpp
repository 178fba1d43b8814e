#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Controller/Controller.h"
#include "Controller/ControllerMessages.h"
#include "Controller/FrameWriter.h"
#include "Controller/ShowControllerAdapter.h"
#include "Controller/ShowMode.h"
#include "DeviceSimulator.h"
#include "Platform/MessageQueue.h"
#include "Project/Project.h"
#include "Project/ProjectState.h"

// The controller service against the device simulator over its pseudo-terminal: a real
// project, the real worker and the simulated firing controller with its faults. Cue states
// are read from the project's cues once the posted state updates ran on this (the main)
// thread.
namespace Controller {
namespace {

using Project::Cue;
using Project::CueCommand;
using Fragments = std::vector<std::string>;

constexpr int kFormat = SMPTE::SMPTE_25;
// Module 3, pin 5: the pyro address and the fire word of the first cue.
constexpr int kAddress = 3 * 16 + 5;
constexpr std::uint32_t kFireWord = 0x80000305;

bool contains(const std::string& line, const Fragments& fragments)
{
    for (const std::string& fragment : fragments) {
        if (line.find(fragment) == std::string::npos) {
            return false;
        }
    }
    return true;
}

// A frame as the simulator's "send" input takes it: hex digits of the framed bytes.
std::string sendLine(std::uint8_t code, const std::vector<std::uint8_t>& payload)
{
    static const char* digits = "0123456789ABCDEF";
    std::string line = "send ";
    for (const std::uint8_t byte : FrameWriter::build(code, payload)) {
        line += digits[byte >> 4];
        line += digits[byte & 0xF];
    }
    return line;
}

// A progress report: executed count, flags, room.
std::vector<std::uint8_t> progressPayload(std::uint32_t count, std::uint32_t room)
{
    std::vector<std::uint8_t> payload;
    FrameWriter::appendU32(payload, count);
    payload.push_back(0);
    FrameWriter::appendU16(payload, room);
    return payload;
}

Fragments rx(const std::string& code, const std::string& payload)
{
    return {"\"event\":\"rx\"", "\"code\":\"" + code + "\"", "\"payload\":\"" + payload + "\""};
}

// The command words the PC sent in a logged block (0x12) or execute request (0x16).
std::vector<std::uint32_t> loggedWords(const std::string& line)
{
    std::vector<std::uint32_t> words;
    if (!contains(line, {"\"event\":\"rx\""}) ||
        !(contains(line, {"\"code\":\"0x12\""}) || contains(line, {"\"code\":\"0x16\""}))) {
        return words;
    }
    const std::string key = "\"payload\":\"";
    const std::size_t start = line.find(key) + key.size();
    const std::string hex = line.substr(start, line.find('"', start) - start);
    for (std::size_t i = 0; i + 8 <= hex.size(); i += 8) {
        std::uint32_t word = 0;
        for (int b = 0; b < 4; ++b) {
            word |= static_cast<std::uint32_t>(std::stoul(hex.substr(i + 2 * b, 2), nullptr, 16))
                    << (8 * b);
        }
        words.push_back(word);
    }
    return words;
}

class RecordingListener : public Controller::Listener {
public:
    void onConnectionChanged(bool connected) override { connections.push_back(connected); }
    // Timed values only: those are what a DMX cue's words set (their steady value follows
    // when the time has run out).
    void onDmxChannelChanged(int channel, int value, bool timed) override
    {
        if (timed) {
            dmx.emplace_back(channel, value);
        }
    }

    std::vector<bool> connections;
    std::vector<std::pair<int, int>> dmx;
};

class ControllerOnDevsim : public ::testing::Test {
protected:
    void SetUp() override
    {
        project_.getProjectData().setFormat(kFormat);
        startDevice();
        makeController(false);
    }

    void TearDown() override
    {
        destroyController();
        if (device_) {
            EXPECT_EQ(device_->stop(), 0) << "the simulator quits on request";
        }
    }

    void startDevice(const std::vector<std::string>& extra = {})
    {
        device_ = std::make_unique<Testing::DeviceSimulator>();
        std::vector<std::string> arguments{"--module", "3=0xFFFF"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        ASSERT_TRUE(device_->start(arguments)) << device_->error();
    }

    // `global`: the process-wide instance (createInstance), else an object of the test's.
    void makeController(bool global, std::optional<int> lookaheadMs = std::nullopt)
    {
        ControllerOptions options;
        options.lookaheadMs = lookaheadMs;
        options.project = &project_;
        options.findPorts = [this] { return std::vector<std::string>{device_->portPath()}; };
        options.audioWorker = [] { return Platform::WindowHandle(); };
        if (global) {
            controller_ = &Controller::createInstance(options);
        } else {
            owned_ = std::make_unique<Controller>(options);
            controller_ = owned_.get();
        }
        adapter_ =
            std::make_unique<ShowControllerAdapter>(*controller_, project_.getProjectState());
        listener_ = RecordingListener();
        controller_->addListener(&listener_);
        ASSERT_TRUE(controller_->waitUntilReady(5000));
    }

    void destroyController()
    {
        if (!controller_) {
            return;
        }
        adapter_.reset();
        controller_->removeListener(&listener_);
        if (owned_) {
            owned_.reset();
        } else {
            Controller::destroyInstance();
        }
        controller_ = nullptr;
    }

    // Pumps the front's queue (this thread's) until `done` or the time-out.
    bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 5000)
    {
        return queue_.runUntil(done, std::chrono::milliseconds(timeoutMs));
    }
    void pumpFor(int ms)
    {
        pumpUntil([] { return false; }, ms);
    }

    std::size_t logSize() const { return device_->logLines().size(); }

    // Index of the first log line at or after `from` with every fragment, waiting for it.
    std::optional<std::size_t> waitForLine(const Fragments& fragments, std::size_t from,
                                           int timeoutMs = 5000)
    {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (true) {
            const std::vector<std::string> lines = device_->logLines();
            for (std::size_t i = from; i < lines.size(); ++i) {
                if (contains(lines[i], fragments)) {
                    return i;
                }
            }
            if (std::chrono::steady_clock::now() > deadline) {
                return std::nullopt;
            }
            pumpFor(10);
        }
    }

    // One operator line, in force once the simulator has handled it. Lines are handled in
    // order, and a held line ("stall") is applied after it is logged: a harmless marker line
    // logged after it proves it.
    void operatorInput(const std::string& line)
    {
        const std::size_t from = logSize();
        ASSERT_TRUE(device_->command(line));
        ASSERT_TRUE(device_->command("continuity 65535 absent"));
        ASSERT_TRUE(
            waitForLine({"\"event\":\"input\"", "\"line\":\"continuity 65535 absent\""}, from))
            << line;
    }

    void connect()
    {
        ASSERT_TRUE(controller_->connect());
        ASSERT_TRUE(pumpUntil([&] { return controller_->isConnected(); }));
    }

    // Compiles for manual fire in show mode. The load selects group 0 and streams the words;
    // the state reset that follows the compile selects it again, which empties the device's
    // queue and streams them once more: the show is in place after the second block.
    void loadManualShow(const Cue* first)
    {
        project_.getProjectState().enterShowMode(Project::ProjectState::CLOCK_MANUAL);
        const std::size_t from = logSize();
        ASSERT_TRUE(controller_->compile(SHOW_MANUAL_FIRE));
        const Fragments block{"\"event\":\"rx\"", "\"code\":\"0x12\""};
        const std::optional<std::size_t> firstBlock = waitForLine(block, from);
        ASSERT_TRUE(firstBlock);
        ASSERT_TRUE(waitForLine(block, *firstBlock + 1));
        ASSERT_TRUE(pumpUntil([&] { return first->getState() == Project::CUE_NEXT; }));
    }

    void armAndWait()
    {
        const std::size_t from = logSize();
        ASSERT_TRUE(controller_->arm(true, 0));
        ASSERT_TRUE(waitForLine({"\"event\":\"arm\"", "\"armed\":true"}, from));
    }

    // The operator's step button; waits until the device has executed a word of the step.
    void step(const std::string& result)
    {
        const std::size_t from = logSize();
        ASSERT_TRUE(device_->command("step"));
        ASSERT_TRUE(waitForLine({"\"event\":\"exec\"", "\"result\":\"" + result + "\""}, from));
    }

    Cue* addPyro(int frames, int address)
    {
        return cues().add(SMPTE::fromFrameNo(kFormat, frames), CueCommand::pyro(address), 0, 0, 0,
                          -1, "");
    }
    Cue* addDmx(int frames, int channel, int value)
    {
        return cues().add(SMPTE::fromFrameNo(kFormat, frames), CueCommand::dmx(0, channel, value),
                          0, 0, 0, -1, "");
    }
    Project::CueList& cues() { return project_.getProjectData().getCueList(); }

    Platform::MessageQueue queue_;
    Project::Project project_;
    std::unique_ptr<Testing::DeviceSimulator> device_;
    RecordingListener listener_;
    std::unique_ptr<Controller> owned_;
    Controller* controller_ = nullptr;
    std::unique_ptr<ShowControllerAdapter> adapter_;
};

// ---- safety

// Fire words go out only while a compiled show is loaded: not before the first compile, not
// after unloading, not after a disconnect (which unloads).
TEST_F(ControllerOnDevsim, NoFireWordReachesTheDeviceWithoutACompiledShow)
{
    const Cue* first = addPyro(25, kAddress);
    connect();
    EXPECT_FALSE(controller_->execute({kFireWord}));
    EXPECT_FALSE(controller_->execute({0x90000000, kFireWord}));
    EXPECT_TRUE(controller_->setDmxChannel(10, 200));  // DMX needs no show

    const std::size_t loaded = logSize();
    loadManualShow(first);
    armAndWait();
    EXPECT_TRUE(controller_->execute({kFireWord}));
    EXPECT_TRUE(
        waitForLine({"\"source\":\"now\"", "\"kind\":\"fire\"", "\"result\":\"fired\""}, loaded));
    ASSERT_TRUE(controller_->unload());
    const std::size_t unloaded = logSize();
    EXPECT_FALSE(controller_->execute({kFireWord}));

    const std::size_t loadedAgain = logSize();
    ASSERT_TRUE(controller_->compile(SHOW_MANUAL_FIRE));
    ASSERT_TRUE(controller_->disconnect());
    const std::size_t disconnected = logSize();
    connect();
    EXPECT_FALSE(controller_->execute({kFireWord}));
    EXPECT_FALSE(controller_->execute({0x91000AC8, kFireWord}));
    EXPECT_TRUE(controller_->setDmxChannel(10, 0));
    pumpFor(200);

    const std::vector<std::string> lines = device_->logLines();
    const auto fireWords = [&](std::size_t from, std::size_t to) {
        int count = 0;
        for (std::size_t i = from; i < to && i < lines.size(); ++i) {
            for (std::uint32_t word : loggedWords(lines[i])) {
                count += (word >> 28) == 0x8 ? 1 : 0;
            }
        }
        return count;
    };
    EXPECT_EQ(fireWords(0, loaded), 0) << "before the first compile";
    EXPECT_GE(fireWords(loaded, unloaded), 2) << "the blocks and the execute of the loaded show";
    EXPECT_EQ(fireWords(unloaded, loadedAgain), 0) << "after unloading";
    EXPECT_EQ(fireWords(disconnected, lines.size()), 0) << "after the disconnect";
    // DMX still goes out after the new connect: the value once for a tick, once steady.
    EXPECT_TRUE(waitForLine(rx("0x16", "01000090000a009100000090000a0091"), disconnected));
}

// Disconnect and the end of the program (the service destroyed, as object or as the
// process-wide instance) leave the device disarmed, with DMX off and its queue emptied.
TEST_F(ControllerOnDevsim, DisconnectAndProgramExitLeaveTheDeviceSafe)
{
    const Cue* first = addPyro(25, kAddress);
    addPyro(50, kAddress + 1);
    const struct {
        const char* name;
        bool global;
        std::function<void()> end;
    } rows[] = {
        {"disconnect", false,
         [this] {
             ASSERT_TRUE(controller_->disconnect());
             EXPECT_TRUE(pumpUntil([&] { return !controller_->isConnected(); }));
         }},
        {"controller destroyed", false, [this] { destroyController(); }},
        {"instance destroyed", true, [this] { destroyController(); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        destroyController();
        startDevice();
        makeController(row.global);
        connect();
        loadManualShow(first);
        armAndWait();
        step("fired");

        const std::size_t from = logSize();
        row.end();
        const std::optional<std::size_t> disarmed =
            waitForLine({"\"event\":\"arm\"", "\"armed\":false"}, from);
        ASSERT_TRUE(disarmed);
        const std::optional<std::size_t> dmxOff =
            waitForLine({"\"event\":\"exec\"", "\"source\":\"now\"", "\"kind\":\"dmx-off\"",
                         "\"result\":\"done\""},
                        *disarmed);
        ASSERT_TRUE(dmxOff);
        const std::optional<std::size_t> emptied = waitForLine(rx("0x10", "00000000"), *dmxOff);
        ASSERT_TRUE(emptied);
        // The whole queue of 64 words is free again.
        EXPECT_TRUE(waitForLine({"\"event\":\"tx\"", "\"code\":\"0x11\"", "\"payload\":\"4000\""},
                                *emptied));
    }
}

// ---- faults

// Discovery takes only a device that answers the ping with exactly "pong": silence, a reply
// of the wrong length, garbled or dropped bytes fail the connect, and nothing but the ping
// reaches such a device. The parser starts clean for the next try.
TEST_F(ControllerOnDevsim, DiscoveryFailsOnSilenceAndBadPongs)
{
    const struct {
        const char* fault;
        const char* undo;
    } rows[] = {
        {"silent on", "silent off"},
        {"reply 00 706f6e6767", nullptr},  // five bytes
        {"reply 00 706f6e", nullptr},      // three bytes
        {"reply 00 -", nullptr},
        {"garble 1", nullptr},                   // the start byte: the rest lies outside any frame
        {"drop 7", nullptr},                     // the whole pong
        {"reply-raw 00 5001706f6e67", nullptr},  // no end byte
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fault);
        operatorInput(row.fault);
        const std::size_t from = logSize();
        EXPECT_FALSE(controller_->connect());
        EXPECT_EQ(controller_->getLastError(), L"ERROR.USB_DEVICE_NOT_CONNECTED");
        EXPECT_TRUE(waitForLine(rx("0x00", ""), from));
        pumpFor(50);
        EXPECT_FALSE(controller_->isConnected());
        const std::vector<std::string> lines = device_->logLines();
        for (std::size_t i = from; i < lines.size(); ++i) {
            if (contains(lines[i], {"\"event\":\"rx\""})) {
                EXPECT_TRUE(contains(lines[i], {"\"code\":\"0x00\""})) << lines[i];
            }
        }
        if (row.undo) {
            operatorInput(row.undo);
        }
    }
    // Every failed try closed the port again; nobody heard of a connection.
    EXPECT_EQ(listener_.connections, std::vector<bool>(listener_.connections.size(), false));
    connect();
    EXPECT_TRUE(waitForLine(rx("0x30", ""), 0));
}

// A reply of the wrong length, garbled or dropped bytes fail the request and leave the link
// usable; a second 'P' inside the reply restarts the frame, and the restarted one counts.
TEST_F(ControllerOnDevsim, RepliesOfTheWrongLengthOrWithBadBytes)
{
    connect();
    const struct {
        const char* fault;
        bool succeeds;
    } rows[] = {
        {"reply 02 0102030405", false},
        {"reply 02 01020304050607", false},
        {"garble 2", false},
        {"drop 1", false},
        {"drop 8", false},  // all but the end byte
        {"reply-raw 02 5003010250030908070605045103", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fault);
        operatorInput(row.fault);
        DeviceInfo info;
        EXPECT_EQ(controller_->getDeviceInfo(info), row.succeeds);
        if (row.succeeds) {
            EXPECT_EQ(info.values[0], 9);
            EXPECT_EQ(info.values[1], 8);
            EXPECT_EQ(info.values[2], 0x0607);
            EXPECT_EQ(info.values[3], 0x0405);
        } else {
            EXPECT_EQ(controller_->getLastError(), L"ERROR.USB_DEVICE_ERROR");
        }
        // The next reply is whole again and understood (the simulator's 1, 0, 1, 100).
        DeviceInfo again;
        ASSERT_TRUE(controller_->getDeviceInfo(again));
        EXPECT_EQ(again.values[3], 100);
    }
    EXPECT_TRUE(controller_->isConnected());
    EXPECT_EQ(listener_.connections, std::vector<bool>{true});
}

// A module check answered with one byte instead of two: the module did not answer, its pyro
// cues are marked tested with a communication failure.
TEST_F(ControllerOnDevsim, AModuleReplyOfTheWrongLengthMarksItsCuesCommFail)
{
    Cue* cue = addPyro(25, kAddress);
    Cue* other = addPyro(25, 4 * 16);
    connect();
    operatorInput("reply 20 05");
    EXPECT_EQ(controller_->checkModule(3), -1);
    ASSERT_TRUE(pumpUntil(
        [&] { return cue->getFlags() == (Project::FLAG_TESTED | Project::FLAG_COMMFAIL); }));
    EXPECT_EQ(other->getFlags(), 0);
    EXPECT_FALSE(controller_->getModuleState(3).responsive);

    EXPECT_EQ(controller_->checkModule(3), 0xFFFF);
    ASSERT_TRUE(pumpUntil([&] { return cue->getFlags() == Project::FLAG_TESTED; }));
    EXPECT_TRUE(controller_->getModuleState(3).responsive);
}

// A progress report lost on the line (garbled, or its start byte dropped) leaves the cue
// waiting; the next report carries the whole executed count and the states catch up.
TEST_F(ControllerOnDevsim, ALostProgressReportIsMadeGoodByTheNext)
{
    Cue* first = addPyro(25, kAddress);
    Cue* second = addPyro(50, kAddress + 1);
    connect();
    for (const char* fault : {"garble 3", "drop 1"}) {
        SCOPED_TRACE(fault);
        loadManualShow(first);
        armAndWait();
        operatorInput(fault);
        const std::size_t from = logSize();
        step("fired");
        ASSERT_TRUE(waitForLine({"\"event\":\"tx\"", "\"code\":\"0x15\"", "\"fault\":"}, from));
        pumpFor(300);  // three of the worker's state ticks
        EXPECT_EQ(first->getState(), Project::CUE_NEXT) << "the report never arrived";

        step("fired");
        EXPECT_TRUE(pumpUntil([&] {
            return first->getState() == Project::CUE_DONE &&
                   second->getState() == Project::CUE_DONE;
        }));
    }
}

// Output disabled on the device: it executes the word without output and says so in its
// progress report; the cue becomes skipped and the emulator shows nothing, while the other
// kind of output goes on.
TEST_F(ControllerOnDevsim, OutputDisabledOnTheDeviceSkipsTheCues)
{
    Cue* pyro = addPyro(25, kAddress);
    Cue* dmx = addDmx(25, 10, 200);
    connect();
    const struct {
        const char* fault;  // none: both kinds of output go out
        const char* undo;
        bool pyroSkipped;
        bool dmxSkipped;
    } rows[] = {
        {"pyro-disabled on", "pyro-disabled off", true, false},
        {"dmx-disabled on", "dmx-disabled off", false, true},
        {"key off", "key on", true, false},
        {nullptr, nullptr, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fault ? row.fault : "no fault");
        loadManualShow(pyro);
        armAndWait();
        if (row.fault) {
            operatorInput(row.fault);
        }
        if (!row.pyroSkipped) {
            // The show state lets fire words into the emulator only while pyro is armed.
            ASSERT_TRUE(pumpUntil([&] { return project_.getProjectState().isPyroArmed(); }));
        }
        listener_.dmx.clear();
        step("stepped");
        const int pyroState = row.pyroSkipped ? Project::CUE_SKIPPED : Project::CUE_DONE;
        const int dmxState = row.dmxSkipped ? Project::CUE_SKIPPED : Project::CUE_DONE;
        EXPECT_TRUE(pumpUntil([&] {
            return pyro->getState() == pyroState && dmx->getState() == dmxState;
        })) << pyro->getState()
            << " " << dmx->getState();
        pumpFor(100);
        const bool fired =
            (controller_->getModuleState(3).pins[5].flags & Emulator::PIN_FIRED) != 0;
        EXPECT_EQ(fired, !row.pyroSkipped);
        using Values = std::vector<std::pair<int, int>>;
        EXPECT_EQ(listener_.dmx, (row.dmxSkipped ? Values{} : Values{{10, 200}}));
        if (row.undo) {
            operatorInput(row.undo);
        }
    }
}

// The dead-man override bit stays set once the device reported an override: after the
// override ends, and across a new connection.
TEST_F(ControllerOnDevsim, TheDeadmanOverrideBitNeverClears)
{
    connect();
    ASSERT_TRUE(pumpUntil([&] { return controller_->getStatus() == STATUS_DMX_ARMED; }));
    operatorInput("override on");
    ASSERT_TRUE(pumpUntil([&] {
        return controller_->getStatus() ==
               (STATUS_DMX_ARMED | STATUS_DEADMAN_HELD | STATUS_DEADMAN_OVERRIDDEN);
    }));
    operatorInput("override off");
    ASSERT_TRUE(pumpUntil([&] {
        return controller_->getStatus() == (STATUS_DMX_ARMED | STATUS_DEADMAN_OVERRIDDEN);
    }));

    ASSERT_TRUE(controller_->disconnect());
    const std::size_t from = logSize();
    connect();
    // The device reports its status (no override) to the new connection.
    ASSERT_TRUE(waitForLine({"\"event\":\"tx\"", "\"code\":\"0x31\"", "\"payload\":\"10\""}, from));
    pumpFor(200);
    EXPECT_EQ(controller_->getStatus(), STATUS_DMX_ARMED | STATUS_DEADMAN_OVERRIDDEN);
}

// The cable is pulled mid-show: the port closes, the program hears it, calls fail without a
// crash, the cue states stay where the device left them, and a new device connects.
TEST_F(ControllerOnDevsim, UnpluggingMidShow)
{
    Cue* first = addPyro(25, kAddress);
    Cue* second = addPyro(50, kAddress + 1);
    Cue* third = addPyro(75, kAddress + 2);
    connect();
    loadManualShow(first);
    armAndWait();
    step("fired");
    ASSERT_TRUE(pumpUntil([&] { return first->getState() == Project::CUE_DONE; }));

    ASSERT_TRUE(device_->command("unplug"));
    ASSERT_TRUE(pumpUntil([&] { return !controller_->isConnected(); }));
    EXPECT_EQ(listener_.connections, (std::vector<bool>{true, false}));
    EXPECT_EQ(controller_->checkModule(3), -2);
    EXPECT_FALSE(controller_->execute({kFireWord}));
    EXPECT_FALSE(controller_->setDmxChannel(1, 1));
    controller_->selectGroup(0);
    pumpFor(300);  // the worker's state ticks go on with the loaded show
    EXPECT_EQ(first->getState(), Project::CUE_DONE);
    EXPECT_EQ(second->getState(), Project::CUE_NEXT);
    EXPECT_EQ(third->getState(), Project::CUE_QUEUED);

    EXPECT_EQ(device_->stop(), 0);
    startDevice();
    connect();
    EXPECT_EQ(listener_.connections, (std::vector<bool>{true, false, true}));
    loadManualShow(first);
    EXPECT_EQ(second->getState(), Project::CUE_QUEUED);
}

// A device that stops answering the start request: the worker tries for a few seconds, then
// counts the link as lost. The device still gets the frames that leave it safe, the program
// hears of the disconnection, nothing more is sent, and a new connect works.
TEST_F(ControllerOnDevsim, ADeviceThatStopsAnsweringIsGivenUp)
{
    const Cue* first = addPyro(25, kAddress);
    connect();
    operatorInput("silent on");
    const std::size_t from = logSize();
    project_.getProjectState().enterShowMode(Project::ProjectState::CLOCK_MANUAL);
    // The load selects group 0 and waits for the start reply: the front's call returns.
    EXPECT_TRUE(controller_->compile(SHOW_MANUAL_FIRE));
    ASSERT_TRUE(pumpUntil([&] { return !controller_->isConnected(); }, 15000));
    EXPECT_EQ(listener_.connections, (std::vector<bool>{true, false}));

    const std::optional<std::size_t> firstTry = waitForLine(rx("0x10", "00000000"), from);
    ASSERT_TRUE(firstTry);
    ASSERT_TRUE(waitForLine(rx("0x10", "00000000"), *firstTry + 1)) << "the request is repeated";
    const std::optional<std::size_t> disarmed = waitForLine(rx("0x22", ""), from);
    ASSERT_TRUE(disarmed);
    const std::optional<std::size_t> dmxOff = waitForLine(rx("0x16", "00000092"), *disarmed);
    ASSERT_TRUE(dmxOff);
    EXPECT_TRUE(waitForLine(rx("0x10", "00000000"), *dmxOff));

    pumpFor(200);
    const std::size_t after = logSize();
    EXPECT_EQ(controller_->checkModule(3), -2);
    EXPECT_FALSE(controller_->setDmxChannel(1, 1));
    controller_->resetStates();
    controller_->selectGroup(0);
    pumpFor(300);
    for (std::size_t i = after; i < device_->logLines().size(); ++i) {
        EXPECT_FALSE(contains(device_->logLines()[i], {"\"event\":\"rx\""}))
            << device_->logLines()[i];
    }

    operatorInput("silent off");
    connect();
    ASSERT_TRUE(controller_->compile(SHOW_MANUAL_FIRE));
    EXPECT_TRUE(pumpUntil([&] { return first->getState() == Project::CUE_NEXT; }));
}

// A write that fails (the device stopped taking bytes, so the write times out) closes the
// port: the program hears it, nothing further reaches the device, and a new connect works.
TEST_F(ControllerOnDevsim, AFailedWriteClosesThePort)
{
    const Cue* first = addPyro(25, kAddress);
    connect();
    loadManualShow(first);
    operatorInput("stall on");
    const std::size_t from = logSize();
    EXPECT_FALSE(controller_->setDmxChannel(1, 200));
    ASSERT_TRUE(pumpUntil([&] { return !controller_->isConnected(); }));
    EXPECT_EQ(listener_.connections, (std::vector<bool>{true, false}));

    operatorInput("stall off");
    EXPECT_EQ(controller_->checkModule(3), -2);
    EXPECT_FALSE(controller_->execute({kFireWord}));
    controller_->selectGroup(0);
    pumpFor(300);
    for (std::size_t i = from; i < device_->logLines().size(); ++i) {
        EXPECT_FALSE(contains(device_->logLines()[i], {"\"event\":\"rx\""}))
            << device_->logLines()[i];
    }

    connect();
    EXPECT_EQ(listener_.connections, (std::vector<bool>{true, false, true}));
    DeviceInfo info;
    EXPECT_TRUE(controller_->getDeviceInfo(info));
}

}  // namespace
}  // namespace Controller

namespace Controller {
namespace {

// ---- the link watched

// A device a killed run left armed is disarmed (and its DMX and queue cleared) on connect,
// before anything is loaded, so a run that does not arm fires nothing; one that still says it
// is armed after the disarm is refused and never gets a show.
TEST_F(ControllerOnDevsim, ConnectDisarmsADeviceLeftArmedOrRefusesIt)
{
    Cue* first = addPyro(25, kAddress);
    for (const bool stuck : {false, true}) {
        SCOPED_TRACE(stuck ? "disarm ignored" : "left armed");
        destroyController();
        startDevice({"--armed"});
        makeController(false);
        if (stuck) {
            operatorInput("disarm-ignored on");
        }
        const std::size_t from = logSize();
        if (stuck) {
            EXPECT_FALSE(controller_->connect());
            EXPECT_EQ(controller_->getLastError(), L"ERROR.USB_DEVICE_STILL_ARMED");
            pumpFor(200);
            EXPECT_FALSE(controller_->isConnected());
            controller_->compile(SHOW_MANUAL_FIRE);
            EXPECT_FALSE(controller_->execute({kFireWord}));
            pumpFor(200);
            for (std::size_t i = from; i < logSize(); ++i) {
                const std::string line = device_->logLines()[i];
                EXPECT_FALSE(contains(line, {"\"event\":\"rx\"", "\"code\":\"0x12\""})) << line;
                EXPECT_FALSE(contains(line, {"\"event\":\"rx\"", "\"code\":\"0x40\""})) << line;
            }
            continue;
        }
        connect();
        const std::optional<std::size_t> disarmed = waitForLine(rx("0x22", ""), from);
        ASSERT_TRUE(disarmed);
        EXPECT_TRUE(waitForLine({"\"event\":\"arm\"", "\"armed\":false"}, from));
        EXPECT_TRUE(waitForLine(rx("0x16", "00000092"), *disarmed));
        EXPECT_TRUE(waitForLine(rx("0x10", "00000000"), *disarmed));
        // Not armed by this run: the step runs the cue's word, the device does not fire it.
        loadManualShow(first);
        step("suppressed");
        EXPECT_FALSE(waitForLine({"\"result\":\"fired\""}, from, 300));
        EXPECT_EQ(controller_->getStatus() & STATUS_PYRO_ARMED, 0);
    }
}

// A device that reports itself armed though this run never armed it is disarmed at once.
TEST_F(ControllerOnDevsim, ADeviceArmedUnaskedIsDisarmedAgain)
{
    connect();
    const std::size_t from = logSize();
    operatorInput(sendLine(0x31, {0x11}));
    EXPECT_TRUE(waitForLine(rx("0x22", ""), from));
}

// A device that stops answering is given up: a quiet but healthy one is kept alive by pings,
// a silent one is noticed, the front hears why, and the frames that leave it safe go out.
TEST_F(ControllerOnDevsim, ASilentDeviceIsNoticedAndAQuietOneKept)
{
    addPyro(250, kAddress);
    connect();
    project_.getProjectState().enterShowMode(Project::ProjectState::CLOCK_CONTROLLER);
    // Clock in without timecode: the device waits and says nothing unless asked.
    ASSERT_TRUE(controller_->compile(SHOW_CLOCK_IN));
    const std::size_t quiet = logSize();
    pumpFor(3000);
    EXPECT_TRUE(controller_->isConnected()) << "a quiet device is pinged, not given up";
    EXPECT_TRUE(waitForLine(rx("0x00", ""), quiet));

    operatorInput("silent on");
    const auto silentAt = std::chrono::steady_clock::now();
    ASSERT_TRUE(pumpUntil([&] { return !controller_->isConnected(); }, 8000));
    const auto noticed = std::chrono::steady_clock::now() - silentAt;
    EXPECT_EQ(controller_->getLinkFault(), LINK_SILENT);
    EXPECT_GE(noticed, std::chrono::milliseconds(1500)) << "given up before 2 s of silence";
    std::printf("silent device noticed after %lld ms\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(noticed).count()));
    EXPECT_FALSE(controller_->disconnect()) << "the shutdown could not be confirmed";
    EXPECT_EQ(controller_->getLastError(), L"ERROR.USB_DISARM_NOT_CONFIRMED");
}

// Reports that cannot be true are ignored (they would mark cues done that never fired, or
// overrun the device's queue); a device that keeps sending them loses the link.
TEST_F(ControllerOnDevsim, ImpossibleReportsAreIgnoredAndRepeatedOnesEndTheLink)
{
    Cue* first = addPyro(25, kAddress);
    Cue* second = addPyro(50, kAddress + 1);
    const std::vector<std::string> lies{
        sendLine(0x15, progressPayload(30, 10)),          // beyond what was sent
        sendLine(0x15, progressPayload(0xFFFFFFFF, 10)),  // a damaged count
        sendLine(0x15, progressPayload(0, 10)),           // going back
        sendLine(0x13, {0xFF, 0xFF}),                     // more room than the queue has
    };
    for (std::size_t i = 0; i < lies.size(); ++i) {
        SCOPED_TRACE(lies[i]);
        destroyController();
        device_->stop();
        startDevice();
        makeController(false);
        connect();
        loadManualShow(first);
        step("stepped");
        ASSERT_TRUE(pumpUntil([&] { return first->getState() == Project::CUE_SKIPPED; }));
        operatorInput(lies[i]);
        pumpFor(300);
        EXPECT_EQ(first->getState(), Project::CUE_SKIPPED);
        EXPECT_EQ(second->getState(), Project::CUE_NEXT) << "an impossible report was applied";
        EXPECT_TRUE(controller_->isConnected());
        // Two more within a few seconds: the link is given up.
        operatorInput(lies[i]);
        operatorInput(lies[i]);
        ASSERT_TRUE(pumpUntil([&] { return !controller_->isConnected(); }));
        EXPECT_EQ(controller_->getLinkFault(), LINK_IMPOSSIBLE);
        EXPECT_EQ(second->getState(), Project::CUE_NEXT);
    }
}

// Audio clock against a device that reports its room only in its replies: the show still
// streams (a trigger's reply carries current room) and each slot is triggered about once,
// never a trigger for every audio tick.
TEST_F(ControllerOnDevsim, TriggersDoNotFloodADeviceThatReportsRoomOnlyInReplies)
{
    for (int i = 1; i <= 10; ++i) {
        addPyro(5 * i, kAddress);  // every 200 ms from 0.2 s
    }
    destroyController();
    device_->stop();
    startDevice({"--room", "16"});
    makeController(false);
    operatorInput("room-reports off");
    connect();
    project_.getProjectState().enterShowMode(Project::ProjectState::CLOCK_AUDIO);
    ASSERT_TRUE(controller_->compile(SHOW_AUDIO_CLOCK));
    armAndWait();
    const std::size_t from = logSize();
    // The audio player's ticks, every 2 ms, in real time for 2.6 s.
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(2600)) {
        const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - start);
        Platform::post(controller_->getWorkerWindow(), WM_USB_AUDIO_TICK, 48000,
                       elapsed.count() * 48 / 1000);
        pumpFor(2);
    }
    int triggers = 0;
    int fired = 0;
    const std::vector<std::string> lines = device_->logLines();
    for (std::size_t i = from; i < lines.size(); ++i) {
        triggers += contains(lines[i], rx("0x14", "")) ? 1 : 0;
        fired += contains(lines[i], {"\"event\":\"exec\"", "\"result\":\"fired\""}) ? 1 : 0;
    }
    EXPECT_EQ(fired, 10) << "every slot was released";
    EXPECT_LE(triggers, 20) << "triggers flooded the device";
}

// With the device's own clock, only the look-ahead of the show is sent ahead of it: what the
// device holds can still fire when the program dies.
TEST_F(ControllerOnDevsim, ClockOutStreamsOnlyTheLookAhead)
{
    for (int i = 0; i < 16; ++i) {
        addPyro(5 * (i + 1), 3 * 16 + i);  // pin i of module 3 every 200 ms from 0.2 s
    }
    destroyController();
    device_->stop();
    startDevice({"--room", "1024"});
    makeController(false, 1000);
    connect();
    project_.getProjectState().enterShowMode(Project::ProjectState::CLOCK_CONTROLLER);
    const std::size_t from = logSize();
    ASSERT_TRUE(controller_->compile(SHOW_CLOCK_OUT));
    // The cues whose fire words reached the device, by pin.
    const auto pinsSent = [&] {
        std::set<std::uint32_t> pins;
        const std::vector<std::string> lines = device_->logLines();
        for (std::size_t i = from; i < lines.size(); ++i) {
            for (std::uint32_t word : loggedWords(lines[i])) {
                if ((word >> 28) == 0x8) {
                    pins.insert(word & 0xFF);
                }
            }
        }
        return pins.size();
    };
    pumpFor(500);
    // Stopped at 00:00:00:00 with one second of look-ahead: the cues up to 1 s.
    EXPECT_EQ(pinsSent(), 5u);
    controller_->transport(0);
    pumpFor(1000);
    // About a second played: about two seconds of the show sent.
    EXPECT_GE(pinsSent(), 8u);
    EXPECT_LE(pinsSent(), 13u) << "more than the look-ahead was sent";
}

}  // namespace
}  // namespace Controller
