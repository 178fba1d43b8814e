#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "CliTestSupport.h"
#include "DeviceSimulator.h"
#include "Platform/TestFolder.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/ProjectData.h"

namespace {

using Project::CueCommand;

// A silent 16-bit mono WAVE file of `frames` frames at 8000 Hz.
void writeSilentWave(const std::filesystem::path& path, std::uint32_t frames)
{
    std::string bytes;
    const auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes += static_cast<char>(v >> (8 * i) & 0xFF);
        }
    };
    const auto u16 = [&](std::uint32_t v) {
        bytes += static_cast<char>(v & 0xFF);
        bytes += static_cast<char>(v >> 8 & 0xFF);
    };
    bytes += "RIFF";
    u32(36 + 2 * frames);
    bytes += "WAVEfmt ";
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(8000);
    u32(16000);
    u16(2);
    u16(16);
    bytes += "data";
    u32(2 * frames);
    bytes.append(2 * frames, '\0');
    CliTest::writeFile(path, bytes);
}

// A 25 fps show of three cues: cue 1 fires module 1 pin 1 at frame 10 (firing group 1),
// cue 2 a DMX value at frame 15 (group 1), cue 3 module 1 pin 2 at frame 20 with 5 frames
// prefire (group 2); `later` frames move cues 2 and 3 later. A reminder makes the show one
// that cannot fire. With `soundtrackFrames` a silent soundtrack of that many 8 kHz frames is
// linked.
std::string writeShow(const Platform::TestFolder& folder, bool withReminder = false, int later = 0,
                      std::uint32_t soundtrackFrames = 0)
{
    Project::ProjectData data;
    data.setFormat(SMPTE::SMPTE_25);
    Project::CueList& cues = data.getCueList();
    cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 10), CueCommand::pyro(17), 0, 0, 1, -1, "");
    cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 15 + later), CueCommand::dmx(0, 5, 200), 0, 5, 1,
             -1, "");
    cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 20 + later), CueCommand::pyro(18), 5, 0, 2, -1,
             "");
    if (withReminder) {
        cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 30), CueCommand(CueCommand::TYPE_REMINDER), 0,
                 0, 1, -1, "Bow");
    }
    if (soundtrackFrames > 0) {
        writeSilentWave(folder.root() / "show.wav", soundtrackFrames);
        data.setWaveLink(true, folder.path("show.wav"));
    }
    std::wstring errorKey;
    EXPECT_TRUE(Project::ProjectFile::save(folder.path("show.fwp"), data, errorKey));
    return (folder.root() / "show.fwp").string();
}

