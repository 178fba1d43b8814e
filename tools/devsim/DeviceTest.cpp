#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Device.h"

// The device on a hand-moved clock: what it sends and when, for the words that depend on
// its own time.
namespace Devsim {
namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values) {
        s += static_cast<char>(v);
    }
    return s;
}

std::string word(uint32_t w)
{
    return bytes({static_cast<int>(w & 0xFF), static_cast<int>((w >> 8) & 0xFF),
                  static_cast<int>((w >> 16) & 0xFF), static_cast<int>(w >> 24)});
}

// A frame as the PC writes it; none of the test payloads needs escaping.
std::string frame(int code, const std::string& payload = "")
{
    return bytes({0x50, code}) + payload + bytes({0x51});
}

struct Fixture {
    std::string sent;
    std::vector<std::string> log;
    Device device;

    explicit Fixture(int room = 16)
        : device(
              [room] {
                  DeviceConfig config;
                  config.queueRoom = room;
                  return config;
              }(),
              [this](const std::string& out) { sent += out; },
              [this](const std::string& line) { log.push_back(line); }, 0)
    {
    }

    bool logged(const std::string& fragment) const
    {
        for (const std::string& line : log) {
            if (line.find(fragment) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    std::string take()
    {
        std::string out;
        out.swap(sent);
        return out;
    }
};

// Progress: executed count, flags, room.
std::string progress(uint32_t count, int flags, int room)
{
    return frame(0x15, word(count) + bytes({flags, room, 0}));
}

TEST(Device, StepReleasesTheStepWaitAndDelaysCountFromTheStep)
{
    Fixture f;
    f.device.receive(frame(0x10, word(0)), 0);
    EXPECT_EQ(f.take(), frame(0x11, bytes({16, 0})));
    f.device.receive(frame(0x12, word(0x30000000) + word(0x92000000) + word(0x300000C8) +
                                     word(0x92000000) + word(0x300001F4) + word(0x92000000)),
                     0);
    EXPECT_EQ(f.take(), frame(0x13, bytes({10, 0})));
    EXPECT_FALSE(f.device.nextDeadline(0)) << "a step wait has no deadline";

    std::string error;
    ASSERT_EQ(f.device.command("step", 1000000, error), Device::CommandResult::Done);
    // step and the DMX word at once; the first delay (200 ms) counts from the step
    EXPECT_EQ(f.take(), progress(2, 0x01, 12));
    ASSERT_TRUE(f.device.nextDeadline(1000000));
    EXPECT_EQ(*f.device.nextDeadline(1000000), 1200000);
    f.device.update(1199999);
    EXPECT_EQ(f.take(), "");
    f.device.update(1200000);
    EXPECT_EQ(f.take(), progress(4, 0x01, 14));
    // the 500 ms delay also counts from the step, not from the end of the first delay
    EXPECT_EQ(*f.device.nextDeadline(1200000), 1500000);
    f.device.update(1500000);
    EXPECT_EQ(f.take(), progress(6, 0x01, 16));
    EXPECT_FALSE(f.device.nextDeadline(1500000)) << "idle: nothing to wake up for";
}

TEST(Device, TimecodeWaitsRunAgainstTheDevicesOwnClock)
{
    Fixture f;
    // clock out at 25 frames per second, stopped at 00:00:00:00
    f.device.receive(frame(0x40, bytes({0xA4, 0x40 | 0x3C})), 0);
    EXPECT_EQ(f.take(), frame(0x41, bytes({0, 0, 0, 0})));
    f.device.receive(frame(0x10, word(0)), 0);
    // wait for 00:00:01:05, all DMX off
    f.device.receive(frame(0x12, word(0x10000015) + word(0x92000000)), 0);
    f.take();
    f.device.update(5000000);
    EXPECT_EQ(f.take(), "") << "a stopped clock does not reach the label";

    f.device.receive(frame(0x40, bytes({0x01})), 5000000);  // play
    EXPECT_EQ(f.take(), frame(0x41, bytes({0, 0, 0, 0})));
    // 30 frames = 1.2 s; the deadline is the next frame until then
    f.device.update(6199999);
    EXPECT_EQ(f.take().find(progress(2, 0x01, 16)), std::string::npos);
    f.device.update(6200000);
    const std::string out = f.take();
    EXPECT_NE(out.find(progress(2, 0x01, 16)), std::string::npos);

    // locate to 00:10:00:00 while playing, then pause: the label holds
    f.device.receive(frame(0x40, bytes({0x04, 0x00, 0x00, 0x10, 0x00, 0x00})), 7000000);
    EXPECT_EQ(f.take(), frame(0x41, bytes({0x00, 0x10, 0x00, 0x00})));
    f.device.receive(frame(0x40, bytes({0x80})), 7400000);
    EXPECT_EQ(f.take(), frame(0x41, bytes({0x00, 0x10, 0x00, 0x10})));
    f.device.update(9000000);
    EXPECT_EQ(f.take(), "") << "paused: no more timecode reports";
}

TEST(Device, ExecuteNowSetsDmxButNotWhileDmxOutputIsDisabled)
{
    Fixture f;
    std::string error;
    f.device.receive(frame(0x16, word(0x90000001) + word(0x91000A7F)), 0);
    EXPECT_EQ(f.take(), frame(0x17));
    EXPECT_TRUE(
        f.logged("\"kind\":\"dmx\",\"result\":\"done\",\"universe\":0,"
                 "\"channel\":10,\"value\":127,\"ticks\":1"));
    ASSERT_EQ(f.device.command("dmx-disabled on", 0, error), Device::CommandResult::Done);
    EXPECT_EQ(f.take(), frame(0x31, bytes({0x00})));  // status: no longer DMX armed
    f.device.receive(frame(0x16, word(0x91000A7F)), 0);
    EXPECT_TRUE(f.logged("\"word\":\"0x91000A7F\",\"kind\":\"dmx\",\"result\":\"suppressed\""));
}

// The operator's reply faults: another payload for one reply, raw bytes in place of one, and
// raw bytes on their own.
TEST(Device, ReplacesOneReplyAndSendsRawBytes)
{
    Fixture f;
    std::string error;
    ASSERT_EQ(f.device.command("reply 02 0102030405", 0, error), Device::CommandResult::Done);
    f.device.receive(frame(0x02), 0);
    EXPECT_EQ(f.take(), frame(0x03, bytes({1, 2, 3, 4, 5})));
    EXPECT_TRUE(f.logged("\"code\":\"0x03\",\"payload\":\"0102030405\",\"replaced\":true"));
    f.device.receive(frame(0x02), 0);
    EXPECT_EQ(f.take(), frame(0x03, bytes({1, 0, 1, 0, 100, 0}))) << "only the next reply";

    // An empty pong; a replaced payload is escaped like any other.
    ASSERT_EQ(f.device.command("reply 0x00 -", 0, error), Device::CommandResult::Done);
    f.device.receive(frame(0x00), 0);
    EXPECT_EQ(f.take(), frame(0x01));
    ASSERT_EQ(f.device.command("reply 20 51", 0, error), Device::CommandResult::Done);
    f.device.receive(frame(0x20, bytes({3, 0})), 0);
    EXPECT_EQ(f.take(), bytes({0x50, 0x21, 0x52, 0xAE, 0x51}));

    ASSERT_EQ(f.device.command("reply-raw 02 50030150030102030405065100", 0, error),
              Device::CommandResult::Done);
    f.device.receive(frame(0x02), 0);
    EXPECT_EQ(f.take(), bytes({0x50, 0x03, 0x01, 0x50, 0x03, 1, 2, 3, 4, 5, 6, 0x51, 0x00}));
    EXPECT_TRUE(f.logged("\"raw\":\"50030150030102030405065100\",\"replaced\":true"));

    ASSERT_EQ(f.device.command("send 5031", 0, error), Device::CommandResult::Done);
    EXPECT_EQ(f.take(), bytes({0x50, 0x31}));
    EXPECT_TRUE(f.logged("\"event\":\"tx\",\"raw\":\"5031\""));
    // The output faults apply to raw bytes too.
    ASSERT_EQ(f.device.command("garble 1", 0, error), Device::CommandResult::Done);
    ASSERT_EQ(f.device.command("send 5031", 0, error), Device::CommandResult::Done);
    EXPECT_EQ(f.take(), bytes({0xAF, 0x31}));

    ASSERT_EQ(f.device.command("stall on", 0, error), Device::CommandResult::Done);
    EXPECT_TRUE(f.device.isStalled());
    ASSERT_EQ(f.device.command("stall off", 0, error), Device::CommandResult::Done);
    EXPECT_FALSE(f.device.isStalled());
}

TEST(Device, RefusesMalformedOperatorInput)
{
    Fixture f;
    std::string error;
    for (const char* line : {"key maybe", "garble", "timecode 25:00:00:00", "continuity x 3",
                             "report 300", "fly", "send", "send 5", "send zz", "send -", "reply 02",
                             "reply FF 00", "reply 02 0g", "reply-raw 02 -", "stall maybe"}) {
        EXPECT_EQ(f.device.command(line, 0, error), Device::CommandResult::Invalid) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
    EXPECT_EQ(f.take(), "");
}

}  // namespace
}  // namespace Devsim
