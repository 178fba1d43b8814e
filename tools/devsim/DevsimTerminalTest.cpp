#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>

#include "DeviceSimulator.h"

// The real simulator program over its pseudo-terminal: raw frames in, raw frames out.
namespace {

using Clock = std::chrono::steady_clock;

std::string bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values) {
        s += static_cast<char>(v);
    }
    return s;
}

std::string hex(const std::string& data)
{
    std::string out;
    char text[4];
    for (char c : data) {
        std::snprintf(text, sizeof text, "%02X ", static_cast<uint8_t>(c));
        out += text;
    }
    return out;
}

class DevsimTerminal : public ::testing::Test {
protected:
    void startDevice(const std::vector<std::string>& arguments)
    {
        ASSERT_TRUE(device.start(arguments)) << device.error();
        port = device.openPort();
        ASSERT_GE(port, 0) << device.portPath();
    }

    void TearDown() override
    {
        if (port >= 0) {
            ::close(port);
        }
        EXPECT_EQ(device.stop(), 0) << "the simulator quits on request";
    }

    void write(const std::string& data)
    {
        ASSERT_EQ(::write(port, data.data(), data.size()), static_cast<ssize_t>(data.size()));
    }

    // Reads until `count` bytes came or `timeoutMs` passed.
    std::string read(size_t count, int timeoutMs = 2000)
    {
        std::string in;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (in.size() < count) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
                    .count();
            pollfd p{port, POLLIN, 0};
            if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) {
                break;
            }
            char buffer[256];
            const ssize_t n = ::read(port, buffer, std::min(sizeof buffer, count - in.size()));
            if (n <= 0) {
                break;
            }
            in.append(buffer, static_cast<size_t>(n));
        }
        return in;
    }

    void expectReply(const std::string& request, const std::string& reply)
    {
        write(request);
        EXPECT_EQ(hex(read(reply.size())), hex(reply)) << "request " << hex(request);
    }

    Testing::DeviceSimulator device;
    int port = -1;
};

const std::string kPong = bytes({0x50, 0x01, 'p', 'o', 'n', 'g', 0x51});

TEST_F(DevsimTerminal, AnswersDiscoveryInformationAndModuleChecks)
{
    startDevice({"--info", "7,2,0x1234,0x5052", "--module", "3=0x8001"});
    expectReply(bytes({0x50, 0x00, 0x51}), kPong);
    // 0x5052 goes out little-endian as 52 50, both escaped
    expectReply(bytes({0x50, 0x02, 0x51}),
                bytes({0x50, 0x03, 0x07, 0x02, 0x34, 0x12, 0x52, 0xAD, 0x52, 0xAF, 0x51}));
    expectReply(bytes({0x50, 0x20, 0x03, 0x00, 0x51}), bytes({0x50, 0x21, 0x01, 0x80, 0x51}));
    // a module that is not loaded does not answer: the reply carries no continuity
    expectReply(bytes({0x50, 0x20, 0x04, 0x00, 0x51}), bytes({0x50, 0x21, 0x51}));
    EXPECT_TRUE(
        device.waitForLog({"\"event\":\"rx\"", "\"code\":\"0x20\"", "\"payload\":\"0400\""}));
}

TEST_F(DevsimTerminal, FiresOnlyWhenArmedAndReportsRoomAndProgress)
{
    startDevice({"--room", "4"});
    // start at index 7 of the group: room 4
    expectReply(bytes({0x50, 0x10, 0x07, 0x00, 0x00, 0x00, 0x51}),
                bytes({0x50, 0x11, 0x04, 0x00, 0x51}));
    // trigger wait, fire module 3 pin 5: both wait in the queue
    const std::string block =
        bytes({0x50, 0x12, 0x00, 0x00, 0x00, 0x20, 0x05, 0x03, 0x00, 0x80, 0x51});
    expectReply(block, bytes({0x50, 0x13, 0x02, 0x00, 0x51}));
    // the trigger releases both; not armed: pyro output disabled, the word is not fired
    expectReply(bytes({0x50, 0x14, 0x51}),
                bytes({0x50, 0x15, 0x09, 0x00, 0x00, 0x00, 0x01, 0x04, 0x00, 0x51}));
    EXPECT_TRUE(
        device.waitForLog({"\"index\":8", "\"word\":\"0x80000305\"", "\"result\":\"suppressed\""}));

    // armed on channel 5: status reports pyro and DMX armed; the same words now fire
    expectReply(bytes({0x50, 0x22, 0x05, 0x51}), bytes({0x50, 0x31, 0x11, 0x51}));
    expectReply(block, bytes({0x50, 0x13, 0x02, 0x00, 0x51}));
    expectReply(bytes({0x50, 0x14, 0x51}),
                bytes({0x50, 0x15, 0x0B, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x51}));
    EXPECT_TRUE(device.waitForLog(
        {"\"index\":10", "\"kind\":\"fire\"", "\"result\":\"fired\"", "\"module\":3,\"pin\":5"}));

    // the key switch off takes the arming away again
    ASSERT_TRUE(device.command("key off"));
    EXPECT_EQ(hex(read(4)), hex(bytes({0x50, 0x31, 0x10, 0x51})));
}

