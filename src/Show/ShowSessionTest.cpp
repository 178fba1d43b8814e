#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Config/Settings.h"
#include "Controller/ShowMode.h"
#include "DeviceSimulator.h"
#include "Midi/FakeMidiPorts.h"
#include "Midi/MtcAssembler.h"
#include "Midi/MtcMessage.h"
#include "Platform/MessageQueue.h"
#include "Platform/TestFolder.h"
#include "Project/ISoundtrack.h"
#include "Project/ProjectState.h"
#include "Show/ShowSession.h"

// The show session with its real services: the device simulator over a pseudo-terminal as the
// firing controller, the silent sound output, and stand-ins for the MIDI devices.
namespace Show {
namespace {

using namespace std::chrono_literals;
using Project::CueCommand;

constexpr int kFormat = SMPTE::SMPTE_25;

bool contains(const std::string& line, const std::vector<std::string>& fragments)
{
    for (const std::string& fragment : fragments) {
        if (line.find(fragment) == std::string::npos) {
            return false;
        }
    }
    return true;
}

class ShowSessionTest : public ::testing::Test {
protected:
    // A session on the silent output whose controller tries the simulator's terminal.
    std::unique_ptr<ShowSession> makeSession(ShowSessionOptions options = {})
    {
        options.audio.device = L"silent";
        options.controller.findPorts = [this] {
            return device_ ? std::vector<std::string>{device_->portPath()}
                           : std::vector<std::string>{};
        };
        options.midiPorts = std::make_unique<Midi::FakePorts>(midiDevices_);
        auto session = std::make_unique<ShowSession>(std::move(options));
        EXPECT_TRUE(session->waitUntilReady(5s));
        session->project().getProjectData().setFormat(kFormat);
        return session;
    }

    void startDevice()
    {
        device_ = std::make_unique<Testing::DeviceSimulator>();
        ASSERT_TRUE(device_->start({"--module", "1=0xFFFF"})) << device_->error();
    }

    // The index of the first log line at or after `from` with every fragment, waiting for it
    // while this thread's queue runs.
    std::optional<std::size_t> waitForLine(const std::vector<std::string>& fragments,
                                           std::size_t from = 0)
    {
        std::optional<std::size_t> found;
        queue_.runUntil(
            [&] {
                const std::vector<std::string> lines = device_->logLines();
                for (std::size_t i = from; i < lines.size(); ++i) {
                    if (contains(lines[i], fragments)) {
                        found = i;
                        return true;
                    }
                }
                return false;
            },
            5s);
        return found;
    }

    void expectShutdownSequence(std::size_t from)
    {
        const auto disarm = waitForLine({"\"rx\"", "\"code\":\"0x22\"", "\"payload\":\"\""}, from);
        ASSERT_TRUE(disarm) << "no disarm";
        const auto dmxOff =
            waitForLine({"\"rx\"", "\"code\":\"0x16\"", "\"payload\":\"00000092\""}, *disarm);
        ASSERT_TRUE(dmxOff) << "no DMX off after the disarm";
        EXPECT_TRUE(
            waitForLine({"\"rx\"", "\"code\":\"0x10\"", "\"payload\":\"00000000\""}, *dmxOff))
            << "the queue was not emptied";
    }

    void addPyro(Project::Project& project, int frames, int address)
    {
        project.getProjectData().getCueList().add(SMPTE::fromFrameNo(kFormat, frames),
                                                  CueCommand::pyro(address), 0, 0, 1, -1, "");
    }

