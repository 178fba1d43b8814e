#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "Controller/FrameParser.h"
#include "Controller/FrameWriter.h"

namespace Controller {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(FrameWriter, EscapesTheFramingBytesInCodeAndPayload)
{
    const struct {
        std::uint8_t code;
        Bytes payload;
        Bytes frame;
    } rows[] = {
        {0x30, {}, {0x50, 0x30, 0x51}},
        {0x12, {0x51}, {0x50, 0x12, 0x52, 0xAE, 0x51}},
        {0x50, {0x04}, {0x50, 0x52, 0xAF, 0x04, 0x51}},  // the pyro-link code itself
        {0x16,
         {0x50, 0x51, 0x52, 0x53, 0xAF},
         {0x50, 0x16, 0x52, 0xAF, 0x52, 0xAE, 0x52, 0xAD, 0x53, 0xAF, 0x51}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FrameWriter::build(row.code, row.payload), row.frame) << "code " << int(row.code);
    }
    Bytes payload;
    FrameWriter::appendU32(payload, 0x92000000);
    FrameWriter::appendU16(payload, 0x1234);
    EXPECT_EQ(payload, (Bytes{0x00, 0x00, 0x00, 0x92, 0x34, 0x12}));
}

struct Parsed {
    std::uint8_t code;
    Bytes payload;
    friend bool operator==(const Parsed&, const Parsed&) = default;
};

std::vector<Parsed> parseAll(FrameParser& parser, const Bytes& bytes)
{
    std::vector<Parsed> frames;
    for (std::uint8_t byte : bytes) {
        if (parser.push(byte)) {
            const Frame& f = parser.frame();
            frames.push_back({f.code, Bytes(f.payload.begin(), f.payload.begin() + f.size)});
        }
    }
    return frames;
}

TEST(FrameParser, TableOfByteSequences)
{
    Bytes longFrame{0x50, 0x15};
    for (int i = 0; i < 70; ++i) {
        longFrame.push_back(static_cast<std::uint8_t>(i));
    }
    longFrame.push_back(0x51);
    Bytes first63;
    for (int i = 0; i < 63; ++i) {
        first63.push_back(static_cast<std::uint8_t>(i));
    }

    const struct {
        const char* name;
        Bytes bytes;
        std::vector<Parsed> frames;
    } rows[] = {
        {"plain", {0x50, 0x01, 'p', 'o', 'n', 'g', 0x51}, {{0x01, {'p', 'o', 'n', 'g'}}}},
        {"garbage outside frames is ignored",
         {0x00, 0xFF, 0x51, 0x52, 0x41, 0x50, 0x31, 0x05, 0x51, 0x13, 0x37},
         {{0x31, {0x05}}}},
        {"escape complements", {0x50, 0x41, 0x52, 0x41, 0x52, 0xAE, 0x51}, {{0x41, {0xBE, 0x51}}}},
        {"escaped escape", {0x50, 0x41, 0x52, 0x52, 0x51}, {{0x41, {0xAD}}}},
        {"escaped code byte", {0x50, 0x52, 0xAF, 0x04, 0x51}, {{0x50, {0x04}}}},
        {"second P restarts the frame",
         {0x50, 0x15, 0x01, 0x02, 0x50, 0x13, 0x08, 0x00, 0x51},
         {{0x13, {0x08, 0x00}}}},
        {"escape before P still starts a frame",
         {0x50, 0x15, 0x52, 0x50, 0x11, 0x51},
         {{0x11, {}}}},
        {"escape before Q still ends the frame", {0x50, 0x17, 0x52, 0x51, 0x09}, {{0x17, {}}}},
        {"empty frame is ignored", {0x50, 0x51, 0x50, 0x17, 0x51}, {{0x17, {}}}},
        {"frame cut at 64 bytes", longFrame, {{0x15, first63}}},
        {"two frames back to back",
         {0x50, 0x11, 0x08, 0x00, 0x51, 0x50, 0x21, 0xFF, 0xFF, 0x51},
         {{0x11, {0x08, 0x00}}, {0x21, {0xFF, 0xFF}}}},
        {"unfinished frame yields nothing", {0x50, 0x03, 0x01, 0x02}, {}},
    };
    for (const auto& row : rows) {
        FrameParser parser;
        EXPECT_EQ(parseAll(parser, row.bytes), row.frames) << row.name;
    }
}

TEST(FrameParser, ResetDropsAPartialFrameAndRoundTripsEveryByte)
{
    FrameParser parser;
    parseAll(parser, {0x50, 0x15, 0x01});
    parser.reset();
    EXPECT_TRUE(parseAll(parser, {0x02, 0x51}).empty());

    Bytes payload;
    for (int i = 0; i < 63; ++i) {
        payload.push_back(static_cast<std::uint8_t>(0x4C + i % 8));  // around the framing bytes
    }
    for (int code : {0x00, 0x50, 0x51, 0x52, 0xFF}) {
        const auto frames =
            parseAll(parser, FrameWriter::build(static_cast<std::uint8_t>(code), payload));
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0], (Parsed{static_cast<std::uint8_t>(code), payload}));
    }
}

TEST(Frame, IntegersAreLittleEndianWithMissingBytesAsZero)
{
    Frame f;
    f.size = 5;
    f.payload[0] = 0x78;
    f.payload[1] = 0x56;
    f.payload[2] = 0x34;
    f.payload[3] = 0x12;
    f.payload[4] = 0x03;
    EXPECT_EQ(f.u32At(0), 0x12345678u);
    EXPECT_EQ(f.byteAt(4), 0x03u);
    EXPECT_EQ(f.u16At(4), 0x0003u);  // byte 5 is missing
    EXPECT_EQ(f.u16At(5), 0u);
}

}  // namespace
}  // namespace Controller