TEST_F(DevsimTerminal, OutputFaultsSilenceGarbleAndDrop)
{
    startDevice({});
    ASSERT_TRUE(device.command("silent on"));
    ASSERT_TRUE(device.waitForLog({"\"line\":\"silent on\""}));
    write(bytes({0x50, 0x00, 0x51}));
    EXPECT_EQ(read(1, 300), "") << "a silent device answers nothing";
    EXPECT_TRUE(device.waitForLog({"\"event\":\"tx\"", "\"fault\":\"silent\""}));

    ASSERT_TRUE(device.command("silent off"));
    ASSERT_TRUE(device.command("garble 3"));
    ASSERT_TRUE(device.waitForLog({"\"line\":\"garble 3\""}));
    // the first three bytes go out complemented
    expectReply(bytes({0x50, 0x00, 0x51}), bytes({0xAF, 0xFE, 0x8F, 'o', 'n', 'g', 0x51}));

    ASSERT_TRUE(device.command("drop 2"));
    ASSERT_TRUE(device.waitForLog({"\"line\":\"drop 2\""}));
    expectReply(bytes({0x50, 0x00, 0x51}), bytes({'p', 'o', 'n', 'g', 0x51}));
    expectReply(bytes({0x50, 0x00, 0x51}), kPong);
}

TEST_F(DevsimTerminal, StepButtonAndUnplug)
{
    startDevice({});
    expectReply(bytes({0x50, 0x10, 0x00, 0x00, 0x00, 0x00, 0x51}),
                bytes({0x50, 0x11, 0x40, 0x00, 0x51}));
    // step wait, all DMX off
    expectReply(bytes({0x50, 0x12, 0x00, 0x00, 0x00, 0x30, 0x00, 0x00, 0x00, 0x92, 0x51}),
                bytes({0x50, 0x13, 0x3E, 0x00, 0x51}));
    ASSERT_TRUE(device.command("step"));
    EXPECT_EQ(hex(read(10)),
              hex(bytes({0x50, 0x15, 0x02, 0x00, 0x00, 0x00, 0x01, 0x40, 0x00, 0x51})));

    ASSERT_TRUE(device.command("unplug"));
    // the PC sees the line go: a read ends in an error or end of file, not in a wait
    pollfd p{port, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 2000), 1);
    EXPECT_TRUE(p.revents & (POLLHUP | POLLERR)) << p.revents;
    EXPECT_TRUE(device.isRunning()) << "unplugged, the simulator waits for quit";
}

// A held line takes no bytes: the PC's writes find no room until the operator lets go.
TEST_F(DevsimTerminal, StallHoldsThePCsWrites)
{
    startDevice({});
    ASSERT_TRUE(device.command("stall on"));
    // Lines are handled in order: once the next one is logged, the line is held.
    ASSERT_TRUE(device.command("deadman release"));
    ASSERT_TRUE(device.waitForLog({"\"line\":\"deadman release\""}));
    pollfd p{port, POLLOUT, 0};
    EXPECT_EQ(::poll(&p, 1, 200), 0) << "no room while the line is held";
    EXPECT_EQ(::write(port, "\x50\x00\x51", 3), -1);
    EXPECT_EQ(errno, EAGAIN);

    ASSERT_TRUE(device.command("stall off"));
    ASSERT_TRUE(device.command("key on"));
    ASSERT_TRUE(device.waitForLog({"\"line\":\"key on\""}));
    expectReply(bytes({0x50, 0x00, 0x51}), kPong);
}

// Idle, the simulator sleeps in poll: over a second it uses (almost) no processor time.
TEST_F(DevsimTerminal, IdleDoesNotSpin)
{
    startDevice({});
    expectReply(bytes({0x50, 0x00, 0x51}), kPong);
    const auto cpuTicks = [this] {
        std::ifstream stat("/proc/" + std::to_string(device.pid()) + "/stat");
        std::string field;
        long ticks = 0;
        for (int i = 1; i <= 15 && stat >> field; ++i) {
            if (i == 14 || i == 15) {
                ticks += std::stol(field);  // utime, stime
            }
        }
        return ticks;
    };
    const long before = cpuTicks();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_LE(cpuTicks() - before, 5) << "clock ticks used in one idle second";
}

}  // namespace

namespace {

// A simulator that cannot come up is reported, not waited for, and the test goes on.
TEST(DeviceSimulatorHarness, ReportsASimulatorThatDoesNotStart)
{
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        std::string executable;
    };
    const Case cases[] = {
        {"no such program", {}, "/nonexistent/skyfirewright-devsim"},
        {"usage error", {"--room", "0"}, Testing::DeviceSimulator::defaultExecutable()},
        {"bad module entry", {"--module", "3"}, Testing::DeviceSimulator::defaultExecutable()},
    };
    for (const Case& c : cases) {
        Testing::DeviceSimulator device;
        EXPECT_FALSE(device.start(c.arguments, c.executable)) << c.name;
        EXPECT_NE(device.error().find("did not print its terminal"), std::string::npos) << c.name;
        EXPECT_FALSE(device.command("quit")) << c.name;
    }
}

}  // namespace