    Platform::MessageQueue queue_;
    std::unique_ptr<Testing::DeviceSimulator> device_;
    Midi::Devices midiDevices_;
};

// The services exist as the process-wide instances the windows read while the session
// lives, the show state is registered with them, and every one is gone afterwards; the
// settings, made first, are written last.
TEST_F(ShowSessionTest, MakesAndEndsTheServicesInTheirOrder)
{
    Platform::TestFolder folder;
    ShowSessionOptions options;
    options.programFolder = folder.path("program") + L"/";
    options.userFolder = folder.path("user") + L"/";
    std::filesystem::create_directories(folder.root() / "program");
    std::filesystem::create_directories(folder.root() / "user");
    {
        auto session = makeSession(std::move(options));
        EXPECT_NE(Config::Settings::getInstance(), nullptr);
        EXPECT_EQ(Project::getInstance(), &session->project());
        EXPECT_EQ(Audio::AudioPlayer::getInstance(), &session->player());
        EXPECT_EQ(Midi::MidiController::getInstance(), &session->midi());
        EXPECT_EQ(Controller::Controller::getInstance(), &session->controller());
        EXPECT_NE(session->project().getSoundtrack(), nullptr);
        EXPECT_EQ(Project::soundtrackOf(session->project().getProjectData()),
                  session->project().getSoundtrack());
        EXPECT_NE(session->state().getAudio(), nullptr);
        EXPECT_NE(session->state().getController(), nullptr);
        Config::Settings::getInstance()->setString(L"controller.lookaheadMs", L"2000");
    }
    EXPECT_EQ(Config::Settings::getInstance(), nullptr);
    EXPECT_EQ(Project::getInstance(), nullptr);
    EXPECT_EQ(Audio::AudioPlayer::getInstance(), nullptr);
    EXPECT_EQ(Midi::MidiController::getInstance(), nullptr);
    EXPECT_EQ(Controller::Controller::getInstance(), nullptr);
    EXPECT_TRUE(std::filesystem::exists(folder.root() / "user" / "config.ini"));
}

// Into show mode and out again through the one path: the end of the show leaves the device
// disarmed, DMX off and its queue empty, and says so; so does ending the session while armed.
TEST_F(ShowSessionTest, TheEndOfAShowLeavesTheDeviceSafe)
{
    for (const bool endByDestruction : {false, true}) {
        SCOPED_TRACE(endByDestruction ? "session ended" : "show ended");
        startDevice();
        auto session = makeSession();
        addPyro(session->project(), 25, 17);
        addPyro(session->project(), 50, 18);
        ASSERT_TRUE(session->connect());
        ASSERT_TRUE(session->enterShowMode(Controller::SHOW_MANUAL_FIRE));
        EXPECT_TRUE(session->isInShowMode());
        EXPECT_EQ(session->state().getClockMode(), Project::ProjectState::CLOCK_MANUAL);
        ASSERT_TRUE(session->arm(0));
        ASSERT_TRUE(waitForLine({"\"event\":\"arm\"", "\"armed\":true"}));
        // Manual fire starts at group 0; the cues are in firing group 1.
        const std::size_t selected = device_->logLines().size();
        session->controller().selectGroup(1);
        ASSERT_TRUE(waitForLine({"\"rx\"", "\"code\":\"0x12\""}, selected));
        device_->command("step");
        const auto fired = waitForLine({"\"exec\"", "0x80000101", "\"result\":\"fired\""});
        ASSERT_TRUE(fired);
        if (endByDestruction) {
            session.reset();
        } else {
            const ShowEnd end = session->endShow();
            EXPECT_TRUE(end.wasConnected);
            EXPECT_TRUE(end.disarmConfirmed);
            EXPECT_FALSE(session->controller().isConnected());
            EXPECT_TRUE(session->isInShowMode()) << "the states can still be read";
            session->leaveShowMode();
            EXPECT_FALSE(session->isInShowMode());
        }
        expectShutdownSequence(*fired);
        EXPECT_FALSE(waitForLine({"\"exec\"", "0x80000102", "\"result\":\"fired\""}, *fired));
        session.reset();
        EXPECT_EQ(device_->stop(), 0);
    }
}

// Master: the show state's transport drives the MIDI service, whose quarter frames carry the
// soundtrack player's position, read from the generator's thread.
TEST_F(ShowSessionTest, MidiMasterSendsTheSoundtrackPosition)
{
    auto session = makeSession();
    ASSERT_TRUE(session->startMidiMaster("Out B"));
    EXPECT_EQ(midiDevices_.openOutputs, 1);
    ASSERT_EQ(session->player().load(L""), 0);  // silence plays
    session->state().locate(SMPTE(kFormat, 0, 0, 2, 0));
    midiDevices_.clearSent();
    ASSERT_TRUE(session->state().play());
    // Three whole quarter-frame sequences (8 pieces of 10 ms each); the last carries a
    // position the generator's thread read.
    queue_.runUntil([&] { return midiDevices_.sent().size() >= 26; }, 5s);
    session->state().stop();
    const std::vector<Midi::Bytes> sent = midiDevices_.sent();
    ASSERT_GE(sent.size(), 26u);
    // Find a whole sequence from piece 0 and put the time together.
    Midi::MtcAssembler assembler;
    std::optional<Midi::MtcMessage::ReceivedTime> time;
    for (const Midi::Bytes& message : sent) {
        if (message.size() == 2 && message[0] == 0xF1) {
            if (const auto completed = assembler.add(message[1])) {
                time = completed;
            }
        }
    }
    ASSERT_TRUE(time) << "no whole quarter-frame sequence";
    const int frames =
        SMPTE(kFormat, time->hours, time->minutes, time->seconds, time->frames).getFrameNo();
    EXPECT_GE(frames, SMPTE(kFormat, 0, 0, 2, 0).getFrameNo());
    EXPECT_LE(frames, SMPTE(kFormat, 0, 0, 3, 0).getFrameNo());
}

// Slave: incoming quarter frames start the player and locate it three frames ahead of the
// completed time.
TEST_F(ShowSessionTest, MidiSlaveMovesTheSoundtrack)
{
    auto session = makeSession();
    ASSERT_TRUE(session->startMidiSlave("1"));
    EXPECT_EQ(midiDevices_.openInputs, 1);
    ASSERT_EQ(session->player().load(L""), 0);
    ASSERT_TRUE(midiDevices_.inputCallback);
    const SMPTE incoming(kFormat, 0, 0, 5, 0);
    for (int piece = 0; piece < 8; ++piece) {
        const std::uint8_t message[2] = {0xF1,
                                         Midi::MtcMessage::quarterFramePiece(incoming, piece)};
        midiDevices_.inputCallback(message, sizeof message);
    }
    ASSERT_TRUE(queue_.runUntil(
        [&] { return session->player().getState() == Audio::AudioPlayer::STATE_PLAYING; }, 5s));
    const int frames = session->player().getPosition(kFormat).getFrameNo();
    EXPECT_GE(frames, incoming.getFrameNo() + 3);
    EXPECT_LT(frames, incoming.getFrameNo() + 25);
    session->state().stop();
}

TEST_F(ShowSessionTest, FindsMidiPortsByNumberOrName)
{
    auto session = makeSession();
    const struct {
        const char* port;
        std::optional<int> output;
    } rows[] = {
        {"0", 0},
        {"1", 1},
        {"2", std::nullopt},
        {"Out B", 1},
        {"B", 1},
        {"Out", std::nullopt} /* two ports have it */,
        {"", std::nullopt},
        {"99999999999", std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(session->findMidiPort(false, row.port), row.output) << row.port;
    }
    EXPECT_EQ(session->findMidiPort(true, "In A"), 0);
    EXPECT_FALSE(session->startMidiMaster("Out C"));
    EXPECT_EQ(session->getLastError(), L"ERROR.MIDI_PORT_NOT_FOUND");
}

}  // namespace
}  // namespace Show