// Runs the command in this process while `feed` plays the operator or the outside clock on
// another thread; `feed` gets a flag that turns true when the command has returned.
CliTest::Run runShow(const std::vector<std::string>& args,
                     const std::function<void(const std::atomic<bool>&)>& feed = {})
{
    std::atomic<bool> finished{false};
    std::thread feeder;
    if (feed) {
        feeder = std::thread([&] { feed(finished); });
    }
    CliTest::Run result = CliTest::run(args);
    finished = true;
    if (feeder.joinable()) {
        feeder.join();
    }
    return result;
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The line of `out` that carries every fragment, or nothing.
std::optional<std::string> findLine(const std::string& out, const std::vector<std::string>& parts)
{
    std::size_t begin = 0;
    while (begin < out.size()) {
        std::size_t end = out.find('\n', begin);
        if (end == std::string::npos) {
            end = out.size();
        }
        const std::string line = out.substr(begin, end - begin);
        bool all = true;
        for (const std::string& part : parts) {
            all = all && contains(line, part);
        }
        if (all) {
            return line;
        }
        begin = end + 1;
    }
    return std::nullopt;
}

// The index of the first log line at or after `from` that carries every fragment, or -1.
int logIndex(const Testing::DeviceSimulator& device, const std::vector<std::string>& parts,
             std::size_t from = 0)
{
    const std::vector<std::string> lines = device.logLines();
    for (std::size_t i = from; i < lines.size(); ++i) {
        bool all = true;
        for (const std::string& part : parts) {
            all = all && contains(lines[i], part);
        }
        if (all) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The device's shutdown sequence after log line `from`: disarmed (0x22 without payload), all
// DMX off (0x16 with 0x92000000) and its queue emptied (0x10 with index 0), in that order.
void expectShutdownSequence(const Testing::DeviceSimulator& device, std::size_t from)
{
    const int disarm = logIndex(device, {"\"rx\"", "\"code\":\"0x22\"", "\"payload\":\"\""}, from);
    ASSERT_GE(disarm, 0) << "no disarm";
    const int dmxOff = logIndex(device, {"\"rx\"", "\"code\":\"0x16\"", "\"payload\":\"00000092\""},
                                std::size_t(disarm));
    ASSERT_GE(dmxOff, 0) << "no DMX off after the disarm";
    EXPECT_GE(logIndex(device, {"\"rx\"", "\"code\":\"0x10\"", "\"payload\":\"00000000\""},
                       std::size_t(dmxOff)),
              0)
        << "the queue was not emptied after DMX off";
}

// Sends "step" every 150 ms until the command has returned.
void stepRepeatedly(Testing::DeviceSimulator& device, const std::atomic<bool>& finished)
{
    while (!finished) {
        device.command("step");
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
}

TEST(ShowCommand, RunsAShowToItsEndInEveryMode)
{
    Platform::TestFolder folder;
    const std::string show = writeShow(folder);
    const struct {
        const char* mode;
        // What the operator or the outside clock does meanwhile.
        std::function<void(Testing::DeviceSimulator&, const std::atomic<bool>&)> feed;
    } rows[] = {
        {"audio", {}},
        {"clock-out", {}},
        {"clock-in",
         [](Testing::DeviceSimulator& device, const std::atomic<bool>&) {
             // The outside timecode starts once the device is set up for it.
             if (device.waitForLog({"\"event\":\"clock\"", "\"mode\":\"clock-in\""}, 20000)) {
                 device.command("timecode 00:00:00:00");
             }
         }},
        {"manual", stepRepeatedly},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode);
        Testing::DeviceSimulator device;
        ASSERT_TRUE(device.start({"--module", "1=0xFFFF"})) << device.error();
        std::function<void(const std::atomic<bool>&)> feed;
        if (row.feed) {
            feed = [&](const std::atomic<bool>& finished) { row.feed(device, finished); };
        }
        const CliTest::Run result =
            runShow({"show", show, "--mode", row.mode, "--port", device.portPath(), "--audio",
                     "silent", "--arm", "3", "--seconds", "60"},
                    feed);
        EXPECT_EQ(result.code, 0) << result.out << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_TRUE(findLine(
            result.out,
            {"\"event\":\"start\"", std::string("\"mode\":\"") + row.mode + "\"", "\"cues\":3"}))
            << result.out;
        EXPECT_TRUE(findLine(result.out, {"\"event\":\"connection\"", "\"connected\":true"}));
        EXPECT_TRUE(findLine(result.out, {"\"event\":\"status\"", "\"pyro\":\"armed\""}))
            << result.out;
        for (const char* cue : {"\"cue\":1,", "\"cue\":2,", "\"cue\":3,"}) {
            EXPECT_TRUE(findLine(result.out, {"\"event\":\"cue\"", cue, "\"state\":\"done\""}))
                << cue << "\n"
                << result.out;
        }
        // The end line is the last one.
        const std::optional<std::string> end = findLine(result.out, {"\"event\":\"end\""});
        ASSERT_TRUE(end) << result.out;
        EXPECT_TRUE(contains(*end,
                             "\"reason\":\"done\",\"done\":3,\"skipped\":0,"
                             "\"unfinished\":0,\"disarmConfirmed\":true"))
            << *end;
        EXPECT_TRUE(result.out.ends_with(*end + "\n"));

        // Armed on channel 3 (byte 2) for module 1; both pins fired, the DMX value set.
        EXPECT_GE(logIndex(device, {"\"event\":\"arm\"", "\"armed\":true", "\"channel\":2"}), 0);
        for (const char* word : {"0x80000101", "0x80000102"}) {
            EXPECT_GE(logIndex(device, {"\"event\":\"exec\"", word, "\"result\":\"fired\""}), 0)
                << word;
        }
        EXPECT_GE(logIndex(device, {"\"event\":\"exec\"", "\"kind\":\"dmx\"", "\"channel\":5",
                                    "\"value\":200"}),
                  0);
        const int lastFire = logIndex(device, {"\"exec\"", "0x80000102"});
        ASSERT_GE(lastFire, 0);
        expectShutdownSequence(device, static_cast<std::size_t>(lastFire));
        if (std::string(row.mode) == "clock-out") {
            // The device's own clock is stopped before the disarm.
            const int stop = logIndex(device, {"\"rx\"", "\"code\":\"0x40\"", "\"payload\":\"84\""},
                                      std::size_t(lastFire));
            ASSERT_GE(stop, 0) << "the clock was left running";
            EXPECT_GE(logIndex(device, {"\"rx\"", "\"code\":\"0x22\"", "\"payload\":\"\""},
                               std::size_t(stop)),
                      0);
        }
        EXPECT_EQ(device.stop(), 0);
    }
}

TEST(ShowCommand, TheAudioClockPlaysTheSoundtrackToItsEnd)
{
    Platform::TestFolder folder;
    // 1.5 s of soundtrack, longer than the cues (0.8 s): it sets the show's end, frame 38 at
    // 25 fps (the frame that holds the track's last sample).
    const std::string show = writeShow(folder, false, 0, 12000);
    Testing::DeviceSimulator device;
    ASSERT_TRUE(device.start({"--module", "1=0xFFFF"})) << device.error();
    const CliTest::Run result =
        runShow({"show", show, "--mode", "audio", "--port", device.portPath(), "--audio", "silent",
                 "--arm", "--seconds", "60"});
    EXPECT_EQ(result.code, 0) << result.out << result.err;
    EXPECT_TRUE(findLine(result.out, {"\"event\":\"start\"", "\"show_end_ms\":1520"}))
        << result.out;
    EXPECT_TRUE(findLine(result.out, {"\"event\":\"end\"", "\"reason\":\"done\"", "\"done\":3,"}))
        << result.out;
    EXPECT_GE(logIndex(device, {"\"exec\"", "0x80000102", "\"result\":\"fired\""}), 0);
}

// A linked soundtrack that cannot be opened: the audio clock would play silence in place of
// the show's music (it used to start so without a word), so audio mode is refused before the
// device is reached; clock-in, which does not play it, warns and goes on.
TEST(ShowCommand, AMissingSoundtrackRefusesTheAudioClockAndWarnsOtherwise)
{
    Platform::TestFolder folder;
    const std::string show = writeShow(folder, false, 0, 12000);
    std::filesystem::remove(folder.root() / "show.wav");
    {
        Testing::DeviceSimulator device;
        ASSERT_TRUE(device.start()) << device.error();
        const CliTest::Run result = runShow(
            {"show", show, "--mode", "audio", "--port", device.portPath(), "--audio", "silent"});
        EXPECT_EQ(result.code, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(contains(result.err, "show: MESSAGES.SOUNDTRACK_MISSING.MESSAGE: "))
            << result.err;
        EXPECT_TRUE(contains(result.err, "show.wav cannot be opened")) << result.err;
        EXPECT_LT(logIndex(device, {"\"event\":\"rx\""}), 0) << "the device was reached";
    }
    Testing::DeviceSimulator device;
    ASSERT_TRUE(device.start()) << device.error();
    const CliTest::Run result =
        runShow({"show", show, "--mode", "clock-in", "--port", device.portPath(), "--audio",
                 "silent", "--seconds", "0.3"});
    EXPECT_EQ(result.code, 0) << result.out << result.err;
    EXPECT_TRUE(contains(result.err, "show: warning: MESSAGES.SOUNDTRACK_MISSING.MESSAGE: "))
        << result.err;
    EXPECT_TRUE(findLine(result.out, {"\"event\":\"end\"", "\"reason\":\"time\""})) << result.out;
}

TEST(ShowCommand, AShowThatIsNotArmedFiresNothingAndReportsThePyroCuesSkipped)
{
    Platform::TestFolder folder;
    const std::string show = writeShow(folder);
    Testing::DeviceSimulator device;
    ASSERT_TRUE(device.start({"--module", "1=0xFFFF"})) << device.error();
    const CliTest::Run result =
        runShow({"show", show, "--mode", "clock-out", "--port", device.portPath(), "--audio",
                 "silent", "--seconds", "60"});
    EXPECT_EQ(result.code, 0) << result.out << result.err;
    EXPECT_TRUE(findLine(result.out, {"\"event\":\"cue\"", "\"cue\":1,", "\"state\":\"skipped\""}))
        << result.out;
    EXPECT_TRUE(findLine(result.out, {"\"event\":\"cue\"", "\"cue\":3,", "\"state\":\"skipped\""}));
    // DMX does not depend on the pyro arming.
    EXPECT_TRUE(findLine(result.out, {"\"event\":\"cue\"", "\"cue\":2,", "\"state\":\"done\""}));
    EXPECT_TRUE(findLine(
        result.out, {"\"event\":\"end\"", "\"reason\":\"done\"", "\"done\":1,", "\"skipped\":2,"}))
        << result.out;
    EXPECT_FALSE(findLine(result.out, {"\"pyro\":\"armed\""}));
    for (const char* word : {"0x80000101", "0x80000102"}) {
        EXPECT_GE(logIndex(device, {"\"event\":\"exec\"", word, "\"result\":\"suppressed\""}), 0)
            << word;
    }
    EXPECT_LT(logIndex(device, {"\"result\":\"fired\""}), 0);
    EXPECT_LT(logIndex(device, {"\"event\":\"arm\"", "\"armed\":true"}), 0);
}

TEST(ShowCommand, StopsAfterTheGivenSecondsAndDisconnectsCleanly)
{
    Platform::TestFolder folder;
    const std::string show = writeShow(folder);
    Testing::DeviceSimulator device;
    ASSERT_TRUE(device.start()) << device.error();
    // Clock in without outside timecode: the show never moves.
    const CliTest::Run result =
        runShow({"show", show, "--mode", "clock-in", "--port", device.portPath(), "--audio",
                 "silent", "--arm", "--seconds", "0.5"});
    EXPECT_EQ(result.code, 0) << result.out << result.err;
    EXPECT_TRUE(findLine(result.out, {"\"event\":\"end\"", "\"reason\":\"time\"", "\"done\":0,",
                                      "\"unfinished\":3"}))
        << result.out;
    EXPECT_TRUE(findLine(result.out, {"\"event\":\"connection\"", "\"connected\":false"}));
    // Armed on an unspecified channel, then disarmed by the shutdown sequence.
    const int armed = logIndex(device, {"\"event\":\"arm\"", "\"armed\":true", "\"channel\":128"});
    ASSERT_GE(armed, 0);
    expectShutdownSequence(device, static_cast<std::size_t>(armed));
}

TEST(ShowCommand, ASignalDisconnectsCleanlyAndEndsWithItsExitStatus)
{
    Platform::TestFolder folder;
    const std::string show = writeShow(folder);
    const struct {
        int signal;
        int code;
        const char* reason;
    } rows[] = {{SIGINT, 130, "interrupted"},
                {SIGTERM, 143, "terminated"},
                {SIGHUP, 129, "hangup"},
                {SIGQUIT, 131, "quit"}};
    const auto handlerOf = [](int signal) {
        struct sigaction now {};
        ::sigaction(signal, nullptr, &now);
        return now.sa_handler;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.reason);
        // Taken after the simulator started: its harness ignores SIGPIPE for the process.
        Testing::DeviceSimulator device;
        ASSERT_TRUE(device.start()) << device.error();
        const auto before = handlerOf(row.signal);
        const auto pipeBefore = handlerOf(SIGPIPE);
        const CliTest::Run result =
            runShow({"show", show, "--mode", "clock-in", "--port", device.portPath(), "--audio",
                     "silent", "--arm", "--seconds", "60"},
                    [&](const std::atomic<bool>&) {
                        // Armed, so the handlers are in place; the show waits for timecode.
                        if (device.waitForLog({"\"event\":\"arm\"", "\"armed\":true"}, 20000)) {
                            ::kill(::getpid(), row.signal);
                        }
                    });
        EXPECT_EQ(result.code, row.code) << result.out << result.err;
        EXPECT_TRUE(
            findLine(result.out, {"\"event\":\"end\"", std::string("\"reason\":\"") + row.reason,
                                  "\"disarmConfirmed\":true"}))
            << result.out;
        const int armed = logIndex(device, {"\"event\":\"arm\"", "\"armed\":true"});
        ASSERT_GE(armed, 0);
        expectShutdownSequence(device, static_cast<std::size_t>(armed));
        // The command gives the signals back as it found them.
        EXPECT_EQ(handlerOf(row.signal), before);
        EXPECT_EQ(handlerOf(SIGPIPE), pipeBefore);
    }
}

TEST(ShowCommand, ALostLinkEndsTheShowWithAFailure)
{
    Platform::TestFolder folder;
    const std::string show = writeShow(folder);
    Testing::DeviceSimulator device;
    ASSERT_TRUE(device.start()) << device.error();
    const CliTest::Run result =
        runShow({"show", show, "--mode", "clock-in", "--port", device.portPath(), "--audio",
                 "silent", "--arm", "--seconds", "60"},
                [&](const std::atomic<bool>&) {
                    if (device.waitForLog({"\"event\":\"arm\"", "\"armed\":true"}, 20000)) {
                        device.command("unplug");
                    }
                });
    // The shutdown sequence cannot reach an unplugged device: the run says the device may
    // still be armed, with its own exit status.
    EXPECT_EQ(result.code, 4) << result.out << result.err;
    EXPECT_TRUE(contains(result.err, "ERROR.USB_DEVICE_NOT_CONNECTED")) << result.err;
    EXPECT_TRUE(contains(result.err, "ERROR.USB_DISARM_NOT_CONFIRMED")) << result.err;
    EXPECT_TRUE(findLine(result.out, {"\"event\":\"connection\"", "\"connected\":false"}));
    EXPECT_TRUE(findLine(result.out, {"\"event\":\"end\"", "\"reason\":\"disconnected\"",
                                      "\"disarmConfirmed\":false"}))
        << result.out;
}

// A device that a killed run left armed: a run without --arm disarms it on connecting and
// fires nothing; a device that will not disarm is refused before anything is loaded.
TEST(ShowCommand, ADeviceLeftArmedFiresNothingUnlessThisRunArmsIt)
{
    Platform::TestFolder folder;
    const std::string show = writeShow(folder);
    for (const bool stuck : {false, true}) {
        SCOPED_TRACE(stuck ? "disarm ignored" : "left armed");
        Testing::DeviceSimulator device;
        ASSERT_TRUE(device.start({"--module", "1=0xFFFF", "--armed"})) << device.error();
        if (stuck) {
            ASSERT_TRUE(device.command("disarm-ignored on"));
            ASSERT_TRUE(device.waitForLog({"\"event\":\"input\"", "disarm-ignored on"}));
        }
        const CliTest::Run result =
            runShow({"show", show, "--mode", "clock-out", "--port", device.portPath(), "--audio",
                     "silent", "--seconds", "5"});
        EXPECT_LT(logIndex(device, {"\"result\":\"fired\""}), 0) << "a cue fired";
        if (stuck) {
            EXPECT_EQ(result.code, 1) << result.out << result.err;
            EXPECT_TRUE(contains(result.err, "ERROR.USB_DEVICE_STILL_ARMED")) << result.err;
            EXPECT_LT(logIndex(device, {"\"rx\"", "\"code\":\"0x12\""}), 0);
        } else {
            EXPECT_EQ(result.code, 0) << result.out << result.err;
            EXPECT_TRUE(
                findLine(result.out, {"\"event\":\"cue\"", "\"cue\":1,", "\"state\":\"skipped\""}))
                << result.out;
            EXPECT_TRUE(findLine(result.out, {"\"event\":\"end\"", "\"reason\":\"done\"",
                                              "\"disarmConfirmed\":true"}))
                << result.out;
        }
        EXPECT_EQ(device.stop(), 0);
    }
}

// A device that stops answering ends the show within a few seconds, with its own reason; the
// shutdown cannot be confirmed.
TEST(ShowCommand, ASilentDeviceEndsTheShow)
{
    Platform::TestFolder folder;
    const std::string show = writeShow(folder);
    Testing::DeviceSimulator device;
    ASSERT_TRUE(device.start()) << device.error();
    std::chrono::steady_clock::time_point silentAt;
    const CliTest::Run result =
        runShow({"show", show, "--mode", "clock-in", "--port", device.portPath(), "--audio",
                 "silent", "--arm", "--seconds", "60"},
                [&](const std::atomic<bool>&) {
                    if (device.waitForLog({"\"event\":\"arm\"", "\"armed\":true"}, 20000)) {
                        silentAt = std::chrono::steady_clock::now();
                        device.command("silent on");
                    }
                });
    const auto ended = std::chrono::steady_clock::now() - silentAt;
    EXPECT_EQ(result.code, 4) << result.out << result.err;
    EXPECT_TRUE(findLine(result.out, {"\"event\":\"end\"", "\"reason\":\"device-silent\"",
                                      "\"disarmConfirmed\":false"}))
        << result.out;
    EXPECT_TRUE(contains(result.err, "ERROR.USB_DISARM_NOT_CONFIRMED")) << result.err;
    EXPECT_LT(ended, std::chrono::seconds(30)) << "the show ran on";
    std::printf("silent device to the show's end: %lld ms\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(ended).count()));
}

// The reply to the first trigger is lost, though the device fired: the cue ends skipped with an
// unknown outcome and the show still ends.
TEST(ShowCommand, ALostTriggerReplyLeavesTheCueSkippedAndTheShowEnds)
{
    Platform::TestFolder folder;
    const std::string show = writeShow(folder);
    Testing::DeviceSimulator device;
    ASSERT_TRUE(device.start({"--module", "1=0xFFFF"})) << device.error();
    const CliTest::Run result =
        runShow({"show", show, "--mode", "audio", "--port", device.portPath(), "--audio", "silent",
                 "--arm", "--seconds", "20"},
                [&](const std::atomic<bool>&) {
                    if (device.waitForLog({"\"event\":\"arm\"", "\"armed\":true"}, 20000)) {
                        device.command("reply-raw 14 00");  // a stray byte in place of the reply
                    }
                });
    EXPECT_EQ(result.code, 0) << result.out << result.err;
    EXPECT_GE(logIndex(device, {"\"exec\"", "0x80000101", "\"result\":\"fired\""}), 0);
    EXPECT_GE(logIndex(device, {"\"tx\"", "\"code\":\"0x15\"", "\"replaced\":true"}), 0);
    EXPECT_TRUE(findLine(result.out, {"\"event\":\"cue\"", "\"cue\":1,", "\"state\":\"skipped\"",
                                      "\"reason\":\"outcome-unknown\""}))
        << result.out;
    EXPECT_TRUE(findLine(result.out, {"\"event\":\"end\"", "\"reason\":\"done\""})) << result.out;
}

// Standard output carries JSON lines only, also when the device reports a module on its own.
TEST(ShowCommand, StandardOutputIsJsonOnly)
{
    Platform::TestFolder folder;
    const std::string show = writeShow(folder);
    Testing::DeviceSimulator device;
    ASSERT_TRUE(device.start({"--module", "1=0x00FF"})) << device.error();
    const CliTest::Run result =
        runShow({"show", show, "--mode", "clock-in", "--port", device.portPath(), "--audio",
                 "silent", "--seconds", "1.5"},
                [&](const std::atomic<bool>&) {
                    if (device.waitForLog({"\"event\":\"clock\""}, 20000)) {
                        device.command("report 1");
                    }
                });
    EXPECT_EQ(result.code, 0) << result.out << result.err;
    ASSERT_GE(logIndex(device, {"\"tx\"", "\"code\":\"0x23\""}), 0);
    std::size_t begin = 0;
    int lines = 0;
    while (begin < result.out.size()) {
        const std::size_t end = result.out.find('\n', begin);
        ASSERT_NE(end, std::string::npos) << "an unfinished line";
        const std::string line = result.out.substr(begin, end - begin);
        EXPECT_TRUE(line.starts_with("{\"event\":") && line.ends_with("}")) << line;
        ++lines;
        begin = end + 1;
    }
    EXPECT_GT(lines, 2);
}

TEST(ShowCommand, RefusesAShowThatCannotFireBeforeConnecting)
{
    Platform::TestFolder folder;
    const std::string show = writeShow(folder, true);
    {
        // Beside the reminder (cue 4): an address the controller's words cannot carry and a
        // DMX text without a channel, neither of which may reach the device.
        Project::ProjectData data;
        std::wstring errorKey;
        ASSERT_TRUE(Project::ProjectFile::load(folder.path("show.fwp"), data, errorKey));
        const SMPTE at = SMPTE::fromFrameNo(SMPTE::SMPTE_25, 40);
        data.getCueList().add(at, CueCommand::pyro(0x100005), 0, 0, 1, -1, "");
        CueCommand dmxText = CueCommand::dmx(0, CueCommand::kNoAddress, 0);
        ASSERT_TRUE(dmxText.setDmxText("5@255"));
        data.getCueList().add(at, dmxText, 0, 0, 1, -1, "");
        ASSERT_TRUE(Project::ProjectFile::save(folder.path("show.fwp"), data, errorKey));
    }
    Testing::DeviceSimulator device;
    ASSERT_TRUE(device.start()) << device.error();
    const CliTest::Run result = runShow(
        {"show", show, "--mode", "audio", "--port", device.portPath(), "--audio", "silent"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out,
              "{\"event\":\"check\",\"cue\":4,\"reason\":\"no-command\","
              "\"key\":\"CHECK.NO_COMMAND\"}\n"
              "{\"event\":\"check\",\"cue\":5,\"reason\":\"address-out-of-range\","
              "\"key\":\"CHECK.ADDRESS_OUT_OF_RANGE\"}\n"
              "{\"event\":\"check\",\"cue\":6,\"reason\":\"no-channel\","
              "\"key\":\"CHECK.NO_CHANNEL\"}\n");
    EXPECT_TRUE(contains(result.err, "SHOW.COMPILE_ERROR")) << result.err;
    EXPECT_LT(logIndex(device, {"\"event\":\"rx\""}), 0) << "the device was reached";
}

TEST(ShowCommand, ReportsFailuresAndUsageErrors)
{
    Platform::TestFolder folder;
    const std::string show = writeShow(folder);
    const struct {
        std::vector<std::string> args;
        int code;
        const char* err;
    } rows[] = {
        // No device answers on this port (and no USB controller is plugged in).
        {{"show", show, "--mode", "audio", "--port", (folder.root() / "no-such-tty").string(),
          "--audio", "silent"},
         1,
         "ERROR.USB_DEVICE_NOT_CONNECTED"},
        {{"show", (folder.root() / "missing.fwp").string(), "--mode", "audio", "--audio", "silent"},
         1,
         "ERROR."},
        {{"show", show}, 2, "give --mode"},
        {{"show", "--mode", "audio"}, 2, "give a project file"},
        {{"show", show, "--mode", "timecode"}, 2, "unknown mode"},
        {{"show", show, "--mode", "audio", "--audio", "loud"}, 2, "unknown sound output"},
        {{"show", show, "--mode", "audio", "--seconds", "0"}, 2, "bad number of seconds"},
        {{"show", show, "--mode", "audio", "--arm", "129"}, 2, "bad firing channel"},
        {{"show", show, "--mode", "audio", "--arm", "0"}, 2, "bad firing channel"},
        {{"show", show, "--mode", "audio", "--port"}, 2, "--port needs a value"},
    };
    for (const auto& row : rows) {
        const CliTest::Run result = CliTest::run(row.args);
        EXPECT_EQ(result.code, row.code) << row.err << ": " << result.out << result.err;
        EXPECT_TRUE(contains(result.err, row.err)) << result.err;
        EXPECT_EQ(result.out, "") << row.err;
    }
}

// The real executable beside this test program, end to end: signals in the middle of a show,
// a closed standard output, and a show that ends after --seconds.
class ShowExecutable : public ::testing::Test {
protected:
    struct Child {
        pid_t pid = -1;
        int out = -1;
    };

    static std::string executable()
    {
        return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "skyfirewright-cli")
            .string();
    }

    static Child spawn(const std::vector<std::string>& args)
    {
        std::vector<std::string> all = {executable()};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        int pipeFds[2];
        if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
            return {};
        }
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(pipeFds[1], 1);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(pipeFds[1]);
        return {pid, pipeFds[0]};
    }

    // Reads the child's output into `out` until a line carries every fragment; false when
    // none does within the time or the output ended.
    static bool readUntil(const Child& child, std::string& out,
                          const std::vector<std::string>& fragments, int timeoutMs)
    {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!findLine(out, fragments)) {
            if (std::chrono::steady_clock::now() >= deadline) {
                return false;
            }
            pollfd p{child.out, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0) {
                char buffer[4096];
                const ssize_t got = ::read(child.out, buffer, sizeof buffer);
                if (got <= 0) {
                    return false;
                }
                out.append(buffer, static_cast<std::size_t>(got));
            }
        }
        return true;
    }

    // Everything the child writes until it ends, after `out`, and its exit status (-1 when
    // it did not end within the time, or ended by a signal).
    static std::pair<std::string, int> finish(Child child, int timeoutMs, std::string out = {})
    {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (child.out >= 0 && std::chrono::steady_clock::now() < deadline) {
            pollfd p{child.out, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0) {
                char buffer[4096];
                const ssize_t got = ::read(child.out, buffer, sizeof buffer);
                if (got <= 0) {
                    break;
                }
                out.append(buffer, static_cast<std::size_t>(got));
            }
        }
        if (child.out >= 0) {
            ::close(child.out);
        }
        int status = 0;
        // Its output closes just before it ends.
        const auto exitDeadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (::waitpid(child.pid, &status, WNOHANG) != child.pid) {
            if (std::chrono::steady_clock::now() >= exitDeadline) {
                ::kill(child.pid, SIGKILL);
                ::waitpid(child.pid, &status, 0);
                return {out, -1};
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    }
};

// Every signal that ends a show takes it down with the shutdown sequence; SIGHUP and SIGQUIT
// used to kill the process with the device still armed.
TEST_F(ShowExecutable, EndingSignalsDisarmTurnDmxOffAndEmptyTheQueue)
{
    ASSERT_TRUE(std::filesystem::exists(executable())) << executable();
    Platform::TestFolder folder;
    const std::string show = writeShow(folder, false, 25 * 600);
    const struct {
        int signal;
        int code;
        const char* reason;
    } rows[] = {{SIGINT, 130, "interrupted"}, {SIGHUP, 129, "hangup"}, {SIGQUIT, 131, "quit"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.reason);
        Testing::DeviceSimulator device;
        ASSERT_TRUE(device.start({"--module", "1=0xFFFF"})) << device.error();
        // Clock in: the first cue fires at the outside timecode, the rest ten minutes later.
        const Child child = spawn({"show", show, "--mode", "clock-in", "--port", device.portPath(),
                                   "--audio", "silent", "--arm", "--seconds", "60"});
        ASSERT_GT(child.pid, 0);
        ASSERT_TRUE(device.waitForLog({"\"event\":\"arm\"", "\"armed\":true"}, 20000));
        device.command("timecode 00:00:00:00");
        ASSERT_TRUE(device.waitForLog({"\"exec\"", "0x80000101", "\"result\":\"fired\""}, 20000));
        std::string seen;
        const bool firstDone = readUntil(
            child, seen, {"\"event\":\"cue\"", "\"cue\":1,", "\"state\":\"done\""}, 20000);
        const int fired = logIndex(device, {"\"exec\"", "0x80000101"});
        ::kill(child.pid, row.signal);
        const auto [out, code] = finish(child, 20000, seen);
        EXPECT_TRUE(firstDone) << out;
        EXPECT_EQ(code, row.code) << out;
        EXPECT_TRUE(findLine(out, {"\"event\":\"end\"", std::string("\"reason\":\"") + row.reason}))
            << out;
        ASSERT_GE(fired, 0);
        expectShutdownSequence(device, static_cast<std::size_t>(fired));
        EXPECT_EQ(device.stop(), 0);
    }
}

// `show ... | head -3`: the reader goes away in the middle of the show. The next line used to
// kill the process by SIGPIPE with the device armed; now the show goes on until it is ended.
TEST_F(ShowExecutable, AClosedStandardOutputDoesNotEndTheShow)
{
    ASSERT_TRUE(std::filesystem::exists(executable())) << executable();
    Platform::TestFolder folder;
    const std::string show = writeShow(folder, false, 25 * 600);
    Testing::DeviceSimulator device;
    ASSERT_TRUE(device.start({"--module", "1=0xFFFF"})) << device.error();
    Child child = spawn({"show", show, "--mode", "clock-in", "--port", device.portPath(), "--audio",
                         "silent", "--arm", "--seconds", "60"});
    ASSERT_GT(child.pid, 0);
    std::string seen;
    ASSERT_TRUE(readUntil(child, seen, {"\"event\":\"start\""}, 20000)) << seen;
    ::close(child.out);
    child.out = -1;
    // The first cue fires; its state lines go to the closed pipe.
    device.command("timecode 00:00:00:00");
    ASSERT_TRUE(device.waitForLog({"\"exec\"", "0x80000101", "\"result\":\"fired\""}, 20000));
    const int fired = logIndex(device, {"\"exec\"", "0x80000101"});
    std::this_thread::sleep_for(std::chrono::seconds(1));  // time to write a line or die
    int status = 0;
    if (::waitpid(child.pid, &status, WNOHANG) == child.pid) {
        FAIL() << "the show ended early"
               << (WIFSIGNALED(status) ? ", by signal " + std::to_string(WTERMSIG(status)) : "");
    }
    ::kill(child.pid, SIGTERM);
    EXPECT_EQ(finish(child, 20000).second, 143);
    ASSERT_GE(fired, 0);
    expectShutdownSequence(device, static_cast<std::size_t>(fired));
    EXPECT_EQ(device.stop(), 0);
}

TEST_F(ShowExecutable, EndsAfterTheGivenSeconds)
{
    ASSERT_TRUE(std::filesystem::exists(executable())) << executable();
    Platform::TestFolder folder;
    const std::string show = writeShow(folder);
    Testing::DeviceSimulator device;
    ASSERT_TRUE(device.start()) << device.error();
    const Child child = spawn({"show", show, "--mode", "manual", "--port", device.portPath(),
                               "--audio", "silent", "--seconds", "0.5"});
    ASSERT_GT(child.pid, 0);
    const auto [out, code] = finish(child, 20000);
    EXPECT_EQ(code, 0) << out;
    EXPECT_TRUE(findLine(out, {"\"event\":\"end\"", "\"reason\":\"time\""})) << out;
    EXPECT_GE(logIndex(device, {"\"rx\"", "\"code\":\"0x22\"", "\"payload\":\"\""}), 0);
}

// Killed mid-show (SIGKILL: no shutdown), with the device's own clock running and a queue that
// could hold the whole show: only the look-ahead (three seconds by default) can still fire.
TEST_F(ShowExecutable, AKilledShowLeavesOnlyTheLookAheadToFire)
{
    ASSERT_TRUE(std::filesystem::exists(executable())) << executable();
    Platform::TestFolder folder;
    Project::ProjectData data;
    data.setFormat(SMPTE::SMPTE_25);
    // 200 cues every 100 ms (2.5 frames: 2 and 3 frames apart in turn) from 0.2 s.
    for (int i = 0; i < 200; ++i) {
        data.getCueList().add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 5 + (5 * i) / 2),
                              CueCommand::pyro(16 + i), 0, 0, 1, -1, "");
    }
    std::wstring errorKey;
    ASSERT_TRUE(Project::ProjectFile::save(folder.path("dense.fwp"), data, errorKey));
    Testing::DeviceSimulator device;
    ASSERT_TRUE(device.start({"--room", "1024"})) << device.error();
    const Child child =
        spawn({"show", (folder.root() / "dense.fwp").string(), "--mode", "clock-out", "--port",
               device.portPath(), "--audio", "silent", "--arm", "--seconds", "60"});
    ASSERT_GT(child.pid, 0);
    // Two seconds into the show: cue 19 (address 34: module 2, pin 2) fired.
    ASSERT_TRUE(device.waitForLog({"\"exec\"", "\"result\":\"fired\"", "0x80000202"}, 20000));
    ::kill(child.pid, SIGKILL);
    const auto killedAt = std::chrono::steady_clock::now();
    const std::size_t atKill = device.logLines().size();
    finish(child, 5000);
    std::this_thread::sleep_for(std::chrono::seconds(6) -
                                (std::chrono::steady_clock::now() - killedAt));
    int firedAfter = 0;
    const std::vector<std::string> lines = device.logLines();
    for (std::size_t i = atKill; i < lines.size(); ++i) {
        firedAfter += contains(lines[i], "\"result\":\"fired\"") ? 1 : 0;
    }
    std::printf("cues fired after the kill: %d\n", firedAfter);
    // Three seconds of cues at ten a second, and the blocks sent in the last clock report's
    // 100 ms.
    EXPECT_LE(firedAfter, 32);
    EXPECT_EQ(device.stop(), 0);
}

// Ctrl+C while the line is stalled: the shutdown sequence cannot get through, and the run says
// so instead of claiming a clean end.
TEST_F(ShowExecutable, AnUnconfirmedShutdownIsReported)
{
    ASSERT_TRUE(std::filesystem::exists(executable())) << executable();
    Platform::TestFolder folder;
    const std::string show = writeShow(folder, false, 25 * 600);
    Testing::DeviceSimulator device;
    ASSERT_TRUE(device.start({"--module", "1=0xFFFF"})) << device.error();
    const Child child = spawn({"show", show, "--mode", "clock-in", "--port", device.portPath(),
                               "--audio", "silent", "--arm", "--seconds", "60"});
    ASSERT_GT(child.pid, 0);
    ASSERT_TRUE(device.waitForLog({"\"event\":\"arm\"", "\"armed\":true"}, 20000));
    std::string seen;
    ASSERT_TRUE(readUntil(child, seen, {"\"event\":\"start\""}, 20000)) << seen;
    device.command("stall on");
    ASSERT_TRUE(device.waitForLog({"\"event\":\"input\"", "stall on"}));
    ::kill(child.pid, SIGINT);
    const auto [out, code] = finish(child, 20000, seen);
    EXPECT_EQ(code, 4) << out;
    EXPECT_TRUE(findLine(
        out, {"\"event\":\"end\"", "\"reason\":\"interrupted\"", "\"disarmConfirmed\":false"}))
        << out;
    EXPECT_EQ(device.stop(), 0);
}

}  // namespace
