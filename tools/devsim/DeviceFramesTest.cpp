#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DeviceFrames.h"

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

std::vector<FrameReader::Received> readAll(const std::string& input)
{
    FrameReader reader;
    std::vector<FrameReader::Received> frames;
    FrameReader::Received frame;
    for (char c : input) {
        if (reader.push(static_cast<uint8_t>(c), frame)) {
            frames.push_back(frame);
        }
    }
    return frames;
}

TEST(DeviceFrames, EscapesTheThreeFramingBytesInCodeAndPayload)
{
    EXPECT_EQ(Frame::encode(0x50, bytes({0x51, 0x52, 0x53})),
              bytes({0x50, 0x52, 0xAF, 0x52, 0xAE, 0x52, 0xAD, 0x53, 0x51}));
    EXPECT_EQ(Frame::encode(0x00, ""), bytes({0x50, 0x00, 0x51}));
}

struct ReadCase {
    const char* name;
    std::string input;
    std::vector<std::string> frames;  // code byte then payload
};

TEST(DeviceFrames, ReadsFramesByTheReceiveRules)
{
    const std::string longPayload(70, '\x07');
    const std::vector<ReadCase> cases = {
        {"plain", bytes({0x50, 0x02, 0x51}), {bytes({0x02})}},
        {"escaped payload",
         bytes({0x50, 0x12, 0x52, 0xAE, 0x52, 0x41, 0x51}),
         {bytes({0x12, 0x51, 0xBE})}},
        {"escape then escape", bytes({0x50, 0x12, 0x52, 0x52, 0x51}), {bytes({0x12, 0xAD})}},
        {"noise outside frames", bytes({0x41, 0x51, 0x50, 0x00, 0x51, 0x99}), {bytes({0x00})}},
        {"second start restarts", bytes({0x50, 0x12, 0x01, 0x50, 0x14, 0x51}), {bytes({0x14})}},
        {"escape before start", bytes({0x50, 0x12, 0x52, 0x50, 0x02, 0x51}), {bytes({0x02})}},
        {"empty frame ignored", bytes({0x50, 0x51, 0x50, 0x30, 0x51}), {bytes({0x30})}},
        {"long frame cut to 64",
         bytes({0x50, 0x12}) + longPayload + bytes({0x51}),
         {bytes({0x12}) + std::string(63, '\x07')}},
    };
    for (const ReadCase& c : cases) {
        const auto frames = readAll(c.input);
        ASSERT_EQ(frames.size(), c.frames.size()) << c.name;
        for (size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(std::string(1, static_cast<char>(frames[i].code)) + frames[i].payload,
                      c.frames[i])
                << c.name;
        }
    }
}

}  // namespace
}  // namespace Devsim
